#!/usr/bin/env python3
"""The bundled demo, as the README shows it: the same bytes from both builds.

The demo's C: drive (demo/C) is laid out on drive D: of each case, so the
monitor's fixed folders are looked for on D: and nothing touches Wine's own C:.
"""

import sys
from pathlib import Path

from harness import Case, envelope, main

DEMO = Path(__file__).resolve().parents[2] / "demo" / "C"
FILES = {
    "D:\\" + "\\".join(path.relative_to(DEMO).parts): path.read_bytes()
    for path in sorted(DEMO.rglob("*")) if path.is_file()
}
CWD = "D:\\Monitor"
TRACE = "D:\\Monitor\\Dev_Rfc.Trc"

HEALTHY = """
<Prtg>

<Text>(DEV) Tavorine: Info=DB4,Date=20261208,Time=061500,Sid=DEV     </Text>

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

CORVANTA = """
# (DEV) Tavorine: Info=DB4,Date=20261208,Time=061500,Sid=DEV     

Message.Abap_Tables_missing: Abap Tables missing (#)
Statistic.Abap_Tables_missing: 0

Message.Abap_Primary_missing: Abap Primary missing (#)
Statistic.Abap_Primary_missing: 2

Message.Abap_Indexes_missing: Abap Indexes missing (#)
Statistic.Abap_Indexes_missing: 1

Message.Abap_Views_missing: Abap Views missing (#)
Statistic.Abap_Views_missing: 0
"""

BRANTLE = """
# (DEV) Tavorine: Info=DB4,Date=20261208,Time=061500,Sid=DEV     
> Abap Tables missing: 0 #
> Abap Primary missing: 2 #
> Abap Indexes missing: 1 #
> Abap Views missing: 0 #
"""

GROUP = """
<Prtg>


<Text>(***) Demo Group: NoSystems=3, Processed=1, Failed=1</Text>

</Prtg>

"""

GROUP_WITH_PROGRESS = """* hh:mm:ss SAP Tavorine Vers 4.3 / 29.08.22
* hh:mm:ss Item=Demo Group State=Executing

<Prtg>


* hh:mm:ss DEMO.P00, devhost, DEV, 00, 100 State=Processed

* hh:mm:ss WRONGPW.P00, devhost, DEV, 00, 100 State=Rfc Failure

<Text>(***) Demo Group: NoSystems=3, Processed=1, Failed=1</Text>

</Prtg>


* hh:mm:ss SAP Tavorine now processed...
"""

PROFILE_PATH = "D:\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\DEMO"


def demo(name, args, stdout, status=0, new_files=()):
    return Case(name, args=args, files=FILES, cwd=CWD, stdout=stdout, status=status, new_files=new_files)


CASES = [
    demo("demo: healthy DB4 system", ["DEMO"], HEALTHY),
    demo("demo: wrong password", ["WRONGPW"], envelope("Error 1011: RFC-Open for DEV failed !"), 2, (TRACE,)),
    demo("demo: database not DB4", ["DB6"], envelope("Error 1018: DataBase mismatch !"), 2),
    demo("demo: Corvanta form", [PROFILE_PATH, "MODE=Corvanta"], CORVANTA),
    demo("demo: Brantle form", [PROFILE_PATH, "MODE=Brantle"], BRANTLE),
    demo("demo: Brantle form, channel 2", [PROFILE_PATH, "MODE=Brantle,CH=2"], "2\n"),
    demo("demo: group sensor", ["GLOBAL", "DEMOGROUP"], GROUP, 0, (TRACE,)),
    demo("demo: group sensor with progress lines", ["GLOBAL", "DEMOGROUP #"], GROUP_WITH_PROGRESS, 0, (TRACE,)),
]

if __name__ == "__main__":
    sys.exit(main(CASES))
