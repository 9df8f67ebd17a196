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
import random
import re
import select
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from harness import CLOCK, Case, NativeBackend, WineBackend, Workspace, remove, stdout_diff
from profiles import profile
from systems import RUN_LOG, SAPRFC_INI, SAPRFC_LOCK, SIMULATION, SENSOR_DIR, TRACE, UNDER_WINE, WORK

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
    channels = "".join(f"\n<Result><Channel>{channel}</Channel>\n<Value>{number + offset}</Value></Result>\n"
                       for channel, offset in (("Abap Tables missing", 0), ("Abap Primary missing", 100),
                                               ("Abap Indexes missing", 200), ("Abap Views missing", 300)))
    text = f"({name}) Tavorine: Info=DB4,Date=00000000,Time=000000,Sid={name:<8}"
    return (f"\n<Prtg>\n\n<Text>{text}</Text>\n" + channels + "\n</Prtg>\n").encode()


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


# The lock of the SapRfc road: a run whose logon hangs holds it; another run
# waits for it a bounded time and says so; a holder that is killed blocks no one.
HANGING = "\n".join(["[system HANG]", "client = 100", "user = MONITOR", "password = Secret42", "hang = logon"]) + "\n\n"


def lock_tree(runs: int = 2) -> dict:
    files = tree(runs)
    files[SIMULATION] += HANGING
    files[SENSOR_DIR + "HANG.P00"] = profile(Destination="HANG")
    files[WORK + "SapRfc.HANG"] = "DEST=HANG\r\nTYPE=B\r\n"
    return files


def holder(backend, workspace):
    """A run that holds the lock: it has copied SapRfc.HANG and hangs in its logon."""
    process = subprocess.Popen(backend.command(["HANG"]), cwd=workspace.host_path(WORK), stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               env=backend.environment(workspace.root))
    ini = workspace.host_path(SAPRFC_INI)
    deadline = time.monotonic() + 30
    while not ini.exists() and time.monotonic() < deadline:
        time.sleep(0.05)
    return process


def waiter(backend, workspace, expected: bytes, seconds: tuple) -> list:
    """P01 through SapRfc.S01, which needs the lock; its output and how long it took."""
    started = time.monotonic()
    done = subprocess.run(backend.command(["P01"]), cwd=workspace.host_path(WORK), capture_output=True, timeout=120,
                          env=backend.environment(workspace.root), stdin=subprocess.DEVNULL)
    took = time.monotonic() - started
    problems = []
    if done.stdout != expected:
        problems.append("standard output differs:\n" + stdout_diff(expected, done.stdout))
    if not seconds[0] <= took <= seconds[1]:
        problems.append(f"took {took:.1f} s, expected {seconds[0]} to {seconds[1]} s")
    return problems


def lock_round(backend, kill_holder: bool) -> list:
    workspace = Workspace(backend, Case("lock", args=[], stdout="", status=0, files=lock_tree()))
    try:
        workspace.build()
        process = holder(backend, workspace)
        try:
            if kill_holder:
                process.kill()
                process.wait()
                return waiter(backend, workspace, expected_stdout(1), (0, 10))
            locked = (b"<Prtg>\n<Error>1</Error>\n<Text>Error 1044: Waited 20 s for "
                      b"SapRfc.ini.lck: another sensor's logon through SapRfc.ini did not end...</Text>\n</Prtg>\n")
            return waiter(backend, workspace, locked, (19, 40))
        finally:
            process.kill()
            process.wait()
    finally:
        workspace.remove()


