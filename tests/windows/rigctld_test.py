"""The Windows rig-control server from the ZIP, under Wine, serving Linux's
hamlib network client on the loopback. Wine offers no USB device, so a set
finds no receiver."""

import os
import subprocess
import unittest
import zipfile

from packages import built_package
from rig_client import RigConnection, free_port, rigctl, wait_for_server
from virtual_display import VirtualDisplay
from waiting import wait_until
from wine import Wine

SECONDS = 60


class WindowsServerTest(unittest.TestCase):
    def setUp(self):
        self.wine = self.enterContext(Wine(self.enterContext(VirtualDisplay()),
                                           os.environ["VEXA_WINE_TEMPLATE"]))
        folder = os.path.join(self.wine.drive_c, "Server")
        with zipfile.ZipFile(built_package("VEXA_PROGRAM_ZIP")) as archive:
            archive.extractall(folder)
            [server] = [name for name in archive.namelist()
                        if name.endswith("/vexa-sdr-rigctld.exe")]
        self.port = free_port()
        self.log_path = os.path.join(self.wine.prefix, "server.log")
        log = self.enterContext(open(self.log_path, "w"))
        self.server = subprocess.Popen(
            ["wine", os.path.join(folder, server), "--port", str(self.port)], env=self.wine.env,
            stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
        self.addCleanup(self.server.wait, SECONDS)
        self.addCleanup(self.server.kill)

    def log(self):
        with open(self.log_path) as written:
            return written.read()

    def test_serves_hamlib_client_without_a_receiver(self):
        wait_for_server(self.port, self.server)
        # rigctl reads the state block and sets; the set fails, so the
        # frequency read back is still 0.
        self.assertEqual(rigctl(self.port, "F", "14074000", "f", timeout=SECONDS), "0\n")
        wait_until(lambda: " dial 14074000 Hz oscillator 28.148000 MHz  Error: Device not found!"
                   in self.log(), SECONDS, "the set's log line", self.log)
        with RigConnection(self.port) as client:
            self.assertEqual(client.ask("F 7000000"), ["RPRT -9"])


if __name__ == "__main__":
    unittest.main()
