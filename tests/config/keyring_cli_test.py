#!/usr/bin/python3
"""Mailbox secrets through tarnwick-cli and the fixture's Dovecot, in a private session with
GNOME Keyring (keyring_session.sh). Usage: keyring_cli_test.py TARNWICK_CLI DOVECOT_INI OAUTH_INI"""
import configparser
import os
import re
import subprocess
import sys
import tempfile
import unittest

CLI = sys.argv.pop(1)
DOVECOT = configparser.ConfigParser()
DOVECOT.read([sys.argv.pop(1), sys.argv.pop(1)])


class KeyringCli(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.data = self.dir.name
        self.password = DOVECOT["dovecot"]["password"]

    def tearDown(self):
        self.dir.cleanup()

    def cli(self, *args, stdin="", bus=True):
        env = {k: v for k, v in os.environ.items() if bus or k not in ("DBUS_SESSION_BUS_ADDRESS", "DISPLAY")}
        return subprocess.run([CLI, "--data", self.data] + list(args), input=stdin, capture_output=True, text=True,
                              env=env, timeout=120)

    def set_mailbox(self, *extra, stdin="", bus=True):
        server = "%s:%s" % (DOVECOT["dovecot"]["host"], DOVECOT["dovecot"]["pop3_port"])
        return self.cli("mailbox", "set", "1", "--server", server, "--user", "user28", "--tls", "none", *extra,
                        stdin=stdin, bus=bus)

    def stored(self, name):
        with open(os.path.join(self.data, "settings.ini")) as f:
            return re.search(r"^Server\\%s=(.*)$" % name, f.read(), re.M).group(1)

    def assert_check_logs_in(self, bus=True):
        check = self.cli("check", "--slot", "1", bus=bus)
        self.assertEqual(check.returncode, 0, check.stderr)

    def test_set_stores_the_password_in_the_keyring(self):
        r = self.set_mailbox("--password-stdin", stdin=self.password + "\n")
        self.assertIn("password in the desktop keyring", r.stdout, r.stderr)
        self.assertEqual((self.stored("Passwd1"), self.stored("Secrets1")), ("", "keyring"))
        self.assert_check_logs_in()

    def test_a_scrambled_password_moves_into_the_keyring(self):
        self.set_mailbox("--password-stdin", "--store", "file", stdin=self.password + "\n")
        scrambled = self.stored("Passwd1")
        # A settings file from before the keyring: no place chosen.
        path = os.path.join(self.data, "settings.ini")
        with open(path) as f:
            text = re.sub(r"^Server\\Secrets1=.*\n", "", f.read(), flags=re.M)
        with open(path, "w") as f:
            f.write(text)
        # Without a keyring it stays, and the program says so.
        self.assertIn("stay scrambled in the settings file", self.cli("mailbox", "list", bus=False).stderr)
        self.assertEqual(self.stored("Passwd1"), scrambled)
        self.assertEqual(self.cli("mailbox", "list").stderr, "")
        self.assertEqual((self.stored("Passwd1"), self.stored("Secrets1")), ("", "keyring"))
        with open(os.path.join(self.data, "logfile.txt"), errors="replace") as f:
            self.assertIn("moved from the settings file into the desktop keyring", f.read())
        self.assert_check_logs_in()

    def test_without_a_bus_only_the_chosen_file_stores_it(self):
        r = self.set_mailbox("--password-stdin", stdin=self.password + "\n", bus=False)
        self.assertEqual(r.returncode, 1)
        self.assertIn("--store file", r.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.data, "settings.ini")), "nothing stored")
        r = self.set_mailbox("--password-stdin", "--store", "file", stdin=self.password + "\n", bus=False)
        self.assertEqual((r.returncode, self.stored("Secrets1")), (0, "file"), r.stderr)
        self.assertNotEqual(self.stored("Passwd1"), "")
        self.assert_check_logs_in(bus=False)

    def test_a_password_command_runs_at_the_log_in(self):
        secret = os.path.join(self.data, "secret")
        with open(secret, "w") as f:
            f.write(self.password + "\nsecond line\n")
        self.set_mailbox("--password-command", "cat " + secret)
        self.assertEqual(self.stored("Passwd1"), "")
        self.assert_check_logs_in()

    def test_a_token_command_logs_in_with_oauth2(self):
        server = "127.0.0.1:" + DOVECOT["oauth"]["full_port"]
        for token, status in (("good-alice", 0), ("stale", 77)):
            self.cli("mailbox", "set", "1", "--server", server, "--user", "alice", "--tls", "none",
                     "--token-command", "echo " + token)
            check = self.cli("check", "--slot", "1")
            self.assertEqual(check.returncode, status, check.stderr)
        self.assertIn("expired or was revoked", check.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
