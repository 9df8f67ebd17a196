#!/usr/bin/env python3
"""The single-profile run, end to end: logon, the three checks, the error
report, the run log and the progress lines.

The profile SYS.P00 (destination QAS) lies in the fixed ExeXml folder of D:,
the simulated system in D:\\work\\RfcSim.txt; the working directory is D:\\work.
Every XML document a case prints must also parse (systems.well_formed).
"""

import argparse
import ctypes.util
import os
import shutil
import sys
import tempfile
from pathlib import Path

from harness import NativeBackend, WineBackend, envelope, failures_of, main, run_case
from profiles import encode_password, profile
from systems import (DONE, HEALTHY, HEALTHY_DOCUMENT, LOGON, PROFILE, RUN_LOG, SAPRFC_INI, SAPRFC_LOCK, SIMULATION,
                     TRACE, WORK, WORK_PROFILE, case, checks, executing, files, healthy, progress,
                     run_log_after_start, run_log_lines, run_log_of, system)


# An earlier run's trace: a successful run deletes it.
OLD_TRACE = "**** ERROR file opened at 20260101 000000\nERROR       an earlier run's failure\n"
MISMATCH = envelope("Error 1018: DataBase mismatch !")


def text_document(text):
    """The healthy document with another information text."""
    return HEALTHY_DOCUMENT.replace("(QAS) Tavorine: Info=DB4,Date=20261208,Time=061500,Sid=QA      ", text)


HEALTHY_CASES = [
    case("healthy system: the document alone, status 0, an old trace deleted, SapRfc.ini untouched",
         ["SYS"], HEALTHY_DOCUMENT, 0,
         files(*HEALTHY, **{TRACE: OLD_TRACE, SAPRFC_INI: "DEST=QAS\r\nTYPE=A\r\n"}), removed_files=(TRACE,)),
    case("healthy system with default values: DB4, zero counts, system id = destination",
         ["SYS"],
         "\n<Prtg>\n"
         "\n<Text>(QAS) Tavorine: Info=DB4,Date=00000000,Time=000000,Sid=QAS     </Text>\n"
         "\n<Result><Channel>Abap Tables missing</Channel>\n<Value>0</Value></Result>\n"
         "\n<Result><Channel>Abap Primary missing</Channel>\n<Value>0</Value></Result>\n"
         "\n<Result><Channel>Abap Indexes missing</Channel>\n<Value>0</Value></Result>\n"
         "\n<Result><Channel>Abap Views missing</Channel>\n<Value>0</Value></Result>\n"
         "\n</Prtg>\n", 0, files()),
    case("all-blank DBSYS gives an empty Info, all-blank SYSID keeps its eight blanks",
         ["SYS"], text_document("(QAS) Tavorine: Info=,Date=20261208,Time=061500,Sid=        "), 0,
         files(*healthy('DBSYS = "          "', 'SYSID = ""'))),
    case("DBSYS with blanks inside keeps them, only trailing blanks go; a full SYSID",
         ["SYS"], text_document("(QAS) Tavorine: Info=DB4 V7R3,Date=20261208,Time=061500,Sid=QASYS001"), 0,
         files(*healthy('DBSYS = "DB4 V7R3  "', "SYSID = QASYS001"))),
    case("RFCDBSYS that merely begins with DB4 passes",
         ["SYS"], HEALTHY_DOCUMENT, 0, files(*healthy("RFCDBSYS = DB4XYZ"))),
    case("RFCDBSYS DB6: Error 1018, an earlier trace left as it was",
         ["SYS"], MISMATCH, 2, files(*healthy("RFCDBSYS = DB6"), **{TRACE: OLD_TRACE})),
    case("RFCDBSYS db4 in lower case: Error 1018",
         ["SYS"], MISMATCH, 2, files(*healthy("RFCDBSYS = db4"))),
    case("RFCDBSYS ORACLE: Error 1018 before the dictionary is read (two calls in the run log)",
         [WORK_PROFILE.replace(".P00", ""), "@,SYSLOG"], progress("(No Parameters)") + MISMATCH, 2,
         {WORK_PROFILE: profile(), SIMULATION: system(*healthy("RFCDBSYS = ORACLE"))}, new_files=(RUN_LOG,),
         check=run_log_after_start(run_log_lines(1, 2, 2))),
    case("an empty CPU table lets the run go on", ["SYS"], HEALTHY_DOCUMENT, 0, files(*healthy("cpu_rows = 0"))),
    case("a CPU table of 500 rows is fetched whole", ["SYS"], HEALTHY_DOCUMENT, 0,
         files(*healthy("cpu_rows = 500"))),
    case("a destination holding markup is escaped in the document's text",
         ["SYS"], HEALTHY_DOCUMENT.replace("(QAS)", "(Q&amp;A)"), 0,
         {PROFILE: profile(Destination="Q&A"), SIMULATION: system(*HEALTHY, destination="Q&A")}),
    case("DBSYS of another system in the dictionary record is only shown: DB4 test is on RFCDBSYS",
         ["SYS"], text_document("(QAS) Tavorine: Info=DB6,Date=20261208,Time=061500,Sid=QA      "), 0,
         files(*healthy("DBSYS = DB6"))),
]

