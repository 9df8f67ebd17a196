#!/usr/bin/env python3
"""The output forms of a single-profile run, end to end: the XML of EXEXML,
Glimmet and Tolvane, the Corvanta and Brantle text forms, and the Brantle
channel selection "CH=".

In every mode but EXEXML the profile is opened where the command line names
it: "SYS" is D:\\work\\SYS.P00, beside the simulated system.
"""

import sys

from harness import envelope, main
from profiles import profile
from systems import (DONE, HEALTHY, HEALTHY_DOCUMENT, LOGON, PROFILE, RUN_LOG, SAPRFC_INI, SAPRFC_LOCK, SIMULATION, WORK,
                     WORK_PROFILE, case, files, healthy, progress, run_log_after_start, run_log_lines, system)

SAPRFC_QAS = "DEST=QAS\r\nTYPE=A\r\nASHOST=qas-app01\r\nSYSNR=00\r\n"
# RfcOpenEx logs on in language D: the system names none.
IN_LANGUAGE_D = tuple(line for line in LOGON if not line.startswith("language"))

CORVANTA = ("\n# (QAS) Tavorine: Info=DB4,Date=20261208,Time=061500,Sid=QA      "
            "\n\nMessage.Abap_Tables_missing: Abap Tables missing (#)\nStatistic.Abap_Tables_missing: 3"
            "\n\nMessage.Abap_Primary_missing: Abap Primary missing (#)\nStatistic.Abap_Primary_missing: 5"
            "\n\nMessage.Abap_Indexes_missing: Abap Indexes missing (#)\nStatistic.Abap_Indexes_missing: -7"
            "\n\nMessage.Abap_Views_missing: Abap Views missing (#)\nStatistic.Abap_Views_missing: 11"
            "\n")

BRANTLE = ("\n# (QAS) Tavorine: Info=DB4,Date=20261208,Time=061500,Sid=QA      "
           "\n> Abap Tables missing: 3 #"
           "\n> Abap Primary missing: 5 #"
           "\n> Abap Indexes missing: -7 #"
           "\n> Abap Views missing: 11 #"
           "\n")

HEALTHY_FILES = files(*HEALTHY, at=WORK_PROFILE)
MISMATCH = envelope("Error 1018: DataBase mismatch !")


def form(name, options, stdout, status=0, tree=None, new_files=(), check=None):
    """A run of SYS in the working directory with the options as the command line's further arguments."""
    return case(name, ["SYS", *options], stdout, status, HEALTHY_FILES if tree is None else tree, new_files=new_files,
                check=check)


TEXT_FORMS = [
    form("Corvanta: message line and a Message/Statistic pair per channel", ["MODE=Corvanta"], CORVANTA),
    form("Brantle: message line and one line per channel", ["mode=brantle"], BRANTLE),
    form("Corvanta with progress lines around the document", ["MODE=Corvanta", "#"],
         progress("MODE=Corvanta ") + CORVANTA + DONE),
    # The text forms keep the notice of a logon through SapRfc.ini, the XML form shows it among progress lines only.
    form("Corvanta through SapRfc.ini: the notice line before the document", ["MODE=Corvanta"],
         "* SapRfc.Ini.......: QAS<\n" + CORVANTA, tree={**HEALTHY_FILES, WORK + "SapRfc.QAS": SAPRFC_QAS,
                                                         SIMULATION: system(*HEALTHY, logon=IN_LANGUAGE_D)},
         new_files=(SAPRFC_INI, SAPRFC_LOCK)),
    # The XML escapes what it inserts; the text forms are no XML and keep it.
    form("markup in the dictionary's DBSYS: unchanged in the Corvanta form",
         ["MODE=Corvanta"], CORVANTA.replace("Info=DB4,", "Info=DB4&<x>,"), tree=files(
             *healthy('DBSYS = "DB4&<x>"'), at=WORK_PROFILE)),
    form("markup in the destination: unchanged in the Brantle form", ["MODE=Brantle"],
         BRANTLE.replace("(QAS)", "(Q&A)"),
         tree={WORK_PROFILE: profile(Destination="Q&A"), SIMULATION: system(*HEALTHY, destination="Q&A")}),
    form("markup in the dictionary's DBSYS: escaped in the XML form",
         ["MODE=Tolvane"], HEALTHY_DOCUMENT.replace("Info=DB4,", "Info=DB4&amp;&lt;x&gt;,"), tree=files(
             *healthy('DBSYS = "DB4&<x>"'), at=WORK_PROFILE)),
]

