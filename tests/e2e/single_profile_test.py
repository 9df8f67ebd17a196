#!/usr/bin/env python3
"""The single-profile run, end to end: logon, the three checks, the error
report, the run log and the progress lines.

The profile SYS.P00 (destination QAS) lies in the fixed ExeXml folder of D:,
the simulated system in D:\\work\\RfcSim.txt; the working directory is D:\\work.
"""

import argparse
import ctypes.util
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

from harness import Case, NativeBackend, ValgrindBackend, WineBackend, envelope, failures_of, main, run_case
from profiles import encode_password, profile
from systems import (DONE, HEALTHY, HEALTHY_DOCUMENT, LOGON, PROFILE, RUN_LOG, SAPRFC_INI, SAPRFC_LOCK, SIMULATION,
                     TRACE, UNDER_WINE, WORK, WORK_PROFILE, case, checks, executing, files, healthy, progress,
                     run_log_after_start, run_log_lines, run_log_of, system, tells)


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
    # The byte is no UTF-8 on Linux, and "é" in Windows' code page 1252.
    case("markup and a stray byte in the exception name are escaped in the envelope",
         ["SYS"], envelope("Error 1012: Exception.: A&lt;B&amp;C{0} - Exception A&lt;B&amp;C{0} raised by GET_CPU_ALL"
                           .format("&#233;" if UNDER_WINE else "?")), 2,
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
    case("logon refused with ,DETAIL: Error 1011 ends with the trace's last message",
         ["SYS", ",detail"], envelope("Error 1011: RFC-Open for QAS failed ! - Name or password is incorrect (repeat "
                                     "logon)"), 2,
         {PROFILE: profile(Password=encode_password("Wrong1")), SIMULATION: system()}, new_files=(TRACE,)),
    case("logon refused with progress lines: no now-processed line after the envelope",
         ["SYS", "#"], progress("(No Parameters)") + envelope("Error 1011: RFC-Open for QAS failed !"), 2,
         {PROFILE: profile(Password=encode_password("Wrong1")), SIMULATION: system()},
         new_files=(TRACE,)),
    # Deviation: in the XML form the notice is a console line, shown among progress lines only.
    case("SapRfc.QAS present: no notice before the document, byte-exact SapRfc.ini, logon through RfcOpenEx",
         ["SYS", ",SYSLOG"], HEALTHY_DOCUMENT, 0, saprfc_tree(*HEALTHY),
         new_files=(SAPRFC_INI, SAPRFC_LOCK, RUN_LOG),
         check=checks(copied_saprfc(SAPRFC_QAS), run_log_after_start(run_log_lines(1, 3, 3, logon="RfcOpenEx")))),
    case("SapRfc road with progress lines: the notice line after them",
         ["SYS", "#"], progress("(No Parameters)").replace("qas-app01", "elsewhere").replace(", 00,", ", 42,")
         + SAPRFC_LINE + HEALTHY_DOCUMENT + DONE, 0, saprfc_tree(*HEALTHY), new_files=(SAPRFC_INI, SAPRFC_LOCK)),
    case("SapRfc road: a library error at RfcOpenEx ends the run with the report",
         ["SYS"], report("logon broke down", "RFC_ERROR_SYSTEM_FAILURE", "RfcOpenEx QAS",
                                       "logon broke down"), 1,
         saprfc_tree("fail.callback.logon = logon broke down"), new_files=(SAPRFC_INI, SAPRFC_LOCK, TRACE)),
    case("SapRfc.QAS replaces an older SapRfc.ini",
         ["SYS"], HEALTHY_DOCUMENT, 0,
         saprfc_tree(*HEALTHY, **{SAPRFC_INI: "DEST=OLD\r\nTYPE=A\r\nASHOST=oldhost\r\nSYSNR=09\r\n" * 3}),
         new_files=(SAPRFC_INI, SAPRFC_LOCK), check=copied_saprfc(SAPRFC_QAS)),
    case("SapRfc.QAS naming the wrong host: Error 1011",
         ["SYS"], envelope("Error 1011: RFC-Open for QAS failed !"), 2,
         saprfc_tree(**{WORK + "SapRfc.QAS": SAPRFC_QAS.replace("qas-app01", "qas-app99")}),
         new_files=(SAPRFC_INI, SAPRFC_LOCK, TRACE)),
    # As on Windows, "SapRfc.QAS " names SapRfc.QAS, in any letter case.
    case("a destination with a final blank takes the SapRfc road of the name without it",
         ["SYS", "#"], progress("(No Parameters)").replace("QAS,", "QAS ,") + "* SapRfc.Ini.......: QAS <\n"
         + envelope("Error 1011: RFC-Open for QAS  failed !"), 2,
         {PROFILE: profile(Destination="QAS "), SIMULATION: system(), WORK + "sapRFC.qas": SAPRFC_QAS},
         new_files=(SAPRFC_INI, SAPRFC_LOCK, TRACE), check=copied_saprfc(SAPRFC_QAS)),
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


# A document that did not reach the monitor is no success, and the run's
# trace, the one account of what happened, stays. With no standard output at
# all, nothing meant for it may land in a file the run opens.
def undelivered(output, args=("SYS",), tree=None, new_files=(), check=None):
    return Case(f"standard output {output}: status 2, the trace kept", args=list(args), stdout="", status=2,
                files=tree or {**files(*HEALTHY), TRACE: OLD_TRACE}, output=output, new_files=new_files, check=check)


def unchanged(path, content):
    def check(run):
        return None if run.after.get(path) == content else f"{path} holds {run.after.get(path)!r}"
    return check


DELIVERY_CASES = [
    undelivered("full"),
    undelivered("broken pipe"),
    Case("standard output closed: status 2, nothing of it in the run log or the lock file",
         args=["SYS", "x,SYSLOG"], stdout="", status=2, files=saprfc_tree(*HEALTHY), output="closed",
         new_files=(SAPRFC_INI, SAPRFC_LOCK, RUN_LOG),
         check=checks(unchanged(SAPRFC_LOCK, b""), run_log_after_start(run_log_lines(1, 3, 3, logon="RfcOpenEx")))),
]


# ,TIMEOUT=: a system that does not answer ends the run with a message of its
# own, naming the step, before the monitor would kill it without a word.
def timed_out(step):
    return envelope(f"Error 1047: No answer within 2 s from QAS at {step}...")


DEADLINES = [
    case(",TIMEOUT=2 and a logon that hangs", ["SYS", ",TIMEOUT=2"], timed_out("logon"), 2,
         files(*HEALTHY, "hang = logon")),
    case(",timeout=2 and a call that hangs, with progress lines before", ["SYS", "#,timeout=2"],
         progress("(No Parameters)") + timed_out("RFC_SYSTEM_INFO"), 2, files(*HEALTHY, "hang = RFC_SYSTEM_INFO")),
    case(",TIMEOUT= that the healthy run does not reach changes nothing", ["SYS", ",TIMEOUT=60"], HEALTHY_DOCUMENT, 0,
         files(*HEALTHY)),
    case(",TIMEOUT=00060: leading zeros count for nothing", ["SYS", ",TIMEOUT=00060"], HEALTHY_DOCUMENT, 0,
         files(*HEALTHY)),
    case(",TIMEOUT=0 is refused", ["SYS", ",TIMEOUT=0"],
         envelope("Error 1048: Option ,TIMEOUT= needs a number from 1 to 900..."), 2, files(*HEALTHY)),
    case(",PAR=x is refused", ["SYS", "a,PAR=x"], envelope("Error 1048: Option ,PAR= needs a number from 1 to 64..."),
         2, files(*HEALTHY)),
]

# "--diagnose" makes the same run and tells it in words, never the password.
DIAGNOSES = [
    case("diagnosis: a wrong password", ["--diagnose", "SYS"], None, 2,
         {PROFILE: profile(Password=encode_password("Wrong1")), SIMULATION: system()}, new_files=(TRACE,),
         check=tells("Password...: (6 characters, decodes)", "Logon with RfcOpen: host qas-app01",
                     "no connection; the library's trace Dev_Rfc.Trc ends with: ",
                     "Name or password is incorrect", "exit status 2", "Error 1011: RFC-Open for QAS failed !")),
    case("diagnosis: a system not on DB4", ["--diagnose", "SYS", "x,SYSLOG"], None, 2,
         files(*healthy('RFCDBSYS = "DB6"')), new_files=(RUN_LOG,),
         check=tells("GET_CPU_ALL: answered", "RFC_SYSTEM_INFO: answered", 'database system "DB6', "not DB4",
                     "Error 1018: DataBase mismatch !")),
    case("diagnosis: option words without their comma or misspelt", ["--diagnose", "SYS", "LIMITS,TIMOUT=55 ,detail"],
         None, 0, files(*HEALTHY), check=tells('Options: "LIMITS,TIMOUT=55 ,detail"', "understood: ,detail",
                                              "LIMITS: no option word without its comma; write ,LIMITS",
                                              "TIMOUT=55: no option word; ,TIMEOUT= was meant?")),
    case("diagnosis: the whole parameter line in one pair of quotes", ["--diagnose", "SYS ,LIMITS,TIMEOUT=55"], None, 2,
         files(*HEALTHY), check=tells('The profile\'s name "SYS ,LIMITS,TIMEOUT=55" holds a blank and option words',
                                      "Error 1002: Profile SYS ,LIMITS,TIMEOUT=55.P00 is missing...")),
    case("diagnosis: a profile saved as Unicode", ["--diagnose", "SYS"], None, 2,
         {PROFILE: profile().encode("utf-16"), SIMULATION: system()},
         check=tells("The profile cannot be read as it is: it is saved as Unicode (UTF-16)",
                     "write it anew with tavorine-profile", "Error 1006")),
    # A hang shows where the run waits: each step is told before it waits.
    case("diagnosis: a logon that hangs is told before it hangs", ["--diagnose", "SYS", ",TIMEOUT=2"], None, 2,
         files(*HEALTHY, "hang = logon"), check=tells("logging on to QAS at qas-app01 ...", "Error 1047")),
    case("diagnosis: a healthy run deletes the trace as a sensor call does", ["--diagnose", "SYS"], None, 0,
         {**files(*HEALTHY), TRACE: OLD_TRACE}, removed_files=(TRACE,),
         check=tells("DB02_DB4_GET_INFO: answered", "with exit status 0 (the run finished):", HEALTHY_DOCUMENT)),
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

CASES = (HEALTHY_CASES + CALL_FAILURES + TRACE_CASES + LIBRARY_ERRORS + LOGON_CASES + RUN_LOG_CASES
         + DELIVERY_CASES + DEADLINES + DIAGNOSES + PROGRESS_CASES)

def stand_in_without_routines(backend) -> Path:
    """A shared library of the platform that exports none of the RFC routines."""
    if isinstance(backend, WineBackend):
        return backend.prefix / "drive_c" / "windows" / "system32" / "version.dll"
    ctypes.CDLL(ctypes.util.find_library("m"))
    with open("/proc/self/maps", encoding="utf-8") as maps:
        return next(Path(line.split()[-1]) for line in maps if "/libm." in line)


def library_of_the_other_bitness(windows: bool, folder: Path) -> bytes:
    """A 32-bit library: built with the i686 cross compiler for Windows; for
    Linux the header of one is enough, since the header is what tells."""
    if not windows:
        return b"\x7fELF\x01\x01\x01" + bytes(9) + b"\x03\x00\x03\x00" + bytes(32)
    compiler = shutil.which("i686-w64-mingw32-gcc-posix") or shutil.which("i686-w64-mingw32-gcc")
    if compiler is None:
        raise SystemExit("the 32-bit library case needs i686-w64-mingw32-gcc (Debian: gcc-mingw-w64-i686)")
    source, library = folder / "thirty_two.c", folder / "thirty_two.dll"
    source.write_text("int RfcOpen;\n")
    subprocess.run([compiler, "-shared", "-o", str(library), str(source)], check=True)
    return library.read_bytes()


class LibraryPlaces:
    """The program copied into a folder of its own, and library files put
    beside it, into the working directory or (Windows) the system folder."""

    def __init__(self, options):
        self.windows = options.emulator is not None
        self.name = "librfc32.dll" if self.windows else "librfc32.so"
        self.folder = Path(tempfile.mkdtemp(prefix="tavorine-alone-"))
        alone = self.folder / ("Tavorine.exe" if self.windows else "tavorine")
        shutil.copy2(options.program, alone)
        if self.windows:
            emulator = os.path.abspath(options.emulator) if os.sep in options.emulator else options.emulator
            self.backend = WineBackend(alone, emulator)
        else:
            self.backend = ValgrindBackend(alone) if options.valgrind else NativeBackend(alone)
        self.backend.setup()
        self.system_folder = self.backend.prefix / "drive_c" / "windows" / "system32" if self.windows else None
        self.sources = {"stand-in": Path(options.program).parent / self.name,
                        "no routines": stand_in_without_routines(self.backend)}
        self.other_bitness = library_of_the_other_bitness(self.windows, self.folder)

    def bytes_of(self, kind: str) -> bytes:
        if kind == "32-bit":
            return self.other_bitness
        if kind == "junk":
            return b"MZ not a library at all"
        return self.sources[kind].read_bytes()

    def shown(self, place: str) -> str:
        """A place where the library is looked for, as the program names it."""
        if place == "system":
            return "C:\\windows\\system32\\" + self.name
        path = str(self.folder / self.name)
        return "Z:" + path.replace("/", "\\") if self.windows else path

    def not_found(self) -> str:
        places = [self.shown("beside")] + ([self.shown("system")] if self.windows else [])
        return envelope(f"Error 1041: RFC library {self.name} not found at {' nor at '.join(places)}...")

    def run(self, name, places, stdout, status, args=("SYS",), check=None) -> bool:
        """places: beside, cwd or system, each to a kind of library file."""
        tree = files(*HEALTHY)
        put = []
        for place, kind in places.items():
            if place == "cwd":
                tree[WORK + self.name] = self.bytes_of(kind)
            else:
                target = self.folder / self.name if place == "beside" else self.system_folder / self.name
                target.write_bytes(self.bytes_of(kind))
                put.append(target)
        lonely = case(name, list(args), stdout, status, tree, check=check)
        try:
            problems = failures_of(lonely, run_case(self.backend, lonely))
        finally:
            for target in put:
                target.unlink()
        print(f"{'FAIL' if problems else 'ok  '} {name}", flush=True)
        for problem in problems:
            print("     " + problem.replace("\n", "\n     "))
        return not problems


def run_library_places(options) -> list:
    """The harness runs the program where it was built, beside the stand-in
    library; these cases move it away from it, so they have their own runner."""
    places = LibraryPlaces(options)
    no_routines = envelope(f"Error 1042: RFC library {places.shown('beside')} lacks the routine RfcEnvironment...")
    not_loaded = lambda why: envelope(f"Error 1043: RFC library {places.shown('beside')} cannot be loaded: {why}...")
    rows = [
        ("no library anywhere: Error 1041 names each place looked at", {}, places.not_found(), 2),
        ("a library in the working directory only is never loaded", {"cwd": "stand-in"}, places.not_found(), 2),
        ("the library beside the program wins over the working directory",
         {"beside": "stand-in", "cwd": "no routines"}, HEALTHY_DOCUMENT, 0),
        ("a library without the RFC routines: Error 1042 names the first one", {"beside": "no routines"},
         no_routines, 2),
        ("a file that is no library: Error 1043 says so", {"beside": "junk"}, not_loaded("it is not a library"), 2),
        ("a 32-bit library beside the 64-bit program: Error 1043 says so", {"beside": "32-bit"},
         not_loaded("it is a 32-bit library, the program is 64-bit"), 2),
    ]
    if places.windows:
        rows += [
            ("a library in the system folder is loaded", {"system": "stand-in"}, HEALTHY_DOCUMENT, 0),
            ("the library beside the program wins over the system folder",
             {"beside": "no routines", "system": "stand-in"}, no_routines, 2),
        ]
    results = [places.run(name, where, stdout, status) for name, where, stdout, status in rows
               if options.pattern in name]
    diagnoses = [
        ("diagnosis: no library", {}, tells(places.shown("beside") + ": there is no such file", "Error 1041")),
        ("diagnosis: a 32-bit library", {"beside": "32-bit"},
         tells(places.shown("beside") + ": it is a 32-bit library, the program is 64-bit", "Error 1043")),
        ("diagnosis: a library without the RFC routines", {"beside": "no routines"},
         tells(places.shown("beside") + ": it lacks the routine RfcEnvironment", "Error 1042")),
    ]
    results += [places.run(name, where, None, 2, ["--diagnose", "SYS"], check) for name, where, check in diagnoses
                if options.pattern in name]
    if not places.windows and options.pattern in "a library along LD_LIBRARY_PATH is never loaded":
        search = places.folder / "search"
        search.mkdir()
        shutil.copy2(places.sources["stand-in"], search / places.name)
        os.environ["LD_LIBRARY_PATH"] = str(search)
        results.append(places.run("a library along LD_LIBRARY_PATH is never loaded", {}, places.not_found(), 2))
        del os.environ["LD_LIBRARY_PATH"]
    shutil.rmtree(places.folder)
    return results


def run_log_on_a_full_disk(options) -> list:
    """A run whose log line meets a full disk leaves at most a piece of it; the
    next run's line starts on a line of its own. On a small tmpfs (Linux, as
    root), whose last page of the log has room for ten bytes."""
    name = "run log on a full disk: the next run starts a fresh line"
    if options.emulator or options.pattern not in name:
        return []
    disk = Path(tempfile.mkdtemp(prefix="tavorine-full-disk-"))
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", str(disk)]).returncode != 0:
        print(f"FAIL {name}: no tmpfs could be mounted (the test runs as root)")
        return [False]
    try:
        work, sensors = disk / "D" / "work", disk / "D" / "Program Files" / "PRTG Network Monitor" / "Custom Sensors" / "ExeXml"
        work.mkdir(parents=True)
        sensors.mkdir(parents=True)
        (sensors / "SYS.P00").write_bytes(profile().encode("latin-1"))
        (work / "RfcSim.txt").write_bytes(system(*HEALTHY).encode("latin-1"))
        earlier = ("0 an earlier run's line " + "." * 4060)[:4085] + "\n"
        (work / "Tavorine.log").write_bytes(earlier.encode())
        with open(work / "filler", "wb", buffering=0) as filler:
            try:
                while filler.write(bytes(4096)):
                    pass
            except OSError:
                pass
        environment = dict(os.environ, TAVORINE_DRIVE_ROOT=str(disk))
        command = [str(options.program.resolve()), "SYS", "x,SYSLOG"]
        subprocess.run(command, cwd=work, env=environment, capture_output=True, timeout=60)
        (work / "filler").unlink()
        subprocess.run(command, cwd=work, env=environment, capture_output=True, timeout=60)
        log = (work / "Tavorine.log").read_text(encoding="latin-1")
    finally:
        subprocess.run(["umount", str(disk)])
        disk.rmdir()
    # After the earlier lines: the piece of the first line that fit, alone on its line, then the next run's lines.
    whole = f"0 program started {options.program.resolve()}\n" + run_log_lines(1, 3, 3)
    piece, _, rest = log[len(earlier):].partition("\n")
    passed = log.startswith(earlier) and piece and whole.startswith(piece) and piece != whole[:-1] and rest == whole
    print(f"{'ok  ' if passed else 'FAIL'} {name}", flush=True)
    if not passed:
        print(f"     run log after the earlier lines {log[len(earlier):]!r}")
    return [bool(passed)]


def extra_runs(options) -> list:
    return run_library_places(options) + run_log_on_a_full_disk(options)


if __name__ == "__main__":
    sys.exit(main(CASES, extra_runs))
