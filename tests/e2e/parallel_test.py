#!/usr/bin/env python3
"""Sensors started together in one working directory, as a monitor starts them.

Half of the runs log on with their profile's data, the other half through a
"SapRfc." file of their own destination, which is copied to the one shared
"SapRfc.ini" before the logon. Each of those files describes its destination
only: a run that read another run's copy would have its logon refused. All
runs write the shared run log.

Every run must print its own document with status 0; the run log must hold
exactly the runs' lines, each whole; the tree must hold nothing but what runs
may write, SapRfc.ini being a byte-exact copy of one of the SapRfc files.
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from harness import CLOCK, Case, NativeBackend, WineBackend, Workspace, stdout_diff
from profiles import profile
from systems import RUN_LOG, SAPRFC_INI, SAPRFC_LOCK, SIMULATION, SENSOR_DIR, WORK

RUNS = 32
ROUNDS = 3
TIMEOUT_SECONDS = 300
LOG_LINE = re.compile(rb"-?\d+ (program started .+|RfcEnvironment called |RfcOpen called |RfcOpenEx called "
                      rb"|RfcCall called |RfcReceive called )\n")
LINES_PER_RUN = 9  # start, environment, logon, three calls and three receives


def destination(number: int) -> str:
    """R01, R02, ... log on with the profile's data; S01, S02, ... through SapRfc.Snn."""
    road = "S" if number % 2 else "R"
    return f"{road}{number // 2 + 1:02d}"


def host(name: str) -> str:
    return name.lower() + "-app"


def sysnr(number: int) -> str:
    return f"{number % 100:02d}"


def simulated(number: int) -> str:
    name = destination(number)
    # RfcOpenEx logs on in language D: no language is asked of any system.
    return "\n".join([f"[system {name}]", "client = 100", "user = MONITOR", "password = Secret42",
                      f"host = {host(name)}", f"sysnr = {sysnr(number)}", 'RFCDBSYS = "DB4"',
                      f"SYSID = {name}", f"TAB_MIS_DD = {number}", f"IDX_MIS_DD = {number + 100}",
                      f"CST_MIS_DD = {number + 200}", f"VIE_MIS_DD = {number + 300}"]) + "\n\n"


def saprfc(number: int) -> str:
    name = destination(number)
    return f"* {name} only\r\nDEST={name}\r\nTYPE=A\r\nASHOST={host(name)}\r\nSYSNR={sysnr(number)}\r\n"


def sensor_profile(number: int) -> str:
    name = destination(number)
    if name.startswith("S"):
        # The SapRfc file's data must count, not these.
        return profile(Destination=name, Hostname="nowhere", Sysnr="99")
    return profile(Destination=name, Hostname=host(name), Sysnr=sysnr(number))


def expected_stdout(number: int) -> bytes:
    name = destination(number)
    notice = f"* SapRfc.Ini.......: {name}<\n" if name.startswith("S") else ""
    channels = "".join(f"\n<Result><Channel>{channel}</Channel>\n<Value>{number + offset}</Value></Result>\n"
                       for channel, offset in (("Abap Tables missing", 0), ("Abap Primary missing", 100),
                                               ("Abap Indexes missing", 200), ("Abap Views missing", 300)))
    text = f"({name}) Tavorine: Info=DB4,Date=00000000,Time=000000,Sid={name:<8}"
    return (notice + f"\n<Prtg>\n\n<Text>{text}</Text>\n" + channels + "\n</Prtg>\n").encode()


def tree(runs: int) -> dict:
    files = {SIMULATION: "".join(simulated(number) for number in range(runs))}
    for number in range(runs):
        name = destination(number)
        files[SENSOR_DIR + f"P{number:02d}.P00"] = sensor_profile(number)
        if name.startswith("S"):
            files[WORK + f"SapRfc.{name}"] = saprfc(number)
    return files


