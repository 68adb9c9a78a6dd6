"""The ExtIO plugin's DLLs from the ZIP: each exports the undecorated names
the SDR programs look up and imports nothing but Windows's own DLLs, read
from its file, and the 64-bit one runs under Wine in the project's own
host, which drives it as an SDR program does, without a receiver. (The
32-bit one would need a 32-bit Wine, whose WoW64 prefixes change what the
installer and program tests see; README says how to run it by hand.)"""

import os
import re
import subprocess
import tempfile
import unittest
import zipfile

from packages import built_package
from virtual_display import VirtualDisplay
from wine import Wine

SECONDS = 120
DLL = "ExtIO_VexaSDR.dll"
FOLDERS = {"32-bit": "extio-32bit", "64-bit": "extio-64bit"}
EXPORTS = {"InitHW", "OpenHW", "StartHW", "StopHW", "CloseHW", "SetCallback", "SetHWLO",
           "GetHWLO", "GetStatus", "ExtIoSDRInfo", "ExtIoGetSetting", "ExtIoSetSetting",
           "ShowGUI", "HideGUI", "SwitchGUI"}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "msvcrt.dll"}


class ExtioTest(unittest.TestCase):
    def setUp(self):
        self.unpacked = self.enterContext(tempfile.TemporaryDirectory(prefix="vexa-extio-"))
        with zipfile.ZipFile(built_package("VEXA_PROGRAM_ZIP")) as archive:
            archive.extractall(self.unpacked)
            self.dlls = {bits: os.path.join(self.unpacked, name)
                         for name in archive.namelist()
                         for bits, folder in FOLDERS.items()
                         if name.endswith(f"/{folder}/{DLL}")}
        self.assertEqual(set(self.dlls), set(FOLDERS), "a DLL in each folder of the ZIP")

    def test_each_dll_exports_the_hosts_names_and_imports_only_windows_dlls(self):
        for bits, path in self.dlls.items():
            with self.subTest(bits):
                headers = subprocess.run([os.environ["VEXA_OBJDUMP"], "-p", path], check=True,
                                         capture_output=True, text=True).stdout
                machine = "i386" if bits == "32-bit" else "x86-64"
                self.assertIn(f"file format pei-{machine}", headers)
                table = headers.split("[Ordinal/Name Pointer] Table", 1)[1]
                exports = set(re.findall(r"^\s+\[\s*\d+\] (\S+)$", table, re.MULTILINE))
                self.assertEqual(exports, EXPORTS)
                imports = {name.lower() for name in re.findall(r"DLL Name: (\S+)", headers)}
                self.assertLessEqual(imports, SYSTEM_DLLS)

    def test_the_host_runs_the_64_bit_dll_without_a_receiver(self):
        wine = self.enterContext(Wine(self.enterContext(VirtualDisplay()),
                                      os.environ["VEXA_WINE_TEMPLATE"]))
        ran = subprocess.run(["wine", os.environ["VEXA_EXTIO_HOST"], self.dlls["64-bit"]],
                             env=wine.env, capture_output=True, text=True, timeout=SECONDS)
        print(ran.stdout)
        self.assertEqual(ran.returncode, 0, ran.stdout + ran.stderr)
        self.assertIn("every check held", ran.stdout)


if __name__ == "__main__":
    unittest.main()
