"""The two console programs as a shell meets them: how they take a wrong
command line and asking for help, alike; and the rig-control server ending on
Ctrl+C as on SIGTERM. No receiver is needed for either."""

import os
import signal
import subprocess
import unittest

from rig_client import RigConnection, free_port, wait_for_server

SERVER = os.environ["VEXA_RIGCTLD"]
REPORT = os.environ["VEXA_USB_REPORT"]
SECONDS = 30
USAGE_ERROR = 64  # sysexits.h's EX_USAGE


def run(*command):
    return subprocess.run(command, capture_output=True, text=True, timeout=SECONDS,
                          stdin=subprocess.DEVNULL)


class UsageTest(unittest.TestCase):
    def test_a_wrong_command_line_is_named_and_help_is_there(self):
        for program, name in [(SERVER, "vexa-sdr-rigctld"), (REPORT, "vexa-sdr-usb-report")]:
            with self.subTest(program=name):
                wrong = run(program, "--x")
                self.assertEqual((wrong.returncode, wrong.stdout), (USAGE_ERROR, ""))
                self.assertEqual(wrong.stderr, f'{name}: unknown option "--x" (see --help)\n')
                for option in ["-h", "--help"]:
                    helped = run(program, option)
                    self.assertEqual((helped.returncode, helped.stderr), (0, ""))
                    self.assertTrue(helped.stdout.startswith(f"Usage: {name} "))
                    self.assertIn("64", helped.stdout)

    def test_a_wrong_value_is_a_usage_error_too(self):
        # Values the server can judge only as a whole (the frequency against
        # the multiplier) or with the network library (the address).
        for options, named in [(["--frequency", "300e6", "--multiplier", "4"], "--frequency"),
                               (["--listen", "nowhere"], "--listen")]:
            with self.subTest(options=options):
                wrong = run(SERVER, *options)
                self.assertEqual(wrong.returncode, USAGE_ERROR)
                self.assertTrue(wrong.stderr.startswith(f"vexa-sdr-rigctld: {named} "))


class ServerSignalTest(unittest.TestCase):
    def test_ctrl_c_ends_the_server_as_sigterm_does(self):
        for ending in [signal.SIGINT, signal.SIGTERM]:
            with self.subTest(signal=ending.name):
                port = free_port()
                server = subprocess.Popen([SERVER, "--port", str(port)], stdin=subprocess.DEVNULL,
                                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                          text=True)
                try:
                    wait_for_server(port, server)
                    with RigConnection(port) as client:
                        self.assertEqual(client.ask("v"), ["VFOA"])
                        server.send_signal(ending)
                        self.assertEqual(server.wait(SECONDS), 0)
                        self.assertTrue(client.closed_by_server())
                    self.assertEqual(server.stderr.read(), "")
                finally:
                    server.kill()
                    server.wait()
                    server.stderr.close()


if __name__ == "__main__":
    unittest.main()
