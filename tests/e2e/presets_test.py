"""The preset buttons of the real program, pressed as an operator would, and
what the receiver gets on the wire."""

from receiver_harness import set_frequency
from running_program import ProgramTest

# Caption, line in the message area, data bytes of the set-frequency request.
PRESETS = [
    ("160 m", "RC=4   Hex=733333", "33 33 73 00"),
    ("80 m", "RC=4   Hex=E00000", "00 00 E0 00"),
    ("40m", "RC=4   Hex=1C00000", "00 00 C0 01"),
    ("30 m", "RC=4   Hex=2800000", "00 00 80 02"),
    ("20 m", "RC=4   Hex=3800000", "00 00 80 03"),
    ("15m", "RC=4   Hex=5400000", "00 00 40 05"),
    ("10m", "RC=4   Hex=7000000", "00 00 00 07"),
    ("6 m", "RC=4   Hex=C800000", "00 00 80 0C"),
    ("2 m", "RC=4   Hex=24400000", "00 00 40 24"),
    ("70 cm", "RC=4   Hex=6B800000", "00 00 80 6B"),
    ("10 MHz", "RC=4   Hex=1400000", "00 00 40 01"),
    ("100.0000 MHz", "RC=4   Hex=C800000", "00 00 80 0C"),
    ("56.3200 MHz", "RC=4   Hex=70A3D71", "71 3D 0A 07"),
]


class PresetsTest(ProgramTest):
    def test_20_m_sends_28_mhz(self):
        line, transfers = self.program.press("20 m")
        self.assertEqual(line, "RC=4   Hex=3800000")
        # request 0x32, value 0x0755, index 0, four bytes (wLength 4)
        self.assertEqual(transfers, [set_frequency("00 00 80 03")])

    def test_starts_quietly_then_every_preset_sends_its_word(self):
        self.assertEqual(self.program.message, "")
        self.assertEqual(self.program.typed_frequency, "5.000000")
        self.assertEqual(self.program.receiver.take_transfers(), [])
        for caption, line, data in PRESETS:
            with self.subTest(caption):
                self.assertEqual(self.program.press(caption), (line, [set_frequency(data)]))
        self.assertTrue(self.program.receiver.running())
