"""The Windows package as an administrator meets it. Unpacked into the
monitor's EXEXML folder it puts Tavorine.exe there and nothing else, since the
monitor offers every program in that folder as a sensor. Then the installation
guide's own commands, run word for word by cmd.exe under Wine, must give a
working sensor on the first try.

Two steps are done for the guide: Wine has no tar, so the zip is unpacked
here, and the build's stand-in librfc32.dll takes the vendor's place. The
system the profile logs on to is described in RfcSim.txt, in the working
directory the guide names. What the test puts on the prefix's C: drive is
journalled, so a run that was interrupted is cleaned up by the next one."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path, PureWindowsPath

FOLDER = "Tavorine"
EXPECTED = {"Tavorine.exe"} | {f"{FOLDER}/{name}" for name in (
    "tavorine-profile.exe", "README.md", "LICENSE", "docs/install.md", "examples/EXAMPLE.P00",
    "examples/SAP Kestrion.Gbl", "examples/Kestrion.Prf", "examples/PRTG_Path.Txt")}

INSTALLATION = r"C:\Program Files (x86)\PRTG Network Monitor"
EXEXML = INSTALLATION + r"\Custom Sensors\EXEXML"
PATH_FILE = r"C:\PRTG_Path.Txt"

# The guide's commands, each exactly as the guide prints it.
GO_TO_EXEXML = rf'cd /d "{EXEXML}"'
INSTALL_STEPS = [
    GO_TO_EXEXML,
    rf"> {PATH_FILE} echo {INSTALLATION}",
    r"Tavorine\tavorine-profile.exe write PRD.P00 --destination PRD --client 100 --user MONITOR ^" "\n"
    r"    --language E --mode R/3 --hostname prdapp01 --sysnr 00 --gwhost prdapp01 --gwservice sapgw00",
    rf'icacls "{EXEXML}\*.P00" /inheritance:r /grant:r SYSTEM:R Administrators:F',
]
SENSOR_RUN = [GO_TO_EXEXML, "Tavorine.exe PRD"]

PASSWORD = "Secret-26"
RFCSIM = f"""[system PRD]
client = 100
user = MONITOR
password = {PASSWORD}
host = prdapp01
sysnr = 00
RFCDBSYS = DB4
DBSYS = DB4
FS_A_DATE = 20261208
FS_A_TIME = 061500
SYSID = PRD
TAB_MIS_DD = 0
IDX_MIS_DD = 2
CST_MIS_DD = 1
VIE_MIS_DD = 0
"""
DOCUMENT = """
<Prtg>

<Text>(PRD) Tavorine: Info=DB4,Date=20261208,Time=061500,Sid=PRD     </Text>

<Result><Channel>Abap Tables missing</Channel>
<Value>0</Value></Result>

<Result><Channel>Abap Primary missing</Channel>
<Value>2</Value></Result>

<Result><Channel>Abap Indexes missing</Channel>
<Value>1</Value></Result>

<Result><Channel>Abap Views missing</Channel>
<Value>0</Value></Result>

</Prtg>
"""


class WineDriveC:
    """The Wine prefix's C: drive (the prefix that cmake/wine-run uses), and
    what the test put there."""

    def __init__(self):
        prefix = Path(os.environ.get("WINEPREFIX") or os.environ.get("TAVORINE_WINEPREFIX")
                      or Path.home() / ".cache" / "tavorine-wine")
        self.root = prefix / "drive_c"
        self.journal = prefix / "tavorine-package.journal"

    def path(self, windows_path):
        return self.root.joinpath(*PureWindowsPath(windows_path).parts[1:])

    def clean(self):
        if self.journal.exists():
            for line in self.journal.read_text(encoding="utf-8").splitlines():
                created = Path(line)
                if created.is_dir():
                    shutil.rmtree(created)
                elif created.exists():
                    created.unlink()
            self.journal.unlink()

    def claim(self, windows_path):
        """The place, which must be free: the test never removes what it did not make."""
        place = self.path(windows_path)
        if place.exists():
            raise SystemExit(f"FAIL {windows_path} exists in the Wine prefix; it is not this test's, remove it")
        self.journal.parent.mkdir(parents=True, exist_ok=True)
        with open(self.journal, "a", encoding="utf-8") as journal:
            journal.write(f"{place}\n")
        return place


def run_cmd(emulator, steps, scratch, stdin=b""):
    """The steps as a batch file run by Wine's cmd.exe, which stops at the
    first step that fails: its status and what it printed."""
    lines = ["@echo off"] + [line for step in steps for line in (step, "if errorlevel 1 exit /b %errorlevel%")]
    batch = scratch / "steps.cmd"
    batch.write_bytes("\r\n".join(lines + [""]).replace("^\n", "^\r\n").encode())
    done = subprocess.run([emulator, "cmd", "/c", "Z:" + str(batch).replace("/", "\\")], input=stdin,
                          capture_output=True, timeout=120)
    return done.returncode, (done.stdout + done.stderr).decode("utf-8", "replace")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--emulator", required=True)
    args = parser.parse_args()
    build = Path(args.build)
    subprocess.run(["cpack", "-G", "ZIP"], cwd=build, check=True, capture_output=True)
    failures = []
    with zipfile.ZipFile(build / f"Tavorine-{args.version}-win64.zip") as archive:
        names = {name for name in archive.namelist() if not name.endswith("/")}
        if names != EXPECTED:
            failures.append(f"contents differ: missing {sorted(EXPECTED - names)}, unexpected {sorted(names - EXPECTED)}")
        guide = archive.read(f"{FOLDER}/docs/install.md").decode("utf-8")
        failures += [f"the guide does not say: {step}" for step in INSTALL_STEPS + SENSOR_RUN if step not in guide]

        # The prefix is booted first, as cmake/wine-run does, before anything is put on its C: drive.
        subprocess.run([str(Path(args.emulator).with_name("wine-prefix"))], check=True, timeout=600)
        drive_c = WineDriveC()
        drive_c.clean()
        try:
            drive_c.claim(INSTALLATION)
            drive_c.claim(PATH_FILE)
            exexml = drive_c.path(EXEXML)
            exexml.mkdir(parents=True)
            archive.extractall(exexml)
            shutil.copy(build / "bin" / "librfc32.dll", exexml)
            with tempfile.TemporaryDirectory() as scratch:
                status, output = run_cmd(args.emulator, INSTALL_STEPS, Path(scratch), f"{PASSWORD}\r\n".encode())
                if status != 0 or not (exexml / "PRD.P00").is_file():
                    failures.append(f"the guide's steps: status {status}, output {output!r}")
                (exexml / "RfcSim.txt").write_text(RFCSIM, encoding="utf-8")
                status, output = run_cmd(args.emulator, SENSOR_RUN, Path(scratch))
                if (status, output) != (0, DOCUMENT):
                    failures.append(f"Tavorine.exe PRD: status {status}, output {output!r}")
        finally:
            drive_c.clean()

    for failure in failures:
        print(f"FAIL {failure}")
    print(f"package: {0 if failures else 1} passed, {1 if failures else 0} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
