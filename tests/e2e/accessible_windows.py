"""The program's windows as the accessibility bus (AT-SPI) shows them to an
operator's tools: buttons found by caption, text fields by their name."""

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

from waiting import STARTUP_SECONDS, wait_until

MAIN_WINDOW_TITLE = "Vexa SDR Control Program"
ABOUT_TITLE = "About Vexa SDR Control"
MESSAGE_AREA = "Message"         # the message area's accessible name
FREQUENCY_FIELD = "Manual input"  # Manual, named by the label before it

# A call into a program that is busy with a transfer waits at most this long.
_CALL_TIMEOUT_MS = 1000
Atspi.set_timeout(_CALL_TIMEOUT_MS, _CALL_TIMEOUT_MS)


def _children(accessible):
    for index in range(accessible.get_child_count()):
        child = accessible.get_child_at_index(index)
        if child is not None:
            yield child


def _application(pid):
    for application in _children(Atspi.get_desktop(0)):
        try:
            if application.get_process_id() == pid:
                return application
        except GLib.GError:
            pass  # an application that has just ended
    return None


def _child(parent, role, name):
    return next((child for child in _children(parent)
                 if child.get_role() == role and child.get_name() == name), None)


def top_level(pid, title, timeout=STARTUP_SECONDS):
    """The top-level window captioned title of the program with process id
    pid, as soon as its controls are on the bus."""
    def found():
        try:
            application = _application(pid)
            if application is None:
                return None
            window = next((w for w in _children(application) if w.get_name() == title), None)
            return AccessibleWindow(window) if window and window.get_child_count() else None
        except GLib.GError:
            return None
    return wait_until(found, timeout, f"{title!r} on the accessibility bus")


def _extents(accessible):
    """(x, y, width, height) on the screen."""
    box = Atspi.Component.get_extents(accessible, Atspi.CoordType.SCREEN)
    return box.x, box.y, box.width, box.height


class AccessibleWindow:
    def __init__(self, accessible):
        self.accessible = accessible
        # Controls found once; looking them up again asks a program that may
        # be busy with a transfer.
        self._found = {}

    def _control(self, role, name):
        if (role, name) not in self._found:
            control = _child(self.accessible, role, name)
            if control is None:
                raise AssertionError(f"no {role.value_nick} {name!r}")
            self._found[(role, name)] = control
        return self._found[(role, name)]

    def button(self, caption):
        return self._control(Atspi.Role.PUSH_BUTTON, caption)

    def text_field(self, name):
        return self._control(Atspi.Role.TEXT, name)

    def has_label(self, text):
        return _child(self.accessible, Atspi.Role.LABEL, text) is not None

    def press(self, caption):
        """Presses the button as a click would. Qt clicks it a moment later,
        so this returns before the button's handler runs."""
        Atspi.Action.do_action(self.button(caption), 0)

    def text(self, name):
        return Atspi.Text.get_text(self.text_field(name), 0, -1)

    def caret(self, name):
        """Where the field's cursor stands, in characters from its start."""
        return Atspi.Text.get_caret_offset(self.text_field(name))

    def set_text(self, name, text):
        """Replaces the field's whole text, as typing or pasting over it does."""
        Atspi.EditableText.set_text_contents(self.text_field(name), text)

    def try_text(self, name):
        """The field's text, or None while the program does not answer."""
        try:
            return self.text(name)
        except GLib.GError:
            return None

    def controls(self):
        """[(role, name, (x, y, width, height) on the screen)] of every
        control, in the window's order."""
        return [(child.get_role_name(), child.get_name(), _extents(child))
                for child in _children(self.accessible)]

    @staticmethod
    def extents(control):
        return _extents(control)

    @staticmethod
    def centre(control):
        """The point on the screen where a click hits the control."""
        x, y, width, height = _extents(control)
        return x + width // 2, y + height // 2
