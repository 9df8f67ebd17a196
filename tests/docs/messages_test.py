"""Every message the program can print is listed in docs/install.md, and the
guide lists no message the program does not have, so the two cannot drift."""

import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
MESSAGE = re.compile(r'"((?:Error 10[0-9x][0-9]|Sorry|\* [A-Z][A-Za-z]+ [a-z]|RFC error)[^"\\]*)')


def product_messages():
    messages = set()
    for source in sorted((ROOT / "src").rglob("*.cpp")):
        for text in MESSAGE.findall(source.read_text(encoding="utf-8")):
            messages.add(text.rstrip())
    return messages


def main():
    guide = (ROOT / "docs" / "install.md").read_text(encoding="utf-8")
    missing = [m for m in sorted(product_messages()) if m.split(" <")[0] not in guide]
    numbers_in_guide = set(re.findall(r"Error (10[0-9x][0-9]):", guide))
    numbers_in_code = {m[6:10] for m in product_messages() if m.startswith("Error ")}
    extra = sorted(numbers_in_guide - numbers_in_code)
    for message in missing:
        print(f"FAIL docs/install.md does not list: {message}")
    for number in extra:
        print(f"FAIL docs/install.md lists Error {number}, which the program never prints")
    print(f"{len(product_messages())} messages checked")
    return 1 if missing or extra else 0


if __name__ == "__main__":
    sys.exit(main())
