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


def on_emulated_bus(*command):
    return subprocess.run([HARNESS, "--second-device", "--", *command], capture_output=True,
                          text=True, timeout=SECONDS, stdin=subprocess.DEVNULL)


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
        self.assertEqual({d["serial"] for d in receivers}, {"VX-000172", "BT-9"})
        self.assertIn("the window tunes the first, bus 001 address %03d"
                      % receivers[0]["address"], report["verdict"])

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
