#!/usr/bin/env python3
"""Runs tavorine-profile in a fresh temporary folder and checks its output,
exit status and the files it leaves behind."""

import argparse
import os
import subprocess
import sys
import tempfile
import unittest

# The profile key's bytes; the tests damage encoded passwords with it.
KEY = bytes([0x1F, 0x01, 0x01, 0x1F, 0x01, 0x1F, 0x1F, 0x01, 0x1F, 0x1F, 0x01, 0x01, 0x1F, 0x01, 0x1F, 0x01,
             0x01, 0x1F, 0x1F, 0x1F, 0x01, 0x1F, 0x01, 0x01, 0x1F, 0x01, 0x01, 0x1F, 0x1F, 0x01, 0x1F, 0x01])

VALUES = ["--destination", "SYS", "--client", "100", "--user", "monitor", "--language", "E",
          "--mode", "A3x", "--hostname", "host1", "--sysnr", "00", "--gwhost", "gw1",
          "--gwservice", "sapgw00"]
PASSWORD = "Secr3t!pw"

COMMAND = []


def run(*arguments, stdin=""):
    done = subprocess.run(COMMAND + list(arguments), input=stdin.encode(), capture_output=True, timeout=120)
    # The Windows build writes its reports in text mode.
    text = lambda data: data.decode("latin-1").replace("\r\n", "\n")
    return done.returncode, text(done.stdout), text(done.stderr)


def values_with(option, value):
    """The usual values with one option's value replaced."""
    changed = list(VALUES)
    changed[changed.index(option) + 1] = value
    return changed


def lines(text):
    return "".join(line + "\n" for line in text)


def write_file(name, data):
    with open(name, "wb") as f:
        f.write(data.encode("latin-1") if isinstance(data, str) else data)


def read_file(name):
    with open(name, "rb") as f:
        return f.read().decode("latin-1")


def keyed(header_digits):
    return "".join(chr(ord(c) ^ KEY[i]) for i, c in enumerate(header_digits))


class ProfileToolTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        os.chdir(self.folder.name)

    def tearDown(self):
        os.chdir("/")

    def write_profile(self, name="SYS.P00", *extra, password=PASSWORD):
        return run("write", name, *VALUES, *extra, stdin=password + "\n")

    def written_lines(self, name="SYS.P00"):
        return read_file(name).replace("\r\n", "\n").split("\n")

    def assert_refused(self, result, *words):
        status, out, err = result
        self.assertEqual(status, 2, err)
        self.assertEqual(out, "")
        for word in words:
            self.assertIn(word, err)

    def test_written_profile_is_accepted_and_password_never_shown(self):
        status, out, err = self.write_profile()
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(out, "Profile SYS.P00 written\n")
        written = self.written_lines()
        self.assertEqual([line[:13] for line in written[:11]],
                         ["Extcompany.: ", "Destination: ", "Client.....: ", "User.......: ", "Password...: ",
                          "Language...: ", "Mode.......: ", "Hostname...: ", "Sysnr......: ", "Gwhost.....: ",
                          "Gwservice..: "])
        self.assertEqual(written[0], "Extcompany.: Tavorine")
        self.assertEqual(written[11:], [""])
        self.assertNotIn(PASSWORD, read_file("SYS.P00"))
        self.assertEqual(len(written[4]), 13 + 24)
        self.assertEqual(sorted(os.listdir(".")), ["SYS.P00"])

        status, out, err = run("check", "SYS.P00")
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(out, lines([
            "Profile SYS.P00", 'Extcompany.: "Tavorine"', 'Destination: "SYS"', 'Client.....: "100"',
            'User.......: "MONITOR"', "Password...: (9 characters, decodes)", 'Language...: "E"',
            'Mode.......: "A3x"', 'Hostname...: "host1"', 'Sysnr......: "00"', 'Gwhost.....: "gw1"',
            'Gwservice..: "sapgw00"', "OK: profile SYS.P00 is accepted"]))
        self.assertNotIn(PASSWORD, out)

    def test_extcompany_and_blanks_in_values(self):
        status, _, err = self.write_profile("A.P00", "--extcompany", " ACME Ltd ")
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(self.written_lines("A.P00")[0], "Extcompany.:  ACME Ltd ")
        status, out, _ = run("check", "A.P00")
        self.assertEqual(status, 0)
        self.assertIn('Extcompany.: " ACME Ltd "\n', out)

    def test_bad_passwords_refused_and_nothing_written(self):
        for password, words in [("ab~cd", ["~"]), ("a" * 21, ["20"]), ("", ["empty"]), ("x", ["at least 2"]),
                                ("caf\u00e9", ["character"])]:
            with self.subTest(password=password):
                self.assert_refused(self.write_profile(password=password), "refused password", *words)
                self.assertEqual(os.listdir("."), [])

    def test_bad_values_refused(self):
        cases = [(values_with("--destination", "ABCDEFGHIJKL"), "--destination holds at most 11"),
                 (values_with("--client", "10"), "--client needs at least 3"),
                 (VALUES + ["--extcompany", "E" * 61], "--extcompany holds at most 60"),
                 (values_with("--user", "mon\titor"), "--user holds a control character")]
        for arguments, words in cases:
            with self.subTest(arguments=arguments):
                self.assert_refused(run("write", "SYS.P00", *arguments, stdin=PASSWORD + "\n"), words)
                self.assertEqual(os.listdir("."), [])

    def test_bad_command_lines_refused(self):
        cases = [(["write", "SYS.P00", *VALUES[:-2]], "--gwservice"),
                 (["write", "SYS.P00", *VALUES, "--password", "x"], "never taken from the command line"),
                 (["write", "SYS.P00", *VALUES, "--client", "200"], "--client is given twice"),
                 (["write", "SYS.P00", *VALUES, "--colour"], "unknown option --colour"),
                 (["check"], "exactly one FILE"),
                 (["frobnicate"], "unknown command frobnicate"),
                 ([], "no command")]
        for arguments, words in cases:
            with self.subTest(arguments=arguments):
                self.assert_refused(run(*arguments, stdin=PASSWORD + "\n"), words, "Usage:")
                self.assertEqual(os.listdir("."), [])

    def test_existing_file_replaced_only_with_force(self):
        write_file("SYS.P00", "keep me\n")
        self.assert_refused(self.write_profile(), "exists", "--force")
        self.assertEqual(read_file("SYS.P00"), "keep me\n")
        status, _, err = self.write_profile("SYS.P00", "--force")
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(run("check", "SYS.P00")[0], 0)
        self.assertEqual(sorted(os.listdir(".")), ["SYS.P00"])

    def test_check_reports_the_sensors_errors(self):
        self.assertEqual(self.write_profile()[0], 0)
        good = self.written_lines()[:11]
        password = good[4]
        encoded = password[13:]
        header = "".join(chr(ord(c) ^ KEY[i]) for i, c in enumerate(encoded[:4]))
        wrong_check = keyed(str((int(header[0]) + 1) % 10) + header[1:]) + encoded[4:]
        cases = [
            ("missing Gwservice", good[:10], "Error 1003: Invalid Parameter(s) at X.P00 found..."),
            ("short password", good[:4] + ["Password...: " + keyed(header[:2] + "01") + encoded[4:]] + good[5:],
             "Error 1003: Invalid Parameter(s) at X.P00 found..."),
            ("password of 23", good + ["Password...: " + encoded[:23]],
             "Error 1004: Invalid Password in Profile X.P00 found..."),
            ("wrong check digit", good + ["Password...: " + wrong_check],
             "Error 1005: Wrong Password in Profile X.P00 found..."),
            ("no user", good[:3] + good[4:], "Error 1006: Username in Profile X.P00 is missing..."),
            ("empty password", good + ["Password...:"], "Error 1007: Password in Profile X.P00 is missing..."),
        ]
        for name, profile, message in cases:
            with self.subTest(name):
                write_file("X.P00", lines(profile))
                status, out, err = run("check", "X.P00")
                self.assertEqual((status, err), (1, ""))
                self.assertTrue(out.startswith("Profile X.P00\n"), out)
                self.assertTrue(out.endswith("\n" + message + "\n"), out)
        write_file("X.P00", lines(good[:10]))
        self.assertIn('Gwservice..: ""  <- needs at least 2 characters\n', run("check", "X.P00")[1])

    def test_check_unreadable_file(self):
        self.assert_refused(run("check", "NONE.P00"), "cannot read NONE.P00")
        os.mkdir("DIR.P00")
        self.assert_refused(run("check", "DIR.P00"), "cannot read DIR.P00")
        # A rooted name lies on drive C, which on Linux is not where a shell
        # user looks: the refusal says where the tool did.
        tried = "" if len(COMMAND) > 1 else " (tried as /C/NONE/X.P00)"
        self.assertEqual(run("check", "/NONE/X.P00")[2], f"tavorine-profile: cannot read /NONE/X.P00{tried}\n")

    def test_help_and_version(self):
        status, out, err = run("--help")
        self.assertEqual((status, err), (0, ""))
        self.assertIn("tavorine-profile write FILE", out)
        self.assertIn("tavorine-profile check FILE", out)
        self.assertEqual(run("--version"), (0, "tavorine-profile Vers 4.3 / 29.08.22\n", ""))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--emulator")
    options, rest = parser.parse_known_args()
    COMMAND[:] = ([options.emulator] if options.emulator else []) + [os.path.abspath(options.tool)]
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
