#!/usr/bin/env python3
"""The logon password never leaves the program: every case of the start-up,
single-profile and listing tables (the latter as the table's own run, whose
workers get the profile through a pipe) runs again with a password of its own, and
neither standard output, standard error, the run log, the library's trace nor
any file the run wrote or changed may hold it, plain or padded with blanks to
10 or 12 characters as the logon pads it.

The cases keep their exact output and status, so each still proves that its
scenario ran: logged on, failed where it should, wrote what it should.
"""

import dataclasses
import sys

from harness import main
from listing_test import ENDINGS, TABLE, with_parallel_checks
from profiles import encode_password
from single_profile_test import CASES as SINGLE_PROFILE_CASES
from startup_test import CASES as STARTUP_CASES
from systems import COSTLY_PROCESSES, RUN_LOG, SAPRFC_INI, TRACE, WORK

TABLE_PASSWORD = "Secret42"
PASSWORD = "Kw7Zq3Jx"
SECRETS = [PASSWORD.encode(), PASSWORD.ljust(10).encode(), PASSWORD.ljust(12).encode()]


def substituted(content):
    """The file with the tables' password, encoded or plain, replaced by this test's."""
    text = content.decode("latin-1") if isinstance(content, bytes) else content
    text = text.replace(encode_password(TABLE_PASSWORD), encode_password(PASSWORD))
    text = text.replace(TABLE_PASSWORD, PASSWORD)
    return text.encode("latin-1") if isinstance(content, bytes) else text


def held_secret(content: bytes) -> bool:
    return any(secret in content for secret in SECRETS)


def leaks(run) -> list:
    """Where the password turned up: outputs, and files the run wrote or changed."""
    places = [name for name, data in (("standard output", run.stdout), ("standard error", run.stderr))
              if held_secret(data)]
    for path, content in sorted(run.after.items()):
        written = run.before.get(path) != content or path in (RUN_LOG, TRACE)
        # A copy of a destination file that itself held the password is the user's own doing.
        copied_secret = path == SAPRFC_INI and any(
            held_secret(source) and source == content for name, source in run.before.items()
            if name.startswith(WORK + "SapRfc.") and name != SAPRFC_INI)
        if written and not copied_secret and held_secret(content):
            places.append(path)
    return places


def with_leak_check(original):
    def check(run):
        places = leaks(run)
        complaint = f"the password turned up in {places}" if places else None
        return complaint or (original(run) if original else None)
    return check


def secret_cases(table: str, cases: list) -> list:
    return [dataclasses.replace(case, name=f"{table}: {case.name}",
                                files={path: substituted(content) for path, content in case.files.items()},
                                check=with_leak_check(case.check))
            for case in cases]


# Where processes are slow to start, the listing table runs one system at a
# time: the pipes to the workers are looked at where processes are cheap.
LISTING = [with_parallel_checks(case, 1) for case in TABLE] if COSTLY_PROCESSES else TABLE + ENDINGS

CASES = (secret_cases("start-up", STARTUP_CASES) + secret_cases("single profile", SINGLE_PROFILE_CASES)
         + secret_cases("listing", LISTING))

if __name__ == "__main__":
    sys.exit(main(CASES))
