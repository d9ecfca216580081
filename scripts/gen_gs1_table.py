#!/usr/bin/env python3
"""Generates src/gs1/ai_table.h, the library's table of GS1 Application Identifiers, from GS1's
Barcode Syntax Dictionary and the code lists its checks use.

Usage: scripts/gen_gs1_table.py DICTIONARY CODE_LISTS [OUTPUT]
  DICTIONARY  gs1-syntax-dictionary.txt as GS1 publishes it (Apache License 2.0)
  CODE_LISTS  one list a line: the check's name, then the values it accepts
  OUTPUT      defaults to src/gs1/ai_table.h beside this script's project

Every AI of a range becomes a row of its own. Formats shared by many AIs are written once. The
script refuses what it does not understand (an unknown flag, a malformed component or relation),
and a check the library does not implement fails the build, since its enumerator is missing.
Python 3 standard library only.
"""
import os
import re
import sys

CSETS = {"N": "kNumeric", "X": "kCset82", "Y": "kCset39", "Z": "kCset64"}
MAX_CHECKS = 3
MAX_COMPONENTS = 5
COMPONENT = re.compile(r"^(\[)?([NXYZ])(\d+|\.\.\d+)(\])?((?:,[a-z0-9]+)*)$")
AI_RANGE = re.compile(r"^(\d{2,4})(?:-(\d{2,4}))?$")
PATTERN = re.compile(r"^[0-9n]{2,4}$")


def fail(message):
    sys.exit("gen_gs1_table.py: " + message)


def read_release(lines):
    for line in lines:
        match = re.match(r"^#\s*Release:\s*(\S.*?)\s*$", line)
        if match:
            return match.group(1)
    return "unknown"


def read_licence_notice(lines):
    """The copyright and licence lines of the dictionary's header, reproduced in the output."""
    notice, keep = [], False
    for line in lines:
        if not line.startswith("#"):
            break
        text = line[1:].strip()
        if text.startswith("Copyright"):
            keep = True
        if keep:
            notice.append(text)
    while notice and not notice[-1]:
        notice.pop()
    return notice


def parse_component(text, ai):
    match = COMPONENT.match(text)
    if not match or bool(match.group(1)) != bool(match.group(4)):
        fail(f"AI {ai}: cannot read component '{text}'")
    optional, cset, length, _, checks = match.groups()
    if length.startswith(".."):
        low, high = 1, int(length[2:])
    else:
        low = high = int(length)
    names = [c for c in checks.split(",") if c]
    if len(names) > MAX_CHECKS:
        fail(f"AI {ai}: more than {MAX_CHECKS} checks on '{text}'")
    return (CSETS[cset], low, high, bool(optional), tuple(names))


def parse_relation(value, ai):
    """req= and ex= values: alternatives separated by ',', a group of AIs joined by '+'."""
    for group in value.split(","):
        for pattern in group.split("+"):
            if not PATTERN.match(pattern):
                fail(f"AI {ai}: cannot read relation '{value}'")
    return value


def parse_entry(line):
    """One dictionary line: AIs, flags, components, attributes, title."""
    body, _, title = line.partition("#")
    tokens = body.split()
    match = AI_RANGE.match(tokens[0])
    if not match:
        fail(f"cannot read AI '{tokens[0]}'")
    first, last = match.group(1), match.group(2) or match.group(1)
    if len(first) != len(last) or int(last) < int(first):
        fail(f"bad AI range '{tokens[0]}'")
    rest = tokens[1:]
    flags = ""
    if rest and not COMPONENT.match(rest[0]) and "=" not in rest[0] and rest[0] != "dlpkey":
        flags = rest.pop(0)
        if set(flags) - set("*?"):
            fail(f"AI {first}: unknown flags '{flags}'")
    components, requires, excludes = [], [], []
    for token in rest:
        if COMPONENT.match(token):
            if requires or excludes:
                fail(f"AI {first}: component after the attributes")
            components.append(parse_component(token, first))
        elif token.startswith("req="):
            requires.append(parse_relation(token[4:], first))
        elif token.startswith("ex="):
            excludes.append(parse_relation(token[3:], first))
        elif token == "dlpkey" or token.startswith("dlpkey="):
            pass  # Digital Link keys: no rule of the element string
        else:
            fail(f"AI {first}: unknown attribute '{token}'")
    check_components(first, components)
    return {
        "ais": [str(n).zfill(len(first)) for n in range(int(first), int(last) + 1)],
        "predefined": "*" in flags,
        "components": tuple(components),
        # Several req= keys must each hold: kept apart by a space. Several ex= keys are one list.
        "requires": " ".join(requires),
        "excludes": ",".join(excludes),
        "title": title.strip(),
    }


