# The module's reading of setup's results, without Ansible.
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "plugins", "module_utils"))
import setup_run  # noqa: E402

DIGEST = "a" * 64


class SetupRunTest(unittest.TestCase):
    def test_json_names_come_back_as_their_bytes(self):
        report = setup_run.parse_json_object(b'{"status":1,"differences":[{"kind":"content",'
                                             b'"path":"/opt/caf\\u00e9 \\u000a","want":"","have":""}]}\n')
        self.assertEqual(report["differences"][0]["path"].encode("latin-1"), b"/opt/caf\xe9 \n")
        self.assertEqual(setup_run.difference_lines(report), ["content /opt/caf\xe9 \n"])
        for broken in (b"", b"verify: no manifest", b"[1]"):
            self.assertIsNone(setup_run.parse_json_object(broken))

    def test_an_installation_is_current_only_unchanged_and_from_this_medium(self):
        checked = {"status": 0, "medium_sha256": DIGEST, "signature": {"state": "checked", "key_id": "A" * 16}}
        unchecked = dict(checked, signature={"state": "not checked", "key_id": "A" * 16})
        for verify, current in ((checked, True), (unchecked, False), ({"status": 0, "medium_sha256": DIGEST}, False)):
            self.assertEqual(setup_run.is_current(verify, DIGEST, require_checked=True), current, verify)
        self.assertEqual(setup_run.signer({"status": 0})["state"], "not recorded")
        cases = [
            ({"status": 0, "medium_sha256": DIGEST}, DIGEST, True),
            (unchecked, DIGEST, True),
            ({"status": 0, "medium_sha256": "b" * 64}, DIGEST, False),
            ({"status": 0, "medium_sha256": ""}, None, False),
            ({"status": 1, "medium_sha256": DIGEST}, DIGEST, False),
            ({"status": 2, "manifest_state": "missing"}, DIGEST, False),
            (None, DIGEST, False),
        ]
        for verify, digest, current in cases:
            self.assertEqual(setup_run.is_current(verify, digest), current, verify)

    def test_failed_steps_are_the_error_lines_without_the_count(self):
        err = (b"setup: working\nERROR: pkg_tar.001 does not match its checksum: the medium is damaged\n"
               b"ERROR: and 3 more\n"
               b"ERROR: 4 steps of the installation failed; the log /tmp/setup.log tells more\n")
        self.assertEqual(setup_run.failed_steps(err),
                         ["pkg_tar.001 does not match its checksum: the medium is damaged"])

    def test_only_plain_absolute_paths_reach_the_command_line(self):
        cases = [("/tmp", True), ("/srv/work-area_2.d/a+b,c@d:e=f", True), ("/" + "a" * 199, True),
                 ("/" + "a" * 200, False), ("keep", False), ("remove", False), ("tmp/x", False), ("", False),
                 ("/tmp/a b", False), ("/tmp/$(id)", False), ("/tmp/x\n", False), ("/tmp/caf\xe9", False),
                 (None, False)]
        for text, plain in cases:
            self.assertEqual(setup_run.is_plain_absolute_path(text), plain, text)

    def test_answers_and_medium_digest(self):
        self.assertEqual(setup_run.answers(True, "quit"), "y\n2\n")
        self.assertEqual(setup_run.answers(False, "wait"), "n\n1\n")
        with tempfile.TemporaryDirectory() as medium:
            self.assertIsNone(setup_run.medium_digest(medium))
            with open(os.path.join(medium, "sha256"), "wb") as f:
                f.write(b"abc")
            self.assertEqual(setup_run.medium_digest(medium),
                             "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad")
        with tempfile.TemporaryDirectory() as keys:
            self.assertFalse(setup_run.keys_kept(keys))
            self.assertFalse(setup_run.keys_kept(os.path.join(keys, "none")))
            open(os.path.join(keys, "packager.pub"), "w").close()
            self.assertTrue(setup_run.keys_kept(keys))

    def test_the_last_history_entry_only_from_a_setup_that_keeps_one(self):
        entry = b'{"started":"2026-12-09T21:41:17Z","action":"install","status":0,"version":"3.00.42"}'
        history = b'{"file":"/var/log/setup-Vexla.history","entries":[{"action":"remove"},' + entry + b']}\n'
        self.assertEqual(setup_run.last_history_entry(0, history),
                         {"started": "2026-12-09T21:41:17Z", "action": "install", "status": 0, "version": "3.00.42"})
        usage = (b"usage: setup [manual] [install DIR] [menu] [wait] [keep] [-v] [no_space_check] [WORK_AREA]\n"
                 b"       setup verify [install DIR] [--json]\n\n  history  not a word of this setup\n")
        self.assertFalse(setup_run.offers_history(usage))
        self.assertTrue(setup_run.offers_history(usage + b"       setup history [--json]\n"))
        self.assertTrue(setup_run.offers_history(b"usage: setup history --json\n"))
        for rc, out in ((1, usage), (1, history), (0, b'{"file":"/var/log/setup-Vexla.history","entries":[]}'),
                        (0, b'{"entries":{"action":"install"}}'), (0, b'{"entries":["install"]}'), (0, b"[]"),
                        (0, b"")):
            self.assertEqual(setup_run.last_history_entry(rc, out), {}, out)


if __name__ == "__main__":
    unittest.main()
