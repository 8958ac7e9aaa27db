#!/usr/bin/python3
# Installs or removes the Vexla print software with setup, from a medium
# that is already on the managed host.
from __future__ import annotations

DOCUMENTATION = r"""
---
module: install
short_description: Install or remove the Vexla print software with setup
version_added: "1.0.0"
description:
  - Runs C(setup) from an installation medium that is already on the managed
    host (copied or mounted there), as root.
  - With I(state=present) it installs unless the host already holds this
    medium's installation unchanged, that is when C(setup verify) finds no
    difference from the installation's manifest and the manifest records
    this medium (the SHA-256 of its checksum file). An installation that
    differs from its manifest is installed again.
  - In check mode it runs C(setup preview), which changes nothing, and
    reports C(changed) as the real run would; with C(--diff) it shows the
    preview's lines, or, when the preview fails, the reason.
  - With I(state=absent) it runs C(setup remove), which takes away only what
    a manifest root alone could have written lists. A host without such a
    manifest but with the product's tree (I(dest)/Vexla/vpxx), its notes
    C(setup.made) or the wrapper C(/usr/bin/vprint) fails, naming the
    reason, since the installation is not away.
  - It reads C(setup verify --json) and C(setup preview --json), and the
    C(ERROR:) lines setup writes on standard error for the failed steps;
    after an installation or a removal, C(setup history --json) where the
    usage of setup offers it.
options:
  medium:
    description: The medium's folder on the managed host (the one that holds C(setup)).
    type: path
    required: true
  dest:
    description:
      - The installation directory (the product goes to I(dest)/Vexla/vpxx).
      - Left out, setup's default, the directory of an earlier installation, else C(/usr).
    type: path
  state:
    description: Whether the product is to be installed or removed.
    type: str
    choices: [present, absent]
    default: present
  work_area:
    description:
      - setup's work area (its default is C(/tmp)); it may not lie inside the installation.
      - "An absolute path of letters, digits and C(/ . _ - + , @ : =) alone (at
        most 200 characters); any other value fails the task before setup runs."
    type: path
  over_earlier:
    description:
      - The answer to setup's question whether to go on over an earlier
        installation whose daemon is there. The module runs setup only when
        the installation is missing or differs from what the medium makes,
        so going on is what I(state=present) asks for.
      - With C(false) setup leaves the earlier installation as it is, and the
        task fails, since the state was not reached.
    type: bool
    default: true
  running_programs:
    description:
      - What to do while programs of the product still run when the package
        list asks. C(quit) ends the installation (the task fails, and the
        programs go on running), C(wait) waits for them (30 seconds, then the
        installation ends as with C(quit)).
    type: str
    choices: [quit, wait]
    default: quit
  wait_for_lock:
    description: When another setup is changing the host, wait for it to end instead of failing.
    type: bool
    default: false
  require_signature:
    description:
      - Install only from a medium whose signature setup checked against a
        key the host keeps in C(/etc/Vexla/keys) (setup then refuses an
        unsigned medium or one signed by another key itself).
      - Without a key kept there the task fails before setup runs; an
        installation in place counts as current only when its manifest
        records a checked signature, so one from an unchecked medium is
        installed again (and so checked).
    type: bool
    default: false
author:
  - Vexla setup developers
notes:
  - Runs as root (C(become)) on Linux hosts; needs Python 3 and nothing beyond its standard library.
  - Supports check mode and diff mode.
  - An older medium without a checksum file leaves no record of itself in
    the manifest, so such a medium is installed again on every run.
"""

EXAMPLES = r"""
- name: Install the print software from the medium copied to /srv/vexla-medium
  vexla.setup.install:
    medium: /srv/vexla-medium
    dest: /opt

- name: Show what an installation would do, changing nothing
  vexla.setup.install:
    medium: /srv/vexla-medium
    dest: /opt
  check_mode: true
  diff: true

- name: Take the print software off again
  vexla.setup.install:
    medium: /srv/vexla-medium
    dest: /opt
    state: absent
"""