FUNCTIONS = ("GET_CPU_ALL", "RFC_SYSTEM_INFO", "DB02_DB4_GET_INFO")


def failed_call(function, where, injected, text):
    """A call of the nth function module fails: its error text and the trace's
    message in the envelope, the later modules never called."""
    number = FUNCTIONS.index(function) + 1
    receives = number if where == "receive" else number - 1
    return case(f"{function} fails at Rfc{where.capitalize()} with {injected}", ["SYS", ",SYSLOG"],
                envelope(text), 2, files(f"fail.{where}.{function} = {injected}"), new_files=(TRACE, RUN_LOG),
                check=run_log_after_start(run_log_lines(1, number, receives)))


def call_failures(function):
    return [
        failed_call(function, "receive", "1",
                    f"Error 1014: RFC-Failure raised ! - RfcReceive {function}: communication failure"),
        failed_call(function, "receive", "2 NOT_FOUND",
                    f"Error 1012: Exception.: NOT_FOUND - Exception NOT_FOUND raised by {function}"),
        failed_call(function, "receive", "3",
                    f"Error 1013: Sys-Exception raised ! - System exception SYSTEM_FAILURE raised by {function}"),
        failed_call(function, "receive", "5",
                    f"Error 1015: Other Failure raised ! - RfcReceive {function}: failure code 5"),
        failed_call(function, "call", "1",
                    f"Error 1014: RFC-Failure raised ! - RfcCall {function}: communication failure"),
        # RfcReceive hands out the exception name; after a failed RfcCall there is none.
        failed_call(function, "call", "2 NO_DATA",
                    f"Error 1012: Exception.:  - Exception NO_DATA raised by {function}"),
        failed_call(function, "call", "3 SHORT_DUMP",
                    f"Error 1013: Sys-Exception raised ! - System exception SHORT_DUMP raised by {function}"),
        failed_call(function, "call", "23",
                    f"Error 1015: Other Failure raised ! - RfcCall {function}: failure code 23"),
    ]


CALL_FAILURES = [failure for function in FUNCTIONS for failure in call_failures(function)]

TRACE_CASES = [
    case("an earlier run's trace: the last message of the whole file counts",
         ["SYS"], envelope("Error 1012: Exception.: NOT_FOUND - Exception NOT_FOUND raised by RFC_SYSTEM_INFO"), 2,
         files("fail.receive.RFC_SYSTEM_INFO = 2", **{TRACE: OLD_TRACE}), new_files=(TRACE,)),
    # A folder where the trace should be: the library cannot write it, the scan cannot read it.
    case("no trace file to read: Look for Trace-File",
         ["SYS"], envelope("Error 1014: RFC-Failure raised ! - Look for Trace-File"), 2,
         files("fail.receive.GET_CPU_ALL = 1", **{TRACE + "\\keep": ""})),
    case("markup and a stray byte in the exception name are escaped in the envelope",
         ["SYS"], envelope("Error 1012: Exception.: A&lt;B&amp;C? - Exception A&lt;B&amp;C? raised by GET_CPU_ALL"), 2,
         files("fail.receive.GET_CPU_ALL = 2 A<B&C\xe9"), new_files=(TRACE,)),
]


