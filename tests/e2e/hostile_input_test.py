"""Texts no operator should type, sent with "Set by value" in the real
program: it neither crashes nor hangs, sends nothing it was not asked to,
and says what it did."""

from receiver_harness import set_frequency
from running_program import ProgramTest

OUT_OF_RANGE = " Error: Frequency out of range!"
ZERO = ("RC=4   Hex=0", "00 00 00 00")  # a text without a number reads as 0

# Typed text, line in the message area, data bytes sent (None: nothing sent).
HOSTILE = [
    ("   ", *ZERO),
    ("\t 14.2 \n", "RC=4   Hex=1C66666", "66 66 C6 01"),
    ("1" * 100_000, OUT_OF_RANGE, None),
    ("14.2" + "0" * 99_996, "RC=4   Hex=1C66666", "66 66 C6 01"),
    ("nan", *ZERO),
    ("-nan", *ZERO),
    ("inf", *ZERO),
    ("-Infinity", *ZERO),
    ("1e400", OUT_OF_RANGE, None),
    ("-1e400", OUT_OF_RANGE, None),
    ("1e99999999999999999999", OUT_OF_RANGE, None),
    ("99999999999999999999999999999", OUT_OF_RANGE, None),
    ("1e-400", *ZERO),
    ("-1e-400", *ZERO),
    ("-0", *ZERO),
    ("\u0661\u0664\u066b\u0662", *ZERO),  # 14.2 in Arabic-Indic digits
    ("\uff11\uff14.\uff12", *ZERO),       # 14.2 in full-width digits
    ("\u0967\u096a", *ZERO),              # 14 in Devanagari digits
    ("1\u0664", "RC=4   Hex=200000", "00 00 20 00"),
    ("\x0714.2", *ZERO),
    ("14\x1b.2", "RC=4   Hex=1C00000", "00 00 C0 01"),
    ("\u202e14.2", *ZERO),                # right-to-left override
    ("%s%n%x", *ZERO),
    ("0x1C", *ZERO),
    ("1..2", "RC=4   Hex=200000", "00 00 20 00"),
    ("--5", *ZERO),
    ("&H", *ZERO),
    ("&H" + "F" * 40, OUT_OF_RANGE, None),
    ("&H" + "0" * 38 + "0E", "RC=4   Hex=1C00000", "00 00 C0 01"),
    ("&HFFFFFFFF", OUT_OF_RANGE, None),
    ("&H3FF", "RC=4   Hex=7FE00000", "00 00 E0 7F"),
    ("&O" + "7" * 40, OUT_OF_RANGE, None),
]


class HostileInputTest(ProgramTest):
    def test_hostile_texts(self):
        for text, line, data in HOSTILE:
            with self.subTest(text=text if len(text) < 50 else f"{text[:10]}... ({len(text)})"):
                self.program.type_frequency(text)
                # Pasting may cut a long text short; what the field holds is what counts.
                held = self.program.typed_frequency
                self.assertTrue(text.startswith(held) and bool(held) == bool(text),
                                f"the field holds {held[:40]!r}")
                reply = self.program.press("Set by value")
                self.assertEqual(reply, (line, [] if data is None else [set_frequency(data)]))
                self.assertTrue(self.program.receiver.running(), "the program has ended")
