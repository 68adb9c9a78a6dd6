"""vexa-sdr-usb-report as a program, run by the emulated receiver's harness
with a second device that shares the receiver's IDs: its JSON, its exit status,
and its descriptors against those that `lsusb -v` reads from the same bus."""

import json
import os
import re
import subprocess
import unittest

HARNESS = os.environ["VEXA_RECEIVER_HARNESS"]
REPORT = os.environ["VEXA_USB_REPORT"]
SECONDS = 30
# A backslash and text beyond ASCII, a surrogate pair in UTF-16 among it; the
# report shows the backslash doubled, so that it cannot pass for an escape.
MANUFACTURER = "Vexa\\SDR \u00d8\u20ac\U0001f4e1"
SHOWN_MANUFACTURER = MANUFACTURER.replace("\\", "\\\\")


def on_emulated_bus(*command):
    return subprocess.run([HARNESS, "--second-device", "--serial", "VX 7",
                           "--manufacturer", MANUFACTURER, "--", *command],
                          capture_output=True, encoding="utf-8", timeout=SECONDS,
                          stdin=subprocess.DEVNULL)


def lsusb_fields(block):
    """The numbers `lsusb -v` shows for one device, by descriptor field."""
    return {name: value for name, value in re.findall(r"^\s+(\w+)\s+(\S+)", block, re.M)}


class UsbReportProgramTest(unittest.TestCase):
    def test_json_names_the_tuned_device_and_agrees_with_lsusb(self):
        ran = on_emulated_bus(REPORT, "--json")
        self.assertEqual(ran.returncode, 0, ran.stderr)
        report = json.loads(ran.stdout[ran.stdout.index("{"):])
        self.assertEqual(report["exit_status"], 0)
        receivers = [d for d in report["devices"] if d["receiver_id"]]
        self.assertEqual(len(receivers), 2)
        self.assertEqual([d["tuned_by_window"] for d in receivers], [True, False])
        self.assertEqual({d["serial"] for d in receivers}, {"VX 7", "BT-9"})
        # A string reads back from the JSON as the text report shows it.
        [receiver] = [d for d in receivers if d["serial"] == "VX 7"]
        self.assertEqual(receiver["manufacturer"], SHOWN_MANUFACTURER)
        self.assertIn('Manufacturer: "%s"\n' % SHOWN_MANUFACTURER, on_emulated_bus(REPORT).stdout)
        # The harness tells the second device's requests apart from the receiver's.
        self.assertIn("\nsecond request 06 value 0303 index 0409 data 0A 03", ran.stdout)
        self.assertIn("\nrequest 06 value 0303 index 0409 data 0A 03 56 00 58 00 20 00 37 00",
                      ran.stdout)

        listed = on_emulated_bus("lsusb", "-v").stdout
        for device in receivers:
            block = listed.split("Bus %03d Device %03d:" % (device["bus"], device["address"]))[1]
            fields = lsusb_fields(block.split("\nBus ")[0])
            [configuration] = device["configurations"]
            [interface] = configuration["interfaces"]
            self.assertEqual(
                (fields["bcdUSB"], fields["bcdDevice"], int(fields["bDeviceClass"]),
                 int(fields["bMaxPacketSize0"]), fields["MaxPower"],
                 int(fields["bmAttributes"], 16), int(fields["bInterfaceClass"])),
                (device["usb_version"], device["device_version"], device["class"],
                 device["max_packet_size0"], "%dmA" % configuration["max_power_ma"],
                 configuration["attributes"], interface["class"]))


if __name__ == "__main__":
    unittest.main()
