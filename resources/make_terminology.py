#!/usr/bin/env python3
"""Writes Terminology.rc, the scripting terminology embedded as AETE 16000.

The host reads it to name the event "Stellane", its parameters and the glue
modes in recorded actions. The parameters come from the scripted rows of
src/params/ParamRows.def (in their terminology order), the glue modes from
kGlueModeNames in src/glue/GlueNames.cpp, so a name is written once.

Windows layout of an 'aete' resource: little-endian numbers, Pascal strings
without padding, four-character codes stored as the number they spell (so
their characters appear reversed).

The build runs it: make_terminology.py ParamRows.def GlueNames.cpp Terminology.rc
"""
import re
import sys

# Glue modes 60 and 61 came after the terminology was published; recorded
# actions name the others by these codes, so the list stays as it is.
GLUE_MODES_WITHOUT_TERMS = {60, 61}

FLAG_OPTIONAL = 0x8000
FLAG_ENUMERATED = 0x2000


def split_args(text):
    """The top-level comma-separated arguments of a macro call's body."""
    args, depth, quoted, current = [], 0, False, ""
    for c in text:
        if quoted:
            quoted = c != '"'
        elif c == '"':
            quoted = True
        elif c == "(":
            depth += 1
        elif c == ")":
            depth -= 1
        elif c == "," and depth == 0:
            args.append(current.strip())
            current = ""
            continue
        current += c
    args.append(current.strip())
    return args


def unquote(arg):
    assert arg.startswith('"') and arg.endswith('"'), arg
    return arg[1:-1]


def scripted_params(def_text):
    """(key, type, name, description, flags) of each scripted row, in order."""
    rows = []
    for line in def_text.splitlines():
        line = line.strip()
        if not line.startswith("PARAM("):
            continue
        args = split_args(line[len("PARAM("):line.rindex(")")])
        field, kind, index, key, name, description = args[:6]
        if int(index) == 0:
            continue
        enumerated = kind == "Glue"
        rows.append((int(index), unquote(key), "GLty" if enumerated else "long", unquote(name),
                     unquote(description),
                     FLAG_OPTIONAL | (FLAG_ENUMERATED if enumerated else 0)))
    rows.sort()
    assert [r[0] for r in rows] == list(range(1, len(rows) + 1)), "script positions 1..n"
    return [r[1:] for r in rows]


def glue_names(cpp_text):
    block = re.search(r"kGlueModeNames\[kGlueModeCount\]\s*=\s*\{(.*?)\};", cpp_text, re.S)
    return re.findall(r'"([^"]*)"', block.group(1))


def byte_text(values):
    return '"' + "".join("\\x%02x" % v for v in values) + '"'


def word(n):
    return byte_text([n & 0xFF, n >> 8])


def reversed_code(code):
    return '"%s"' % code[::-1]


def pascal(text):
    return '%s, "%s"' % (byte_text([len(text)]), text)


def terminology(params, glues):
    lines = []

    def item(value, comment):
        lines.append("  %s,  // %s" % (value, comment))

    item(word(1), "reserved word of the Windows layout")
    item(byte_text([1]), "major version")
    item(byte_text([1]), "minor version")
    item(word(0), "language")
    item(word(0), "script")
    item(word(1), "suite count")
    item(pascal("Quillwork"), "suite name")
    item(pascal("Stellane"), "suite description")
    item(reversed_code("Zrnb"), "suite id 'Zrnb'")
    item(word(1), "suite level")
    item(word(1), "suite version")
    item(word(1), "event count")
    item(pascal("Stellane"), "event name")
    item(pascal("Makes stars and nebulae"), "event description")
    item(reversed_code("Zrnb"), "event class 'Zrnb'")
    item(reversed_code("Zrnb"), "event id 'Zrnb'")
    item(reversed_code("null"), "reply type 'null'")
    item(byte_text([0]), "reply description (empty)")
    item(word(0), "reply flags")
    item(reversed_code("#ImR"), "direct parameter type '#ImR'")
    item(byte_text([0]), "direct parameter description (empty)")
    item(word(0xB000), "direct parameter flags")
    item(word(len(params)), "parameter count")
    for key, type_, name, description, flags in params:
        item(pascal(name), "name")
        item(reversed_code(key), "key '%s'" % key)
        item(reversed_code(type_), "type '%s'" % type_)
        item(pascal(description), "description")
        item(word(flags), "flags: optional" + (", enumerated" if flags & FLAG_ENUMERATED else ""))
    item(word(0), "class count")
    item(word(0), "comparison operator count")
    item(word(1), "enumeration count")
    item(reversed_code("GLty"), "enumeration type 'GLty'")
    modes = [(n, name) for n, name in enumerate(glues, 1) if n not in GLUE_MODES_WITHOUT_TERMS]
    item(word(len(modes)), "enumerator count")
    for n, name in modes:
        code = "GL%02d" % n
        item(pascal(name), "name")
        item(reversed_code(code), "code '%s'" % code)
        item(pascal(name), "description")
    # The resource's last value takes no comma.
    lines[-1] = lines[-1].replace(",  //", "  //", 1)
    return lines


HEADER = """\
// Scripting terminology: the event "Stellane" with its 26 parameters and the
// glue enumeration, in the Windows binary layout of an 'aete' resource (little-
// endian numbers, Pascal strings without padding). Four-character codes are
// stored as little-endian numbers, so their characters appear reversed.
LANGUAGE 0, 0
16000 AETE
BEGIN
"""


def main():
    def_path, glue_path, out_path = sys.argv[1:4]
    with open(def_path, encoding="utf-8") as f:
        params = scripted_params(f.read())
    with open(glue_path, encoding="utf-8") as f:
        glues = glue_names(f.read())
    text = HEADER + "\n".join(terminology(params, glues)) + "\nEND\n"
    with open(out_path, "w", encoding="ascii", newline="\n") as f:
        f.write(text)


if __name__ == "__main__":
    main()
