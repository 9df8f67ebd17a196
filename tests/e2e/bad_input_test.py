#!/usr/bin/env python3
"""Damaged input, end to end: one row per file the program reads and kind of
damage, and the command line. Every row has its exact output and exit status;
the harness also holds the tree to the files a run may write and parses every
XML document it prints.

The large inputs (a line of 1 MB, a million short lines) are made when the
rows are built, never kept in the tree.

A file that cannot be read is a file without any permission. Root reads it
anyway, so when the tests run as root the native program runs as the user
nobody (setpriv), in a tree opened up for it. Under Wine no such row runs: Wine
runs as root too and knows no other way to deny a file, so there the rows with
a folder in the file's place stand for a file that does not open. Rows whose
arguments carry bytes beyond ASCII run natively only: Wine turns the command
line into its ANSI code page, so what the program receives is Wine's choice.
"""

import os
import random
import shutil
import stat
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import harness
from harness import Case, envelope, main
from listing_files import SENSOR_DIR, three_profiles, three_systems
from listing_test import global_listing
from profiles import encode_password, profile
from systems import (HEALTHY, HEALTHY_DOCUMENT, PROFILE, RUN_LOG, SANITIZED, SAPRFC_INI, SAPRFC_LOCK, SIMULATION, TRACE,
                     UNDER_WINE, WORK, narrow, system, tells)

RUN_AS_NOBODY = os.geteuid() == 0 and shutil.which("setpriv") is not None and not UNDER_WINE
NOBODY = 65534


class Folder:
    """In place of a file: a folder with nothing in it."""


class Unreadable(bytes):
    """A file that no one but root may read."""


class Fifo:
    """In place of a file: a FIFO that no one writes (Linux only: Windows has none)."""


class Device:
    """In place of a file: a link to /dev/zero, which never ends."""


class Sparse:
    """A file of 10 GB that holds nothing: its size is all."""


class Link:
    """In place of a file: a symbolic link to another place of the case, by Windows path."""

    def __init__(self, target: str):
        self.target = target


FOLDER, FIFO, ZERO, HUGE = Folder(), Fifo(), Device(), Sparse()


class DamagingWorkspace(harness.Workspace):
    """The harness's drives, able to hold a folder or a denied file where a file belongs."""

    def put(self, windows_path, content):
        if isinstance(content, Link):
            path = self.host_path(windows_path)
            self.make_folder(path.parent)
            path.symlink_to(self.host_path(content.target))
            return
        if isinstance(content, (Folder, Fifo, Device, Sparse)):
            path = self.host_path(windows_path)
            self.make_folder(path if isinstance(content, Folder) else path.parent)
            if isinstance(content, Fifo):
                os.mkfifo(path)
            elif isinstance(content, Device):
                path.symlink_to("/dev/zero")
            elif isinstance(content, Sparse):
                with open(path, "wb") as sparse:
                    sparse.truncate(10 << 30)
            return
        super().put(windows_path, content)
        if isinstance(content, Unreadable):
            self.host_path(windows_path).chmod(0)

    def build(self):
        super().build()
        if RUN_AS_NOBODY:
            self.open_up(self.root)

    @staticmethod
    def open_up(top):
        """Lets nobody into every folder and at every file that is not denied on purpose."""
        top.chmod(0o777)
        for folder, names, files in os.walk(top):
            for name in names:
                os.chmod(os.path.join(folder, name), 0o777)
            for name in files:
                path = os.path.join(folder, name)
                if not os.path.islink(path) and stat.S_IMODE(os.stat(path).st_mode) != 0:
                    os.chmod(path, 0o666)


class UnprivilegedBackend(harness.NativeBackend):
    def command(self, args):
        return ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups", *super().command(args)]


harness.Workspace = DamagingWorkspace
if RUN_AS_NOBODY:
    harness.NativeBackend = UnprivilegedBackend

# The kinds of damage every file meets.
JUNK = bytes(random.Random(20261208).randrange(1, 256) for _ in range(4096)).replace(b"\n", b"")
MEGABYTE_LINE = "x" * (1 << 20) + "\r\n"
MILLION_LINES = "x\r\n" * 1_000_000


def utf8(text: str) -> str:
    """Text as its UTF-8 bytes, one character per byte, as the harness writes files and compares output."""
    return text.encode("utf-8").decode("latin-1")


