"""The USB report from the ZIP under Wine, which offers no USB device: it
finds no receiver, says how to install the WinUSB driver, ends with exit
status 1, and with --pause waits for Enter first."""

import os
import subprocess
import unittest
import zipfile

from packages import built_package
from virtual_display import VirtualDisplay
from wine import Wine

SECONDS = 60


class WindowsUsbReportTest(unittest.TestCase):
    def test_no_receiver_under_wine_and_the_driver_advice(self):
        wine = self.enterContext(Wine(self.enterContext(VirtualDisplay()),
                                      os.environ["VEXA_WINE_TEMPLATE"]))
        with zipfile.ZipFile(built_package("VEXA_PROGRAM_ZIP")) as archive:
            archive.extractall(wine.drive_c)
            [report] = [name for name in archive.namelist()
                        if os.path.basename(name) == "vexa-sdr-usb-report.exe"]
        ran = subprocess.run(["wine", os.path.join(wine.drive_c, report), "--pause"],
                             env=wine.env, input="\n", capture_output=True, text=True,
                             timeout=SECONDS)
        self.assertEqual(ran.returncode, 1, ran.stdout + ran.stderr)
        for expected in ("Verdict: no receiver (USB ID 16C0:05DC) is attached",
                         "missing from the Device Manager",
                         "pick the device with USB ID 16C0:05DC, choose WinUSB",
                         "Press Enter to close this window."):
            self.assertIn(expected, ran.stdout)


if __name__ == "__main__":
    unittest.main()