def report(operation, key, status, message):
    return ("RFC error\n"
            f"operation/code  : {operation}\n"
            f"key             : {key}\n"
            f"status          : {status}\n"
            f"message         : {message}\n"
            "internal status : injected for QAS by RfcSim.txt\n"
            "\n"
            "* Programm aborted...\n"
            "* Error at EoXput-File...\n")


def aborted(name, line, stdout, args=("SYS",)):
    """The library's failure ends the run through the error report: status 1, no document."""
    return case(name, list(args), stdout, 1, files(line), new_files=(TRACE,))


LIBRARY_ERRORS = [
    aborted("library error through the callback at logon", "fail.callback.logon = logon broke down",
            report("logon broke down", "RFC_ERROR_SYSTEM_FAILURE", "RfcOpen QAS", "logon broke down")),
    aborted("library error through the callback during RfcCall", "fail.callback.call.RFC_SYSTEM_INFO =",
            report("simulated library failure", "RFC_ERROR_SYSTEM_FAILURE", "RfcCall RFC_SYSTEM_INFO",
                   "simulated library failure")),
    aborted("library error through the callback during RfcReceive, with progress lines before the report",
            "fail.callback.receive.DB02_DB4_GET_INFO = connection lost",
            progress("(No Parameters)")
            + report("connection lost", "RFC_ERROR_SYSTEM_FAILURE", "RfcReceive DB02_DB4_GET_INFO", "connection lost"),
            args=("SYS", "#")),
    aborted("ItCreate fails", "fail.itcreate = MISS_VIEWS",
            report("ItCreate MISS_VIEWS", "RFC_ERROR_RESOURCE", "ItCreate MISS_VIEWS",
                   "ItCreate MISS_VIEWS: simulated failure")),
    aborted("ItGetLine fails", "fail.itgetline = TF_CPU_ALL",
            report("ItGetLine TF_CPU_ALL", "RFC_ERROR_RESOURCE", "ItGetLine TF_CPU_ALL",
                   "ItGetLine TF_CPU_ALL: simulated failure")),
    aborted("ItDelete fails", "fail.itdelete = ADDTL_INDEX",
            report("ItDelete ADDTL_INDEX", "RFC_ERROR_RESOURCE", "ItDelete ADDTL_INDEX",
                   "ItDelete ADDTL_INDEX: simulated failure")),
    # The tables go whatever the call's outcome: the failed delete is reported before the failed call.
    case("ItDelete fails after a failed GET_CPU_ALL: the report, not the envelope", ["SYS"],
         report("ItDelete TF_CPU_ALL", "RFC_ERROR_RESOURCE", "ItDelete TF_CPU_ALL",
                "ItDelete TF_CPU_ALL: simulated failure"), 1,
         files("fail.receive.GET_CPU_ALL = 2", "fail.itdelete = TF_CPU_ALL"), new_files=(TRACE,)),
    case("ItDelete fails after a failed DB02_DB4_GET_INFO: the report, not the envelope", ["SYS"],
         report("ItDelete MISS_VIEWS", "RFC_ERROR_RESOURCE", "ItDelete MISS_VIEWS",
                "ItDelete MISS_VIEWS: simulated failure"), 1,
         files("fail.call.DB02_DB4_GET_INFO = 1", "fail.itdelete = MISS_VIEWS"), new_files=(TRACE,)),
    aborted("RfcInstallStructure fails", "fail.install = RFCSI",
            report("RfcInstallStructure", "RFC_ERROR_RESOURCE", "RfcInstallStructure RFCSI",
                   "RfcInstallStructure RFCSI: simulated failure")),
]