def cr_only(text: str) -> str:
    return text.replace("\r\n", "\r")


def unterminated(text: str) -> str:
    return text[:-2] if text.endswith("\r\n") else text


def rows(prefix, cases):
    return [Case(f"{prefix}: {case.name}", **{k: v for k, v in vars(case).items() if k != "name"}) for case in cases]


# Under Wine a run also pays for Wine's start.
QUICK_SECONDS = 5 if UNDER_WINE else 1


def quick(run):
    return None if run.seconds < QUICK_SECONDS else f"took {run.seconds:.1f} s"


def untrusted(row, missing, too_large):
    """The rows of one input place that nothing may hang on or fill memory
    with: a FIFO and a link to /dev/zero count as a file that is not there, a
    sparse file of 10 GB is refused; each ends at once. row(name, content,
    stdout, status) makes one row."""
    rows = [] if UNDER_WINE else [row("a FIFO", FIFO, *missing)]
    rows += [row("a link to /dev/zero", ZERO, *missing), row("a sparse file of 10 GB", HUGE, *too_large)]
    for made in rows:
        made.check = quick if made.check is None else (lambda run, first=made.check: first(run) or quick(run))
    return rows


def too_large(name):
    return envelope(f"Error 1045: File {name} is larger than 16 MB...")


def single(name, stdout, status=0, args=("SYS",), tree=None, new_files=(), check=None):
    """A good profile and a healthy system; tree replaces or adds files by Windows path."""
    files = {PROFILE: profile(), SIMULATION: system(*HEALTHY)}
    files.update(tree or {})
    return Case(name, args=list(args), files=files, stdout=stdout, status=status, new_files=new_files, check=check)


def denied(path, content, stdout, status, **options):
    """The row of a file that cannot be read; left out where no file can be denied."""
    if UNDER_WINE:
        return []
    return [single("cannot be read", stdout, status, tree={path: Unreadable(content)}, **options)]


# The profile.
NO_USER = envelope("Error 1006: Username in Profile SYS.P00 is missing...")
PROFILE_MISSING = envelope("Error 1002: Profile SYS.P00 is missing...")
GOOD = profile()
NUL_IN_PASSWORD = profile(Password=encode_password("Secret42")[:10] + "\0" + encode_password("Secret42")[11:])
PROFILE_ROWS = rows("profile", [
    single("empty", NO_USER, 2, tree={PROFILE: ""}),
    single("binary junk", NO_USER, 2, tree={PROFILE: JUNK}),
    # A C line reader ends the line's text at a NUL: the value is ten characters.
    single("NUL byte inside the password value", envelope("Error 1004: Invalid Password in Profile SYS.P00 found..."),
           2, tree={PROFILE: NUL_IN_PASSWORD}),
    single("NUL bytes on a line of their own", HEALTHY_DOCUMENT, tree={PROFILE: "\0\0\0\r\n" + GOOD}),
    single("a line of 1 MB", HEALTHY_DOCUMENT, tree={PROFILE: GOOD + MEGABYTE_LINE}),
    single("a million short lines", HEALTHY_DOCUMENT, tree={PROFILE: MILLION_LINES + GOOD}),
    single("no final line end", HEALTHY_DOCUMENT, tree={PROFILE: unterminated(GOOD)}),
    # One line: its first label holds everything, the user is never met.
    single("CR-only line ends", NO_USER, 2, tree={PROFILE: cr_only(GOOD)}),
    single("text beyond ASCII in a value", HEALTHY_DOCUMENT,
           tree={PROFILE: profile(Extcompany=narrow("Prüfsysteme Nord"))}),
    single("text beyond ASCII in the destination: refused logon, the character as a reference",
           envelope("Error 1011: RFC-Open for Q&#196;S failed !"), 2, tree={PROFILE: profile(Destination=narrow("QÄS"))},
           new_files=(TRACE,)),
    *([] if UNDER_WINE else [single("a byte that is no UTF-8 in the destination, shown as ?",
           envelope("Error 1011: RFC-Open for Q?S failed !"), 2, tree={PROFILE: profile(Destination="Q\xc4S")},
           new_files=(TRACE,))]),
    single("a folder", PROFILE_MISSING, 2, tree={PROFILE: FOLDER}),
    *denied(PROFILE, GOOD.encode(), PROFILE_MISSING, 2),
    *untrusted(lambda name, content, stdout, status: single(name, stdout, status, tree={PROFILE: content}),
               (PROFILE_MISSING, 2), (too_large("SYS.P00"), 2)),
])


