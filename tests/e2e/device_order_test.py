"""Which device a request reaches when two share the receiver's IDs and one
of them is plugged in while the program runs: the rig-control server, given
a serial number, chooses among the devices it opens, whatever the plug order
(the window and the report are checked in tests/inspection)."""

import os
import unittest

from rig_client import RunningServer

SERVER = os.environ["VEXA_RIGCTLD"]
HARNESS = os.environ["VEXA_RECEIVER_HARNESS"]
RECEIVER_SERIAL = "VX-000172"  # the harness's defaults; its second device has BT-9
SECOND_SERIAL = "BT-9"
SET_FREQUENCY = 0x32


def sets_on_each_device(harness):
    """How many frequency sets the receiver and the second device got."""
    on_receiver = [t for t in harness.take_transfers() if t.request == SET_FREQUENCY]
    on_second = [line for line in harness.output()
                 if line.startswith("second request %02X " % SET_FREQUENCY)]
    return len(on_receiver), len(on_second)


def server_errors(harness):
    return [line for line in harness.program_errors().splitlines()
            if not line.startswith("vexa-emulated-receiver:")]


class DeviceOrderTest(unittest.TestCase):
    def test_serial_chooses_the_device_whichever_was_plugged_in_first(self):
        # (serial asked for, the receiver plugged in at the start rather than after
        #  the second device, sets expected on the receiver and on the second device)
        cases = [
            (RECEIVER_SERIAL, False, (1, 0)),
            (RECEIVER_SERIAL, True, (2, 0)),
            (SECOND_SERIAL, True, (0, 1)),
        ]
        for serial, receiver_at_start, expected in cases:
            with self.subTest(serial=serial, receiver_at_start=receiver_at_start), \
                    RunningServer(SERVER, HARNESS, "--serial", serial, plugged=receiver_at_start,
                                  harness_options=[] if receiver_at_start
                                  else ["--second-device"]) as server, \
                    server.connect() as client:
                harness = server.receiver
                wanted_there = receiver_at_start == (serial == RECEIVER_SERIAL)
                self.assertEqual(client.ask("F 14074000"),
                                 ["RPRT 0" if wanted_there else "RPRT -9"])
                if receiver_at_start:
                    harness.plug_second()
                else:
                    harness.plug()
                self.assertEqual(client.ask("F 7000000"), ["RPRT 0"])
                self.assertEqual(sets_on_each_device(harness), expected)

                errors = server_errors(harness)
                self.assertTrue(all(line.startswith("vexa-sdr-rigctld: ") for line in errors),
                                errors)
                self.assertFalse(any("share the ID" in line for line in errors), errors)
                # A set that found no device with the serial said why.
                self.assertEqual(any(f'has the serial number "{serial}"' in line
                                     for line in errors), not wanted_there, errors)


if __name__ == "__main__":
    unittest.main()
