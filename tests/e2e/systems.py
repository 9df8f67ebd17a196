"""Places and simulated systems of the single-profile cases.

The profile SYS.P00 lies in the fixed ExeXml folder of drive D: (where a run
without "@" finds it), the simulated systems (RfcSim.txt) and everything the
library and the run write lie in the working directory D:\\work. The logon
data of system() match profiles.profile(), so a good profile logs on.
"""

import subprocess
from typing import Optional

from profiles import profile

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


def document_part(stdout: bytes) -> bytes:
    """Standard output without the console lines that are no part of the document."""
    lines = stdout.split(b"\n")
    kept = [line for line in lines if not line.startswith(b"* ")]
    return b"\n".join(kept)


def well_formed(run) -> Optional[str]:
    """The monitor parses the document: whatever XML the run printed must parse."""
    if run.stdout.startswith(b"RFC error\n"):
        return None
    document = document_part(run.stdout)
    if not document.strip().startswith(b"<"):
        return None
    checked = subprocess.run(["xmllint", "--noout", "-"], input=document, capture_output=True, timeout=30)
    if checked.returncode != 0:
        return "the document is not well-formed XML:\n" + checked.stderr.decode("latin-1")
    return None


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