def check_components(ai, components):
    if not components or len(components) > MAX_COMPONENTS:
        fail(f"AI {ai}: {len(components)} components")
    for i, (_, low, high, optional, _) in enumerate(components):
        if low != high and i != len(components) - 1:
            fail(f"AI {ai}: only the last component may vary in length")
        if not optional and any(c[3] for c in components[:i]):
            fail(f"AI {ai}: a mandatory component follows an optional one")


def read_code_lists(path):
    lists = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            name, *values = line.split()
            lists[name] = values
    return lists


def check_enumerator(name):
    return "Check::k" + name[0].upper() + name[1:]


def c_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def format_row(components):
    parts = []
    for cset, low, high, optional, checks in components:
        names = ", ".join(check_enumerator(c) for c in checks)
        parts.append(f"{{Cset::{cset}, {low}, {high}, {str(optional).lower()}, {{{names}}}}}")
    return f"    {{{len(components)}, {{{', '.join(parts)}}}}},"


def code_list_lines(name, values):
    """A code list as one space-separated text, split into string literals of a few dozen codes."""
    text = " ".join(values)
    chunks, line = [], ""
    for value in values:
        if len(line) + len(value) + 1 > 88:
            chunks.append(line)
            line = ""
        line += value + " "
    chunks.append(line.rstrip())
    identifier = "k" + name[0].upper() + name[1:] + "Codes"
    body = "\n".join("    " + c_string(c) for c in chunks)
    assert "".join(chunks).split() == text.split()
    return f"// {name}: {len(values)} codes\ninline constexpr char {identifier}[] =\n{body};\n"


def generate(dictionary_path, code_lists_path):
    with open(dictionary_path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    release = read_release(lines)
    notice = read_licence_notice(lines)
    entries = [parse_entry(line) for line in lines if line.strip() and not line.startswith("#")]
    code_lists = read_code_lists(code_lists_path)

    # The element string finds an AI by its digits alone: no AI may start another.
    all_ais = [ai for entry in entries for ai in entry["ais"]]
    for ai in all_ais:
        if any(other != ai and other.startswith(ai) for other in all_ais):
            fail(f"AI {ai} is the start of another AI")

    formats = []
    for entry in entries:
        if entry["components"] not in formats:
            formats.append(entry["components"])
    rows = []
    previous = None
    for entry in entries:
        for ai in entry["ais"]:
            if previous is not None and ai <= previous:
                fail(f"AI {ai} out of lexical order")
            previous = ai
            rows.append(
                f"    {{{c_string(ai)}, {formats.index(entry['components'])}, "
                f"{str(entry['predefined']).lower()}, {c_string(entry['requires'])}, "
                f"{c_string(entry['excludes'])}, {c_string(entry['title'])}}},")

    out = []
    out.append("// GS1 Application Identifiers: every AI with the format of its value (components,")
    out.append("// character sets, lengths, checks), whether its length is predefined (no separator")
    out.append("// follows it) and the AIs it requires or excludes; and the code lists of the checks.")
    out.append("//")
    out.append("// GENERATED by scripts/gen_gs1_table.py from GS1's Barcode Syntax Dictionary,")
    out.append(f"// release: {release}. Do not edit; rerun the script on a new release.")
    out.append("// The dictionary is GS1's, published under the Apache License 2.0 (the licence text:")
    out.append("// src/gs1/LICENSE-gs1-syntax-dictionary.txt); its notice:")
    out.append("//")
    out.extend(("//   " + n).rstrip() for n in notice)
    out.append("//")
    out.append("// clang-format off")
    out.append("#pragma once")
    out.append("")
    out.append('#include "gs1/ai_entry.h"')
    out.append("")
    out.append("namespace ecc200::gs1 {")
    out.append("")
    out.append(f"inline constexpr char kDictionaryRelease[] = {c_string(release)};")
    out.append("")
    out.append("// The distinct formats: component count, then {character set, shortest, longest,")
    out.append("// optional, checks} of each component.")
    out.append("inline constexpr Format kFormats[] = {")
    out.extend(format_row(f) for f in formats)
    out.append("};")
    out.append("")
    out.append("// {AI, format, predefined length, req= (alternatives by ',', groups by '+', separate")
    out.append("// requirements by ' '), ex=, title}, in lexical order of the AI.")
    out.append("inline constexpr AiEntry kAiTable[] = {")
    out.extend(rows)
    out.append("};")
    out.append("")
    for name in sorted(code_lists):
        out.append(code_list_lines(name, code_lists[name]))
    out.append("}  // namespace ecc200::gs1")
    return "\n".join(out) + "\n"


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    output = sys.argv[3] if len(sys.argv) == 4 else os.path.join(root, "src", "gs1", "ai_table.h")
    text = generate(sys.argv[1], sys.argv[2])
    with open(output, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


if __name__ == "__main__":
    main()