RETURN = r"""
rc:
  description: The exit status of the last setup run (0 done, 1 failed, 2 refused).
  returned: always
  type: int
stdout_lines:
  description: What the last setup run printed on standard output.
  returned: always
  type: list
  elements: str
stderr_lines:
  description: What the last setup run printed on standard error.
  returned: always
  type: list
  elements: str
failed_steps:
  description: The steps setup named as failed (a damaged piece, no room, a refused path).
  returned: always
  type: list
  elements: str
differences:
  description: How the installation differed from its manifest before the run, one line a difference (kind, path, and what the manifest wants and the host has).
  returned: always
  type: list
  elements: str
preview:
  description: The preview's command lines, then the files, scripts and links it would write and the questions it would ask.
  returned: always, empty but in check mode with state=present
  type: list
  elements: str
kept:
  description: The paths a removal kept (what the manifest then lists).
  returned: always
  type: list
  elements: str
medium_sha256:
  description: The SHA-256 of the medium's checksum file, empty for a medium without one.
  returned: always
  type: str
signature:
  description:
    - Who signed the medium of the installation in place (as its manifest
      records it) or, in check mode, of the medium previewed.
    - C(state) is C(checked), C(not checked) (signed, but the host keeps no
      key), C(unsigned) or C(not recorded) (a manifest of an older setup, or
      no installation); C(key_id) is minisign's key id, C(trusted_comment)
      the signed comment (product folder, pieces, SHA-256 of the checksum file).
  returned: with state=present
  type: dict
  sample: {"state": "checked", "key_id": "3A5F0C1D2E4B6A78", "trusted_comment": "product vpxx pieces 3 sha256 5e8f..."}
history:
  description:
    - The host's last history entry after setup installed or removed (the
      newest of C(setup history --json)), whatever the run's outcome.
    - C(started) (UTC), C(seconds), C(action), C(dir), C(medium),
      C(medium_sha256), C(signer) (key id), C(status) (setup's exit status),
      C(failed_steps) (their count) and C(version).
    - Empty when setup keeps no history (an older setup, whose C(--help)
      names no C(setup history)), or it holds no entry or cannot be read;
      that never fails the task.
  returned: when setup ran an installation or a removal (not in check mode)
  type: dict
  sample: {"started": "2026-12-09T21:41:17Z", "seconds": 14, "action": "install", "dir": "/opt/Vexla/vpxx",
           "medium": "/srv/vexla-medium", "medium_sha256": "5e8f...", "signer": "", "status": 0,
           "failed_steps": 0, "version": "3.00.42"}
"""

import os

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.vexla.setup.plugins.module_utils.setup_run import (
    answers, difference_lines, failed_steps, is_current, is_plain_absolute_path, keys_kept, last_history_entry, lines,
    medium_digest, offers_history, parse_json_object, preview_lines, signer, KEY_FOLDER)

# setup's texts in English, its bytes as they are.
ENVIRONMENT = {"LC_ALL": "C", "LANG": "C"}

# What an installation leaves besides its tree: the wrapper, and the notes
# of a run that was stopped (in the tree, beside the manifest).
WRAPPER = "/usr/bin/vprint"
NOTES = "setup.made"


