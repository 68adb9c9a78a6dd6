"""The Windows program as an operator gets it, under Wine: the ZIP unpacked
into a folder whose name has blanks and letters outside ASCII, the program
started from there, and its windows seen and driven from outside through X.
Wine offers no USB device, so every request finds no receiver."""

import os
import re
import subprocess
import unittest
import zipfile

from packages import built_package
from virtual_display import VirtualDisplay
from waiting import wait_until
from wine import Wine

SOURCE_DIR = os.environ["VEXA_SOURCE_DIR"]

MAIN_WINDOW_TITLE = "Vexa SDR Control Program"
ABOUT_TITLE = "About Vexa SDR Control"
MESSAGE_BOX_TITLE = "Vexa SDR Control"
SYSTEM_INFORMATION_TITLE = "About System Information"  # Wine's msinfo32
MSINFO_KEY = r"HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO"

REPLY_SECONDS = 30
TWIPS_PER_PIXEL = 15


def control_places(header):
    """The controls of a window's table in the program's source: name and
    place in pixels from the client area's top-left corner."""
    with open(os.path.join(SOURCE_DIR, header), encoding="utf-8") as source:
        rows = re.findall(r'\{ControlKind::\w+,\s*"(\w+)",\s*(?:"[^"]*"|\w+),\s*'
                          r'(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\}', source.read())
    return {name: tuple(int(twips) // TWIPS_PER_PIXEL for twips in place)
            for name, *place in rows}


MAIN_CONTROLS = control_places("app/form1_controls.h")
ABOUT_CONTROLS = control_places("about/about_controls.h")


class WindowsProgramTest(unittest.TestCase):
    def setUp(self):
        self.display = self.enterContext(VirtualDisplay())
        self.wine = self.enterContext(Wine(self.display, os.environ["VEXA_WINE_TEMPLATE"]))
        folder = os.path.join(self.wine.drive_c, "Prüf Ordner")
        with zipfile.ZipFile(built_package("VEXA_PROGRAM_ZIP")) as archive:
            archive.extractall(folder)
            [program] = [name for name in archive.namelist()
                         if os.path.basename(name) == "vexa-sdr-control.exe"]
        self.program = self.wine.start(os.path.join(folder, program))
        self.addCleanup(self.program.kill)
        self.main = self.window(MAIN_WINDOW_TITLE)

    # Seeing and driving the windows.

    def x(self, *args):
        return subprocess.run(args, env=self.wine.env, check=True, capture_output=True,
                              text=True).stdout

    def visible(self, title):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                               env=self.wine.env, capture_output=True, text=True)
        return found.stdout.split()

    def window(self, title):
        [window] = wait_until(lambda: self.visible(title), REPLY_SECONDS, f"{title!r} to show")
        return window

    def click(self, window, places, name):
        left, top, width, height = places[name]
        self.x("xdotool", "mousemove", "--window", window, str(left + width // 2),
               str(top + height // 2), "click", "1")

    def drawn(self, window, places):
        """The controls whose place in the window shows more than one colour."""
        shot = os.path.join(self.display.home, "window.png")
        self.x("import", "-window", window, shot)
        return sorted(name for name, (left, top, width, height) in places.items()
                      if int(self.x("convert", shot, "-crop", f"{width}x{height}+{left}+{top}",
                                    "-format", "%k", "info:")) > 1)

    def assert_all_drawn(self, window, places):
        wait_until(lambda: self.drawn(window, places) == sorted(places), REPLY_SECONDS,
                   "every control to be drawn", lambda: self.drawn(window, places))

    def message(self):
        """The message area's line, copied through the clipboard."""
        left, top, _, height = MAIN_CONTROLS["TextBox"]
        self.x("xdotool", "mousemove", "--window", self.main, str(left + 4),
               str(top + height // 2), "click", "1", "key", "ctrl+a", "ctrl+c")
        copied = subprocess.run(["xclip", "-out", "-selection", "clipboard"],
                                env=self.wine.env, capture_output=True, text=True)
        return copied.stdout

    def taskbar_skipped(self, window):
        return "_NET_WM_STATE_SKIP_TASKBAR" in self.x("xprop", "-id", window, "_NET_WM_STATE")

    # What the operator does and sees.

    def test_a_request_without_a_receiver_then_about_system_information_and_ok(self):
        self.assertEqual(len(MAIN_CONTROLS), 20)
        self.assert_all_drawn(self.main, MAIN_CONTROLS)

        self.click(self.main, MAIN_CONTROLS, "Command5")  # "20 m"
        wait_until(lambda: self.message() == " Error: Device not found!", REPLY_SECONDS,
                   "the line of a request without a receiver", self.message)

        self.click(self.main, MAIN_CONTROLS, "Command14")  # "Exit"
        about = self.window(ABOUT_TITLE)
        self.assert_all_drawn(about, ABOUT_CONTROLS)
        self.assertTrue(self.taskbar_skipped(about))
        self.assertFalse(self.taskbar_skipped(self.main))

        # A new prefix names no system-information program.
        self.click(about, ABOUT_CONTROLS, "cmdSysInfo")
        box = self.window(MESSAGE_BOX_TITLE)
        self.x("xdotool", "key", "--window", box, "Return")
        wait_until(lambda: not self.visible(MESSAGE_BOX_TITLE), REPLY_SECONDS,
                   "the message box to close")

        self.wine.set_registry_string(MSINFO_KEY, "PATH", r"C:\windows\system32\msinfo32.exe")
        self.click(about, ABOUT_CONTROLS, "cmdSysInfo")
        self.window(SYSTEM_INFORMATION_TITLE)
        self.assertEqual(self.visible(MESSAGE_BOX_TITLE), [])

        self.click(about, ABOUT_CONTROLS, "cmdOK")
        self.assertEqual(self.program.wait(REPLY_SECONDS), 0)


if __name__ == "__main__":
    unittest.main()
