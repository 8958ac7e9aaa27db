#!/usr/bin/env python3
"""Rewrites the non-ASCII letters of a C++ source's string literals as ISO
8859-1 \\x escapes, in place, so that every compiler makes the same bytes
without an execution character set option. Write a translation in UTF-8,
then run: scripts/latin1-literals.py installer/setup_messages.cpp
An escape followed by a hex digit ends its literal ("entr\\xE9" "e"), so
the digit is not read as part of the escape. Running it again changes nothing.
"""
import sys

HEX = set("0123456789abcdefABCDEF")


def rewrite(text):
    out = []
    in_string = False
    i = 0
    pending_escape = False  # the last thing written was a \x escape
    while i < len(text):
        c = text[i]
        if not in_string:
            out.append(c)
            if c == '"' and (i == 0 or text[i - 1] != "'"):
                in_string = True
            elif c == "/" and text.startswith("//", i):
                end = text.find("\n", i)
                end = len(text) if end < 0 else end
                out.append(text[i + 1:end])
                i = end
                continue
            i += 1
            continue
        if c == "\\":
            out.append(text[i:i + 2])
            pending_escape = False
            i += 2
            continue
        if c == '"':
            in_string = False
            pending_escape = False
            out.append(c)
            i += 1
            continue
        if ord(c) > 127:
            code = ord(c)
            if code > 255:
                sys.exit(f"not an ISO 8859-1 letter: {c!r}")
            out.append(f"\\x{code:02X}")
            pending_escape = True
            i += 1
            continue
        if pending_escape and c in HEX:
            out.append('" "')
        pending_escape = False
        out.append(c)
        i += 1
    return "".join(out)


for path in sys.argv[1:]:
    with open(path, encoding="utf-8") as f:
        text = f.read()
    new = rewrite(text)
    if new != text:
        with open(path, "w", encoding="ascii") as f:
            f.write(new)