# A run killed while it copies SapRfc.<destination> leaves its temporary file;
# the next copy takes it over, so none is left behind. The file is large, so
# that the copy fills most of a run, and the runs are killed at moments
# spread over the time a whole run takes.
def debris_round(backend) -> list:
    files = tree(2)
    files[WORK + "SapRfc.S01"] = saprfc(1) + ("*" * 99 + "\r\n") * 150000
    workspace = Workspace(backend, Case("debris", args=[], stdout="", status=0, files=files))
    try:
        workspace.build()
        command, cwd = backend.command(["P01"]), workspace.host_path(WORK)
        environment = backend.environment(workspace.root)

        def run():
            started = time.monotonic()
            subprocess.run(command, cwd=cwd, env=environment, stdin=subprocess.DEVNULL, capture_output=True,
                           timeout=120)
            return time.monotonic() - started
        whole = run()
        for kill in range(40):
            process = subprocess.Popen(command, cwd=cwd, env=environment, stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(whole * kill / 40)
            process.kill()
            process.wait()
        run()
        left = [path for path in workspace.listing() if path.startswith(WORK + "SapRfc.ini.") and path != SAPRFC_LOCK]
        return [f"left behind: {left}"] if left else []
    finally:
        workspace.remove()


# A group sensor that the monitor kills, at any moment of its run and while a
# worker hangs in its logon, leaves no process behind: within a second every
# process of the run is gone and the monitor's standard error is closed.
KILLS = 20 if UNDER_WINE else 100


def killed_group_tree() -> dict:
    files = lock_tree()
    files[SENSOR_DIR + "SAP Kestrion.Gbl"] = ("# GSNG: HUNG        P00.P00#HANG.P00#P01.P00#\r\n"
                                              '# GSNX: HUNG       Item=All,Sensor="SAP Tavorine"\r\n'
                                              "# GSNG: GOOD        P00.P00#P01.P00#\r\n"
                                              '# GSNX: GOOD       Item=All,Sensor="SAP Tavorine"\r\n')
    return files


def survivors_of_a_kill(backend, workspace, number: int, after: float) -> list:
    """A run of the group with the hanging system, killed after so many seconds."""
    mark = f"tavorine-kill-{os.getpid()}-{number}-{time.monotonic_ns()}"
    environment = dict(backend.environment(workspace.root), TAVORINE_TEST_MARK=mark)
    reading, writing = os.pipe()
    process = subprocess.Popen(backend.command(["GLOBAL", "HUNG"]), cwd=workspace.host_path(WORK), env=environment,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=writing)
    os.close(writing)
    time.sleep(after)
    process.kill()
    process.wait()
    closed = closed_within(reading, 1.0)
    left = [pid for pid in os.listdir("/proc") if pid.isdigit() and marked(pid, mark)]
    for pid in left:
        os.kill(int(pid), signal.SIGKILL)
    problems = [] if closed else [f"kill {number}: standard error still open a second after the kill"]
    return problems + ([f"kill {number}: processes left behind: {left}"] if left else [])


def closed_within(reading: int, seconds: float) -> bool:
    deadline = time.monotonic() + seconds
    try:
        while True:
            ready, _, _ = select.select([reading], [], [], max(0.0, deadline - time.monotonic()))
            if not ready:
                return False
            if not os.read(reading, 65536):
                return True
    finally:
        os.close(reading)


# Most kills fall into the start, where a worker may be half made.
def kill_moment(number: int) -> float:
    longest = (2.0 if UNDER_WINE else 0.03) * (1 if number % 4 else 10)
    return random.Random(number).uniform(0, longest)


def kills_round(backend) -> list:
    workspace = Workspace(backend, Case("kills", args=[], stdout="", status=0, files=killed_group_tree()))
    try:
        workspace.build()
        return [problem for number in range(KILLS)
                for problem in survivors_of_a_kill(backend, workspace, number, kill_moment(number))]
    finally:
        workspace.remove()


# Killed runs cannot remove their workers' folders: the next group run removes
# those older than an hour whose process is gone, and nothing else.
def stale_folders_round(backend) -> list:
    workspace = Workspace(backend, Case("stale", args=[], stdout="", status=0, files=killed_group_tree()))
    try:
        workspace.build()
        temp = backend.temp_folder(workspace.root)
        earlier = set(temp.glob("Tavorine.*"))
        for number in range(3):
            survivors_of_a_kill(backend, workspace, number, 3.0 if UNDER_WINE else 0.3)
        planted = temp / "Tavorine.999999.0123456789abcdef"
        planted.mkdir()
        stale = [path for path in temp.glob("Tavorine.*") if path not in earlier]
        young, link = temp / "Tavorine.999998.0123456789abcdef", temp / "Tavorine.999997.0123456789abcdef"
        young.mkdir()
        target = workspace.root / "linked"
        target.mkdir()
        (target / "kept").write_text("kept")
        link.symlink_to(target)
        an_hour_ago = time.time() - 3700
        for path in stale + [target]:
            os.utime(path, (an_hour_ago, an_hour_ago))
        subprocess.run(backend.command(["GLOBAL", "GOOD"]), cwd=workspace.host_path(WORK),
                       env=backend.environment(workspace.root), stdin=subprocess.DEVNULL, capture_output=True,
                       timeout=60)
        problems = [] if len(stale) > 1 else ["the killed runs left no folder to remove"]
        problems += [f"stale folder kept: {path.name}" for path in stale if path.exists()]
        problems += [f"removed: {path.name}" for path in (young, link) if not os.path.lexists(path)]
        if not (target / "kept").exists():
            problems.append("the link's target was emptied")
        for path in (young, link):
            remove(path)
        return problems
    finally:
        workspace.remove()


# Another process holds the lock of a file that a group run writes: its own
# logon through SapRfc.ini hangs, or it appends to Tavorine.log or to
# Dev_Rfc.Trc (where the run appends its workers' traces). With ,TIMEOUT= the
# document still comes by the deadline and a second, and reads as it reads
# when the run checks one system after the other.
DEADLINE = 8 if UNDER_WINE else 4
# A Windows program that takes the lock the Windows build takes to append: a
# byte far beyond any data.
APPEND_LOCKER = r"""#include <windows.h>
#include <stdio.h>
int main(int argc, char** argv) {
  HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 7, NULL, OPEN_ALWAYS, 0, NULL);
  OVERLAPPED beyond = {0};
  beyond.OffsetHigh = 0x7FFFFFFF;
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &beyond)) return 1;
  puts("locked");
  fflush(stdout);
  Sleep(INFINITE);
  return 0;
}
"""


def append_lock_holder(backend, workspace, path: str):
    """A process that holds the append lock of the file until it is killed; it says "locked" once it does."""
    if not UNDER_WINE:
        return subprocess.Popen([sys.executable, "-c", "import fcntl, sys, time\n"
                                 "f = open(sys.argv[1], 'a'); fcntl.flock(f, fcntl.LOCK_EX); print('locked', flush=True)\n"
                                 "time.sleep(3600)", str(workspace.host_path(path))], stdout=subprocess.PIPE)
    source, program = workspace.root / "locker.c", workspace.root / "locker.exe"
    source.write_text(APPEND_LOCKER)
    subprocess.run(["x86_64-w64-mingw32-gcc-posix", "-o", str(program), str(source)], check=True)
    return subprocess.Popen([backend.emulator, str(program), path], cwd=workspace.host_path(WORK),
                            env=backend.environment(workspace.root), stdout=subprocess.PIPE)


def locked_group_tree(numbers, settings: str, refused: bool) -> dict:
    """Profiles P00 to P05 (R, then S destinations), the hanging system, and a group of the numbers."""
    files = lock_tree(6)
    names = "".join(f"P{number:02d}.P00#" for number in numbers)
    files[SENSOR_DIR + "SAP Kestrion.Gbl"] = (f"# GSNG: LOCKED      {names}\r\n"
                                              f'# GSNX: LOCKED     Item=All{settings},Sensor="SAP Tavorine"\r\n')
    for number in numbers if refused else ():
        name = destination(number)
        files[SENSOR_DIR + f"P{number:02d}.P00"] = profile(Destination=name, Hostname=host(name), Sysnr=sysnr(number),
                                                          Client="999")
    return files


def timed_group_run(backend, workspace, settings_word: str) -> tuple:
    """The group run with ,PAR=1 or without, its output (clock masked) and how long it took."""
    files_text = workspace.host_path(SENSOR_DIR + "SAP Kestrion.Gbl")
    text = files_text.read_text()
    files_text.write_text(text.replace(",Sensor=", settings_word + ",Sensor="))
    started = time.monotonic()
    done = subprocess.run(backend.command(["GLOBAL", "LOCKED", "#"]), cwd=workspace.host_path(WORK),
                          env=backend.environment(workspace.root), stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=120)
    took = time.monotonic() - started
    files_text.write_text(text)
    return done.returncode, CLOCK.sub(b"", done.stdout).replace(settings_word.encode(), b""), took


def held_lock_round(backend, file: str) -> list:
    numbers = (1, 3, 5) if file == SAPRFC_LOCK else (0, 2, 4)
    settings = f",TIMEOUT={DEADLINE}" + (",SYSLOG" if file == RUN_LOG else "")
    workspace = Workspace(backend, Case("held", args=[], stdout="", status=0,
                                        files=locked_group_tree(numbers, settings, file == TRACE)))
    try:
        workspace.build()
        holding = holder(backend, workspace) if file == SAPRFC_LOCK else append_lock_holder(backend, workspace, file)
        if file != SAPRFC_LOCK:
            holding.stdout.readline()
        try:
            runs = {word: timed_group_run(backend, workspace, word) for word in (",PAR=1", "")}
        finally:
            holding.kill()
            holding.wait()
        problems = [f"{word or 'workers'}: took {took:.1f} s, beyond the deadline of {DEADLINE} s and a second"
                    for word, (_, _, took) in runs.items() if took > DEADLINE + (2 if UNDER_WINE else 1)]
        problems += [f"{word or 'workers'}: exit status {status}" for word, (status, _, _) in runs.items() if status]
        if runs[",PAR=1"][1] != runs[""][1] or b"NoSystems=3" not in runs[""][1]:
            problems.append("the output differs from one system after the other:\n"
                            + stdout_diff(runs[",PAR=1"][1], runs[""][1]))
        return problems
    finally:
        workspace.remove()


# Workers live as long as their run and check one system after another: a
# group of 12 at ,PAR=3 runs in at most 3 worker processes, one more for the
# system that crashes its worker and one for the system that hangs. Each
# logon takes long enough for any worker to be seen.
COUNTED_WORKERS = 3 + 2


def counted_group_tree() -> dict:
    files = lock_tree(10)
    files[SIMULATION] = ("[defaults]\nlatency.logon = 100\n\n" + files[SIMULATION]
                         + "[system CRASH]\nclient = 100\nuser = MONITOR\npassword = Secret42\ncrash = logon\n\n")
    files[SENSOR_DIR + "CRASH.P00"] = profile(Destination="CRASH")
    names = "".join(f"P{number:02d}.P00#" for number in range(10))
    files[SENSOR_DIR + "SAP Kestrion.Gbl"] = (f"# GSNG: COUNTED     CRASH.P00#HANG.P00#{names}\r\n"
                                              f'# GSNX: COUNTED    Item=All,PAR=3,TIMEOUT={DEADLINE},'
                                              'Sensor="SAP Tavorine"\r\n')
    return files


def worker_count_round(backend) -> list:
    workspace = Workspace(backend, Case("counted", args=[], stdout="", status=0, files=counted_group_tree()))
    try:
        workspace.build()
        mark = f"tavorine-count-{os.getpid()}-{time.monotonic_ns()}"
        process = subprocess.Popen(backend.command(["GLOBAL", "COUNTED"]), cwd=workspace.host_path(WORK),
                                   env=dict(backend.environment(workspace.root), TAVORINE_TEST_MARK=mark),
                                   stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        workers = set()
        while process.poll() is None:
            workers |= {pid for pid in os.listdir("/proc") if pid.isdigit() and is_worker(pid) and marked(pid, mark)}
            time.sleep(0.005)
        summary = process.stdout.read()
        problems = [] if b"NoSystems=12, Processed=10, Failed=2" in summary else [f"summary: {summary!r}"]
        if len(workers) > COUNTED_WORKERS:
            problems.append(f"{len(workers)} worker processes, expected at most {COUNTED_WORKERS}")
        return problems
    finally:
        workspace.remove()


def is_worker(pid: str) -> bool:
    try:
        return b"--listing-worker" in Path(f"/proc/{pid}/cmdline").read_bytes()
    except OSError:
        return False


def marked(pid: str, mark: str) -> bool:
    try:
        with open(f"/proc/{pid}/environ", "rb") as environ:
            return f"TAVORINE_TEST_MARK={mark}".encode() in environ.read().split(b"\0")
    except OSError:
        return False


def report(name: str, problems: list) -> bool:
    print(f"{'FAIL' if problems else 'ok  '} {name}", flush=True)
    for problem in problems:
        print("     " + problem.replace("\n", "\n     "))
    return not problems


def main() -> int:
    parser = argparse.ArgumentParser(description="Runs sensors in parallel in one working directory.")
    parser.add_argument("--program", required=True, type=Path)
    parser.add_argument("--emulator")
    parser.add_argument("-k", dest="pattern", default="")
    parser.add_argument("--costly-processes", action="store_true")
    parser.add_argument("--sanitized", action="store_true")
    options = parser.parse_args()
    program = options.program.resolve()
    if options.emulator:
        emulator = os.path.abspath(options.emulator) if os.sep in options.emulator else options.emulator
        backend = WineBackend(program, emulator)
    else:
        backend = NativeBackend(program)
    backend.setup()
    rounds = [(f"parallel runs in one working directory: {RUNS} runs, round {number}",
               lambda: one_round(backend, RUNS)) for number in range(1, ROUNDS + 1)]
    rounds += [("SapRfc.ini locked by a run that hangs: Error 1044 after 20 s", lambda: lock_round(backend, False)),
               ("SapRfc.ini locked by a run that is killed: no wait", lambda: lock_round(backend, True)),
               ("runs killed while they copy SapRfc.S01: no temporary file left", lambda: debris_round(backend)),
               (f"a group sensor killed {KILLS} times at random moments: no process left, standard error closed",
                lambda: kills_round(backend)),
               ("stale private folders removed at the next group run, young ones and links kept",
                lambda: stale_folders_round(backend)),
               (f"a group of 12 at ,PAR=3 with a crash and a hang: at most {COUNTED_WORKERS} worker processes",
                lambda: worker_count_round(backend))]
    rounds += [(f"{name} held by another process: the group's document by its deadline, as one at a time",
                lambda file=file: held_lock_round(backend, file))
               for name, file in (("SapRfc.ini.lck", SAPRFC_LOCK), ("Tavorine.log", RUN_LOG), ("Dev_Rfc.Trc", TRACE))]
    selected = [(name, run) for name, run in rounds if options.pattern in name]
    passed = sum(report(name, run()) for name, run in selected)
    print(f"{passed} of {len(selected)} rounds passed")
    if not selected:
        print(f"FAIL no round matches -k {options.pattern!r}")
    return 0 if selected and passed == len(selected) else 1


if __name__ == "__main__":
    sys.exit(main())