# The global listing file "SAP Kestrion.Gbl".
GLOBAL_FILE = SENSOR_DIR + "SAP Kestrion.Gbl"
GLOBAL_LISTING = global_listing()
SENSOR_MISSING = envelope("Error 1030: Global Sensor SENSOR1 not found...")


def summary(item="Plant North", systems=3, processed=3, failed=0):
    return (f"\n<Prtg>\n\n\n<Text>(***) {item}: NoSystems={systems}, Processed={processed}, Failed={failed}"
            "</Text>\n\n</Prtg>\n\n")


def listing(name, stdout, listing_file, text, args, status=0, extra=None, new_files=()):
    tree = three_profiles()
    tree[SIMULATION] = three_systems()
    tree[listing_file] = text
    tree.update(extra or {})
    return Case(name, args=list(args), files=tree, stdout=stdout, status=status, new_files=new_files)


def global_row(name, stdout, text, status=0):
    return listing(name, stdout, GLOBAL_FILE, text, ("GLOBAL", "SENSOR1"), status)


def global_denied():
    return [] if UNDER_WINE else [global_row("cannot be read", envelope("Error 1002: Profile SAP Kestrion.Gbl is missing..."),
                                             Unreadable(GLOBAL_LISTING.encode()), 2)]


GLOBAL_ROWS = rows("global listing", [
    global_row("empty", SENSOR_MISSING, "", 2),
    global_row("binary junk", SENSOR_MISSING, JUNK, 2),
    # The NUL ends the line's text: PRD.P00 after it is not listed.
    global_row("NUL byte inside the server listing", summary(systems=2, processed=2),
               GLOBAL_LISTING.replace("QAS.P00#PRD.P00#", "QAS.P00\0#PRD.P00#"), 0),
    global_row("a line of 1 MB", summary(), MEGABYTE_LINE + GLOBAL_LISTING),
    global_row("a million short lines", summary(), MILLION_LINES + GLOBAL_LISTING),
    global_row("no final line end", summary(), unterminated(GLOBAL_LISTING)),
    global_row("CR-only line ends", SENSOR_MISSING, cr_only(GLOBAL_LISTING), 2),
    global_row("item text beyond ASCII", summary(item="Nord S&#252;d"), global_listing(
        settings=narrow("Item=Nord:Süd,") + 'Sensor="SAP Tavorine"')),
    *([] if UNDER_WINE else [global_row("item text with a byte that is no UTF-8, shown as ?", summary(item="Nord S?d"),
                                        global_listing(settings='Item=Nord:S\xfcd,Sensor="SAP Tavorine"'))]),
    global_row("a folder", envelope("Error 1002: Profile SAP Kestrion.Gbl is missing..."), FOLDER, 2),
    *global_denied(),
    *untrusted(lambda name, content, stdout, status: global_row(name, stdout, content, status),
               (envelope("Error 1002: Profile SAP Kestrion.Gbl is missing..."), 2),
               (too_large("SAP Kestrion.Gbl"), 2)),
    # A listed profile that does not open is skipped; one too large is a fault of its system.
    *untrusted(lambda name, content, stdout, status: listing(
        "listed profile: " + name, stdout, GLOBAL_FILE, GLOBAL_LISTING, ("GLOBAL", "SENSOR1"), status,
        extra={SENSOR_DIR + "QAS.P00": content}, new_files=(TRACE,) if content is HUGE else ()),
        (summary(processed=2), 0), (summary(processed=2, failed=1), 0)),
])


# The shared profile "Kestrion.Prf".
SHARED_FILE = SENSOR_DIR + "Kestrion.Prf"
SHARED = "Destination: shared\r\n# Gsng: listing     DEV.P00#QAS.P00#PRD.P00#\r\n"
LISTING_MISSING = envelope("Error 1025: Global Server Listing missing...")


def shared_row(name, stdout, text, status=0):
    return listing(name, stdout, SHARED_FILE, text, ("ANY", "ITEM=Plant:North"), status)


def shared_denied():
    return [] if UNDER_WINE else [shared_row("cannot be read", envelope("Error 1002: Profile Kestrion.Prf is missing..."),
                                             Unreadable(SHARED.encode()), 2)]


