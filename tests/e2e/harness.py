"""End-to-end harness: runs the built program in a fresh tree of drives per case.

A case names the files it needs by Windows path, the arguments and the exact
standard output and exit status it expects. The same table runs on two
backends: the native build, whose drive letters live under TAVORINE_DRIVE_ROOT,
and the Windows build under Wine, whose C: is the prefix's drive_c and whose
other drives are symlinks in the prefix's dosdevices folder.

Only the clock (hh:mm:ss) is masked in comparisons; every other byte counts.
"""

import argparse
import dataclasses
import difflib
import os
import re
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
from pathlib import Path
from typing import Callable, Optional

DEFAULT_CWD = "D:\\work"
RUN_TIMEOUT_SECONDS = 60
CLOCK = re.compile(rb"\d\d:\d\d:\d\d")
VALGRIND_LINE = re.compile(r"==\d+== ")
# A run that ends at its deadline ends with threads alive, whose stacks are
# "possibly lost"; only definite leaks count.
VALGRIND = ["valgrind", "--error-exitcode=99", "--leak-check=full", "--errors-for-leak-kinds=definite",
            "--show-possibly-lost=no", "-q"]


def envelope(message: str) -> str:
    """The document of every failed run."""
    return f"<Prtg>\n<Error>1</Error>\n<Text>{message}</Text>\n</Prtg>\n"


@dataclasses.dataclass
class Case:
    name: str
    args: list
    stdout: Optional[str]  # None: not compared (a check looks at it)
    status: int
    files: dict = dataclasses.field(default_factory=dict)
    cwd: str = DEFAULT_CWD
    # Windows paths of files the run may leave behind or take away; any other
    # change to the tree fails the case.
    new_files: tuple = ()
    removed_files: tuple = ()
    # Extra look at the finished run; returns a complaint or None.
    check: Optional[Callable[["Run"], Optional[str]]] = None
    # Where standard output goes: "captured" (compared with stdout), "full" (a
    # device that refuses every write), "broken pipe" (a pipe nobody reads),
    # "closed" (no stream at all). The latter three capture nothing.
    output: str = "captured"
    # Environment variables the run gets besides the backend's, and a command
    # that starts the program (prlimit with its arguments, say).
    environment: dict = dataclasses.field(default_factory=dict)
    wrapper: tuple = ()


@dataclasses.dataclass
class Run:
    stdout: bytes
    stderr: bytes
    status: int
    before: dict
    after: dict
    seconds: float = 0.0
    # The program's private folders that the run left in the folder for temporary files.
    left_in_temp: tuple = ()


def split_windows_path(path: str, cwd: str):
    """(drive letter, parts below the drive root) of a Windows path."""
    if len(path) >= 2 and path[1] == ":":
        drive, rest = path[0].upper(), path[2:]
    elif path.startswith("\\"):
        drive, rest = cwd[0].upper(), path
    else:
        drive, rest = cwd[0].upper(), cwd[2:] + "\\" + path
    return drive, [part for part in rest.split("\\") if part]


class Backend:
    """Where the drives of a case live and how the program is started."""

    def __init__(self, program: Path):
        self.program = program

    def setup(self):
        pass

    def drive_folder(self, root: Path, drive: str) -> Path:
        return root / drive

    def mount(self, root: Path, drives: set):
        pass

    def unmount(self):
        pass

    def command(self, args: list) -> list:
        return [str(self.program), *args]

    def environment(self, root: Path) -> dict:
        return dict(os.environ)

    def temp_folder(self, root: Path) -> Path:
        """The folder for temporary files that the program sees."""
        return Path(tempfile.gettempdir())

    def created_on_c(self) -> list:
        """Folders on C: outside the case root that a listing must cover."""
        return []

    def record(self, created: Path):
        """Notes a file or folder that a case made outside its own root."""

    def forget_records(self):
        pass


