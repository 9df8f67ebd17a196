#!/usr/bin/env python3
"""Group sensors (listing runs), end to end.

The listing files and profiles lie in the fixed ExeXml folder of drive D:,
the simulated systems (RfcSim.txt) in the working directory D:\\work. Unless a
case says otherwise, three systems are listed: DEV, QAS and PRD, all healthy.
"""

import dataclasses
import re
import sys

from harness import Case, envelope, main
from systems import COSTLY_PROCESSES, tells
from listing_files import (ASSIGNED, GLOBAL_FILE, RUN_LOG, SAPRFC_INI, SAPRFC_LOCK, SHARED_FILE,
                           SIMULATION, TRACE, WORK, bad_password_header, gsng, gsnx, shared_gsng, system_profile,
                           thousand_systems, three_profiles, three_systems, wrong_check_digit)

BANNER = "* hh:mm:ss SAP Tavorine Vers 4.3 / 29.08.22\n"
DONE = "\n* hh:mm:ss SAP Tavorine now processed...\n"
HEAD = "\n<Prtg>\n\n"

DEV_PROCESSED = "\n* hh:mm:ss DEV.P00, dev-app01, DEV, 00, 100 State=Processed\n"
QAS_PROCESSED = "\n* hh:mm:ss QAS.P00, qas-app01, QAS, 01, 100 State=Processed\n"
QAS_FAILED = "\n* hh:mm:ss QAS.P00, qas-app01, QAS, 01, 100 State=Rfc Failure\n"
PRD_PROCESSED = "\n* hh:mm:ss PRD.P00, prd-app01, PRD, 02, 100 State=Processed\n"
PRD_FAILED = "\n* hh:mm:ss PRD.P00, prd-app01, PRD, 02, 100 State=Rfc Failure\n"

ALL_THREE = "DEV.P00#QAS.P00#PRD.P00#"
SETTINGS = "Item=Plant:North," + ASSIGNED
# Options after ",Sensor=" are not the sensor's: the switch stands before it.
SYSLOG_SETTINGS = "Item=Plant:North,SYSLOG," + ASSIGNED


def global_listing(settings=SETTINGS, names=ALL_THREE):
    """A global listing file whose sensor SENSOR1 lists the names; another
    sensor's lines around it must not count."""
    return (";; systems of the north plant\r\n"
            + gsng("OTHER", "GONE.P00#")
            + gsng("SENSOR1", names)
            + gsnx("OTHER", "Item=Elsewhere," + ASSIGNED)
            + gsnx("SENSOR1", settings))


def global_case(name, stdout, args=("SENSOR1", "#"), settings=SETTINGS, names=ALL_THREE, profiles=None,
                simulation=None, status=0, new_files=(), extra=None, check=None):
    files = three_profiles() if profiles is None else profiles
    files[GLOBAL_FILE] = global_listing(settings, names)
    files[SIMULATION] = three_systems() if simulation is None else simulation
    files.update(extra or {})
    return Case(name, args=["GLOBAL", *args], files=files, stdout=stdout, status=status, new_files=new_files,
                check=check)


def shared_case(name, stdout, args=("ITEM=Plant:North", "#"), names=ALL_THREE, profiles=None, status=0,
                new_files=(), extra=None):
    files = three_profiles() if profiles is None else profiles
    files.update(extra or {})
    files[SHARED_FILE] = "Destination: shared\r\n" + shared_gsng(names)
    files[SIMULATION] = three_systems()
    return Case(name, args=["ANY", *args], files=files, stdout=stdout, status=status, new_files=new_files)


def logons_are(expected: str):
    """The run log's logon lines must be exactly these; its call lines do not count here."""
    def check(run):
        log = run.after.get(RUN_LOG, b"").decode("latin-1")
        actual = "".join(line for line in log.splitlines(keepends=True) if " RfcOpen" in line)
        return None if actual == expected else f"logon lines in the run log {actual!r}, expected {expected!r}"
    return check


def both(first, second):
    return lambda run: first(run) or second(run)


def without_line(text: str, label: str) -> str:
    return "".join(line + "\r\n" for line in text.split("\r\n") if line and not line.startswith(label))