SHARED_ROWS = rows("shared profile", [
    shared_row("empty", LISTING_MISSING, "", 2),
    shared_row("binary junk", LISTING_MISSING, JUNK, 2),
    shared_row("NUL byte inside the server listing", summary(systems=2, processed=2),
               SHARED.replace("QAS.P00#PRD.P00#", "QAS.P00\0#PRD.P00#")),
    shared_row("a line of 1 MB", summary(), MEGABYTE_LINE + SHARED),
    shared_row("a million short lines", summary(), MILLION_LINES + SHARED),
    shared_row("no final line end", summary(), unterminated(SHARED)),
    shared_row("CR-only line ends", LISTING_MISSING, cr_only(SHARED), 2),
    shared_row("UTF-8 comment", summary(), utf8("; Prüfsysteme\r\n") + SHARED),
    shared_row("Latin-1 comment", summary(), "; Pr\xfcfsysteme\r\n" + SHARED),
    shared_row("a folder", envelope("Error 1002: Profile Kestrion.Prf is missing..."), FOLDER, 2),
    *shared_denied(),
    *untrusted(lambda name, content, stdout, status: shared_row(name, stdout, content, status),
               (envelope("Error 1002: Profile Kestrion.Prf is missing..."), 2), (too_large("Kestrion.Prf"), 2)),
])


# The path file "C:\PRTG_Path.Txt", naming D:\Monitor, whose ExeXml folder holds the profile.
PATH_FILE = "C:\\PRTG_Path.Txt"
MONITOR_PROFILE = "D:\\Monitor\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\SYS.P00"
DIRECTORY_LINE = "D:\\Monitor\r\n"


def path_row(name, stdout, text, status=0):
    """The profile lies in D:\\Monitor's ExeXml folder only; the fixed folders are empty."""
    return Case(name, args=["SYS"], status=status, stdout=stdout,
                files={PATH_FILE: text, MONITOR_PROFILE: GOOD, SIMULATION: system(*HEALTHY)})


# Without a path file the fixed folders are searched: the profile waits in the first of them.
AS_IF_ABSENT = {"D:\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\SYS.P00": GOOD,
                SIMULATION: system(*HEALTHY)}


def path_denied():
    if UNDER_WINE:
        return []
    return [Case("cannot be read: searched as if there were none", args=["SYS"], status=0, stdout=HEALTHY_DOCUMENT,
                 files={PATH_FILE: Unreadable(DIRECTORY_LINE.encode()), **AS_IF_ABSENT})]


PATH_ROWS = rows("path file", [
    path_row("empty: root of the current drive only", PROFILE_MISSING, "", 2),
    path_row("binary junk", PROFILE_MISSING, JUNK, 2),
    path_row("NUL byte ends the line's text", HEALTHY_DOCUMENT, "D:\\Monitor\0\\elsewhere\r\n"),
    path_row("a line of 1 MB of blanks before the directory", HEALTHY_DOCUMENT,
             " " * (1 << 20) + "\r\n" + DIRECTORY_LINE),
    path_row("a million short lines before the directory", HEALTHY_DOCUMENT, MILLION_LINES + DIRECTORY_LINE),
    path_row("no final line end", HEALTHY_DOCUMENT, unterminated(DIRECTORY_LINE)),
    # One line naming a folder that does not exist.
    path_row("CR-only line ends", PROFILE_MISSING, cr_only("D:\\Other\r\n" + DIRECTORY_LINE), 2),
    path_row("UTF-8 comment", HEALTHY_DOCUMENT, utf8("# Überwachung\r\n") + DIRECTORY_LINE),
    path_row("Latin-1 comment", HEALTHY_DOCUMENT, "# \xdcberwachung\r\n" + DIRECTORY_LINE),
    Case("a folder: searched as if there were none", args=["SYS"], status=0, stdout=HEALTHY_DOCUMENT,
         files={PATH_FILE: FOLDER, **AS_IF_ABSENT}),
    *path_denied(),
    *untrusted(lambda name, content, stdout, status: Case(name, args=["SYS"], status=status, stdout=stdout,
                                                          files={PATH_FILE: content, **AS_IF_ABSENT}),
               (HEALTHY_DOCUMENT, 0), (too_large("C:\\PRTG_Path.Txt"), 2)),
])