SAPRFC_QAS = "* Quality system\r\nDEST=QAS\r\nTYPE=A\r\nASHOST=qas-app01\r\nSYSNR=00\r\n# last line without line end"
SAPRFC_LINE = "* SapRfc.Ini.......: QAS<\n"
# RfcOpenEx always logs on in language D: a system that names another is not reached that way.
NO_LANGUAGE = tuple(line for line in system().splitlines()[1:] if not line.startswith("language"))


def copied_saprfc(source: str):
    def check(run):
        copy = run.after.get(SAPRFC_INI)
        return None if copy == source.encode("latin-1") else f"SapRfc.ini holds {copy!r}, expected a copy of SapRfc.QAS"
    return check


def saprfc_tree(*lines, **extra):
    tree = {PROFILE: profile(Hostname="elsewhere", Sysnr="42"),
            SIMULATION: system(*lines, logon=NO_LANGUAGE), WORK + "SapRfc.QAS": SAPRFC_QAS}
    tree.update(extra)
    return tree


LOGON_07 = tuple("sysnr = 07" if line.startswith("sysnr") else line for line in LOGON)

LOGON_CASES = [
    case("logon refused: Error 1011, the trace left in place",
         ["SYS"], envelope("Error 1011: RFC-Open for QAS failed !"), 2,
         {PROFILE: profile(), SIMULATION: system("fail.logon")}, new_files=(TRACE,)),
    case("logon refused with progress lines: no now-processed line after the envelope",
         ["SYS", "#"], progress("(No Parameters)") + envelope("Error 1011: RFC-Open for QAS failed !"), 2,
         {PROFILE: profile(Password=encode_password("Wrong1")), SIMULATION: system()},
         new_files=(TRACE,)),
    case("SapRfc.QAS present: notice line, byte-exact SapRfc.ini, logon through RfcOpenEx with that file's data",
         ["SYS", ",SYSLOG"], SAPRFC_LINE + HEALTHY_DOCUMENT, 0, saprfc_tree(*HEALTHY),
         new_files=(SAPRFC_INI, SAPRFC_LOCK, RUN_LOG),
         check=checks(copied_saprfc(SAPRFC_QAS), run_log_after_start(run_log_lines(1, 3, 3, logon="RfcOpenEx")))),
    case("SapRfc road with progress lines: the notice line after them",
         ["SYS", "#"], progress("(No Parameters)").replace("qas-app01", "elsewhere").replace(", 00,", ", 42,")
         + SAPRFC_LINE + HEALTHY_DOCUMENT + DONE, 0, saprfc_tree(*HEALTHY), new_files=(SAPRFC_INI, SAPRFC_LOCK)),
    case("SapRfc road: a library error at RfcOpenEx ends the run with the report",
         ["SYS"], SAPRFC_LINE + report("logon broke down", "RFC_ERROR_SYSTEM_FAILURE", "RfcOpenEx QAS",
                                       "logon broke down"), 1,
         saprfc_tree("fail.callback.logon = logon broke down"), new_files=(SAPRFC_INI, SAPRFC_LOCK, TRACE)),
    case("SapRfc.QAS replaces an older SapRfc.ini",
         ["SYS"], SAPRFC_LINE + HEALTHY_DOCUMENT, 0,
         saprfc_tree(*HEALTHY, **{SAPRFC_INI: "DEST=OLD\r\nTYPE=A\r\nASHOST=oldhost\r\nSYSNR=09\r\n" * 3}),
         new_files=(SAPRFC_INI, SAPRFC_LOCK), check=copied_saprfc(SAPRFC_QAS)),
    case("SapRfc.QAS naming the wrong host: the notice line, then Error 1011",
         ["SYS"], SAPRFC_LINE + envelope("Error 1011: RFC-Open for QAS failed !"), 2,
         saprfc_tree(**{WORK + "SapRfc.QAS": SAPRFC_QAS.replace("qas-app01", "qas-app99")}),
         new_files=(SAPRFC_INI, SAPRFC_LOCK, TRACE)),
    case("a destination holding a backslash never takes the SapRfc road",
         ["SYS"], envelope("Error 1011: RFC-Open for x\\QAS failed !"), 2,
         {PROFILE: profile(Destination="x\\QAS"), SIMULATION: system(), WORK + "SapRfc.x\\QAS": SAPRFC_QAS},
         new_files=(TRACE,)),
    case("mode R/2: the gateway road, host and system number not used",
         ["SYS"], HEALTHY_DOCUMENT, 0, files(*HEALTHY, good_profile=profile(Mode="R/2", Hostname="wrong-host"))),
    case("profile with a wrong host and system number: Error 1011",
         ["SYS"], envelope("Error 1011: RFC-Open for QAS failed !"), 2,
         files(good_profile=profile(Hostname="wrong-host", Sysnr="07")), new_files=(TRACE,)),
    case(",HOST= and ,NO= override the profile's host and system number (value up to comma or blank)",
         ["SYS", ",HOST=qas-app01,NO=00 x"], HEALTHY_DOCUMENT, 0,
         files(*HEALTHY, good_profile=profile(Hostname="wrong-host", Sysnr="07"))),
    case(",HOST= and ,NO= without a value keep the profile's host and system number",
         ["SYS", ",HOST=,NO= x"], HEALTHY_DOCUMENT, 0,
         {PROFILE: profile(Sysnr="07"), SIMULATION: system(*HEALTHY, logon=LOGON_07)}),
    case(",host= in lower case, value as typed; the progress line still shows the profile's host",
         ["SYS", "#,host=qas-app01"],
         "* hh:mm:ss SAP Tavorine Vers 4.3 / 29.08.22\n"
         "* hh:mm:ss SYS.P00, wrong-host, QAS, 00, 100 State=Processing\n"
         + executing("(No Parameters)") + HEALTHY_DOCUMENT + DONE, 0,
         files(*HEALTHY, good_profile=profile(Hostname="wrong-host"))),
]