# DEV and PRD answer on the host gateway01 only.
HOST_OVERRIDE = "".join([
    "[system DEV]\nclient = 100\nuser = MONITOR\npassword = Secret42\nhost = gateway01\nsysnr = 00\n\n",
    "[system QAS]\nclient = 100\nuser = MONITOR\npassword = Secret42\nhost = qas-app01\nsysnr = 01\n\n",
    "[system PRD]\nclient = 100\nuser = MONITOR\npassword = Secret42\nhost = gateway01\nsysnr = 02\n\n",
])

# A listing run leaves the library's trace where it is.
OLD_TRACE = "**** ERROR file opened at 20260101 000000\nERROR       RfcOpen DEV: logon refused\n"

# The whole output of a run over the three healthy systems.
RUNS = [
    global_case("global listing with marker: banner, start line, three state lines, summary",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD
                + DEV_PROCESSED + QAS_PROCESSED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n" + DONE),
    global_case("global listing without marker: document head and final document only",
                "\n<Prtg>\n\n"
                "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n",
                args=("SENSOR1",)),
    # The naming choice is read but no line shows it.
    global_case("global listing: a naming choice changes no line",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD
                + DEV_PROCESSED + QAS_PROCESSED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n" + DONE,
                settings=SETTINGS + ",Alias,Sid"),
    shared_case("shared profile with marker: the command line's options in the start line",
                BANNER + "* hh:mm:ss ITEM=Plant North # State=Executing\n" + HEAD
                + DEV_PROCESSED + QAS_PROCESSED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n" + DONE),
    shared_case("shared profile without marker: head and final document only, the trace stays",
                "\n<Prtg>\n\n"
                "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n",
                args=("item=Plant:North",), extra={TRACE: OLD_TRACE}),
]

# How the listing is taken apart.
ENTRIES = [
    global_case("second profile missing: counted in NoSystems only, no state line",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD + DEV_PROCESSED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=0</Text>\n\n</Prtg>\n\n" + DONE,
                profiles=three_profiles(QAS=None)),
    shared_case("listing without a final #: the last name is checked too",
                BANNER + "* hh:mm:ss ITEM=Plant North # State=Executing\n" + HEAD
                + DEV_PROCESSED + QAS_PROCESSED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n" + DONE,
                names="DEV.P00#QAS.P00#PRD.P00"),
    shared_case("empty entry between two #: counted, names the folder, skipped",
                BANNER + "* hh:mm:ss ITEM=Plant North # State=Executing\n" + HEAD + DEV_PROCESSED + QAS_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=0</Text>\n\n</Prtg>\n\n" + DONE,
                names="DEV.P00##QAS.P00#"),
    # With "@" nothing searches the ExeXml folder: the shared profile and the
    # systems' profiles are read from the working directory. The start line
    # ends before " @", which a colon turned into a blank may begin.
    Case("with @: listing and profiles in the working directory, start line cut at ' @'",
         args=["ANY", "ITEM=Plant:North", "#:@quiet"],
         files={WORK + "Kestrion.Prf": shared_gsng("DEV.P00#QAS.P00#"),
                WORK + "DEV.P00": system_profile("DEV", "dev-app01", "00"),
                WORK + "QAS.P00": system_profile("QAS", "qas-app01", "01"),
                SIMULATION: three_systems()},
         status=0,
         stdout=BANNER + "* hh:mm:ss ITEM=Plant North # State=Executing\n" + HEAD + DEV_PROCESSED + QAS_PROCESSED
         + "\n<Text>(***) Plant North: NoSystems=2, Processed=2, Failed=0</Text>\n\n</Prtg>\n\n" + DONE),
]

# An entry names a file in the sensor folder or below it; one that would
# leave it is counted like a profile that does not exist, and no line shows
# the foreign profile.
OUTSIDE = system_profile("QAS", "foreign-host", "01")
ESCAPING_ENTRIES = [
    global_case(f"an entry {how} is counted in NoSystems only",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD + DEV_PROCESSED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=0</Text>\n\n</Prtg>\n\n" + DONE,
                names=f"DEV.P00#{entry}#PRD.P00#",
                extra={"D:\\Program Files\\PRTG Network Monitor\\Custom Sensors\\QAS.P00": OUTSIDE,
                       "D:\\QAS.P00": OUTSIDE, "C:\\QAS.P00": OUTSIDE})
    for how, entry in (("climbing with ..\\", "..\\QAS.P00"), ("climbing with ../", "../QAS.P00"),
                       ("rooted with \\", "\\QAS.P00"), ("rooted with /", "/QAS.P00"), ("with a drive", "C:QAS.P00"),
                       ("climbing with a name of dots and blanks", "sub\\...\\..\\..\\QAS.P00"))
] + [
    global_case("an entry naming a profile in a subfolder of the sensor folder is checked",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD + DEV_PROCESSED
                + QAS_PROCESSED.replace("QAS.P00", "North\\QAS.P00") + PRD_PROCESSED.replace("PRD.P00", "North/PRD.P00")
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n" + DONE,
                names="DEV.P00#North\\QAS.P00#North/PRD.P00#",
                profiles={**three_profiles(QAS=None, PRD=None),
                          GLOBAL_FILE.replace("SAP Kestrion.Gbl", "North\\QAS.P00"): system_profile(
                              "QAS", "qas-app01", "01"),
                          GLOBAL_FILE.replace("SAP Kestrion.Gbl", "North\\PRD.P00"): system_profile(
                              "PRD", "prd-app01", "02")}),
]

# ",LIMITS" adds a count channel each for the systems, the processed and the
# failed ones, an error above 0 failed; in a global run from the settings line.
def summary_channels(systems, processed, failed):
    return "".join(f"\n<Result><Channel>{name}</Channel>\n<Unit>Count</Unit>\n<Value>{value}</Value>{limit}</Result>\n"
                   for name, value, limit in (("Systems", systems, ""), ("Processed", processed, ""),
                                              ("Failed", failed, "\n<LimitMaxError>0</LimitMaxError><LimitMode>1</LimitMode>")))


LIMITS = [
    shared_case("ITEM= with ,LIMITS: three count channels after the summary",
                HEAD + "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=1</Text>\n"
                + summary_channels(3, 2, 1) + "\n</Prtg>\n\n", args=("ITEM=Plant:North,LIMITS",),
                profiles=three_profiles(QAS=system_profile("QAS", "qas-app01", "01", Client="999")),
                new_files=(TRACE,)),
    global_case("settings line with ,Limits: the channels; the command line's word does not count",
                HEAD + "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n"
                + summary_channels(3, 3, 0) + "\n</Prtg>\n\n", args=("SENSOR1",),
                settings="Item=Plant:North,Limits," + ASSIGNED),
]

# The start line ends before " @"; the options after it still count.
HOST_AFTER_AT = Case(
    "with @: a ,HOST= after ' @' still reaches every logon",
    args=["ANY", "ITEM=Plant:North", "# @ ,HOST=gateway01"],
    files={WORK + "Kestrion.Prf": shared_gsng(ALL_THREE),
           WORK + "DEV.P00": system_profile("DEV", "dev-app01", "00"),
           WORK + "QAS.P00": system_profile("QAS", "qas-app01", "01"),
           WORK + "PRD.P00": system_profile("PRD", "prd-app01", "02"),
           SIMULATION: HOST_OVERRIDE},
    status=0, new_files=(TRACE,),
    stdout=BANNER + "* hh:mm:ss ITEM=Plant North # State=Executing\n" + HEAD + DEV_PROCESSED + QAS_FAILED
    + PRD_PROCESSED + "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=1</Text>\n\n</Prtg>\n\n" + DONE)

# A fault of one system marks that system only.
NO_GWSERVICE = without_line(system_profile("QAS", "qas-app01", "01"), "Gwservice..:")
# A listing run reads profile lines of up to 199 characters, so this label at
# column 160 stays inside a comment (a single-profile run would read it).
GWSERVICE_IN_A_LONG_LINE = NO_GWSERVICE + "*" * 159 + "Gwservice..: sapgw01\r\n"
SYSTEM_FAULTS = [
    global_case("logon refused in the middle: Rfc Failure, the next system is still checked",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD
                + DEV_PROCESSED + QAS_FAILED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=1</Text>\n\n</Prtg>\n\n" + DONE,
                simulation=three_systems(QAS=["fail.logon = gateway closed"]), new_files=(TRACE,)),
    # The run log shows a logon for every system, the faulty ones included.
    global_case("bad password header and wrong length: no message, Rfc Failure, logon still made",
                BANNER + "* hh:mm:ss Item=Plant North,SYSLOG State=Executing\n" + HEAD
                + DEV_PROCESSED + QAS_FAILED + PRD_FAILED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=1, Failed=2</Text>\n\n</Prtg>\n\n" + DONE,
                settings=SYSLOG_SETTINGS,
                profiles=three_profiles(QAS=system_profile("QAS", "qas-app01", "01", Password=bad_password_header()),
                                        PRD=system_profile("PRD", "prd-app01", "02", Password="x" * 23)),
                new_files=(TRACE, RUN_LOG),
                check=logons_are("1 RfcOpen called \n0 RfcOpen called \n0 RfcOpen called \n")),
    # A wrong check digit leaves the password of the line before it: the logon
    # works, the system stays faulty.
    global_case("wrong check digit after a good password line: logon works, still Rfc Failure",
                BANNER + "* hh:mm:ss Item=Plant North,SYSLOG State=Executing\n" + HEAD
                + DEV_PROCESSED + QAS_FAILED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=1</Text>\n\n</Prtg>\n\n" + DONE,
                settings=SYSLOG_SETTINGS,
                profiles=three_profiles(QAS=system_profile("QAS", "qas-app01", "01")
                                        + "Password...: " + wrong_check_digit() + "\r\n"),
                new_files=(RUN_LOG,),
                check=logons_are("1 RfcOpen called \n2 RfcOpen called \n3 RfcOpen called \n")),
    global_case("field missing in a later profile is not taken over from the one before",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD
                + DEV_PROCESSED + QAS_FAILED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=1</Text>\n\n</Prtg>\n\n" + DONE,
                profiles=three_profiles(QAS=NO_GWSERVICE)),
    # Deviation: the library gets 0 for an empty Sysnr, not the number of the
    # logon before it, so a system reaches the same instance on every road.
    global_case("a profile without Sysnr logs on with system number 0, not with the one before it",
                BANNER + "* hh:mm:ss Item=Plant North,SYSLOG State=Executing\n" + HEAD + PRD_PROCESSED
                + QAS_FAILED.replace(", 01,", ", ,")
                + "\n<Text>(***) Plant North: NoSystems=2, Processed=1, Failed=1</Text>\n\n</Prtg>\n\n" + DONE,
                settings=SYSLOG_SETTINGS, names="PRD.P00#QAS.P00#",
                profiles=three_profiles(QAS=without_line(system_profile("QAS", "qas-app01", "01"), "Sysnr......:")),
                simulation=three_systems().replace("sysnr = 01", "sysnr = 00"), new_files=(RUN_LOG,),
                check=logons_are("1 RfcOpen called \n2 RfcOpen called \n")),
    global_case("a label at column 160 of a profile line is not read",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD
                + DEV_PROCESSED + QAS_FAILED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=1</Text>\n\n</Prtg>\n\n" + DONE,
                profiles=three_profiles(QAS=GWSERVICE_IN_A_LONG_LINE)),
]

# The error text of a failed dictionary read stays until the next system.
MISSING_OBJECTS = [
    global_case("missing-objects failure on the last system: its text in front of the summary",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD
                + DEV_PROCESSED + QAS_PROCESSED + PRD_FAILED
                + "Error 1013: Sys-Exception raised !"
                  "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=1</Text>\n\n</Prtg>\n\n" + DONE,
                simulation=three_systems(PRD=["fail.receive.DB02_DB4_GET_INFO = 3"]), new_files=(TRACE,)),
    global_case("missing-objects failure without marker: text in front of the summary",
                "\n<Prtg>\n\n"
                "Error 1012: Exception.: NOT_FOUND"
                "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=1</Text>\n\n</Prtg>\n\n",
                args=("SENSOR1",),
                simulation=three_systems(PRD=["fail.receive.DB02_DB4_GET_INFO = 2 NOT_FOUND"]), new_files=(TRACE,)),
    global_case("missing-objects failure in the middle: the next system empties the text",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD
                + DEV_PROCESSED + QAS_FAILED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=1</Text>\n\n</Prtg>\n\n" + DONE,
                simulation=three_systems(QAS=["fail.receive.DB02_DB4_GET_INFO = 1"]), new_files=(TRACE,)),
    global_case("missing-objects failure then a missing profile: the text stays",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD + DEV_PROCESSED + QAS_FAILED
                + "Error 1014: RFC-Failure raised !"
                  "\n<Text>(***) Plant North: NoSystems=3, Processed=1, Failed=1</Text>\n\n</Prtg>\n\n" + DONE,
                names="DEV.P00#QAS.P00#NONE.P00#",
                simulation=three_systems(QAS=["fail.receive.DB02_DB4_GET_INFO = 1"]), new_files=(TRACE,)),
]

# Failures that end the whole run: no summary.
RUN_ENDS = [
    global_case("system not on DB4: Error 1018, the systems after it are not checked",
                BANNER + "* hh:mm:ss Item=Plant North,SYSLOG State=Executing\n" + HEAD + DEV_PROCESSED
                + "<Error>1</Error>\n<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n",
                settings=SYSLOG_SETTINGS, status=2,
                simulation=three_systems(QAS=['RFCDBSYS = "DB6"']), new_files=(RUN_LOG,),
                check=logons_are("1 RfcOpen called \n2 RfcOpen called \n")),
    global_case("GET_CPU_ALL fails: the check's error text and the trace's end the run",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD + DEV_PROCESSED
                + "<Error>1</Error>\n<Text>Error 1012: Exception.: NOT_FOUND"
                  " - Exception NOT_FOUND raised by GET_CPU_ALL</Text>\n</Prtg>\n",
                status=2, simulation=three_systems(QAS=["fail.receive.GET_CPU_ALL = 2 NOT_FOUND"]),
                new_files=(TRACE,)),
    global_case("RFC_SYSTEM_INFO fails on the first system: no state line, no summary",
                "\n<Prtg>\n\n"
                "<Error>1</Error>\n<Text>Error 1014: RFC-Failure raised !"
                " - RfcReceive RFC_SYSTEM_INFO: communication failure</Text>\n</Prtg>\n",
                args=("SENSOR1",), status=2, simulation=three_systems(DEV=["fail.receive.RFC_SYSTEM_INFO = 1"]),
                new_files=(TRACE,)),
    # The trace of an earlier refused logon is not what the scan reports.
    global_case("RFC_SYSTEM_INFO fails after a refused logon: the last trace block counts",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD + DEV_PROCESSED + QAS_FAILED
                + "<Error>1</Error>\n<Text>Error 1013: Sys-Exception raised !"
                  " - System exception SYSTEM_FAILURE raised by RFC_SYSTEM_INFO</Text>\n</Prtg>\n",
                status=2, simulation=three_systems(QAS=["fail.logon = gateway closed"],
                                                   PRD=["fail.receive.RFC_SYSTEM_INFO = 3"]),
                new_files=(TRACE,)),
    global_case("library error through the error callback at a logon: RFC error report, exit status 1",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD + DEV_PROCESSED
                + "RFC error\n"
                  "operation/code  : gateway lost\n"
                  "key             : RFC_ERROR_SYSTEM_FAILURE\n"
                  "status          : RfcOpen QAS\n"
                  "message         : gateway lost\n"
                  "internal status : injected for QAS by RfcSim.txt\n"
                  "\n* Programm aborted...\n"
                  "* Error at EoXput-File...\n",
                status=1, simulation=three_systems(QAS=["fail.callback.logon = gateway lost"]),
                new_files=(TRACE,)),
]


def listing_failure(name, args, files, message):
    return Case(name, args=args, files=files, status=2, stdout=envelope(message))


GOOD_GLOBAL = gsng("SENSOR1", ALL_THREE)
LISTING_ERRORS = [
    listing_failure("settings line without the assignment: Error 1029",
                    ["GLOBAL", "SENSOR1", "#"],
                    {GLOBAL_FILE: GOOD_GLOBAL + gsnx("SENSOR1", 'Item=North,Sensor="SAP Other"')},
                    "Error 1029: Invalid Sensor-Allocation..."),
    listing_failure("no settings line for the sensor: Error 1030 names the argument as typed",
                    ["global", "Sensor9", "#"], {GLOBAL_FILE: global_listing()},
                    "Error 1030: Global Sensor Sensor9 not found..."),
    listing_failure("global listing run without a sensor name: Error 1030 names nothing",
                    ["GLOBAL"], {GLOBAL_FILE: global_listing()},
                    "Error 1030: Global Sensor  not found..."),
    listing_failure("global listing without server listing lines: Error 1025",
                    ["GLOBAL", "SENSOR1"], {GLOBAL_FILE: gsnx("SENSOR1", SETTINGS)},
                    "Error 1025: Global Server Listing missing..."),
    listing_failure("settings line without Item=: Error 1026",
                    ["GLOBAL", "SENSOR1"], {GLOBAL_FILE: GOOD_GLOBAL + gsnx("SENSOR1", ASSIGNED)},
                    "Error 1026: Global Item Idenification missing..."),
    listing_failure("shared profile without Gsng lines: Error 1025",
                    ["ANY", "ITEM=North"], {SHARED_FILE: "# GSNG: listing     DEV.P00#\r\n"},
                    "Error 1025: Global Server Listing missing..."),
    listing_failure("ITEM= without a value: Error 1026",
                    ["ANY", "ITEM=,#"], {SHARED_FILE: shared_gsng(ALL_THREE)},
                    "Error 1026: Global Item Idenification missing..."),
]

# The settings line's options are the run's options; the markers of the
# command line keep the progress lines on or off.
SETTINGS_OPTIONS = [
    global_case("settings line with ,SYSLOG switches the run log on",
                "\n<Prtg>\n\n"
                "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n",
                args=("SENSOR1",), settings=SYSLOG_SETTINGS, new_files=(RUN_LOG,),
                check=logons_are("1 RfcOpen called \n2 RfcOpen called \n3 RfcOpen called \n")),
    global_case("command line ,SYSLOG does not count in a global listing run",
                "\n<Prtg>\n\n"
                "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n",
                args=("SENSOR1", ",SYSLOG")),
    shared_case("command line ,SYSLOG counts in an ITEM= run",
                "\n<Prtg>\n\n"
                "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n",
                args=("ITEM=Plant:North,SYSLOG",), new_files=(RUN_LOG,)),
    global_case("settings line with ,HOST= logs every system on to that host",
                BANNER + "* hh:mm:ss Item=Plant North,HOST=gateway01 State=Executing\n" + HEAD
                + DEV_PROCESSED + QAS_FAILED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=1</Text>\n\n</Prtg>\n\n" + DONE,
                settings="Item=Plant:North,HOST=gateway01," + ASSIGNED, simulation=HOST_OVERRIDE,
                new_files=(TRACE,)),
    global_case("command line ,HOST= does not count in a global listing run",
                BANNER + "* hh:mm:ss Item=Plant North State=Executing\n" + HEAD
                + DEV_PROCESSED + QAS_PROCESSED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n" + DONE,
                args=("SENSOR1", ",HOST=gateway01#")),
    global_case("a marker in the settings line prints no progress lines",
                "\n<Prtg>\n\n"
                "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n",
                args=("SENSOR1",), settings="Item=Plant:North # $," + ASSIGNED),
    global_case("item text from the settings line is escaped in the summary",
                "\n<Prtg>\n\n"
                "\n<Text>(***) R&amp;D &lt;1&gt;: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n",
                args=("SENSOR1",), settings="Item=R&D:<1>," + ASSIGNED),
]

# The configuration file of a destination replaces the profile's connection data.
SAPRFC_QAS = "DEST=QAS\r\nTYPE=A\r\nASHOST=qas-app01\r\nSYSNR=01\r\n"
DESTINATION_FILE = [
    global_case("SapRfc.<destination> for one system of the listing",
                BANNER + "* hh:mm:ss Item=Plant North,SYSLOG State=Executing\n" + HEAD + DEV_PROCESSED
                + "* SapRfc.Ini.......: QAS<\n" + QAS_PROCESSED + PRD_PROCESSED
                + "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n" + DONE,
                settings=SYSLOG_SETTINGS, extra={WORK + "SapRfc.QAS": SAPRFC_QAS},
                new_files=(SAPRFC_INI, SAPRFC_LOCK, RUN_LOG),
                check=both(logons_are("1 RfcOpen called \n2 RfcOpenEx called \n3 RfcOpen called \n"),
                           lambda run: None if run.after.get(SAPRFC_INI) == SAPRFC_QAS.encode()
                           else f"SapRfc.ini holds {run.after.get(SAPRFC_INI)!r}")),
]


# ,DETAIL names the failed systems after the summary, within the 2,000
# characters the monitor shows of a text.
DETAIL_SETTINGS = "Item=Plant:North,DETAIL," + ASSIGNED


def many_failed_case():
    profiles, listing_lines, simulation = thousand_systems(120, refused_every=1)
    text = ("(***) All Plants: NoSystems=120, Processed=0, Failed=120 - "
            + ", ".join(f"S{number:04d}.P00: Rfc Failure" for number in range(1, 121)))
    return Case("with ,DETAIL: 120 failed systems, the text cut to 2,000 characters", args=["GLOBAL", "BIG"],
                files={**profiles, GLOBAL_FILE: listing_lines + gsnx("BIG", "Item=All:Plants,DETAIL," + ASSIGNED),
                       SIMULATION: simulation}, status=0, new_files=(TRACE,),
                stdout="\n<Prtg>\n\n\n<Text>" + text[:1997] + "...</Text>\n\n</Prtg>\n\n")


DETAIL = [
    global_case("with ,DETAIL: the failed system named after the summary",
                HEAD + "\n<Text>(***) Plant North: NoSystems=3, Processed=2, Failed=1 - QAS.P00: Rfc Failure</Text>"
                "\n\n</Prtg>\n\n", args=("SENSOR1",), settings=DETAIL_SETTINGS,
                simulation=three_systems(QAS=["fail.logon = gateway closed"]), new_files=(TRACE,)),
    global_case("with ,DETAIL: several failed systems, in listing order",
                HEAD + "\n<Text>(***) Plant North: NoSystems=3, Processed=1, Failed=2 - DEV.P00: Rfc Failure, "
                "PRD.P00: Rfc Failure</Text>\n\n</Prtg>\n\n", args=("SENSOR1",), settings=DETAIL_SETTINGS,
                simulation=three_systems(DEV=["fail.logon = gateway closed"], PRD=["fail.logon = gateway closed"]),
                new_files=(TRACE,)),
    global_case("with ,DETAIL and no failed system: the summary alone",
                HEAD + "\n<Text>(***) Plant North: NoSystems=3, Processed=3, Failed=0</Text>\n\n</Prtg>\n\n",
                args=("SENSOR1",), settings=DETAIL_SETTINGS),
    many_failed_case(),
]


def thousand_case():
    profiles, listing_lines, simulation = thousand_systems(1000, refused_every=10)
    files = dict(profiles)
    files[GLOBAL_FILE] = listing_lines + gsnx("BIG", "Item=All:Plants," + ASSIGNED)
    files[SIMULATION] = simulation
    return Case("a thousand systems: nothing cut, every one checked", args=["GLOBAL", "BIG"], files=files,
                status=0, new_files=(TRACE,),
                stdout="\n<Prtg>\n\n"
                       "\n<Text>(***) All Plants: NoSystems=1000, Processed=900, Failed=100</Text>\n\n</Prtg>\n\n")


TABLE = (RUNS + ENTRIES + ESCAPING_ENTRIES + SYSTEM_FAULTS + MISSING_OBJECTS + RUN_ENDS + LISTING_ERRORS
         + SETTINGS_OPTIONS + DESTINATION_FILE + LIMITS + DETAIL + [HOST_AFTER_AT])

# The whole table again: one system at a time in the process itself
# (,PAR=1), and four workers at once against systems that answer with small
# random latencies (,PAR=4). Each must print the bytes, leave the files and
# end with the status of the table's own run, which takes the default.
LATENCIES = "[defaults]\nlatency.logon = 4\nlatency.call = 2\njitter = 6\n\n"


def with_parallel_checks(case, count, latencies=False):
    word = f",PAR={count}"
    files, args = dict(case.files), list(case.args)
    if args and args[0].upper().startswith("GLOBAL"):
        files[GLOBAL_FILE] = files[GLOBAL_FILE].replace(",Sensor=", word + ",Sensor=")
        shown = files[GLOBAL_FILE]
    else:
        args[-1] += word
        shown = " ".join(args[1:3])
    if latencies and SIMULATION in files:
        files[SIMULATION] = LATENCIES + files[SIMULATION]
    stdout = case.stdout
    if stdout is not None and " @" not in shown.replace(":", " "):
        stdout = re.sub(r"(?m)^(\* hh:mm:ss .*)( State=Executing)$", lambda m: m.group(1) + word + m.group(2), stdout)
    return dataclasses.replace(case, name=f"{case.name} ({word[1:]}{', latencies' if latencies else ''})",
                               args=args, files=files, stdout=stdout)


# ,TIMEOUT= in a group: the systems not done at the deadline are given up,
# counted as failed with the state "No Answer", and the summary follows. One
# system at a time, a hanging system holds up those after it; with workers
# they are done meanwhile. A worker that crashes leaves its system failed and
# the run goes on.
def no_answer(line):
    return line.replace("State=Processed", "State=No Answer")


def group_summary(processed, failed):
    return f"\n<Text>(***) Plant North: NoSystems=3, Processed={processed}, Failed={failed}</Text>\n\n</Prtg>\n\n"


def executing(settings):
    return BANNER + f"* hh:mm:ss {settings.split(',Sensor=')[0].replace(':', ' ')} State=Executing\n" + HEAD


ONE_AT_A_TIME = "Item=Plant:North,PAR=1,TIMEOUT=2," + ASSIGNED
IN_WORKERS = "Item=Plant:North,TIMEOUT=2," + ASSIGNED
ENDINGS = [
    global_case("a system that hangs, one at a time: it and those after it given up at the deadline",
                executing(ONE_AT_A_TIME) + DEV_PROCESSED + no_answer(QAS_PROCESSED) + no_answer(PRD_PROCESSED)
                + group_summary(1, 2) + DONE, settings=ONE_AT_A_TIME, simulation=three_systems(QAS=["hang = logon"])),
    global_case("a system that hangs, in workers: it alone given up at the deadline",
                executing(IN_WORKERS) + DEV_PROCESSED + no_answer(QAS_PROCESSED) + PRD_PROCESSED
                + group_summary(2, 1) + DONE, settings=IN_WORKERS,
                simulation=three_systems(QAS=["hang = DB02_DB4_GET_INFO"])),
    global_case("a worker that crashes: its system failed, the run goes on",
                executing(SETTINGS) + DEV_PROCESSED + QAS_FAILED + PRD_PROCESSED + group_summary(2, 1) + DONE,
                simulation=three_systems(QAS=["crash = GET_CPU_ALL"])),
]

# Wine starts a process in about 0.3 s, and a sanitizer's process is slow to
# start too: there a thousand systems are checked one at a time only, or the
# run would take minutes.
THOUSAND = ([with_parallel_checks(thousand_case(), 1)] if COSTLY_PROCESSES
            else [thousand_case(), with_parallel_checks(thousand_case(), 1),
                  with_parallel_checks(thousand_case(), 4, latencies=True)])

DIAGNOSES = [
    Case("diagnosis of Error 1030: the settings lines read, and the key the sensor's name makes",
         args=["--diagnose", "global", "Sensor9", ",LIMITS"], files={GLOBAL_FILE: global_listing()}, status=2,
         stdout=None, check=tells("only the sensor's name and the markers count",
                                  f'"{gsnx("OTHER", "Item=Elsewhere," + ASSIGNED).strip()}"',
                                  'None is this sensor\'s: its line begins "# GSNX: SENSOR9   "', "Error 1030")),
]

CASES = (TABLE + DIAGNOSES + [with_parallel_checks(case, 1) for case in TABLE]
         + [with_parallel_checks(case, 4, latencies=True) for case in TABLE] + THOUSAND + ENDINGS)

if __name__ == "__main__":
    sys.exit(main(CASES))