# The library's trace "Dev_Rfc.Trc": an earlier run's trace, damaged. A failed
# call appends its own block, whose message is reported; a successful run
# deletes the trace, whatever it held.
CALL_FAILED = envelope("Error 1014: RFC-Failure raised ! - RfcReceive GET_CPU_ALL: communication failure")
OLD_TRACE = "**** ERROR file opened at 20260101 000000\r\nERROR       an earlier run's failure\r\n"


def trace_rows(name, content):
    failing = {PROFILE: GOOD, SIMULATION: system(*HEALTHY, "fail.receive.GET_CPU_ALL = 1"), TRACE: content}
    healthy = {PROFILE: GOOD, SIMULATION: system(*HEALTHY), TRACE: content}
    return [Case(f"{name}, failed call", args=["SYS"], status=2, stdout=CALL_FAILED, files=failing, new_files=(TRACE,)),
            Case(f"{name}, healthy run deletes it", args=["SYS"], status=0, stdout=HEALTHY_DOCUMENT, files=healthy,
                 removed_files=(TRACE,))]


def trace_denied():
    if UNDER_WINE:
        return []
    # Neither the library nor the scan gets at it; the healthy run still deletes it, as the folder it lies in allows.
    failing = {PROFILE: GOOD, SIMULATION: system(*HEALTHY, "fail.receive.GET_CPU_ALL = 1"),
               TRACE: Unreadable(OLD_TRACE.encode())}
    return [Case("cannot be read, failed call", args=["SYS"], status=2, files=failing,
                 stdout=envelope("Error 1014: RFC-Failure raised ! - Look for Trace-File"))]


TRACE_ROWS = rows("trace", [
    *trace_rows("empty", ""),
    *trace_rows("binary junk", JUNK),
    *trace_rows("NUL bytes", OLD_TRACE.replace("earlier", "ear\0lier") + "\0" * 100),
    *trace_rows("a line of 1 MB", OLD_TRACE + MEGABYTE_LINE),
    *trace_rows("a million short lines", OLD_TRACE + MILLION_LINES),
    # The library's block then begins on the last line of the old trace.
    *trace_rows("no final line end", unterminated(OLD_TRACE)),
    *trace_rows("CR-only line ends", cr_only(OLD_TRACE)),
    *trace_rows("UTF-8 message", utf8(OLD_TRACE.replace("failure", "Störung"))),
    *trace_rows("Latin-1 message", OLD_TRACE.replace("failure", "St\xf6rung")),
    Case("a folder, failed call: the library cannot write it, the scan cannot read it", args=["SYS"], status=2,
         stdout=envelope("Error 1014: RFC-Failure raised ! - Look for Trace-File"),
         files={PROFILE: GOOD, SIMULATION: system(*HEALTHY, "fail.receive.GET_CPU_ALL = 1"), TRACE + "\\keep": ""}),
    Case("a folder, healthy run leaves it", args=["SYS"], status=0, stdout=HEALTHY_DOCUMENT,
         files={PROFILE: GOOD, SIMULATION: system(*HEALTHY), TRACE + "\\keep": ""}),
    *trace_denied(),
    # Neither the library nor the scan gets at a FIFO or a device; of a trace of
    # any size the scan reads the end. A healthy run deletes a file, never a FIFO or a device.
    *untrusted(lambda name, content, stdout, status: Case(
        name + ", failed call", args=["SYS"], status=status, stdout=stdout, new_files=(TRACE,),
        files={PROFILE: GOOD, SIMULATION: system(*HEALTHY, "fail.receive.GET_CPU_ALL = 1"), TRACE: content}),
        (envelope("Error 1014: RFC-Failure raised ! - Look for Trace-File"), 2), (CALL_FAILED, 2)),
    *untrusted(lambda name, content, stdout, status: Case(
        name + ", healthy run", args=["SYS"], status=status, stdout=stdout,
        removed_files=(TRACE,) if content is HUGE else (),
        files={PROFILE: GOOD, SIMULATION: system(*HEALTHY), TRACE: content}),
        (HEALTHY_DOCUMENT, 0), (HEALTHY_DOCUMENT, 0)),
])


# "SapRfc.QAS": copied byte for byte to SapRfc.ini, which the library then reads.
SAPRFC_QAS = WORK + "SapRfc.QAS"
SAPRFC = "* Quality system\r\nDEST=QAS\r\nTYPE=A\r\nASHOST=qas-app01\r\nSYSNR=00\r\n"
SAPRFC_LINE = ""  # the notice of the SapRfc road stands among progress lines only
NO_LANGUAGE = tuple(line for line in system().splitlines()[1:] if not line.startswith("language"))
REFUSED = envelope("Error 1011: RFC-Open for QAS failed !")