def started_path() -> str:
    """argv[0] as the harness starts the program: its absolute path, under Wine the Windows path on Z:."""
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--program", type=Path)
    parser.add_argument("--emulator")
    known, _ = parser.parse_known_args()
    program = str(known.program.resolve()) if known.program else ""
    return "Z:" + program.replace("/", "\\") if known.emulator else program


def whole_run_log(expected: str, earlier: str = ""):
    def check(run):
        actual = run_log_of(run)
        full = earlier + f"0 program started {started_path()}\n" + expected
        return None if actual == full else f"run log {actual!r}, expected {full!r}"
    return check


EARLIER_LOG = "0 program started C:\\old\\Tavorine.exe\n0 RfcEnvironment called \n"

RUN_LOG_CASES = [
    case(",SYSLOG: every milestone of a healthy run in the run log",
         ["SYS", "x,SYSLOG"], HEALTHY_DOCUMENT, 0, files(*HEALTHY), new_files=(RUN_LOG,),
         check=whole_run_log(run_log_lines(1, 3, 3))),
    case(",syslog in lower case, as the third argument; an existing run log is appended to",
         ["SYS", "x", ",syslog"], HEALTHY_DOCUMENT, 0, files(*HEALTHY, **{RUN_LOG: EARLIER_LOG}), new_files=(RUN_LOG,),
         check=whole_run_log(run_log_lines(1, 3, 3), earlier=EARLIER_LOG)),
    case(",SYSLOG with a refused logon: handle 0 and no call",
         ["SYS", ",SYSLOG"], envelope("Error 1011: RFC-Open for QAS failed !"), 2,
         {PROFILE: profile(), SIMULATION: system("fail.logon")}, new_files=(TRACE, RUN_LOG),
         check=whole_run_log("0 RfcEnvironment called \n0 RfcOpen called \n")),
    case("SYSLOG without its comma writes no run log",
         ["SYS", "SYSLOG"], HEALTHY_DOCUMENT, 0, files(*HEALTHY)),
]


