#!/usr/bin/env python3
"""Fails when the installer writes a text for a person from a string literal
instead of its message tables (installer/setup_messages.cpp), which speak the
run's language.

It reads every source of the folders given (tests and the tables aside) and
flags a call of a writing function (printf, fprintf, puts, fputs,
FatalError, SysError, ErrorMsg, NoteFailedStep, PreviewNote,
RefuseDirectory, PreviewFails, SayKept, SayNotRestored, SayToStderr) whose
text argument is a literal holding a word, and a reason (why, error) given a literal with
a word. Conversions (%s, %d) and escapes do not count as words, so
"%s: %s\\n" passes. What goes to a file or a program (the run log, JSON,
manifests, scripts) is written with other functions or listed in ALLOWED.

The libraries setup shares with the tools (util/, syscmd/, given after
--libraries) build their texts for a person from UtilText.h, which setup
fills from its tables: there every literal that holds a phrase (two words
in a row) is flagged, wherever it stands, but for the run log's lines
(PutLogMsg, which stay English), the English defaults themselves
(UtilText.cpp), the files that only the tools link (TOOLS_ONLY) and the
phrases of a file format (ALLOWED).

    tests/message_literals.py installer [more folders] [--libraries util syscmd]
"""
import pathlib
import re
import sys

# The argument that holds the text, by function.
TEXT_ARGUMENT = {
    "printf": 0, "puts": 0, "fputs": 0, "fprintf": 1, "FatalError": 0, "SysError": 0, "ErrorMsg": 2,
    "NoteFailedStep": 0, "PreviewNote": 0, "RefuseDirectory": 0, "PreviewFails": 0, "SayKept": 1,
    "SayNotRestored": 1, "SayToStderr": 0,
}
# Literals that may stand where a person reads: (file name, literal).
# Nothing is allowed today; a text for a file or a program goes here with
# its reason.
ALLOWED = {
    # The comment lines of minisign's key and signature files.
    ("Minisign.cpp", "untrusted comment: "),
    ("Minisign.cpp", "trusted comment: "),
}
# Library files that only the tools link: their texts stay English.
TOOLS_ONLY = {"MinisignSign.cpp"}
# Library files whose literals are the English texts themselves.
TEXT_TABLES = {"setup_messages.cpp", "UtilText.cpp"}

CALL = re.compile(r"\b(?:std::)?(" + "|".join(TEXT_ARGUMENT) + r")\s*\(")
REASON = re.compile(r"(?:\bwhy|\berror|->why)\s*=\s*(\"(?:[^\"\\]|\\.)*\")")
CONVERSION = re.compile(r"%[-+ #0'*]*[0-9*]*(?:\.[0-9*]+)?(?:hh|h|ll|l|L|j|z|t)?[diouxXeEfgGcsp%]")
WORD = re.compile(r"[A-Za-z]{2,}")
PHRASE = re.compile(r"[A-Za-z']{2,} +[A-Za-z']{2,}")
LOG_CALL = re.compile(r"\bPutLogMsg\s*\(")


def strip_comments(text):
    """The source with comments blanked, string literals kept."""
    out, i, n = [], 0, len(text)
    while i < n:
        if text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            out.append(" " * ((n if j < 0 else j + 2) - i))
            i = n if j < 0 else j + 2
        elif text[i] in "\"'":
            quote, j = text[i], i + 1
            while j < n and text[j] != quote:
                j += 2 if text[j] == "\\" else 1
            out.append(text[i:j + 1])
            i = j + 1
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def arguments(text, start):
    """The arguments of the call whose '(' is at start, as source texts."""
    args, depth, i, begin = [], 0, start, start + 1
    while i < len(text):
        c = text[i]
        if c in "\"'":
            quote, i = c, i + 1
            while i < len(text) and text[i] != quote:
                i += 2 if text[i] == "\\" else 1
        elif c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
            if depth == 0:
                args.append(text[begin:i].strip())
                return args
        elif c == "," and depth == 1:
            args.append(text[begin:i].strip())
            begin = i + 1
        i += 1
    return args


def literal_text(arg):
    """The text of an argument made only of string literals, else None."""
    parts = re.findall(r"\"((?:[^\"\\]|\\.)*)\"", arg)
    if not parts or re.sub(r"\"(?:[^\"\\]|\\.)*\"", "", arg).strip():
        return None
    return "".join(parts)


def has_word(literal):
    return WORD.search(CONVERSION.sub("", re.sub(r"\\.", " ", literal))) is not None