def copied(source):
    data = bytes(source) if isinstance(source, bytes) else source.encode("latin-1")

    def check(run):
        copy = run.after.get(SAPRFC_INI)
        return None if copy == data else f"SapRfc.ini holds {len(copy or b'')} bytes, not a copy of SapRfc.QAS"
    return check


def saprfc_row(name, content, stdout=SAPRFC_LINE + HEALTHY_DOCUMENT, status=0, extra=None, new_files=None):
    """The system answers in language D, as RfcOpenEx logs on; the profile's host and number are wrong."""
    tree = {PROFILE: profile(Hostname="elsewhere", Sysnr="42"), SIMULATION: system(*HEALTHY, logon=NO_LANGUAGE),
            SAPRFC_QAS: content}
    tree.update(extra or {})
    if new_files is None:
        new_files = (SAPRFC_INI, SAPRFC_LOCK) + ((TRACE,) if status else ())
    return Case(name, args=["SYS"], files=tree, stdout=stdout, status=status, new_files=new_files,
                check=copied(content) if SAPRFC_INI in new_files else None)


# Where SapRfc.QAS does not open, the logon takes the profile's data: here they are right.
def saprfc_absent(name, content):
    tree = {PROFILE: GOOD, SIMULATION: system(*HEALTHY), SAPRFC_QAS: content}
    return Case(name, args=["SYS"], files=tree, stdout=HEALTHY_DOCUMENT, status=0)


SAPRFC_ROWS = rows("SapRfc.QAS", [
    saprfc_row("empty", "", SAPRFC_LINE + REFUSED, 2),
    saprfc_row("binary junk", JUNK, SAPRFC_LINE + REFUSED, 2),
    saprfc_row("NUL bytes in a comment, copied with them", SAPRFC + "* \0\0\0\r\n"),
    saprfc_row("a line of 1 MB", "*" + MEGABYTE_LINE + SAPRFC),
    saprfc_row("a million short lines", "*" + MILLION_LINES.replace("\n", "\n*") + "\r\n" + SAPRFC),
    saprfc_row("no final line end", unterminated(SAPRFC)),
    saprfc_row("CR-only line ends", cr_only(SAPRFC), SAPRFC_LINE + REFUSED, 2),
    saprfc_row("UTF-8 comment", utf8("* Qualitätssystem\r\n") + SAPRFC),
    saprfc_row("Latin-1 comment", "* Qualit\xe4tssystem\r\n" + SAPRFC),
    saprfc_absent("a folder: the profile's data", FOLDER),
    *([] if UNDER_WINE else [saprfc_absent("cannot be read: the profile's data", Unreadable(SAPRFC.encode()))]),
    # The copy's target and its lock file in the way.
    saprfc_row("SapRfc.ini a folder: no copy, no logon, no temporary file left", SAPRFC, SAPRFC_LINE + REFUSED, 2,
               extra={SAPRFC_INI + "\\keep": ""}, new_files=(SAPRFC_LOCK,)),
    saprfc_row("SapRfc.ini.lck a folder: the copy and logon still made", SAPRFC,
               extra={SAPRFC_LOCK + "\\keep": ""}, new_files=(SAPRFC_INI,)),
    *untrusted(lambda name, content, stdout, status: (saprfc_absent(name, content) if status == 0 else saprfc_row(
        name, content, stdout, status, new_files=())), (HEALTHY_DOCUMENT, 0),
        (SAPRFC_LINE + too_large("SapRfc.QAS"), 2)),
])


# Texts that the library returns, beyond ASCII: the document carries them as
# references, and a reader of the XML gets the characters back.
def decodes_to(text):
    def check(run):
        read = subprocess.run(["xmllint", "--xpath", "string(/Prtg/Text)", "-"], input=run.stdout,
                              capture_output=True, timeout=60).stdout.decode("utf-8").rstrip("\n")
        return None if read == text else f"the document's text reads {read!r}, expected {text!r}"
    return check


