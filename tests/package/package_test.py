"""Builds the Windows package and checks it as an administrator would meet it:
exactly the files the installation guide names, and every program in it
starts (under Wine) and answers."""

import argparse
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

EXPECTED = {
    "Tavorine.exe", "tavorine-profile.exe", "README.md", "LICENSE", "docs/install.md",
    "examples/EXAMPLE.P00", "examples/SAP Kestrion.Gbl", "examples/Kestrion.Prf", "examples/PRTG_Path.Txt",
}
VERSION = "Vers 4.3 / 29.08.22"
ERROR_1001 = "<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing !</Text>\n</Prtg>\n"


def run(command, cwd):
    done = subprocess.run(command, cwd=cwd, capture_output=True, timeout=120)
    return done.returncode, done.stdout.decode("utf-8", "replace")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--emulator", required=True)
    args = parser.parse_args()
    build = Path(args.build)
    subprocess.run(["cpack", "-G", "ZIP"], cwd=build, check=True, capture_output=True)
    package = build / f"Tavorine-{args.version}-win64.zip"
    failures = []
    with zipfile.ZipFile(package) as archive:
        names = {name for name in archive.namelist() if not name.endswith("/")}
        if names != EXPECTED:
            failures.append(f"contents differ: missing {sorted(EXPECTED - names)}, unexpected {sorted(names - EXPECTED)}")
        with tempfile.TemporaryDirectory() as folder:
            archive.extractall(folder)
            # The sensor's output is compared byte for byte; the tool writes for
            # people, with the console's own line ends.
            checks = [
                (["Tavorine.exe", "--version"], 0, f"Tavorine {VERSION}\n", False),
                (["tavorine-profile.exe", "--version"], 0, f"tavorine-profile {VERSION}\n", True),
                (["Tavorine.exe"], 2, ERROR_1001, False),
            ]
            for command, status, stdout, console_text in checks:
                got_status, got_stdout = run([args.emulator, str(Path(folder) / command[0])] + command[1:], folder)
                if console_text:
                    got_stdout = got_stdout.replace("\r\n", "\n")
                if (got_status, got_stdout) != (status, stdout):
                    failures.append(f"{' '.join(command)}: status {got_status}, output {got_stdout!r}")
    for failure in failures:
        print(f"FAIL {failure}")
    passed = 0 if failures else 1
    print(f"package: {passed} passed, {1 - passed} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
