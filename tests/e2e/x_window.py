"""A top-level X window seen from outside: its size with and without the
window manager's frame, resizing it, and asking it to close as the title
bar's close box does."""

import ctypes
import ctypes.util
import re
import subprocess

from waiting import STARTUP_SECONDS, wait_until

_CLIENT_MESSAGE = 33
_SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
_SUBSTRUCTURE_REDIRECT_MASK = 1 << 20


class _ClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _Event(ctypes.Union):  # XEvent: room for any event
    _fields_ = [("client_message", _ClientMessageEvent), ("pad", ctypes.c_long * 24)]


def _xlib():
    xlib = ctypes.CDLL(ctypes.util.find_library("X11"))
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.POINTER(_Event)]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return xlib


class XWindow:
    def __init__(self, display, window_id):
        self.display = display
        self.id = window_id

    @classmethod
    def all_visible(cls, display, title, pid):
        """Every visible window of process pid captioned title."""
        found = subprocess.run(
            ["xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid),
             "--name", f"^{re.escape(title)}$"],
            env=display.env, capture_output=True, text=True).stdout.split()
        return [cls(display, int(window)) for window in found]

    @classmethod
    def find(cls, display, title, pid, timeout=STARTUP_SECONDS):
        """The visible window of process pid captioned title."""
        def search():
            return cls.all_visible(display, title, pid)
        return wait_until(search, timeout, f"window {title!r}")[0]

    def client_geometry(self):
        """(x, y, width, height) of the client area, x and y on the screen."""
        info = self.display.run("xwininfo", "-id", str(self.id))
        value = {key: int(re.search(rf"{key}:\s+(-?\d+)", info).group(1))
                 for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width",
                             "Height")}
        return (value["Absolute upper-left X"], value["Absolute upper-left Y"],
                value["Width"], value["Height"])

    def frame_extents(self):
        """(left, right, top, bottom) of the window manager's frame; all 0
        when no window manager frames the window."""
        found = re.search(r"=\s*(\d+), (\d+), (\d+), (\d+)",
                          self.display.run("xprop", "-id", str(self.id), "_NET_FRAME_EXTENTS"))
        return tuple(map(int, found.groups())) if found else (0, 0, 0, 0)

    def outer_size(self):
        """(width, height), frame and title bar included."""
        _, _, width, height = self.client_geometry()
        left, right, top, bottom = self.frame_extents()
        return width + left + right, height + top + bottom

    def resize(self, width, height):
        """Sizes the client area from outside, as another program would."""
        self.display.run("xdotool", "windowsize", str(self.id), str(width), str(height))

    def is_active(self):
        return self.display.run("xdotool", "getactivewindow").strip() == str(self.id)

    def request_close(self):
        """Asks the window manager to close the window (_NET_CLOSE_WINDOW),
        which is what the close box in the title bar does."""
        xlib = _xlib()
        connection = xlib.XOpenDisplay(self.display.name.encode())
        if not connection:
            raise RuntimeError(f"cannot open display {self.display.name}")
        try:
            event = _Event()
            message = event.client_message
            message.type = _CLIENT_MESSAGE
            message.window = self.id
            message.message_type = xlib.XInternAtom(connection, b"_NET_CLOSE_WINDOW", 0)
            message.format = 32
            message.data[1] = 2  # on behalf of the user
            xlib.XSendEvent(connection, xlib.XDefaultRootWindow(connection), 0,
                            _SUBSTRUCTURE_REDIRECT_MASK | _SUBSTRUCTURE_NOTIFY_MASK,
                            ctypes.byref(event))
            xlib.XFlush(connection)
        finally:
            xlib.XCloseDisplay(connection)


def press_key(display, key):
    """A key as the operator presses it, to the window that has the focus."""
    display.run("xdotool", "key", "--clearmodifiers", key)


def click(display, x, y):
    display.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")


def type_text(display, text):
    display.run("xdotool", "type", "--delay", "5", text)