LIBRARY_TEXT_ROWS = rows("library texts", [
    single("an exception name beyond ASCII, from the call and from the trace",
           envelope("Error 1012: Exception.: &#196;NDERUNG - Exception &#196;NDERUNG raised by GET_CPU_ALL"), 2,
           tree={SIMULATION: system(*HEALTHY, narrow("fail.receive.GET_CPU_ALL = 2 ÄNDERUNG"))}, new_files=(TRACE,),
           check=decodes_to("Error 1012: Exception.: ÄNDERUNG - Exception ÄNDERUNG raised by GET_CPU_ALL")),
])


# The command line.
def command_row(name, args, stdout, status=2, native_only=False):
    if native_only and UNDER_WINE:
        return []
    return [single(name, stdout, status, args=args)]


# One argument may hold 128 KiB on Linux; a whole Windows command line 32,767 characters.
LONGEST_ARGUMENT = 30000 if UNDER_WINE else (1 << 17) - 1
COMMAND_ROWS = rows("command line", [
    *command_row("empty profile name", [""], envelope("Error 1002: Profile .P00 is missing...")),
    *command_row("profile name of the longest argument", ["A" * LONGEST_ARGUMENT],
                 envelope("Error 1002: Profile " + "A" * LONGEST_ARGUMENT + ".P00 is missing...")),
    *command_row("options of the longest argument", ["SYS", "x" * LONGEST_ARGUMENT], HEALTHY_DOCUMENT, 0),
    *command_row("ten thousand arguments: the fourth and later ignored", ["SYS", "x", "y"] + ["#"] * 9997,
                 HEALTHY_DOCUMENT, 0),
    *command_row("CR and LF in the profile name become blanks", ["S\rY\nS"],
                 envelope("Error 1002: Profile S Y S.P00 is missing...")),
    *command_row("control characters and markup in the profile name", ["\x01<&>\x7f"],
                 envelope("Error 1002: Profile  &lt;&amp;&gt; .P00 is missing...")),
    *command_row("binary junk as the profile name", [os.fsdecode(b"\xff\xfe\x80junk")],
                 envelope("Error 1002: Profile ???junk.P00 is missing..."), native_only=True),
    *command_row("profile name beyond ASCII", ["Prüf"], envelope("Error 1002: Profile Pr&#252;f.P00 is missing...")),
    *command_row("Latin-1 profile name, the byte shown as ?", [os.fsdecode(b"Pr\xfcf")],
                 envelope("Error 1002: Profile Pr?f.P00 is missing..."), native_only=True),
])

# Files the program writes in the working directory, each with a link in its
# place that leads elsewhere: nothing is written through it.
ELSEWHERE = "D:\\elsewhere\\kept.txt"
LINKED = {ELSEWHERE: "an administrator's file\r\n"}
SAPRFC_LINKED = {PROFILE: profile(Hostname="elsewhere", Sysnr="42"), SIMULATION: system(*HEALTHY, logon=NO_LANGUAGE),
                 SAPRFC_QAS: SAPRFC, **LINKED}
LINK_ROWS = rows("a link in the place of", [
    Case("SapRfc.ini.tmp: no copy, so no logon", args=["SYS"], status=2, stdout=SAPRFC_LINE + REFUSED,
         files={**SAPRFC_LINKED, SAPRFC_INI + ".tmp": Link(ELSEWHERE)}, new_files=(SAPRFC_LOCK,)),
    Case("SapRfc.ini.lck: not locked through, the copy and logon made", args=["SYS"], status=0,
         stdout=SAPRFC_LINE + HEALTHY_DOCUMENT, files={**SAPRFC_LINKED, SAPRFC_LOCK: Link(ELSEWHERE)},
         new_files=(SAPRFC_INI,), check=copied(SAPRFC)),
    single("Tavorine.log: no line written", HEALTHY_DOCUMENT, args=("SYS", ",SYSLOG"),
           tree={**LINKED, RUN_LOG: Link(ELSEWHERE)}),
    single("Tavorine.log, leading to no file: none made", HEALTHY_DOCUMENT, args=("SYS", ",SYSLOG"),
           tree={RUN_LOG: Link("D:\\elsewhere\\none.txt")}),
    # The parent of a group run's workers appends their traces to the working directory's.
    listing("Dev_Rfc.Trc: no worker's trace appended", summary(processed=2, failed=1), GLOBAL_FILE, GLOBAL_LISTING,
            ("GLOBAL", "SENSOR1"), extra={**LINKED, TRACE: Link(ELSEWHERE),
                                          SIMULATION: three_systems(QAS=["fail.logon = gateway closed"])}),
])

