#!/usr/bin/env python3
"""Start-up and the search for the monitor's ExeXml folder, end to end.

Unless a case says otherwise the working directory is D:\\work, so the
current drive is D:.
"""

import sys

from harness import Case, envelope, main
from profiles import UNREADABLE_PROFILE, encode_password, profile
from systems import tells

EXEXML = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\"
PROGRAMME = "\\Programme\\" + EXEXML
PROGRAM_FILES = "\\Program Files\\" + EXEXML
PROGRAM_FILES_X86 = "\\Program Files (x86)\\" + EXEXML
PATH_FILE = "C:\\PRTG_Path.Txt"

MISSING_SYS = envelope("Error 1002: Profile SYS.P00 is missing...")
INVALID_PATH_USAGE = envelope("Sorry, invalid Path-Usage...")
NO_USER = envelope("Error 1006: Username in Profile SYS.P00 is missing...")

# The search cases tell which copy of the profile was taken by what reading it
# says, so they do not depend on the logon: THIS_COPY is found, accepted and
# read to its end, where its one short field is refused (READ); OTHER_COPY
# stops at the missing user (NO_USER).
THIS_COPY = profile(Sysnr="0")
READ = envelope("Error 1003: Invalid Parameter(s) at SYS.P00 found...")
OTHER_COPY = UNREADABLE_PROFILE

# A good profile goes on to the logon. Without a description of simulated
# systems in the working directory the stand-in library beside the program
# refuses every logon and writes why into its trace. Once the cases bring such
# a description, FOUND and FOUND_FILES change, for every case made by found().
PASSWORD = "Secret42"
GOOD = profile(Password=encode_password(PASSWORD))
FOUND = envelope("Error 1011: RFC-Open for QAS failed !")
FOUND_STATUS = 2
FOUND_FILES = ("D:\\work\\Dev_Rfc.Trc",)


def no_password_left(run):
    """The decoded password must not reach any file, whatever the run wrote."""
    written = [path for path, content in run.after.items() if PASSWORD.encode() in content]
    return f"the password was written to {written}" if written else None


def found(name, args, files):
    """A case whose good profile is found, accepted and read."""
    return Case(name, args=args, files=files, status=FOUND_STATUS, stdout=FOUND, new_files=FOUND_FILES,
                check=no_password_left)


def read(name, files, cwd="D:\\work", args=("SYS",)):
    """A search for SYS whose outcome shows that THIS_COPY was taken."""
    return Case(name, args=list(args), files=files, cwd=cwd, status=2, stdout=READ)


def refused(name, files, stdout):
    """A search for SYS that ends before any profile is read."""
    return Case(name, args=["SYS"], files=files, status=2, stdout=stdout)


START_UP = [
    Case("no argument", args=[], status=2,
         stdout="<Prtg>\n<Error>1</Error>\n<Text>Error 1001: Parameter for Profile-Name is missing !</Text>\n</Prtg>\n"),
    Case("unknown output mode", args=["SYS", "mode=Fancy"], status=2,
         stdout=envelope("Error 1040: Unknown output mode in the options, "
                         "use MODE=EXEXML, Glimmet, Tolvane, Corvanta or Brantle...")),
    Case("alternative mode: missing profile named with its directory", args=["D:\\Sensors\\SYS", "mode=corvanta"],
         status=2, stdout=envelope("Error 1002: Profile D:\\Sensors\\SYS.P00 is missing...")),
    Case("alternative mode: profile opened where the command line names it", args=["D:\\Sensors\\SYS", "MODE=Brantle"],
         files={"D:\\Sensors\\SYS.P00": THIS_COPY}, status=2, stdout=READ),
    Case("alternative mode: no search of the ExeXml folders", args=["SYS", "MODE=Glimmet"],
         files={"D:" + PROGRAM_FILES + "SYS.P00": THIS_COPY}, status=2, stdout=MISSING_SYS),
    Case("exexml: missing profile named by its file name only", args=["D:\\Sensors\\SYS"],
         status=2, stdout=MISSING_SYS),
    Case("exexml: the directory on the command line is not used", args=["D:\\Sensors\\SYS"],
         files={"D:\\Sensors\\SYS.P00": THIS_COPY}, status=2, stdout=MISSING_SYS),
    Case("exexml with @: profile opened where the command line names it", args=["D:\\Sensors\\SYS", "@"],
         files={"D:\\Sensors\\SYS.P00": THIS_COPY}, status=2, stdout=READ),
    Case("exexml with @: missing profile named with its directory", args=["D:\\Sensors\\SYS", "x", "@"],
         files={"D:" + PROGRAM_FILES + "SYS.P00": THIS_COPY},
         status=2, stdout=envelope("Error 1002: Profile D:\\Sensors\\SYS.P00 is missing...")),
]

