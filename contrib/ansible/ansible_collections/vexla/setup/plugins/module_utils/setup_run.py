# What the module vexla.setup.install reads from setup and decides on it:
# the JSON objects of `setup verify --json`, `setup preview --json` and
# `setup history --json`, the
# "ERROR: ..." lines of setup's standard error, the medium's digest and
# signer, and whether the host keeps keys to check signatures with.
# Standard library only, so that it runs on every managed host and its
# unit test runs without Ansible.
import hashlib
import json
import os
import re

CHECKSUM_FILES = ("sha256", "SHA256")

# The public keys setup checks a medium's signature with; it checks only
# when the folder holds one (and refuses a folder anybody but root could
# have written).
KEY_FOLDER = "/etc/Vexla/keys"
NO_SIGNER = dict(state="not recorded", key_id="", trusted_comment="")

# The answers setup reads on standard input, in the order it may ask:
# whether to go on over an earlier installation whose daemon is there
# (y/n), and what to do while programs still run (1 wait, 2 quit). The two
# sets of answers share no word, and setup asks again on an answer it does
# not take, so the same input is right whichever of the questions it asks.
RUNNING_PROGRAMS = {"wait": "1", "quit": "2"}


def answers(over_earlier, running_programs):
    return ("y" if over_earlier else "n") + "\n" + RUNNING_PROGRAMS[running_programs] + "\n"


# The characters setup takes in a directory of its command line as they
# stand; its own limit on the length.
PLAIN_PATH = re.compile(r"/[A-Za-z0-9/._+,@:=-]*")
MAX_PATH = 200


def is_plain_absolute_path(text):
    """Whether text may go onto setup's command line as a directory: an
    absolute path of plain characters. Anything else (keep, remove, a
    relative name) would be read as one of setup's words or made absolute
    in its own way."""
    return isinstance(text, str) and len(text) <= MAX_PATH and PLAIN_PATH.fullmatch(text) is not None


def medium_digest(medium):
    """SHA-256 of the medium's checksum file, or None when it has none."""
    for name in CHECKSUM_FILES:
        path = os.path.join(medium, name)
        if os.path.isfile(path):
            with open(path, "rb") as f:
                return hashlib.sha256(f.read()).hexdigest()
    return None


def parse_json_object(out):
    """The one JSON object setup wrote (bytes or text); None when there is
    none. setup writes every byte from 0x80 up as \\u00XX, so each name comes
    back as the same bytes read as ISO 8859-1."""
    if isinstance(out, bytes):
        out = out.decode("latin-1")
    try:
        value = json.loads(out.strip())
    except ValueError:
        return None
    return value if isinstance(value, dict) else None


def lines(out):
    """Output (bytes or text) as a list of lines."""
    if isinstance(out, bytes):
        out = out.decode("latin-1")
    return out.splitlines()


def failed_steps(err):
    """The steps setup names as failed on standard error ("ERROR: ..."),
    without its closing count of them."""
    steps = []
    for line in lines(err):
        if line.startswith("ERROR: "):
            text = line[len("ERROR: "):]
            if " of the installation failed; the log " in text or text.startswith("and ") and text.endswith(" more"):
                continue
            steps.append(text)
    return steps


def signer(report):
    """Who signed the medium, as a verify or preview report gives it:
    state ("checked", "not checked", "unsigned", or "not recorded" where the
    report has none), key_id and trusted_comment."""
    found = (report or {}).get("signature")
    return dict(NO_SIGNER, **found) if isinstance(found, dict) else dict(NO_SIGNER)


def keys_kept(folder=KEY_FOLDER):
    """Whether the host keeps a public key setup checks signatures with."""
    try:
        return any(name.endswith(".pub") for name in os.listdir(folder))
    except OSError:
        return False


def is_current(verify, digest, require_checked=False):
    """Whether the host holds this medium's installation unchanged: verify
    found no difference and the manifest records this medium (and, with
    require_checked, that its signature was checked)."""
    return (verify is not None and verify.get("status") == 0 and digest is not None
            and verify.get("medium_sha256") == digest
            and (not require_checked or signer(verify)["state"] == "checked"))


def difference_lines(verify):
    """verify's differences as lines "kind path: want is have"."""
    out = []
    for d in (verify or {}).get("differences", []):
        line = "%s %s" % (d.get("kind", ""), d.get("path", ""))
        if d.get("want") or d.get("have"):
            line += ": %s is %s" % (d.get("want", ""), d.get("have", ""))
        out.append(line)
    return out


def preview_lines(preview):
    """The preview's command lines, then what it would write and ask."""
    preview = preview or {}
    return list(preview.get("lines", [])) + list(preview.get("notes", []))


# A line of setup's usage (--help) that offers the word history.
HISTORY_USAGE = re.compile(r"^\s*(usage:\s*)?setup history\b", re.MULTILINE)


def offers_history(usage):
    """Whether setup's usage (bytes or text) names `setup history`. A
    setup without the word takes it for its work area: it would take the
    host's lock and start its log anew, emptying the log of the run just
    made, so the module asks only a setup whose usage offers it."""
    if isinstance(usage, bytes):
        usage = usage.decode("latin-1")
    return HISTORY_USAGE.search(usage) is not None


def last_history_entry(rc, out):
    """The last (newest) entry of `setup history --json`; {} when setup
    knows no history (it answers with its usage and a status other than
    0), the history is empty or its output is no such object."""
    report = parse_json_object(out) if rc == 0 else None
    entries = (report or {}).get("entries")
    if isinstance(entries, list) and entries and isinstance(entries[-1], dict):
        return entries[-1]
    return {}