# A group run where workers cannot be started checks its systems in its own
# process, and the diagnosis says why. (Wine takes its folder for temporary
# files from its prefix and runs as root, whom no process limit holds; a
# sanitizer's runtime needs files and processes of its own.)
def starved(name, why, environment=None, wrapper=()):
    case = listing(name, None, GLOBAL_FILE, GLOBAL_LISTING, ("--diagnose", "GLOBAL", "SENSOR1"))
    case.environment, case.wrapper = environment or {}, wrapper
    case.check = tells(why, "exit status 0", "Processed=3, Failed=0")
    return case


# The group's diagnosis names a system's failure as a single run names it.
TOO_LARGE_FOR_A_GROUP = listing("listed system whose SapRfc file is too large: the diagnosis names Error 1045", None,
                                GLOBAL_FILE, GLOBAL_LISTING, ("--diagnose", "GLOBAL", "SENSOR1"),
                                extra={WORK + "SapRfc.QAS": HUGE})
TOO_LARGE_FOR_A_GROUP.check = tells("System QAS.P00: Rfc Failure, Error 1045: File SapRfc.QAS is larger than 16 MB...",
                                    "Processed=2, Failed=1")

NOBODY_PROCESSES = ("prlimit", "--nproc=1") if RUN_AS_NOBODY else None
RESOURCE_ROWS = [] if UNDER_WINE or SANITIZED else rows("no worker", [
    starved("no folder for temporary files", "No worker can be started (no private folder: there is no folder for "
            "temporary files", environment={"TMPDIR": "/nonexistent-tavorine"}),
    starved("at the open-file limit", "No worker can be started (no worker process: Too many open files",
            wrapper=("prlimit", "--nofile=6")),
    *([starved("at the process limit", "No worker can be started (no worker process: Resource temporarily "
               "unavailable", wrapper=NOBODY_PROCESSES)] if NOBODY_PROCESSES else []),
])

CASES = (PROFILE_ROWS + GLOBAL_ROWS + SHARED_ROWS + PATH_ROWS + TRACE_ROWS + SAPRFC_ROWS + LIBRARY_TEXT_ROWS
         + COMMAND_ROWS + LINK_ROWS + RESOURCE_ROWS + [TOO_LARGE_FOR_A_GROUP])


# The worker's door: "--listing-worker" takes a request of bounded size and
# works in no folder but a private one its parent made; else it ends without
# a word. The test is the worker's parent.
def fields(*texts: str) -> str:
    return "".join(f"{len(text):08x}{text}" for text in texts)


def worker_request(folder: str) -> bytes:
    """The first record a parent sends: the run's options and the worker's folder."""
    body = fields("", folder)
    return f"S{len(body):08x}{body}".encode()


def worker_door(options) -> list:
    backend = harness.WineBackend(options.program.resolve(), os.path.abspath(options.emulator)) if options.emulator \
        else harness.NativeBackend(options.program.resolve())
    root = Path(tempfile.mkdtemp(prefix="tavorine-door-"))
    command = backend.command(["--listing-worker", str(os.getpid())])
    outside = backend.prefix / "drive_c" if UNDER_WINE else Path("/")
    results = []
    try:
        for name, stdin in (("endless request", None), ("request naming a folder that is no private one",
                                                          worker_request("C:\\" if UNDER_WINE else "/"))):
            started = time.monotonic()
            with open("/dev/zero", "rb") as zero:
                done = subprocess.run(command, input=stdin, stdin=zero if stdin is None else None, capture_output=True,
                                      cwd=root, env=backend.environment(root), timeout=60)
            problems = [f"{what}" for what, bad in (
                (f"printed {done.stdout[:80]!r}", done.stdout), (f"exit status {done.returncode}", done.returncode != 2),
                (f"took {time.monotonic() - started:.1f} s", time.monotonic() - started > 10 * QUICK_SECONDS),
                ("wrote Dev_Rfc.Trc there", (outside / "Dev_Rfc.Trc").exists())) if bad]
            print(f"{'FAIL' if problems else 'ok  '} worker: {name}", *problems, sep="\n     ", flush=True)
            results.append(not problems)
    finally:
        shutil.rmtree(root, ignore_errors=True)
    return results


if __name__ == "__main__":
    sys.exit(main(CASES, worker_door))