class Setup:
    """setup run from the medium, and the result the task builds up."""

    def __init__(self, module):
        self.module = module
        self.medium = module.params["medium"]
        self.program = os.path.join(self.medium, "setup")
        self.result = dict(changed=False, rc=0, stdout_lines=[], stderr_lines=[], failed_steps=[],
                           differences=[], preview=[], kept=[], medium_sha256="")

    def run(self, words, data=None, record=True):
        """setup with words; its status and output become the task's unless
        record is false (the verify around a run)."""
        rc, out, err = self.module.run_command([self.program] + words, cwd=self.medium, data=data,
                                               binary_data=True, encoding=None, environ_update=ENVIRONMENT)
        if record:
            self.result.update(rc=rc, stdout_lines=lines(out), stderr_lines=lines(err))
        return rc, out, err

    def change(self, words, data):
        """The run of setup that changes the host (an installation or a
        removal), then the host's last history entry in the result."""
        rc, out, err = self.run(words, data=data)
        self.result["history"] = {}
        usage_rc, usage, _ = self.run(["--help"], record=False)
        if usage_rc == 0 and offers_history(usage):
            history_rc, history_out, _ = self.run(["history", "--json"], record=False)
            self.result["history"] = last_history_entry(history_rc, history_out)
        return rc, out, err

    def dest_words(self):
        dest = self.module.params["dest"]
        return ["install", dest] if dest else []

    def area_words(self):
        area = self.module.params["work_area"]
        return [area] if area else []

    def verify(self):
        rc, out, err = self.run(["verify"] + self.dest_words() + ["--json"], record=False)
        report = parse_json_object(out)
        if report is None:
            self.fail("setup verify gave no JSON result", failed_steps=failed_steps(err))
        return report

    def fail(self, msg, **more):
        self.result.update(more)
        self.module.fail_json(msg=msg, **self.result)

    def done(self, changed, **more):
        self.result.update(more, changed=changed)
        self.module.exit_json(**self.result)

    def present(self):
        digest = medium_digest(self.medium)
        self.result["medium_sha256"] = digest or ""
        require = self.module.params["require_signature"]
        before = self.verify()
        if is_current(before, digest, require):
            self.done(False, signature=signer(before))
        self.result["differences"] = difference_lines(before)
        if require and not keys_kept():
            self.fail("require_signature: %s holds no key, so setup would not check the medium's signature"
                      % KEY_FOLDER, signature=signer(None))
        if self.module.check_mode:
            self.preview()
        rc, out, err = self.change(self.dest_words() + self.area_words() + self.lock_words(),
                                   answers(self.module.params["over_earlier"], self.module.params["running_programs"]))
        steps = failed_steps(err)
        if rc != 0:
            self.fail(self.reason("the installation failed", steps, rc), failed_steps=steps)
        after = self.verify()
        self.result["signature"] = signer(after)
        if not is_current(after, digest, require):
            found = difference_lines(after) or [after.get("reason") or "the manifest records another medium"]
            self.fail("setup ended with status 0 but this medium's installation is not in place (over_earlier: %s): %s"
                      % (self.module.params["over_earlier"], "; ".join(found)), failed_steps=steps)
        self.done(True)

    def preview(self):
        rc, out, err = self.run(["preview"] + self.dest_words() + ["--json"] + self.area_words())
        report = parse_json_object(out) or {}
        shown = preview_lines(report)
        self.result["preview"] = shown
        self.result["signature"] = signer(report)
        if rc != 0:
            steps = [report["reason"]] if report.get("reason") else failed_steps(err)
            self.fail_preview(self.reason("the installation would fail", steps, rc), failed_steps=steps)
        if self.module.params["require_signature"] and self.result["signature"]["state"] != "checked":
            self.fail_preview("require_signature: the medium's signature would not be checked (%s)"
                              % self.result["signature"]["state"])
        if self.module._diff:
            self.done(True, diff=dict(before="", after="\n".join(shown) + "\n", after_header="setup preview"))
        self.done(True)

    def fail_preview(self, msg, **more):
        """A failed preview; with --diff its reason is the diff, so that the
        reason stands where the preview's lines would."""
        if self.module._diff:
            more["diff"] = dict(before="", after=msg + "\n", after_header="setup preview (failed)")
        self.fail(msg, **more)

    def absent(self):
        before = self.verify()
        if before.get("status") == 2:
            # setup remove follows the manifest alone: without one it can
            # use, whatever of the product is there stays.
            left = remains_without_manifest(before.get("manifest"))
            reason = before.get("reason") or "no manifest"
            if before.get("manifest_state") == "missing" and not left:
                self.done(False)
            still = "; still on the host: " + ", ".join(left) if left else ""
            self.fail("the manifest %s cannot be used: %s%s" % (before.get("manifest"), reason, still),
                      failed_steps=[reason])
        self.result["differences"] = difference_lines(before)
        if self.module.check_mode:
            self.done(True)
        # A changed copy is removed only when confirmed: the answer is no.
        rc, out, err = self.change(["remove"] + self.dest_words() + self.lock_words(), b"n\n")
        if rc == 0:
            self.done(True)
        steps = failed_steps(err)
        if rc == 1:
            remains = self.verify()
            self.result["kept"] = remains.get("paths", [])
            self.fail("setup remove kept %d paths" % len(self.result["kept"]), changed=True, failed_steps=steps)
        self.fail(self.reason("the removal failed", steps, rc), failed_steps=steps)

    def lock_words(self):
        return ["wait"] if self.module.params["wait_for_lock"] else []

    def reason(self, what, steps, rc):
        said = steps or self.result["stderr_lines"][-1:] or self.result["stdout_lines"][-1:]
        return "%s (setup status %d): %s" % (what, rc, "; ".join(said) or "no reason given")


def remains_without_manifest(manifest):
    """What of an installation is on the host: its tree (the manifest's
    folder), the notes in it and the wrapper."""
    tree = os.path.dirname(manifest) if manifest else ""
    places = [tree, os.path.join(tree, NOTES)] if tree else []
    return [p for p in places + [WRAPPER] if os.path.lexists(p)]


def main():
    module = AnsibleModule(
        argument_spec=dict(
            medium=dict(type="path", required=True),
            dest=dict(type="path"),
            state=dict(type="str", choices=["present", "absent"], default="present"),
            work_area=dict(type="path"),
            over_earlier=dict(type="bool", default=True),
            running_programs=dict(type="str", choices=["quit", "wait"], default="quit"),
            wait_for_lock=dict(type="bool", default=False),
            require_signature=dict(type="bool", default=False),
        ),
        supports_check_mode=True,
    )
    setup = Setup(module)
    area = module.params["work_area"]
    if area is not None and not is_plain_absolute_path(area):
        # Another word would be one of setup's own (keep, remove ...).
        setup.fail("work_area must be an absolute path of letters, digits and / . _ - + , @ : = "
                   "(at most 200 characters): %r" % area)
    if not os.path.isfile(setup.program):
        setup.fail("no setup in the medium %s" % setup.medium)
    if module.params["state"] == "present":
        setup.present()
    setup.absent()


if __name__ == "__main__":
    main()
