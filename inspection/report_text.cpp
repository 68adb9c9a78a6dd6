#include "inspection/report_text.h"

#include "inspection/report_fields.h"

#include <cstdio>

namespace vexa {

namespace {

std::string shown(const DecodedString& text)
{
    if (text.readable())
        return "\"" + text.text + "\"";
    return "unreadable (" + text.problem + ")";
}

std::string failureText(const DeviceFailure& failure)
{
    return failure.name + " (" + failure.meaning + ")";
}

const char* transferType(std::uint8_t attributes)
{
    constexpr const char* kTypes[] = {"control", "isochronous", "bulk", "interrupt"};
    return kTypes[attributes & 0x03];
}

void appendDescriptors(std::string& out, const DeviceReport& device, const char* indent)
{
    out += printed("%sDevice: USB %s, class %02x/%02x/%02x, EP0 %u bytes, release %s, %zu "
                   "configuration(s)\n",
                   indent, bcdVersion(device.usbVersion).c_str(), device.deviceClass,
                   device.subclass, device.protocol, device.maxPacketSize0,
                   bcdVersion(device.deviceVersion).c_str(), device.configurations.size());
    for (const ConfigurationReport& config : device.configurations) {
        out += printed("%s  Configuration %u: attributes %02x%s, up to %u mA\n", indent,
                       config.value, config.attributes,
                       (config.attributes & 0x40) != 0 ? " (self-powered)" : "",
                       config.maxPowerMilliamps);
        for (const InterfaceReport& interface : config.interfaces) {
            out += printed("%s    Interface %u alternate %u: class %02x/%02x/%02x, %zu "
                           "endpoint(s)\n",
                           indent, interface.number, interface.alternate,
                           interface.interfaceClass, interface.subclass, interface.protocol,
                           interface.endpoints.size());
            for (const EndpointReport& endpoint : interface.endpoints)
                out += printed("%s      Endpoint %02x %s %s, %u bytes, interval %u\n", indent,
                               endpoint.address, (endpoint.address & 0x80) != 0 ? "IN" : "OUT",
                               transferType(endpoint.attributes), endpoint.maxPacketSize,
                               endpoint.interval);
        }
    }
    for (const DeviceFailure& failure : device.failures)
        out += indent + ("Could not " + failure.step) + ": " + failureText(failure) + "\n";
}

std::string headline(const DeviceReport& device)
{
    // Bus and device as lsusb writes them, so that its lines can be matched.
    return printed("Bus %03u Device %03u: ID %04x:%04x, port %s, %s speed",
                   unsigned{device.place.bus}, unsigned{device.place.address},
                   unsigned{device.vendorId}, unsigned{device.productId},
                   portPathText(device.place).c_str(), device.speed.c_str());
}

void appendReceiver(std::string& out, const DeviceReport& device, std::size_t number,
                    Platform platform, bool verbose)
{
    out += printed("  %zu. ", number) + headline(device) +
           (number == 1 ? "  <- the window tunes this one\n" : "\n");
    out += "     Manufacturer: " + shown(device.manufacturer) + "\n";
    out += "     Product:      " + shown(device.product) + "\n";
    out += "     Serial:       " + shown(device.serial) + "\n";
    if (!device.openFailure) {
        out += "     Opens:        yes\n";
    } else {
        out += "     Opens:        no, " + failureText(*device.openFailure) + "\n";
        // The verdict says what to do about the first.
        if (number > 1)
            out += "     What to do:   " + openAdvice(device.openFailure->error, platform) +
                   "\n";
    }
    if (verbose)
        appendDescriptors(out, device, "     ");
}

} // namespace

std::string formatReport(const UsbReport& report, const Verdict& verdict, Platform platform,
                         bool verbose)
{
    std::string out = "Vexa SDR USB report\n\n";
    const auto receivers = report.receivers();
    out += "Devices with the receiver's USB ID " +
           usbIdText(kReceiverVendorId, kReceiverProductId) + ": " +
           std::to_string(receivers.size()) + "\n";
    for (std::size_t i = 0; i < receivers.size(); ++i)
        appendReceiver(out, *receivers[i], i + 1, platform, verbose);

    const auto others = report.others();
    out += "\nOther USB devices: " + std::to_string(others.size()) + "\n";
    for (const DeviceReport* device : others) {
        out += "  " + headline(*device) + "\n";
        if (device->manufacturer.readable() || device->product.readable())
            out += "     " + shown(device->manufacturer) + ", " + shown(device->product) + "\n";
        if (verbose) {
            out += "     Serial: " + shown(device->serial) + "\n";
            appendDescriptors(out, *device, "     ");
        }
    }
    out += "\nVerdict: " + verdict.line + "\n";
    for (const std::string& advice : verdict.advice)
        out += "  " + advice + "\n";
    return out;
}

} // namespace vexa