def start_all(backend, workspace, runs, outputs):
    """Starts every run before any is waited for."""
    cwd = workspace.host_path(workspace.case.cwd)
    environment = backend.environment(workspace.root)
    return [subprocess.Popen(backend.command([f"P{number:02d}", ",SYSLOG"]), cwd=cwd, env=environment,
                             stdin=subprocess.DEVNULL, stdout=outputs[number], stderr=subprocess.STDOUT)
            for number in range(runs)]


def run_problems(processes, outputs) -> list:
    problems = []
    deadline = time.monotonic() + TIMEOUT_SECONDS
    for number, process in enumerate(processes):
        try:
            status = process.wait(timeout=max(1, deadline - time.monotonic()))
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            status = "none (killed after timeout)"
        outputs[number].seek(0)
        actual = outputs[number].read()
        expected = expected_stdout(number)
        if CLOCK.sub(b"", actual) != CLOCK.sub(b"", expected):
            problems.append(f"run P{number:02d}: standard output differs:\n" + stdout_diff(expected, actual))
        if status != 0:
            problems.append(f"run P{number:02d}: exit status {status}, expected 0")
    return problems


def tree_problems(before: dict, after: dict, runs: int) -> list:
    problems = []
    written = {RUN_LOG, SAPRFC_INI, SAPRFC_LOCK}
    for path in sorted(set(after) ^ (set(before) | written)):
        problems.append(f"{'unexpected' if path in after else 'missing'} file {path}")
    for path in sorted(set(before) & set(after)):
        if after[path] != before[path]:
            problems.append(f"changed file {path}")
    copies = {after[path] for path in after if "\\SapRfc." in path and path != SAPRFC_INI and path != SAPRFC_LOCK}
    if after.get(SAPRFC_INI) not in copies:
        problems.append(f"SapRfc.ini is no copy of any SapRfc file: {after.get(SAPRFC_INI)!r}")
    log = after.get(RUN_LOG, b"")
    lines = log.splitlines(keepends=True)
    torn = [line for line in lines if not LOG_LINE.fullmatch(line)]
    if torn:
        problems.append(f"run log lines that are not whole: {torn[:5]!r}")
    if len(lines) != runs * LINES_PER_RUN:
        problems.append(f"run log has {len(lines)} lines, expected {runs * LINES_PER_RUN}")
    return problems


def one_round(backend, runs: int) -> list:
    case = Case("parallel", args=[], stdout="", status=0, files=tree(runs))
    workspace = Workspace(backend, case)
    try:
        workspace.build()
        before = workspace.listing()
        outputs = [tempfile.TemporaryFile() for _ in range(runs)]
        try:
            problems = run_problems(start_all(backend, workspace, runs, outputs), outputs)
        finally:
            for output in outputs:
                output.close()
        return problems + tree_problems(before, workspace.listing(), runs)
    finally:
        workspace.remove()


def main() -> int:
    parser = argparse.ArgumentParser(description="Runs sensors in parallel in one working directory.")
    parser.add_argument("--program", required=True, type=Path)
    parser.add_argument("--emulator")
    parser.add_argument("-k", dest="pattern", default="")
    options = parser.parse_args()
    name = "parallel runs in one working directory"
    if options.pattern not in name:
        return 0
    program = options.program.resolve()
    if options.emulator:
        emulator = os.path.abspath(options.emulator) if os.sep in options.emulator else options.emulator
        backend = WineBackend(program, emulator)
    else:
        backend = NativeBackend(program)
    backend.setup()
    runs = RUNS
    failed = 0
    for round_number in range(1, ROUNDS + 1):
        problems = one_round(backend, runs)
        print(f"{'FAIL' if problems else 'ok  '} {name}: {runs} runs, round {round_number}", flush=True)
        for problem in problems:
            print("     " + problem.replace("\n", "\n     "))
        failed += bool(problems)
    print(f"{ROUNDS - failed} of {ROUNDS} rounds passed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