def with_marker(name, args, parameters, at=PROFILE):
    tree = files(*HEALTHY, at=at)
    return case(name, args, progress(parameters) + HEALTHY_DOCUMENT + DONE, 0, tree)


WORK_SYS = "SYS"  # "@" opens the profile where the command line names it: the working directory

PROGRESS_CASES = [
    with_marker("# alone: banner, processing and executing lines, the document, the now-processed line",
                ["SYS", "#"], "(No Parameters)"),
    with_marker("#x: No Parameters", ["SYS", "#x"], "(No Parameters)"),
    with_marker("Sys1@Mon: the text before the @", [WORK_SYS, "Sys1@Mon"], "Sys1", at=WORK_PROFILE),
    with_marker("(Parameters and #...: No Parameters", ["SYS", "(Parameters", "#Mon"], "(No Parameters)"),
    with_marker("(No and #: No Parameters", ["SYS", "(No", "#"], "(No Parameters)"),
    with_marker("text before # shown as typed", ["SYS", "Plant North", "#"], "Plant North "),
    with_marker("$ is a marker, shown in the text", ["SYS", "Cpu$"], "Cpu$"),
    with_marker("% in a value is a marker", ["SYS", "limit=50%"], "limit=50%"),
]

CASES = HEALTHY_CASES + CALL_FAILURES + TRACE_CASES + LIBRARY_ERRORS + LOGON_CASES + RUN_LOG_CASES + PROGRESS_CASES

MISSING_LIBRARY = "Error 1041: RFC library {} not found beside the program..."
LACKING_ROUTINE = "Error 1042: RFC library {} lacks the routine RfcEnvironment..."


def stand_in_without_routines(backend) -> Path:
    """A shared library of the platform that exports none of the RFC routines."""
    if isinstance(backend, WineBackend):
        return backend.prefix / "drive_c" / "windows" / "system32" / "version.dll"
    ctypes.CDLL(ctypes.util.find_library("m"))
    with open("/proc/self/maps", encoding="utf-8") as maps:
        return next(Path(line.split()[-1]) for line in maps if "/libm." in line)


def run_without_library() -> int:
    """The built program copied into a folder of its own: beside it no library,
    then a library that lacks the RFC routines. The harness runs the program
    where it was built, so these cases have their own runner."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True, type=Path)
    parser.add_argument("--emulator")
    parser.add_argument("--valgrind", action="store_true")
    parser.add_argument("-k", dest="pattern", default="")
    options = parser.parse_args()
    if options.valgrind:
        return 0
    windows = options.emulator is not None
    library = "librfc32.dll" if windows else "librfc32.so"
    failed = 0
    with tempfile.TemporaryDirectory(prefix="tavorine-alone-") as folder:
        alone = Path(folder) / ("Tavorine.exe" if windows else "tavorine")
        shutil.copy2(options.program, alone)
        if windows:
            emulator = os.path.abspath(options.emulator) if os.sep in options.emulator else options.emulator
            backend = WineBackend(alone, emulator)
        else:
            backend = NativeBackend(alone)
        backend.setup()
        for name, message, beside in [
            ("the program alone in a folder: Error 1041 names the missing library", MISSING_LIBRARY, None),
            ("a library without the RFC routines: Error 1042 names the first one", LACKING_ROUTINE,
             stand_in_without_routines(backend)),
        ]:
            if options.pattern not in name:
                continue
            if beside is not None:
                shutil.copy2(beside, Path(folder) / library)
            lonely = case(name, ["SYS"], envelope(message.format(library)), 2, files(*HEALTHY))
            problems = failures_of(lonely, run_case(backend, lonely))
            print(f"{'FAIL' if problems else 'ok  '} {name}", flush=True)
            for problem in problems:
                print("     " + problem.replace("\n", "\n     "))
            failed |= bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    status = main(CASES)
    sys.exit(status | run_without_library())
