"""Checks the receiver's udev rule file where no udev rule validator is available.

Usage: udev_rule_test.py RULES_FILE
"""
import os
import re
import sys
import unittest

VENDOR_ID = "16c0"
PRODUCT_ID = "05dc"
SEAT_ACL_RULES = "73-seat-late.rules"

MATCH_OPERATORS = {"==", "!="}
ASSIGN_OPERATORS = {"=", "+=", "-=", ":="}
MATCH_KEYS = {"ACTION", "DEVPATH", "KERNEL", "KERNELS", "NAME", "SUBSYSTEM", "SUBSYSTEMS",
              "DRIVER", "DRIVERS", "ATTR", "ATTRS", "SYSCTL", "ENV", "TAG", "TAGS", "TEST",
              "PROGRAM", "RESULT", "CONST"}
ASSIGN_KEYS = {"NAME", "SYMLINK", "OWNER", "GROUP", "MODE", "SECLABEL", "ATTR", "SYSCTL",
               "ENV", "TAG", "RUN", "LABEL", "GOTO", "IMPORT", "OPTIONS"}
KEYS_WITH_ATTRIBUTE = {"ATTR", "ATTRS", "SYSCTL", "ENV", "CONST", "SECLABEL"}
KEYS_WITH_OPTIONAL_ATTRIBUTE = {"TEST", "RUN", "IMPORT"}

PAIR = re.compile(r'\s*(?P<key>[A-Z]+)(?:\{(?P<attr>[^}]*)\})?\s*'
                  r'(?P<op>==|!=|\+=|-=|:=|=)\s*"(?P<value>(?:[^"\\]|\\.)*)"\s*')


def rule_lines(text):
    """Yields (line number, rule text), joining lines continued with a backslash."""
    pending, start = "", 0
    for number, line in enumerate(text.splitlines(), 1):
        if not pending:
            start = number
        if line.endswith("\\"):
            pending += line[:-1]
            continue
        rule, pending = (pending + line).strip(), ""
        if rule and not rule.startswith("#"):
            yield start, rule


def parse_rule(rule):
    """Returns the rule's (key, attribute, operator, value) tuples; raises ValueError."""
    pairs, position = [], 0
    while position < len(rule):
        found = PAIR.match(rule, position)
        if not found:
            raise ValueError(f"no key, operator and quoted value at: {rule[position:]}")
        pairs.append((found["key"], found["attr"], found["op"], found["value"]))
        position = found.end()
        if position < len(rule):
            if rule[position] != ",":
                raise ValueError(f"expected a comma at: {rule[position:]}")
            position += 1
    return pairs


def pair_problems(key, attr, op, value):
    if key not in MATCH_KEYS | ASSIGN_KEYS:
        return [f"unknown key {key}"]
    if op in MATCH_OPERATORS and key not in MATCH_KEYS:
        return [f"{key} cannot be matched"]
    if op in ASSIGN_OPERATORS and key not in ASSIGN_KEYS:
        return [f"{key} cannot be assigned"]
    if (attr is not None) != (key in KEYS_WITH_ATTRIBUTE) and \
            key not in KEYS_WITH_OPTIONAL_ATTRIBUTE:
        return [f"{key} {'needs' if attr is None else 'takes no'} {{attribute}}"]
    if key == "MODE" and not re.fullmatch(r"0?[0-7]{3}", value):
        return [f"MODE {value} is not an octal mode"]
    if key == "ATTR" and attr in {"idVendor", "idProduct"}:
        wanted = VENDOR_ID if attr == "idVendor" else PRODUCT_ID
        if op != "==":
            return [f"ATTR{{{attr}}} must be matched with ==, not {op}"]
        if value != wanted:
            return [f"ATTR{{{attr}}} is {value}, sysfs spells it {wanted}"]
    return []


def problems(file_name, text):
    """Lists everything wrong with a rules file's name and text."""
    found = []
    if not file_name.endswith(".rules"):
        found.append(f"{file_name} does not end in .rules, udev would skip it")
    if file_name >= SEAT_ACL_RULES:
        found.append(f"{file_name} sorts after {SEAT_ACL_RULES}: the uaccess tag comes too late")
    uaccess_lines = 0
    for number, rule in rule_lines(text):
        try:
            pairs = parse_rule(rule)
        except ValueError as error:
            found.append(f"line {number}: {error}")
            continue
        for pair in pairs:
            found += [f"line {number}: {problem}" for problem in pair_problems(*pair)]
        keys = {(key, attr): value for key, attr, _, value in pairs}
        if keys.get(("ATTR", "idVendor")) != VENDOR_ID or \
                keys.get(("ATTR", "idProduct")) != PRODUCT_ID:
            found.append(f"line {number}: does not match only the receiver")
        if ("TAG", None) in keys and keys[("TAG", None)] == "uaccess":
            uaccess_lines += 1
            if ("GROUP", None) in keys:
                found.append(f"line {number}: a missing group would drop the uaccess tag")
    if uaccess_lines == 0:
        found.append("no line tags the receiver for uaccess")
    return found


RULE = ('SUBSYSTEM=="usb", ATTR{idVendor}=="16c0", ATTR{idProduct}=="05dc", '
        'ENV{ID_SOFTWARE_RADIO}="1", TAG+="uaccess"\n')
GROUP_RULE = 'SUBSYSTEM=="usb", ATTR{idVendor}=="16c0", ATTR{idProduct}=="05dc", GROUP="plugdev", MODE="0660"\n'


class RuleFileTest(unittest.TestCase):
    path = None

    def test_the_shipped_rule_file_is_sound(self):
        with open(self.path, encoding="utf-8") as rules:
            self.assertEqual(problems(os.path.basename(self.path), rules.read()), [])

    def test_faults_are_found(self):
        cases = [
            ("upper-case vendor ID", "60-x.rules", RULE.replace("16c0", "16C0")),
            ("vendor ID assigned, not matched", "60-x.rules",
             RULE.replace('ATTR{idVendor}=="16c0"', 'ATTR{idVendor}="16c0"')),
            ("no product match", "60-x.rules", RULE.replace(', ATTR{idProduct}=="05dc"', "")),
            ("unquoted value", "60-x.rules", RULE.replace('"usb"', "usb")),
            ("missing comma", "60-x.rules", RULE.replace('"usb",', '"usb"')),
            ("unknown key", "60-x.rules", RULE.replace("SUBSYSTEM", "SUBSYTEM")),
            ("GROUP matched", "60-x.rules", RULE + GROUP_RULE.replace('GROUP="', 'GROUP=="')),
            ("ENV without name", "60-x.rules", RULE.replace("ENV{ID_SOFTWARE_RADIO}", "ENV")),
            ("mode not octal", "60-x.rules", RULE + GROUP_RULE.replace("0660", "rw")),
            ("group on the uaccess line", "60-x.rules",
             RULE.replace('TAG+="uaccess"', 'TAG+="uaccess", GROUP="plugdev"')),
            ("no uaccess tag", "60-x.rules", GROUP_RULE),
            ("after seat ACLs", "75-x.rules", RULE),
            ("not a rules file", "60-x.conf", RULE),
        ]
        for name, file_name, text in cases:
            with self.subTest(name):
                self.assertNotEqual(problems(file_name, text), [])

    def test_continued_and_commented_lines(self):
        text = "# comment\n\n" + RULE.replace(", TAG", ", \\\n    TAG") + GROUP_RULE
        self.assertEqual(problems("60-x.rules", text), [])


if __name__ == "__main__":
    RuleFileTest.path = sys.argv.pop(1)
    unittest.main()