def findings(name, source):
    text = strip_comments(source)
    found = []
    for m in CALL.finditer(text):
        args = arguments(text, m.end() - 1)
        at = TEXT_ARGUMENT[m.group(1)]
        literal = literal_text(args[at]) if at < len(args) else None
        if literal is not None and has_word(literal) and (name, literal) not in ALLOWED:
            found.append((text.count("\n", 0, m.start()) + 1, m.group(1), literal))
    for m in REASON.finditer(text):
        literal = literal_text(m.group(1))
        if literal is not None and has_word(literal) and (name, literal) not in ALLOWED:
            found.append((text.count("\n", 0, m.start()) + 1, "reason", literal))
    return found


def string_literals(text):
    """(position, text) of every string literal, character literals passed over."""
    i, n = 0, len(text)
    while i < n:
        if text[i] in "\"'":
            quote, j = text[i], i + 1
            while j < n and text[j] != quote:
                j += 2 if text[j] == "\\" else 1
            if quote == '"':
                yield i, text[i + 1:j]
            i = j + 1
        else:
            i += 1


def library_findings(name, source):
    """Every literal of a library source that holds a phrase, the run log's
    lines and #include lines aside."""
    text = strip_comments(source)
    logged = []
    for m in LOG_CALL.finditer(text):
        args = arguments(text, m.end() - 1)
        logged.append((m.start(), m.end() + sum(len(a) + 1 for a in args)))
    found = []
    for at, body in string_literals(text):
        line_start = text.rfind("\n", 0, at) + 1
        if text[line_start:at].lstrip().startswith("#") or any(a <= at < b for a, b in logged):
            continue
        if PHRASE.search(CONVERSION.sub(" ", re.sub(r"\\.", " ", body))) and (name, body) not in ALLOWED:
            found.append((text.count("\n", 0, at) + 1, "literal", body))
    return found


def self_check():
    """The check itself catches what it is for, and passes what it should."""
    flagged = [
        'std::printf("%s is removed\\n", dir);',
        'std::fprintf(stderr, "ERROR: %s: not changed\\n", p);',
        'FatalError("path too long: %s/%s",\n dir, file);',
        'NoteFailedStep("%s was not run", p);',
        '*why = "it is not empty";',
        'SayNotRestored(e.path, "a folder stands " "there");',
    ]
    passed = [
        'std::printf("%s\\n", line.c_str());',
        'std::fprintf(stderr, "%s: %s\\n", my_name, why);',
        'FatalError(NlsSetupStrCvt(227), dir);',
        'PutLogMsg("removed %s\\n", p);',
        '// std::printf("a comment: %s", x);',
        'std::printf("%s? [y/n] ", NlsSetupStrCvt(9));',
        'SysCmd(kCmdChmod, kSevWarning, "4755 %s/%s", AppDir, name);',
    ]
    library_flagged = [
        'return "it is a symbolic link";',
        '*block = {shown, std::string("cannot be reached: ") + std::strerror(errno)};',
        'FormatText(what, size, "exit status %d", code);',
        'std::fprintf(stderr, "ERROR: couldn\'t write %s\\n", path);',
    ]
    library_passed = [
        'PutLogMsg("ERROR: Time out for command %s\\n",\n name);',
        '#include "utils.h"',
        'line.Append(" 1>>%s/%s.log 2>>%s/%s.log", a, b, c, d);',
        'SayUtilError(UtilText::kCouldNotOpen, path);',
        '// return "a comment only";',
        'if (c == \'"\' || c == \'\\\'\') return "%s";',
    ]
    for check, must_flag, must_pass in ((findings, flagged, passed),
                                        (library_findings, library_flagged, library_passed)):
        for snippet in must_flag:
            assert check("x.cpp", snippet), "not flagged: " + snippet
        for snippet in must_pass:
            assert not check("x.cpp", snippet), "flagged: " + snippet


def main(words):
    self_check()
    at = words.index("--libraries") if "--libraries" in words else len(words)
    bad = 0
    for folders, check in ((words[:at], findings), (words[at + 1:], library_findings)):
        for folder in folders:
            for path in sorted(pathlib.Path(folder).glob("*.cpp")):
                if path.name.endswith("_test.cpp") or path.name in TEXT_TABLES or path.name in TOOLS_ONLY:
                    continue
                for line, call, literal in check(path.name, path.read_text(encoding="utf-8")):
                    print(f"{path}:{line}: {call} writes a literal text, not one of the message tables: \"{literal}\"")
                    bad += 1
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
