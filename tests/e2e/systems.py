"""Places and simulated systems of the single-profile cases.

The profile SYS.P00 lies in the fixed ExeXml folder of drive D: (where a run
without "@" finds it), the simulated systems (RfcSim.txt) and everything the
library and the run write lie in the working directory D:\\work. The logon
data of system() match profiles.profile(), so a good profile logs on.
"""

import sys
from typing import Optional

from harness import Case
from profiles import profile

UNDER_WINE = "--emulator" in sys.argv
COSTLY_PROCESSES = "--costly-processes" in sys.argv
SANITIZED = "--sanitized" in sys.argv


def narrow(text: str) -> str:
    """Text as the platform hands it to a console program, one character per
    byte as the harness writes files: UTF-8 on Linux, the ANSI code page under
    Wine (the harness runs Wine in a UTF-8 locale, which Wine maps to code page
    1252). The document shows each such character as the same reference."""
    return text.encode("cp1252" if UNDER_WINE else "utf-8").decode("latin-1")


SENSOR_DIR = "D:\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\"
WORK = "D:\\work\\"
PROFILE = SENSOR_DIR + "SYS.P00"
WORK_PROFILE = WORK + "SYS.P00"
SIMULATION = WORK + "RfcSim.txt"
TRACE = WORK + "Dev_Rfc.Trc"
RUN_LOG = WORK + "Tavorine.log"
SAPRFC_INI = WORK + "SapRfc.ini"
SAPRFC_LOCK = WORK + "SapRfc.ini.lck"

BANNER = "* hh:mm:ss SAP Tavorine Vers 4.3 / 29.08.22\n"
PROCESSING = "* hh:mm:ss SYS.P00, qas-app01, QAS, 00, 100 State=Processing\n"
DONE = "\n* hh:mm:ss SAP Tavorine now processed...\n"

LOGON = ("client = 100", "user = MONITOR", "password = Secret42", "language = E", "host = qas-app01", "sysnr = 00")


def system(*lines: str, destination: str = "QAS", logon=LOGON) -> str:
    """RfcSim.txt with one system: the logon lines, then the given lines as they stand."""
    return "\n".join((f"[system {destination}]", *logon, *lines)) + "\n"


def files(*lines: str, at: str = PROFILE, good_profile: Optional[str] = None, **extra) -> dict:
    """The files of a case: a good profile and one system described by the lines."""
    tree = {at: good_profile if good_profile is not None else profile(), SIMULATION: system(*lines)}
    tree.update(extra)
    return tree


def executing(parameters: str) -> str:
    return f"* hh:mm:ss Tavorine - {parameters} State=Executing\n"


def progress(parameters: str) -> str:
    """The three lines a run with a marker prints before it logs on."""
    return BANNER + PROCESSING + executing(parameters)


def tells(*phrases: str, never: str = "Secret42"):
    """The output must hold the phrases in this order, and never the profile's password."""
    def check(run):
        text = run.stdout.decode("latin-1")
        if never in text:
            return f"the output shows {never!r}"
        at = 0
        for phrase in phrases:
            found = text.find(phrase, at)
            if found < 0:
                return f"the output does not tell {phrase!r} (after position {at}):\n{text}"
            at = found + len(phrase)
        return None
    return check


def checks(*complaints):
    """One check made of several; the first complaint wins."""
    def check(run):
        for complaint in complaints:
            found = complaint(run)
            if found:
                return found
        return None
    return check


def run_log_of(run) -> str:
    return run.after.get(RUN_LOG, b"").decode("latin-1")


def run_log_after_start(expected: str):
    """The run log must hold the start line (program path not compared here) and then exactly these lines."""
    def check(run):
        lines = run_log_of(run).splitlines(keepends=True)
        if not lines or not lines[0].startswith("0 program started "):
            return f"run log {run_log_of(run)!r} does not begin with the start line"
        rest = "".join(lines[1:])
        return None if rest == expected else f"run log after the start line {rest!r}, expected {expected!r}"
    return check


def run_log_lines(handle: int, calls: int, receives: int, logon: str = "RfcOpen") -> str:
    """The run log after its start line: environment, logon, then calls and receives in turn."""
    text = f"0 RfcEnvironment called \n{handle} {logon} called \n"
    for index in range(calls):
        text += f"{handle} RfcCall called \n"
        if index < receives:
            text += f"{handle} RfcReceive called \n"
    return text


def case(name, args, stdout, status, tree, new_files=(), removed_files=(), check=None):
    return Case(name, args=args, files=tree, stdout=stdout, status=status, new_files=new_files,
                removed_files=removed_files, check=check)


# A healthy DB4 system. The four counts differ from each other and from the
# *_MIS_DB fields (which must not be used), so a swapped channel shows.
HEALTHY = ('RFCDBSYS = "DB4       "', 'DBSYS = "DB4       "', "FS_A_DATE = 20261208", "FS_A_TIME = 061500",
           'SYSID = "QA"', "TAB_MIS_DD = 3", "IDX_MIS_DD = 5", "CST_MIS_DD = -7", "VIE_MIS_DD = 11",
           "TAB_MIS_DB = 91", "CST_MIS_DB = 92", "IDX_MIS_DB = 93", "VIE_MIS_DB = 94")

HEALTHY_DOCUMENT = ("\n<Prtg>\n"
                    "\n<Text>(QAS) Tavorine: Info=DB4,Date=20261208,Time=061500,Sid=QA      </Text>\n"
                    "\n<Result><Channel>Abap Tables missing</Channel>\n<Value>3</Value></Result>\n"
                    "\n<Result><Channel>Abap Primary missing</Channel>\n<Value>5</Value></Result>\n"
                    "\n<Result><Channel>Abap Indexes missing</Channel>\n<Value>-7</Value></Result>\n"
                    "\n<Result><Channel>Abap Views missing</Channel>\n<Value>11</Value></Result>\n"
                    "\n</Prtg>\n")


def healthy(*changes):
    """The healthy system with some of its lines replaced (by key) or added."""
    keys = {line.split("=")[0].strip() for line in changes}
    return tuple(line for line in HEALTHY if line.split("=")[0].strip() not in keys) + changes
