#!/usr/bin/env python3
"""Builds the four candidate-list files of commands/ from their readable
sources in scripts/command_lists/, and checks them.

A source file is UTF-8 text made of entries:

    ## a comment (only between entries)
    \\section{¦}
    = 節見出しを作る。引数: 見出しの文字列。
    = 二行目のヘルプ

- An entry starts at its first command line and runs until the line after its
  last help line. Command lines are copied as they stand (an empty line inside
  the command is an empty command line); "¦" marks where the caret goes.
- Help lines start with "= "; there is at least one.
- Blank lines and "## " comments between entries are skipped.

The list file gets one line per entry, in source order: the command lines
joined by ESC "n", the caret marker ESC "c" in place of "¦", ESC "h", and
the help lines joined by ESC "n". Every line is Shift-JIS (CP932) and ends
with CR LF.

Checks (any failure stops the build of every file, and nothing is written):
every line encodes to CP932; no stray control bytes; exactly one caret
marker per entry, in its command part; a non-empty help text; display names
unique within a list and non-empty; the template names contain "%" and the
other names a backslash (completion could never offer them otherwise); the
minimum entry counts.

Usage: make_command_lists.py [--check]   (--check compares with commands/)
"""

import pathlib
import sys

ESC = "\x1b"
CARET = ESC + "c"
HELP = ESC + "h"
BREAK = ESC + "n"

ROOT = pathlib.Path(__file__).resolve().parent.parent
SOURCES = ROOT / "scripts" / "command_lists"
TARGET = ROOT / "commands"

# list file, source file, minimum number of entries, names must hold "%"
LISTS = [
    ("TeX_Command.txt", "TeX_Command.src", 300, False),
    ("TeX_Command_SP.txt", "TeX_Command_SP.src", 60, False),
    ("TeX_Command_Math.txt", "TeX_Command_Math.src", 250, False),
    ("TeX_Template.txt", "TeX_Template.src", 25, True),
]


class SourceError(Exception):
    pass


def parse(path):
    """Entries of a source file as (line number, command lines, help lines)."""
    entries = []
    command, help_lines, start = [], [], 0
    state = "between"

    def finish():
        while command and command[-1] == "":
            command.pop()
        entries.append((start, list(command), list(help_lines)))
        command.clear()
        help_lines.clear()

    lines = path.read_text(encoding="utf-8").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    for number, line in enumerate(lines, 1):
        if "\r" in line or "\t" in line:
            raise SourceError(f"{path.name}:{number}: CR or TAB in the source")
        if state == "help" and not line.startswith("= "):
            finish()
            state = "between"
        if state == "between":
            if line.strip() == "" or line.startswith("## "):
                continue
            if line.startswith("= "):
                raise SourceError(f"{path.name}:{number}: help line without a command")
            state, start = "command", number
            command.append(line)
        elif state == "command":
            if line.startswith("= "):
                state = "help"
                help_lines.append(line[2:])
            else:
                command.append(line)
        else:
            help_lines.append(line[2:])
    if state == "command":
        raise SourceError(f"{path.name}:{start}: entry without a help text")
    if state == "help":
        finish()
    return entries


def display_name(entry):
    """The first line of the command part without caret markers."""
    command = entry.split(HELP, 1)[0] if HELP in entry else ""
    return command.replace(CARET, "").split(BREAK, 1)[0]


def build(source_name, minimum, needs_percent):
    path = SOURCES / source_name
    lines, names = [], {}
    for number, command, help_lines in parse(path):
        where = f"{source_name}:{number}"
        text = "\n".join(command)
        if text.count("¦") != 1:
            raise SourceError(f"{where}: {text.count('¦')} caret marks, need exactly one")
        if not "".join(help_lines).strip():
            raise SourceError(f"{where}: empty help text")
        for piece in command + help_lines:
            if any(ord(ch) < 0x20 or ord(ch) == 0x7F for ch in piece):
                raise SourceError(f"{where}: control character in the text")
        entry = BREAK.join(command).replace("¦", CARET) + HELP + BREAK.join(help_lines)
        if "¦" in entry:
            raise SourceError(f"{where}: caret mark in the help text")
        name = display_name(entry)
        if not name.strip():
            raise SourceError(f"{where}: empty display name")
        if needs_percent and "%" not in name:
            raise SourceError(f"{where}: template name without \"%\": {name}")
        if not needs_percent and "\\" not in name:
            # Completion filters by the typed text from its backslash on.
            raise SourceError(f"{where}: command name without a backslash: {name}")
        if name in names:
            raise SourceError(f"{where}: display name {name!r} already at line {names[name]}")
        names[name] = number
        try:
            encoded = entry.encode("cp932")
        except UnicodeEncodeError as error:
            bad = entry[error.start:error.end]
            raise SourceError(f"{where}: {bad!r} has no Shift-JIS (CP932) code") from None
        if encoded.decode("cp932") != entry:
            raise SourceError(f"{where}: does not round-trip through CP932")
        lines.append(encoded)
    if len(lines) < minimum:
        raise SourceError(f"{source_name}: {len(lines)} entries, need at least {minimum}")
    return b"".join(line + b"\r\n" for line in lines), len(lines)


def main(argv):
    check_only = "--check" in argv[1:]
    try:
        built = [(name, *build(source, minimum, percent))
                 for name, source, minimum, percent in LISTS]
    except SourceError as error:
        print(f"error: {error}", file=sys.stderr)
        return 1
    stale = False
    for name, data, count in built:
        target = TARGET / name
        if check_only:
            if not target.exists() or target.read_bytes() != data:
                print(f"{name}: differs from its source; run scripts/make_command_lists.py")
                stale = True
            continue
        TARGET.mkdir(exist_ok=True)
        target.write_bytes(data)
        print(f"{name}: {count} entries")
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
