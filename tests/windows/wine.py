"""Windows programs under Wine on a private virtual screen.

Each test gets a Wine prefix of its own, copied from a template that the
build tree keeps (Wine takes a while to make one), and a Wine server that
lives as long as the test, so that the programs it starts share one Windows.
As a command it runs one Windows program that way and passes on its exit
status:

  wine.py --template FOLDER [--dll-folder FOLDER]... -- PROGRAM.exe [ARG...]
"""

import argparse
import fcntl
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from virtual_display import VirtualDisplay  # noqa: E402


def windows_path(path):
    """The path of a file of this machine as Wine's programs see it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def _make_template(template, env):
    """Makes the template once; tests that run at the same time wait for it."""
    os.makedirs(os.path.dirname(template), exist_ok=True)
    with open(template + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.isdir(template):
            return
        staging = template + ".new"
        shutil.rmtree(staging, ignore_errors=True)
        making = dict(env, WINEPREFIX=staging)
        subprocess.run(["wineboot", "--init"], env=making, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "--wait"], env=making, check=True)
        os.rename(staging, template)


class Wine:
    def __init__(self, display, template, dll_folders=()):
        self.display = display
        self.template = template
        self.dll_folders = dll_folders
        self.prefix = None
        self.env = None

    def __enter__(self):
        # Wine must see the display before its first command, or its
        # programs never show a window.
        env = dict(self.display.env, WINEDEBUG="-all",
                   # No offer to install .NET or a web browser engine.
                   WINEDLLOVERRIDES="mscoree,mshtml=")
        _make_template(self.template, env)
        self.prefix = tempfile.mkdtemp(prefix="vexa-wine-")
        subprocess.run(["cp", "-a", self.template + "/.", self.prefix], check=True)
        self.env = dict(env, WINEPREFIX=self.prefix,
                        WINEPATH=";".join(windows_path(f) for f in self.dll_folders))
        quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                     stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "--persistent"], env=self.env, check=True, **quiet)
        # Wine's services start with the first program and keep its output
        # open: this one's is no test's.
        subprocess.run(["wine", "cmd", "/c", "exit"], env=self.env, check=True, **quiet)
        return self

    def __exit__(self, *exc):
        subprocess.run(["wineserver", "--kill"], env=self.env)
        subprocess.run(["wineserver", "--wait"], env=self.env)
        shutil.rmtree(self.prefix, ignore_errors=True)

    @property
    def drive_c(self):
        return os.path.join(self.prefix, "drive_c")

    def run(self, *args, check=True):
        return subprocess.run(["wine", *args], env=self.env, check=check,
                              capture_output=True, text=True)

    def start(self, *args):
        return subprocess.Popen(["wine", *args], env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)

    def set_registry_string(self, key, name, data):
        self.run("reg", "add", key, "/v", name, "/d", data, "/f")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--template", required=True)
    parser.add_argument("--dll-folder", action="append", default=[])
    parser.add_argument("program", nargs=argparse.REMAINDER)
    options = parser.parse_args()
    program = options.program[1:] if options.program[:1] == ["--"] else options.program
    with VirtualDisplay() as display, \
            Wine(display, options.template, options.dll_folder) as wine:
        return subprocess.run(["wine", *program], env=wine.env).returncode


if __name__ == "__main__":
    sys.exit(main())
