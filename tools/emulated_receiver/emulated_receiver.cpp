#include "emulated_receiver/emulated_receiver.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace vexa::testing {

namespace {

constexpr const char* kReceiverSysPath = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1";
constexpr const char* kSecondSysPath = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2";
constexpr int kBus = 1;
constexpr std::uint16_t kUsEnglish = 0x0409;
constexpr std::uint8_t kStringDescriptor = 0x03;

// Device descriptor (USB 1.1, vendor class, 8-byte EP0, 16C0:05DC, release
// 1.00, strings 1 to 3 for manufacturer, product and serial number, one
// configuration) and the configuration with one interface and no endpoints
// beyond EP0, as sysfs shows them in "descriptors".
constexpr const char* kDescriptors = "12011001FF000008C016DC05000101020301"
                                     "0902120001010080320904000000FF000000";

// A string descriptor: length, type, then the text, given in UTF-8, in
// UTF-16LE.
std::vector<std::uint8_t> stringDescriptor(std::string_view text)
{
    std::vector<std::uint8_t> bytes{0, kStringDescriptor};
    const auto append = [&bytes](char32_t unit) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x3Fu >> (length - 1));
        for (std::size_t k = 1; k < length && at + k < text.size(); ++k)
            c = c << 6 | (static_cast<unsigned char>(text[at + k]) & 0x3Fu);
        at += length;
        if (c < 0x10000) {
            append(c);
        } else {
            append(0xD800 + ((c - 0x10000) >> 10));
            append(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    bytes[0] = static_cast<std::uint8_t>(bytes.size());
    return bytes;
}

std::string deviceRecord(const char* sysPath, int deviceNumber)
{
    char record[1024];
    std::snprintf(record, sizeof record,
                  "P: %s\n"
                  "N: bus/usb/%03d/%03d\n"
                  "E: SUBSYSTEM=usb\n"
                  "E: DEVTYPE=usb_device\n"
                  "E: DEVNAME=/dev/bus/usb/%03d/%03d\n"
                  "E: BUSNUM=%03d\n"
                  "E: DEVNUM=%03d\n"
                  "E: PRODUCT=16c0/5dc/100\n"
                  "E: TYPE=255/0/0\n"
                  "A: busnum=%d\n"
                  "A: devnum=%d\n"
                  "A: dev=189:%d\n"
                  "A: speed=1.5\n"
                  "A: idVendor=16c0\n"
                  "A: idProduct=05dc\n"
                  "A: bcdDevice=0100\n"
                  "A: bDeviceClass=ff\n"
                  "A: bNumConfigurations=1\n"
                  "A: bConfigurationValue=1\n"
                  "H: descriptors=%s\n",
                  sysPath + 4, kBus, deviceNumber, kBus, deviceNumber, kBus, deviceNumber, kBus,
                  deviceNumber, (kBus - 1) * 128 + deviceNumber - 1, kDescriptors);
    return record;
}

std::string takeString(gchar* text)
{
    std::string copy = text != nullptr ? text : "";
    g_free(text);
    return copy;
}

std::runtime_error failure(const std::string& what, GError* error)
{
    std::string message = what + ": " + (error != nullptr ? error->message : "unknown error");
    g_clear_error(&error);
    return std::runtime_error(message);
}

} // namespace

Identity receiverIdentity() { return {"Vexa SDR", "Vexa SDR Receiver", "VX-000172"}; }

Identity otherDeviceIdentity() { return {"Bench Tools", "Flash Programmer", "BT-9"}; }

bool umockdevPreloaded()
{
    const char* preload = std::getenv("LD_PRELOAD");
    return preload != nullptr && std::string_view(preload).find("libumockdev-preload") !=
                                     std::string_view::npos;
}

EmulatedReceiver::EmulatedReceiver(bool plugged)
    : receiver_{kReceiverSysPath, {}, {}}, second_{kSecondSysPath, {}, {}}
{
    if (!umockdevPreloaded())
        throw std::runtime_error(
            "the emulated receiver needs the umockdev preload: run under umockdev-wrapper");
    for (Port* port : {&receiver_, &second_})
        port->responder.setStringDescriptor(0, {4, kStringDescriptor, kUsEnglish & 0xFF,
                                                kUsEnglish >> 8});
    setIdentity(receiver_, receiverIdentity());
    setIdentity(second_, otherDeviceIdentity());
    testbed_ = umockdev_testbed_new();
    if (plugged)
        plug();
}

EmulatedReceiver::~EmulatedReceiver()
{
    unplug(second_);
    unplug(receiver_);
    g_object_unref(testbed_);
}

std::string EmulatedReceiver::rootDir() const
{
    return takeString(umockdev_testbed_get_root_dir(testbed_));
}

void EmulatedReceiver::setIdentity(Port& port, const Identity& identity)
{
    std::uint8_t index = 1;
    for (const std::string* text : {&identity.manufacturer, &identity.product, &identity.serial})
        port.responder.setStringDescriptor(index++, stringDescriptor(*text));
}

void EmulatedReceiver::plug(Port& port)
{
    if (!port.devnode.empty())
        return;
    ++deviceNumber_;
    char devnode[32];
    std::snprintf(devnode, sizeof devnode, "/dev/bus/usb/%03d/%03d", kBus, deviceNumber_);

    // The handler must be in place before the node exists, or the node
    // answers every ioctl with ENOTTY.
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(testbed_, devnode, port.responder.handler(), &error))
        throw failure("cannot emulate " + std::string(devnode), error);
    port.responder.setLiveNode(devnode);
    if (!umockdev_testbed_add_from_string(
            testbed_, deviceRecord(port.sysPath, deviceNumber_).c_str(), &error))
        throw failure("cannot add the device", error);
    port.devnode = devnode;
    applyAccess(); // umockdev has announced the device with an "add" uevent
}

void EmulatedReceiver::unplug(Port& port)
{
    if (port.devnode.empty())
        return;
    // Transfers in flight end first; then libusb hears of the removal before
    // the device's sysfs entry goes away.
    port.responder.setLiveNode({});
    umockdev_testbed_uevent(testbed_, port.sysPath, "remove");
    umockdev_testbed_remove_device(testbed_, port.sysPath);
    umockdev_testbed_detach_ioctl(testbed_, port.devnode.c_str(), nullptr);
    port.devnode.clear();
}

void EmulatedReceiver::denyAccess(bool denied)
{
    denied_ = denied;
    applyAccess();
}

std::optional<std::string> EmulatedReceiver::obey(std::string_view command)
{
    if (command == "plug") {
        plug();
        return "plugged";
    }
    if (command == "unplug") {
        unplug();
        return "unplugged";
    }
    if (command == "plug second" || command == "unplug second") {
        if (command == "plug second")
            plugSecondDevice();
        else
            unplugSecondDevice();
        return command == "plug second" ? "second plugged" : "second unplugged";
    }
    if (command == "deny" || command == "allow") {
        denyAccess(command == "deny");
        return command == "deny" ? "access denied" : "access allowed";
    }
    constexpr std::string_view kOutcome = "outcome ";
    if (command.starts_with(kOutcome)) {
        const std::string_view name = command.substr(kOutcome.size());
        if (const auto outcome = outcomeNamed(name)) {
            setOutcome(*outcome);
            return std::string(command);
        }
    }
    return std::nullopt;
}

void EmulatedReceiver::applyAccess() const
{
    if (!plugged())
        return;
    const std::string node = rootDir() + receiver_.devnode;
    if (::chmod(node.c_str(), denied_ ? 0444 : 0664) != 0)
        throw std::runtime_error("cannot change the mode of " + node);
}

} // namespace vexa::testing
