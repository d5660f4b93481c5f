#!/usr/bin/python3
"""Mailbox secrets through tarnwick-cli against the fixture's Dovecot, inside a private session
with GNOME Keyring (run by keyring_session.sh):

  - mailbox set puts the password into the keyring: settings.ini holds none, and a check logs in;
  - a scrambled password of an older settings file moves into the keyring at the next start;
  - without a session bus, mailbox set refuses to store a password unless --store file;
  - a password command is run at the log-in, and a failing one is named.

    keyring_cli_test.py TARNWICK_CLI DOVECOT_INI
"""
import configparser
import os
import re
import subprocess
import sys
import tempfile
import unittest

CLI = DOVECOT = None
USER = "user28"


def run(data, *args, stdin="", bus=True):
    env = dict(os.environ)
    if not bus:
        for name in ("DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "GNOME_KEYRING_CONTROL"):
            env.pop(name, None)
    return subprocess.run([CLI, "--data", data] + list(args), input=stdin, capture_output=True, text=True,
                          env=env, timeout=120)


def stored(data, name):
    with open(os.path.join(data, "settings.ini")) as f:
        found = re.search(r"^Server\\%s=(.*)$" % name, f.read(), re.M)
    return found.group(1) if found else None


class KeyringCli(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.data = self.dir.name
        self.server = "%s:%s" % (DOVECOT["host"], DOVECOT["pop3_port"])

    def tearDown(self):
        self.dir.cleanup()

    def set_mailbox(self, *extra, stdin="", bus=True):
        return run(self.data, "mailbox", "set", "1", "--server", self.server, "--user", USER, "--tls", "none",
                   *extra, stdin=stdin, bus=bus)

    def assert_check_logs_in(self):
        check = run(self.data, "check", "--slot", "1")
        self.assertEqual(check.returncode, 0, check.stderr)

    def test_set_stores_the_password_in_the_keyring(self):
        r = self.set_mailbox("--password-stdin", stdin=DOVECOT["password"] + "\n")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn("password in the desktop keyring", r.stdout)
        self.assertEqual(stored(self.data, "Passwd1"), "")
        self.assertEqual(stored(self.data, "Secrets1"), "keyring")
        self.assert_check_logs_in()

    def test_a_scrambled_password_moves_into_the_keyring(self):
        r = self.set_mailbox("--password-stdin", "--store", "file", stdin=DOVECOT["password"] + "\n")
        self.assertEqual(r.returncode, 0, r.stderr)
        scrambled = stored(self.data, "Passwd1")
        self.assertTrue(scrambled)
        # What a settings file from before the keyring looks like: no place chosen.
        path = os.path.join(self.data, "settings.ini")
        with open(path) as f:
            text = f.read()
        with open(path, "w") as f:
            f.write(re.sub(r"^Server\\Secrets1=.*\n", "", text, flags=re.M))
        # Without a keyring it stays, and the program says so.
        listing = run(self.data, "mailbox", "list", bus=False)
        self.assertIn("stay scrambled in the settings file", listing.stderr)
        self.assertEqual(stored(self.data, "Passwd1"), scrambled)
        listing = run(self.data, "mailbox", "list")
        self.assertEqual(listing.returncode, 0, listing.stderr)
        self.assertEqual(listing.stderr, "")
        self.assertEqual(stored(self.data, "Passwd1"), "")
        self.assertEqual(stored(self.data, "Secrets1"), "keyring")
        with open(os.path.join(self.data, "logfile.txt"), encoding="utf-8", errors="replace") as f:
            self.assertIn("moved from the settings file into the desktop keyring", f.read())
        self.assert_check_logs_in()

    def test_without_a_bus_only_the_chosen_file_stores_it(self):
        r = self.set_mailbox("--password-stdin", stdin=DOVECOT["password"] + "\n", bus=False)
        self.assertEqual(r.returncode, 1)
        self.assertIn("--store file", r.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.data, "settings.ini"))
                         and stored(self.data, "Server1"), "nothing stored")
        r = self.set_mailbox("--password-stdin", "--store", "file", stdin=DOVECOT["password"] + "\n", bus=False)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(stored(self.data, "Secrets1"), "file")
        self.assertTrue(stored(self.data, "Passwd1"))
        check = run(self.data, "check", "--slot", "1", bus=False)
        self.assertEqual(check.returncode, 0, check.stderr)

    def test_a_password_command_runs_at_the_log_in(self):
        secret_file = os.path.join(self.data, "secret")
        with open(secret_file, "w") as f:
            f.write(DOVECOT["password"] + "\nsecond line\n")
        r = self.set_mailbox("--password-command", "cat '%s'" % secret_file)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(stored(self.data, "Passwd1"), "")
        self.assert_check_logs_in()
        os.remove(secret_file)
        check = run(self.data, "check", "--slot", "1")
        self.assertNotEqual(check.returncode, 0)
        self.assertIn("password command of mailbox 1 (cat '%s') failed" % secret_file, check.stderr)


def main():
    global CLI, DOVECOT
    CLI = sys.argv.pop(1)
    ini = configparser.ConfigParser()
    if not ini.read(sys.argv.pop(1)):
        sys.stderr.write("the Dovecot fixture is not running (run the tests through ctest)\n")
        return 1
    DOVECOT = ini["dovecot"]
    return 0 if unittest.main(exit=False, verbosity=2).result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
