"""Listing files, profiles and simulated systems for the group-sensor cases.

The listing files are fixed-column text: a "# GSNG: " line carries the sensor
name in columns 9 to 18 and its profile names from column 21, a "# GSNX: "
line its settings from column 20, a "# Gsng: " line of the shared profile its
names from column 21. The helpers below only place the texts in those columns;
what the program makes of them is written out in the cases.
"""

from profiles import encode_password, profile
from systems import RUN_LOG, SAPRFC_INI, SAPRFC_LOCK, SENSOR_DIR, SIMULATION, TRACE, WORK

GLOBAL_FILE = SENSOR_DIR + "SAP Kestrion.Gbl"
SHARED_FILE = SENSOR_DIR + "Kestrion.Prf"

PASSWORD = "Secret42"
ASSIGNED = 'Sensor="SAP Tavorine"'


def gsng(sensor: str, names: str) -> str:
    """A server listing line of the global listing file."""
    return f"# GSNG: {sensor:<10}  {names}\r\n"


def gsnx(sensor: str, settings: str) -> str:
    """A settings line of the global listing file."""
    return f"# GSNX: {sensor:<10} {settings}\r\n"


def shared_gsng(names: str) -> str:
    """A server listing line of the shared profile."""
    return f"# Gsng: {'listing':<12}{names}\r\n"


def system_profile(destination: str, host: str, sysnr: str, **changes) -> str:
    """A sound profile of one system; keyword arguments as for profile()."""
    fields = dict(Destination=destination, Hostname=host, Sysnr=sysnr)
    fields.update(changes)
    return profile(**fields)


def simulated(destination: str, host: str, sysnr: str, *extra: str) -> str:
    """One section of RfcSim.txt whose logon data match system_profile()."""
    lines = [f"[system {destination}]", "client = 100", "user = MONITOR", f"password = {PASSWORD}",
             f"host = {host}", f"sysnr = {sysnr}", *extra]
    return "\n".join(lines) + "\n\n"


# The three systems most cases check: profile name, destination, host, sysnr.
SYSTEMS = (("DEV.P00", "DEV", "dev-app01", "00"),
           ("QAS.P00", "QAS", "qas-app01", "01"),
           ("PRD.P00", "PRD", "prd-app01", "02"))


def three_profiles(**per_profile) -> dict:
    """The profiles of the three systems in the sensor folder; a keyword
    argument named after a profile (DEV, QAS, PRD) replaces its text, None
    leaves the file out."""
    files = {}
    for name, destination, host, sysnr in SYSTEMS:
        text = per_profile.get(destination, system_profile(destination, host, sysnr))
        if text is not None:
            files[SENSOR_DIR + name] = text
    return files


def three_systems(**extra) -> str:
    """RfcSim.txt for the three systems; a keyword argument named after a
    destination adds lines to its section."""
    return "".join(simulated(destination, host, sysnr, *extra.get(destination, ()))
                   for _, destination, host, sysnr in SYSTEMS)


def bad_password_header() -> str:
    """A password value whose header is not four digits."""
    good = encode_password(PASSWORD)
    return chr(ord(good[0]) ^ 0x40) + good[1:]


def wrong_check_digit() -> str:
    """A password value of the right form whose check digit does not match."""
    good = encode_password(PASSWORD)
    digit = chr(ord(good[0]) ^ 0x1F)
    wrong = str((int(digit) + 1) % 10)
    return chr(ord(wrong) ^ 0x1F) + good[1:]


def thousand_systems(count: int, refused_every: int):
    """Profiles, listing lines and RfcSim.txt for count systems S0001 to S<count>;
    every refused_every-th system refuses its logon."""
    names = [f"S{number:04d}" for number in range(1, count + 1)]
    profiles = {SENSOR_DIR + name + ".P00": system_profile(name, "app-" + name.lower(), "00") for name in names}
    listing_lines = "".join(gsng("BIG", "".join(name + ".P00#" for name in names[at:at + 10]))
                            for at in range(0, count, 10))
    simulation = "".join(
        simulated(name, "app-" + name.lower(), "00", *(["fail.logon = host is down"] if number % refused_every == 0 else []))
        for number, name in enumerate(names, start=1))
    return profiles, listing_lines, simulation
