"""The Windows installer under Wine: it installs silently into Program Files
with Start-menu entries for the program, the USB report and the rig-control
server, the ExtIO plugin's DLLs and an entry among the installed programs,
the installed program starts, and the uninstaller removes everything again."""

import os
import subprocess
import unittest

from packages import built_package
from virtual_display import VirtualDisplay
from waiting import wait_until
from wine import Wine

VERSION = os.environ["VEXA_VERSION"]

FOLDER = "Program Files/Vexa SDR Control"
MENU = "ProgramData/Microsoft/Windows/Start Menu/Programs/Vexa SDR Control/"
SHORTCUT = MENU + "Vexa SDR Control.lnk"
REPORT_SHORTCUT = MENU + "Vexa SDR USB report.lnk"
SERVER_SHORTCUT = MENU + "Vexa SDR Rig-Control Server.lnk"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vexa SDR Control"
SECONDS = 60


class InstallerTest(unittest.TestCase):
    def setUp(self):
        self.wine = self.enterContext(Wine(self.enterContext(VirtualDisplay()),
                                              os.environ["VEXA_WINE_TEMPLATE"]))

    def installed(self, path):
        return os.path.exists(os.path.join(self.wine.drive_c, path))

    def uninstall_entry(self):
        query = self.wine.run("reg", "query", UNINSTALL_KEY, check=False)
        return query.stdout if query.returncode == 0 else ""

    def test_installs_starts_and_uninstalls(self):
        self.wine.run(built_package("VEXA_INSTALLER"), "/S")
        self.assertTrue(self.installed(FOLDER + "/vexa-sdr-control.exe"))
        self.assertTrue(self.installed(SHORTCUT))
        self.assertTrue(self.installed(FOLDER + "/vexa-sdr-usb-report.exe"))
        with open(os.path.join(self.wine.drive_c, REPORT_SHORTCUT), "rb") as shortcut:
            self.assertIn("--pause".encode("utf-16-le"), shortcut.read())
        self.assertTrue(self.installed(FOLDER + "/vexa-sdr-rigctld.exe"))
        self.assertTrue(self.installed(SERVER_SHORTCUT))
        for bits in ("32", "64"):
            self.assertTrue(self.installed(f"{FOLDER}/extio-{bits}bit/ExtIO_VexaSDR.dll"))
        entry = self.uninstall_entry()
        for name, value in (("DisplayName", "Vexa SDR Control"), ("DisplayVersion", VERSION),
                            ("Publisher", "Vexa SDR")):
            self.assertRegex(entry, rf"{name}\s+REG_SZ\s+{value}\r?\n")

        program = self.wine.start(os.path.join(self.wine.drive_c, FOLDER, "vexa-sdr-control.exe"))
        self.addCleanup(program.kill)
        wait_until(lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", "^Vexa SDR Control Program$"],
            env=self.wine.env, capture_output=True).returncode == 0,
            SECONDS, "the installed program's window")
        # Closing its only window ends it.
        subprocess.run(["xdotool", "key", "alt+F4"], env=self.wine.env, check=True)
        self.assertEqual(program.wait(SECONDS), 0)

        # The uninstaller hands its work to a copy of itself and returns.
        self.wine.run(os.path.join(self.wine.drive_c, FOLDER, "Uninstall.exe"), "/S")
        wait_until(lambda: not self.installed(FOLDER), SECONDS, "the program folder to go")
        self.assertFalse(self.installed(SHORTCUT))
        self.assertFalse(self.installed(REPORT_SHORTCUT))
        self.assertFalse(self.installed(SERVER_SHORTCUT))
        self.assertEqual(self.uninstall_entry(), "")


if __name__ == "__main__":
    unittest.main()