PATH_FILE_CASES = [
    read("path file: folder above the installation",
         {PATH_FILE: "D:\\Monitor\r\n", "D:\\Monitor\\" + EXEXML + "SYS.P00": THIS_COPY}),
    read("path file: installation folder without final backslash",
         {PATH_FILE: "D:\\Monitor\\PRTG Network Monitor\n", "D:\\Monitor\\" + EXEXML + "SYS.P00": THIS_COPY}),
    read("path file: installation folder with final backslash",
         {PATH_FILE: "D:\\Monitor\\PRTG Network Monitor\\\r\n", "D:\\Monitor\\" + EXEXML + "SYS.P00": THIS_COPY}),
    read("path file: the ExeXml folder itself, last line without line end",
         {PATH_FILE: "D:\\Monitor\\" + EXEXML, "D:\\Monitor\\" + EXEXML + "SYS.P00": THIS_COPY}),
    read("path file: drive-relative line on the current drive",
         {PATH_FILE: "\\Sensors\\ExeXml\r\n", "D:\\Sensors\\ExeXml\\SYS.P00": THIS_COPY}),
    read("path file: folder ending in ExeXml in another letter case is accepted",
         {PATH_FILE: "D:\\Sensors\\MyEXEXml\r\n", "D:\\Sensors\\MyEXEXml\\SYS.P00": THIS_COPY}),
    refused("path file: a character after ExeXml is refused",
            {PATH_FILE: "D:\\Sensors\\ExeXml2\r\n", "D:\\Sensors\\ExeXml2\\SYS.P00": THIS_COPY}, INVALID_PATH_USAGE),
    read("path file: of two directory lines the second wins",
         {PATH_FILE: "D:\\First\\ExeXml\r\nD:\\Second\\ExeXml\r\n",
          "D:\\First\\ExeXml\\SYS.P00": OTHER_COPY, "D:\\Second\\ExeXml\\SYS.P00": THIS_COPY}),
    read("path file: lines that name no directory are skipped",
         {PATH_FILE: "D:\\First\\ExeXml\r\n# moved to the second folder\r\n  D:\\Second\\ExeXml\r\n",
          "D:\\First\\ExeXml\\SYS.P00": THIS_COPY, "D:\\Second\\ExeXml\\SYS.P00": OTHER_COPY}),
    refused("path file without a directory line: root of the current drive",
            {PATH_FILE: "Monitor\r\n  D:\\Monitor\r\n\r\n", "D:\\SYS.P00": THIS_COPY,
             "D:" + PROGRAM_FILES + "SYS.P00": THIS_COPY}, INVALID_PATH_USAGE),
    refused("empty path file: root of the current drive, fixed folders not tried",
            {PATH_FILE: "", "D:" + PROGRAM_FILES + "SYS.P00": THIS_COPY}, MISSING_SYS),
    refused("path file naming a place without the profile is final",
            {PATH_FILE: "D:\\Monitor\r\n", "D:" + PROGRAMME + "SYS.P00": THIS_COPY,
             "D:" + PROGRAM_FILES + "SYS.P00": THIS_COPY, "D:\\work\\SYS.P00": THIS_COPY}, MISSING_SYS),
]

FIXED_FOLDER_CASES = [
    refused("no path file, no profile anywhere", {}, MISSING_SYS),
    read("no path file: Programme comes first",
         {"D:" + PROGRAMME + "SYS.P00": THIS_COPY, "D:" + PROGRAM_FILES + "SYS.P00": OTHER_COPY}),
    read("no path file: Program Files before Program Files (x86)",
         {"D:" + PROGRAM_FILES + "SYS.P00": THIS_COPY, "D:" + PROGRAM_FILES_X86 + "SYS.P00": OTHER_COPY}),
    read("no path file: profile only in Program Files (x86)", {"D:" + PROGRAM_FILES_X86 + "SYS.P00": THIS_COPY}),
    read("no path file: fixed folders of the current drive C",
         {"C:" + PROGRAM_FILES_X86 + "SYS.P00": THIS_COPY, "D:" + PROGRAMME + "SYS.P00": OTHER_COPY}, cwd="C:\\work"),
    refused("no path file: profile in the working directory is refused",
            {"D:\\work\\SYS.P00": THIS_COPY, "D:" + PROGRAM_FILES + "SYS.P00": THIS_COPY}, INVALID_PATH_USAGE),
]

GOOD_PROFILE = [
    found("exexml: good profile in the ExeXml folder goes on to the logon",
          ["SYS"], {PATH_FILE: "D:\\Monitor\r\n", "D:\\Monitor\\" + EXEXML + "SYS.P00": GOOD}),
    found("alternative mode: good profile goes on to the logon",
          ["D:\\Sensors\\SYS", "MODE=Tolvane"], {"D:\\Sensors\\SYS.P00": GOOD}),
]

# The monitor parses the document as XML: names from the command line must not break it.
ESCAPING = [
    Case("ampersand in the profile name is escaped", args=["R&D"], status=2,
         stdout=envelope("Error 1002: Profile R&amp;D.P00 is missing...")),
    Case("angle brackets in the profile name are escaped", args=["<QAS>"], status=2,
         stdout=envelope("Error 1002: Profile &lt;QAS&gt;.P00 is missing...")),
    Case("control character in the profile name becomes a blank", args=["QAS\x01X"], status=2,
         stdout=envelope("Error 1002: Profile QAS X.P00 is missing...")),
]