class NativeBackend(Backend):
    def environment(self, root):
        env = dict(os.environ)
        env["TAVORINE_DRIVE_ROOT"] = str(root)
        env["TMPDIR"] = str(self.temp_folder(root))
        return env

    def temp_folder(self, root):
        return root / "tmp"


class ValgrindBackend(NativeBackend):
    """The native build under valgrind: any error it finds changes the exit status to 99."""

    def command(self, args):
        return [*VALGRIND, str(self.program), *args]


class WineBackend(Backend):
    """C: is the prefix's own drive_c; a case's files there are journalled so
    that an interrupted run is cleaned up by the next one."""

    def __init__(self, program: Path, emulator: str):
        super().__init__(program)
        self.emulator = emulator
        self.prefix = Path(os.environ.get("WINEPREFIX") or os.environ.get("TAVORINE_WINEPREFIX")
                           or Path.home() / ".cache" / "tavorine-wine")
        self.journal = self.prefix / "tavorine-e2e.journal"
        self.links = []
        self.baseline_c = None

    def wine_environment(self):
        env = dict(os.environ)
        env["WINEPREFIX"] = str(self.prefix)
        env["WINEDEBUG"] = "-all"
        # A UTF-8 locale: UTF-8 names and arguments on the Unix side, ANSI code page 1252 in Wine.
        env["LC_ALL"] = "C.UTF-8"
        return env

    def setup(self):
        if not (self.prefix / ".update-timestamp").exists():
            print(f"initialising Wine prefix {self.prefix} (once)...", flush=True)
        # The one way the tests prepare the prefix, under a lock (cmake/wine-prefix).
        subprocess.run([str(Path(__file__).resolve().parents[2] / "cmake" / "wine-prefix")], env=self.wine_environment(),
                       timeout=600, check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        self.clean_journal()
        self.baseline_c = set(os.listdir(self.prefix / "drive_c"))

    def drive_folder(self, root, drive):
        return self.prefix / "drive_c" if drive == "C" else root / drive

    def mount(self, root, drives):
        # The prefix is the tests' own: a letter's earlier mapping is not kept.
        for drive in sorted(drives - {"C"}):
            link = self.prefix / "dosdevices" / f"{drive.lower()}:"
            if link.is_symlink() or link.exists():
                link.unlink()
            link.symlink_to(root / drive)
            self.links.append(link)
            self.record(link)

    def unmount(self):
        for link in self.links:
            if link.is_symlink():
                link.unlink()
        self.links = []

    def command(self, args):
        return [self.emulator, str(self.program), *args]

    def environment(self, root):
        return self.wine_environment()

    def temp_folder(self, root):
        # Wine takes the folder from the prefix's user profile, whatever the environment says.
        return next(iter(sorted((self.prefix / "drive_c" / "users").glob("*/Temp"))), self.prefix / "drive_c")

    def record(self, created: Path):
        with open(self.journal, "a", encoding="utf-8") as journal:
            journal.write(f"{created}\n")

    def created_on_c(self):
        if self.baseline_c is None:
            return []
        drive_c = self.prefix / "drive_c"
        return [drive_c / name for name in sorted(set(os.listdir(drive_c)) - self.baseline_c)]

    def forget_records(self):
        if self.journal.exists():
            self.journal.unlink()

    def clean_journal(self):
        if self.journal.exists():
            for line in self.journal.read_text(encoding="utf-8").splitlines():
                remove(Path(line))
        self.forget_records()


def remove(path: Path):
    if path.is_dir() and not path.is_symlink():
        shutil.rmtree(path)
    elif path.is_symlink() or path.exists():
        path.unlink()


class Workspace:
    """The drives of one case: built before the run, removed after it."""

    def __init__(self, backend: Backend, case: Case):
        self.backend = backend
        self.case = case
        self.root = Path(tempfile.mkdtemp(prefix="tavorine-e2e-")).resolve()
        self.drives = {"C", case.cwd[0].upper()} | {split_windows_path(p, case.cwd)[0] for p in case.files}
        self.on_c = []

    def host_path(self, windows_path: str) -> Path:
        drive, parts = split_windows_path(windows_path, self.case.cwd)
        return self.backend.drive_folder(self.root, drive).joinpath(*parts)

    def make_folder(self, folder: Path):
        missing = []
        while not folder.exists():
            missing.append(folder)
            folder = folder.parent
        if missing and not self.is_below_root(missing[-1]):
            self.note_on_c(missing[-1])
        for path in reversed(missing):
            path.mkdir()

    def is_below_root(self, path: Path) -> bool:
        return self.root in path.parents

    def note_on_c(self, path: Path):
        self.on_c.append(path)
        self.backend.record(path)

    def put(self, windows_path: str, content):
        target = self.host_path(windows_path)
        self.make_folder(target.parent)
        if not self.is_below_root(target) and not target.exists():
            self.note_on_c(target)
        data = content.encode("latin-1") if isinstance(content, str) else content
        target.write_bytes(data)

    def build(self):
        self.backend.temp_folder(self.root).mkdir(exist_ok=True)
        for drive in self.drives:
            (self.root / drive).mkdir(exist_ok=True)
        self.make_folder(self.host_path(self.case.cwd))
        for path, content in self.case.files.items():
            self.put(path, content)
        self.backend.mount(self.root, self.drives)

    def listing(self) -> dict:
        """Every file of the case's drives, by Windows path, with its content."""
        tops = [(self.root / drive, f"{drive}:") for drive in sorted(self.drives - {"C"})]
        drive_c = self.backend.drive_folder(self.root, "C")
        c_tops = {drive_c} if drive_c == self.root / "C" else set(self.on_c) | set(self.backend.created_on_c())
        tops += [(path, "C:" + windows_suffix(path, drive_c)) for path in sorted(c_tops)]
        files = {}
        for top, name in tops:
            if top.is_file():
                files[name] = contents(top)
            for folder, _, names in os.walk(top):
                for file_name in names:
                    path = Path(folder) / file_name
                    files[name + windows_suffix(path, top)] = contents(path)
        return files

    def remove(self):
        self.backend.unmount()
        for path in reversed(self.on_c):
            remove(path)
        for path in self.backend.created_on_c():
            remove(path)
        self.backend.forget_records()
        shutil.rmtree(self.root, ignore_errors=True)


LARGEST_READ = 64 << 20


def contents(path: Path) -> bytes:
    """A file's bytes; what no test may read (a FIFO, a device, gigabytes) by what it is."""
    status = path.lstat()
    if stat.S_ISLNK(status.st_mode):
        return b"<link to " + os.fsencode(os.readlink(path)) + b">"
    if not stat.S_ISREG(status.st_mode):
        return b"<not a file: " + oct(status.st_mode).encode() + b">"
    if status.st_size > LARGEST_READ:
        return b"<" + str(status.st_size).encode() + b" bytes>"
    return path.read_bytes()


def windows_suffix(path: Path, top: Path) -> str:
    relative = path.relative_to(top)
    return "" if str(relative) == "." else "\\" + str(relative).replace("/", "\\")


class Output:
    """The standard output a case asks for, made before the run and closed after it."""

    def __init__(self, kind: str, captured):
        self.kind = kind
        self.target = captured
        self.preexec = None
        self.opened = []

    def __enter__(self):
        if self.kind == "full":
            self.target = open("/dev/full", "wb")
            self.opened.append(self.target)
        elif self.kind == "broken pipe":
            reading, writing = os.pipe()
            os.close(reading)
            self.target = writing
            self.opened.append(writing)
        elif self.kind == "closed":
            self.target = None
            self.preexec = lambda: os.close(1)
        return self

    def __exit__(self, *_):
        for opened in self.opened:
            opened.close() if hasattr(opened, "close") else os.close(opened)


PRIVATE_FOLDER = re.compile(r"Tavorine\.\d+\.[0-9a-f]{16}")


def private_folders(folder: Path) -> set:
    return {path.name for path in folder.glob("Tavorine.*") if PRIVATE_FOLDER.fullmatch(path.name)}


def run_case(backend: Backend, case: Case) -> Run:
    workspace = Workspace(backend, case)
    try:
        workspace.build()
        temp = backend.temp_folder(workspace.root)
        folders_before = private_folders(temp)
        before = workspace.listing()
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            # Files, not pipes: a Wine helper process that outlives the run must
            # not keep us waiting for the end of its output.
            started = time.monotonic()
            with Output(case.output, out) as stdout:
                try:
                    completed = subprocess.run([*case.wrapper, *backend.command(case.args)],
                                               cwd=workspace.host_path(case.cwd),
                                               env={**backend.environment(workspace.root), **case.environment},
                                               stdin=subprocess.DEVNULL,
                                               stdout=stdout.target, stderr=err, timeout=RUN_TIMEOUT_SECONDS,
                                               preexec_fn=stdout.preexec)
                    status = completed.returncode
                except subprocess.TimeoutExpired:
                    status = None
            out.seek(0)
            err.seek(0)
            run = Run(out.read(), err.read(), status, before, workspace.listing(), time.monotonic() - started,
                      tuple(sorted(private_folders(temp) - folders_before)))
    finally:
        workspace.remove()
    return run


def visible(line: str) -> str:
    """A diff line with its line end and any control character made visible."""
    body = line[:-1] if line.endswith("\n") else line
    shown = "".join(c if " " <= c <= "~" or c == "\t" else f"\\x{ord(c):02x}" for c in body)
    return shown if line.endswith("\n") else shown + "  [no line end]"


def visible_lines(data: bytes) -> list:
    """Lines as the program ends them, with LF only: a CR stays visible in its line."""
    parts = data.decode("latin-1").split("\n")
    lines = [part + "\n" for part in parts[:-1]] + ([parts[-1]] if parts[-1] else [])
    return [visible(line) for line in lines]


def stdout_diff(expected: bytes, actual: bytes) -> str:
    expected_lines, actual_lines = visible_lines(expected), visible_lines(actual)
    return "\n".join(difflib.unified_diff(expected_lines, actual_lines, "expected", "actual", lineterm=""))


def tree_complaint(case: Case, run: Run) -> Optional[str]:
    expected = set(run.before) | set(case.new_files)
    expected -= set(case.removed_files)
    complaints = []
    for path in sorted(set(run.after) ^ expected):
        complaints.append(f"  {'unexpected' if path in run.after else 'missing'} file {path}")
    for path in sorted(set(run.after) & set(run.before)):
        if path not in case.new_files and run.after[path] != run.before[path]:
            complaints.append(f"  changed file {path}")
    return "files after the run:\n" + "\n".join(complaints) if complaints else None


RFC_ERROR_REPORT = b"RFC error\n"


def document_part(stdout: bytes, console: bool) -> Optional[bytes]:
    """What the monitor parses: the output, without its console lines ("* ...")
    when a marker asked for them. None when the run ended in the RFC error
    report, which prints no document of its own."""
    if stdout.startswith(RFC_ERROR_REPORT) or b"\n" + RFC_ERROR_REPORT in stdout:
        return None
    if not console:
        return stdout
    return b"".join(line for line in stdout.splitlines(keepends=True) if not line.startswith(b"* "))


def xml_complaint(case: Case, run: Run) -> Optional[str]:
    """Every XML document the program prints must be one well-formed document,
    with nothing before it unless a marker asked for console lines."""
    if case.stdout is None or "<Prtg>" not in case.stdout:
        return None
    document = document_part(run.stdout, any(marker in " ".join(case.args[1:3]) for marker in "#@$%"))
    if document is None:
        return None
    checked = subprocess.run(["xmllint", "--noout", "-"], input=document, capture_output=True, timeout=60)
    if checked.returncode == 0:
        return None
    return "not one well-formed XML document:\n" + checked.stderr.decode("latin-1")


def valgrind_complaint(run: Run) -> Optional[str]:
    """Valgrind reports on standard error, each line tagged with the process id."""
    reports = [line for line in run.stderr.decode("latin-1").splitlines() if VALGRIND_LINE.match(line)]
    return "valgrind:\n" + "\n".join(reports) if reports else None


def failures_of(case: Case, run: Run) -> list:
    problems = []
    if case.stdout is not None:
        expected = CLOCK.sub(b"hh:mm:ss", case.stdout.encode("latin-1"))
        actual = CLOCK.sub(b"hh:mm:ss", run.stdout)
        if actual != expected:
            problems.append("standard output differs:\n" + stdout_diff(expected, actual))
    if run.status != case.status:
        shown = "none (killed after timeout)" if run.status is None else run.status
        problems.append(f"exit status {shown}, expected {case.status}")
    complaint = tree_complaint(case, run)
    if complaint:
        problems.append(complaint)
    if run.left_in_temp:
        problems.append(f"left in the folder for temporary files: {', '.join(run.left_in_temp)}")
    if case.check:
        complaint = case.check(run)
        if complaint:
            problems.append(complaint)
    for complaint in (xml_complaint(case, run), valgrind_complaint(run)):
        if complaint:
            problems.append(complaint)
    if problems and run.stderr:
        problems.append("standard error:\n" + run.stderr.decode("latin-1"))
    return problems


def main(cases: list, extra_runs: Optional[Callable] = None) -> int:
    """Runs the cases that -k selects; extra_runs(options), when given, runs
    cases of its own and returns whether each passed. A pattern that selects
    nothing is a failure: a run of no case must not pass for a run of all."""
    parser = argparse.ArgumentParser(description="Runs end-to-end cases against the built program.")
    parser.add_argument("--program", required=True, type=Path, help="the built tavorine or Tavorine.exe")
    parser.add_argument("--emulator", help="runs the Windows build (cmake/wine-run)")
    parser.add_argument("--valgrind", action="store_true", help="runs the native build under valgrind")
    parser.add_argument("-k", dest="pattern", default="", help="only cases whose name contains this text")
    parser.add_argument("--shard", default="0/1", metavar="K/N",
                        help="only every N-th selected case, starting with the K-th: N runs side by side")
    parser.add_argument("--costly-processes", action="store_true",
                        help="processes are slow to start here (Wine, sanitizers): leave out cases that start many")
    parser.add_argument("--sanitized", action="store_true",
                        help="the program runs with sanitizers: leave out cases that limit its files or processes")
    options = parser.parse_args()
    if options.valgrind and options.emulator:
        parser.error("valgrind runs the native build only")

    names = [case.name for case in cases]
    duplicates = {name for name in names if names.count(name) > 1}
    if duplicates:
        print(f"duplicate case names: {sorted(duplicates)}")
        return 2

    # ctest ends a test that overruns with SIGTERM: clean the drives up first.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    program = options.program.resolve()
    if options.emulator:
        # The program runs in each case's own folder: a relative emulator path would be lost there.
        emulator = os.path.abspath(options.emulator) if os.sep in options.emulator else options.emulator
        backend = WineBackend(program, emulator)
    elif options.valgrind:
        backend = ValgrindBackend(program)
    else:
        backend = NativeBackend(program)
    backend.setup()
    shard, shards = (int(number) for number in options.shard.split("/"))
    selected = [case for case in cases if options.pattern in case.name][shard::shards]
    failed = []
    for case in selected:
        problems = failures_of(case, run_case(backend, case))
        print(f"{'FAIL' if problems else 'ok  '} {case.name}", flush=True)
        for problem in problems:
            print("     " + problem.replace("\n", "\n     "))
        if problems:
            failed.append(case.name)
    extra = extra_runs(options) if extra_runs and shard == 0 else []
    total = len(selected) + len(extra)
    passed = total - len(failed) - extra.count(False)
    print(f"{passed} of {total} cases passed")
    if total == 0:
        print(f"FAIL no case matches -k {options.pattern!r}")
        return 1
    return 0 if passed == total else 1
