"""The preset buttons of the real program, pressed as an operator would, and
what the receiver gets on the wire."""

import re
from pathlib import Path

from receiver_harness import set_frequency
from running_program import ProgramTest

# Caption, line in the message area, data bytes of the set-frequency request:
# the rows of the preset table that the unit tests share.
PRESETS = [(caption, "RC=4   Hex=" + text, data.replace("0x", "").replace(",", ""))
           for caption, text, data in re.findall(
               r'\{"Command\d+", "([^"]+)", \w+, \d+, "(\w+)", \{([^}]+)\}\}',
               (Path(__file__).parents[1] / "support/preset_table.h").read_text())]


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
        self.assertEqual(len(PRESETS), 13)
        for caption, line, data in PRESETS:
            with self.subTest(caption):
                self.assertEqual(self.program.press(caption), (line, [set_frequency(data)]))
        self.assertTrue(self.program.receiver.running())
