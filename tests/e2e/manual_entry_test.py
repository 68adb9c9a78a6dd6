"""A frequency typed into the real program's field and sent with "Set by
value": the word on the wire and the line the operator reads."""

from accessible_windows import FREQUENCY_FIELD
from receiver_harness import set_frequency
from running_program import ProgramTest
from x_window import click, press_key, type_text

OUT_OF_RANGE = " Error: Frequency out of range!"

# Typed text, line in the message area, data bytes sent (None: nothing sent).
TYPED = [
    ("", "RC=4   Hex=0", "00 00 00 00"),
    ("14.2", "RC=4   Hex=1C66666", "66 66 C6 01"),
    ("14.2 MHz", "RC=4   Hex=1C66666", "66 66 C6 01"),
    (" 1 4 . 2 ", "RC=4   Hex=1C66666", "66 66 C6 01"),
    ("14,2", "RC=4   Hex=1C00000", "00 00 C0 01"),
    ("1.4e1", "RC=4   Hex=1C00000", "00 00 C0 01"),
    ("&HE", "RC=4   Hex=1C00000", "00 00 C0 01"),
    ("&o16", "RC=4   Hex=1C00000", "00 00 C0 01"),
    ("+7", "RC=4   Hex=E00000", "00 00 E0 00"),
    ("100", "RC=4   Hex=C800000", "00 00 80 0C"),
    ("5.0000002384185791015625", "RC=4   Hex=A00000", "00 00 A0 00"),  # tie to even
    ("1023.9999995", "RC=4   Hex=7FFFFFFF", "FF FF FF 7F"),
    ("0.25", "RC=4   Hex=80000", "00 00 08 00"),
    ("0.4", "RC=4   Hex=CCCCD", "CD CC 0C 00"),
    ("abc", "RC=4   Hex=0", "00 00 00 00"),
    ("1024", OUT_OF_RANGE, None),
    ("-5", OUT_OF_RANGE, None),
    ("-0.000001", OUT_OF_RANGE, None),
]


def expected(line, data):
    return line, [] if data is None else [set_frequency(data)]


class ManualEntryTest(ProgramTest):
    def test_initial_text_sends_5_mhz(self):
        self.assertEqual(self.program.press("Set by value"),
                         expected("RC=4   Hex=A00000", "00 00 A0 00"))

    def test_typed_frequencies(self):
        for text, line, data in TYPED:
            with self.subTest(text=text):
                self.assertEqual(self.program.send_typed(text), expected(line, data))
        self.assertTrue(self.program.receiver.running())

    def test_typed_on_the_keyboard_and_clicked_with_the_mouse(self):
        window = self.program.window
        display = self.program.display
        click(display, *window.centre(window.text_field(FREQUENCY_FIELD)))
        press_key(display, "ctrl+a")
        type_text(display, "14.2")
        self.assertEqual(self.program.typed_frequency, "14.2")
        set_by_value = window.centre(window.button("Set by value"))
        self.assertEqual(self.program.act(lambda: click(display, *set_by_value)),
                         expected("RC=4   Hex=1C66666", "66 66 C6 01"))
