"""Profiles for end-to-end cases, with passwords encoded the way the program's
users get them, by a second, independent encoder (test helper only)."""

# The key must never change: profiles in the field are encoded with it. A copy
# here, not read from the sources, so that a changed key fails the tests.
PROFILE_KEY = bytes([
    0x1F, 0x01, 0x01, 0x1F, 0x01, 0x1F, 0x1F, 0x01, 0x1F, 0x1F, 0x01, 0x01, 0x1F, 0x01, 0x1F, 0x01,
    0x01, 0x1F, 0x1F, 0x1F, 0x01, 0x1F, 0x01, 0x01, 0x1F, 0x01, 0x01, 0x1F, 0x1F, 0x01, 0x1F, 0x01,
])
BODY_LENGTH = 20
FILLER = "Xq7Rv2Lm9Tz4Kw8Nb3Hs"


def body_index(i: int) -> int:
    """The rearranged text takes the body alternately from front and back."""
    return i // 2 if i % 2 == 0 else BODY_LENGTH - 1 - i // 2


def encode_password(password: str, offset: int = 3) -> str:
    """The 24-character value of a "Password...:" line."""
    assert 0 < len(password) <= BODY_LENGTH and 0 <= offset <= 9
    rearranged = password + FILLER[len(password):]
    body = [""] * BODY_LENGTH
    for i, c in enumerate(rearranged):
        body[body_index(i)] = c
    check = sum(ord(c) for c in rearranged if c.isascii() and c.isalnum()) % 10
    header = f"{check}{offset}{len(password):02d}"
    encoded = [chr(ord(c) ^ PROFILE_KEY[i]) for i, c in enumerate(header)]
    encoded += [chr(ord(c) ^ PROFILE_KEY[offset + i]) for i, c in enumerate(body)]
    return "".join(encoded)


FIELDS = {
    "Extcompany.:": "Kestrion Test Systems",
    "Destination:": "QAS",
    "Client.....:": "100",
    "User.......:": "monitor",
    "Password...:": encode_password("Secret42"),
    "Language...:": "E",
    "Mode.......:": "R/3",
    "Hostname...:": "qas-app01",
    "Sysnr......:": "00",
    "Gwhost.....:": "qas-gw01",
    "Gwservice..:": "sapgw00",
}


def profile(**changes) -> str:
    """A good profile, CR LF line ends as written on the monitor's machine.
    Keyword arguments replace a field, by its label without dots and colon."""
    fields = dict(FIELDS)
    for name, value in changes.items():
        label = next(label for label in fields if label.rstrip(".:") == name)
        fields[label] = value
    return "".join(f"{label} {value}\r\n" for label, value in fields.items())


# A profile that is found but does not read; tells which of two places was used.
UNREADABLE_PROFILE = "Extcompany.: found the wrong copy\r\n"
