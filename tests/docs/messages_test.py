"""Every message the program can print is a row of the message tables in
docs/install.md, word for word, with something to check; the guide lists no
message and no group state that the program does not have. So the two cannot
drift."""

import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
# A message starts a string literal, or a line within one.
MESSAGE = re.compile(r'(?:"|\\n)((?:Error 10[0-9x][0-9]|Sorry|\* [A-Z][A-Za-z.]+[ .]|RFC error)[^"\\]*)')
LITERAL = re.compile(r'"((?:[^"\\]|\\.)*)"')
STATE = re.compile(r'State=([A-Z][a-z]+(?: [A-Z][a-z]+)?)')


def sources():
    return {source: source.read_text(encoding="utf-8") for source in sorted((ROOT / "src").rglob("*.cpp"))}


def product_messages():
    return {text.rstrip() for code in sources().values() for text in MESSAGE.findall(code)}


def numbered_message_pieces():
    """Each message of messages.cpp: its head and every fixed piece of its text."""
    code = (ROOT / "src" / "output" / "messages.cpp").read_text(encoding="utf-8")
    pieces = {}
    for function in code.split("\nRunFailure ")[1:]:
        literals = [text.strip() for text in LITERAL.findall(function) if text.strip()]
        heads = [text for text in literals if text.startswith(("Error 10", "Sorry"))]
        if heads:
            pieces[heads[0]] = literals
    return pieces


def product_states():
    """The states of the console lines: the progress lines' and each listed system's."""
    states = set()
    for code in sources().values():
        states |= set(STATE.findall(code))
        for state in re.findall(r"WriteState\(system, ([^,]*),", code):
            states |= set(LITERAL.findall(state))
    return states


def table_rows(guide):
    """The rows of the guide's tables whose first cell is a message in backquotes, split into cells."""
    return [[cell.strip() for cell in line.strip("|").split(" | ")] for line in guide.splitlines() if line.startswith("| `")]


def main():
    guide = (ROOT / "docs" / "install.md").read_text(encoding="utf-8")
    rows = table_rows(guide)
    failures = []
    for message in sorted(product_messages()):
        if not any(f"`{message.split(' <')[0]}" in cells[0] for cells in rows):
            failures.append(f"no row of docs/install.md lists: {message}")
    for head, literals in sorted(numbered_message_pieces().items()):
        cells = next((cells for cells in rows if cells[0].startswith("`" + head)), None)
        failures += [f"the row of {head[:10]} lacks: {text}" for text in literals if cells and text not in cells[0]]
    failures += [f"a row without what to check: {cells[0]}" for cells in rows if len(cells) != 3 or not cells[2]]
    numbers_in_guide = set(re.findall(r"Error (10[0-9x][0-9])", guide))
    numbers_in_code = {m[6:10] for m in product_messages() if m.startswith("Error ")}
    failures += [f"docs/install.md lists Error {n}, which the program never prints" for n in sorted(numbers_in_guide - numbers_in_code)]
    states_in_guide, states_in_code = set(STATE.findall(guide)), product_states()
    if states_in_guide != states_in_code:
        failures.append(f"states: the guide has {sorted(states_in_guide)}, the program {sorted(states_in_code)}")
    for failure in failures:
        print(f"FAIL {failure}")
    print(f"{len(product_messages())} messages and {len(states_in_code)} states checked")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