SELECTION = [
    form("Brantle CH=2: the second channel's value and a line feed", ["MODE=Brantle CH=2"], "5\n"),
    form("Brantle ch=2 in lower case", ["MODE=Brantle", "ch=2"], "5\n"),
    form("Brantle CH=4: the fourth channel", ["MODE=Brantle", "CH=4"], "11\n"),
    form("Brantle CH=3: the third channel carries CST_MIS_DD, with its minus sign", ["MODE=Brantle", "CH=3"], "-7\n"),
    form("Brantle CH=7: no such channel, the line feed alone", ["MODE=Brantle", "CH=7"], "\n"),
    form("Brantle CH=x: no number, the line feed alone", ["MODE=Brantle", "CH=x"], "\n"),
    form("Brantle CH=1234: three characters are read, channel 123", ["MODE=Brantle", "CH=1234"], "\n"),
    form("Brantle CH=3,SYSLOG: the number ends at the comma, the run log is on", ["MODE=Brantle", "CH=3,SYSLOG"],
         "-7\n", new_files=(RUN_LOG,), check=run_log_after_start(run_log_lines(1, 3, 3))),
    form("Brantle #CH=2: the number read from the options as typed, progress lines around",
         ["MODE=Brantle", "#CH=2"], progress("MODE=Brantle ") + "5\n" + DONE),
    form("Brantle BATCH=5 holds CH=5: channel 5, which the run does not write", ["MODE=Brantle", "BATCH=5"], "\n"),
    form("Brantle BATCH=1 holds CH=1: the first channel", ["MODE=Brantle", "BATCH=1"], "3\n"),
]

NO_SELECTION = [
    case("EXEXML: CH=2 changes nothing", ["SYS", "CH=2"], HEALTHY_DOCUMENT, 0, files(*HEALTHY, at=PROFILE)),
    form("Glimmet writes the XML form, CH=2 changes nothing", ["MODE=Glimmet", "CH=2"], HEALTHY_DOCUMENT),
    form("Tolvane writes the XML form, CH=2 changes nothing", ["MODE=Tolvane CH=2"], HEALTHY_DOCUMENT),
    form("Glimmet without CH=", ["MODE=glimmet"], HEALTHY_DOCUMENT),
    form("Corvanta: CH=2 changes nothing", ["MODE=Corvanta", "CH=2"], CORVANTA),
]

ERRORS = [
    form("Corvanta: a database mismatch prints the XML envelope", ["MODE=Corvanta"], MISMATCH, 2,
         files(*healthy("RFCDBSYS = DB6"), at=WORK_PROFILE)),
    form("Brantle with CH=2: a database mismatch prints the XML envelope", ["MODE=Brantle", "CH=2"], MISMATCH, 2,
         files(*healthy("RFCDBSYS = DB6"), at=WORK_PROFILE)),
    form("Brantle: a failed call prints the envelope with the trace's message, escaped",
         ["MODE=Brantle"], envelope("Error 1012: Exception.: A&lt;B - Exception A&lt;B raised by DB02_DB4_GET_INFO"), 2,
         files("fail.receive.DB02_DB4_GET_INFO = 2 A<B", at=WORK_PROFILE), new_files=("D:\\work\\Dev_Rfc.Trc",)),
]

# ",LIMITS": the four channels are counts whose error limit is 0, in the XML form only.
LIMITED = HEALTHY_DOCUMENT
for count in ("3", "5", "-7", "11"):
    LIMITED = LIMITED.replace(f"</Channel>\n<Value>{count}</Value></Result>",
                              f"</Channel>\n<Unit>Count</Unit>\n<Value>{count}</Value>"
                              "\n<LimitMaxError>0</LimitMaxError><LimitMode>1</LimitMode></Result>")
LIMITS = [
    case("EXEXML ,limits: unit and error limit in each channel", ["SYS", "x,limits"], LIMITED, 0,
         files(*HEALTHY, at=PROFILE)),
    form("Brantle ,LIMITS: the text form has no limits", ["MODE=Brantle,LIMITS"], BRANTLE),
    form("LIMITS without its comma changes nothing", ["MODE=Tolvane LIMITS"], HEALTHY_DOCUMENT),
]

CASES = TEXT_FORMS + SELECTION + NO_SELECTION + ERRORS + LIMITS

if __name__ == "__main__":
    sys.exit(main(CASES))