# Names mean what they mean on Windows, on the Linux build too.
WINDOWS_NAMES = [
    read("a profile name in another letter case", {"D:" + PROGRAM_FILES + "sys.p00": THIS_COPY}),
    read("a path file and folders in other letter cases",
         {PATH_FILE: "d:\\MONITOR\r\n", "D:\\Monitor\\prtg network monitor\\custom sensors\\EXEXML\\Sys.P00": THIS_COPY}),
]

# In mode EXEXML the profile comes from the ExeXml folder only: whatever
# folder the name gives, at "\", "/" or a drive's ":", is dropped.
MONITOR = "D:\\Monitor\\" + EXEXML
ABOVE = {PATH_FILE: "D:\\Monitor\r\n", "D:\\Monitor\\PRTG Network Monitor\\Custom Sensors\\SYS.P00": THIS_COPY,
         "D:\\tmp\\o\\SYS.P00": THIS_COPY, "D:\\SYS.P00": THIS_COPY}
PATH_ESCAPES = [
    Case(f"exexml: a profile name {name} opens nothing outside the ExeXml folder", args=[argument], files=ABOVE,
         status=2, stdout=stdout)
    for name, argument, stdout in (
        ("climbing with ../", "../SYS", MISSING_SYS), ("climbing far with ../", "../../../../tmp/o/SYS", MISSING_SYS),
        ("with a drive", "D:SYS", MISSING_SYS),
        ("rooted with /", "/SYS", envelope("Error 1002: Profile /SYS.P00 is missing...")))
] + [
    read("exexml: a profile name with a folder at / finds the profile in the ExeXml folder",
         {PATH_FILE: "D:\\Monitor\r\n", MONITOR + "SYS.P00": THIS_COPY, "D:\\tmp\\o\\SYS.P00": OTHER_COPY},
         args=["../tmp/o/SYS"]),
]

# "--diagnose" tells each decision of the search in words, and what to do.
def diagnosed(name, files, *phrases):
    return Case("diagnosis: " + name, args=["--diagnose", "SYS"], files=files, status=2, stdout=None,
                check=tells(*phrases))


DIAGNOSES = [
    diagnosed("no path file, the profile in the working directory", {"D:\\work\\SYS.P00": THIS_COPY},
              "Working directory: ", "Path file C:\\PRTG_Path.Txt: none",
              "SYS.P00 (in the working directory): found", "Refused: the profile was found in the working directory",
              "Name the monitor's installation folder in C:\\PRTG_Path.Txt", "exit status 2",
              "Sorry, invalid Path-Usage..."),
    diagnosed("a path file line that does not count", {PATH_FILE: "  D:\\Monitor\r\n"},
              '"  D:\\Monitor": does not count', "no line names a folder", "\\SYS.P00: not there",
              "Not found in any of these places", "Error 1002: Profile SYS.P00 is missing..."),
    diagnosed("the profile in a folder that is no ExeXml folder",
              {PATH_FILE: "D:\\Sensors\r\n", "D:\\Sensors\\SYS.P00": THIS_COPY},
              "the folder it names: D:\\Sensors", "D:\\Sensors\\SYS.P00: found",
              "Refused: the folder C:\\PRTG_Path.Txt leads to is no ExeXml folder", "Sorry"),
    diagnosed("a path file naming no folder there is, and a blank after a folder's name",
              {PATH_FILE: "D:\\Monitor \r\nD:\\Nowhere\r\n"},
              '"D:\\Monitor ": names a folder, but one whose name ends in a blank',
              "the folder it names: D:\\Nowhere (no such folder)", "Tavorine.exe lies in ", "Error 1002"),
    diagnosed("a path file with a byte order mark", {PATH_FILE: "\xef\xbb\xbfD:\\Monitor\r\n"},
              "it begins with a UTF-8 byte order mark", "Error 1002"),
    diagnosed("a path file saved as Unicode", {PATH_FILE: "D:\\Monitor\r\n".encode("utf-16")},
              "it is saved as Unicode (UTF-16)", "Error 1002"),
    diagnosed("a profile of another name: the profiles there, the nearest names first",
              {"D:" + PROGRAM_FILES + "OTHER.P00": GOOD, "D:" + PROGRAM_FILES + "SYS1.P00": GOOD,
               "D:" + PROGRAM_FILES + "notes.txt": ""},
              PROGRAM_FILES + " holds these profiles, the nearest names first: SYS1.P00, OTHER.P00", "Error 1002"),
]

CASES = (START_UP + PATH_FILE_CASES + FIXED_FOLDER_CASES + GOOD_PROFILE + ESCAPING + WINDOWS_NAMES + PATH_ESCAPES
         + DIAGNOSES)

if __name__ == "__main__":
    sys.exit(main(CASES))
