#include "inspection/report_text.h"

#include <cstdio>

namespace vexa {

namespace {

std::string printed(const char* format, auto... values)
{
    char text[160];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string bcd(std::uint16_t version)
{
    return printed("%x.%02x", static_cast<unsigned>(version >> 8),
                   static_cast<unsigned>(version & 0xFF));
}

std::string portPath(const DeviceReport& device)
{
    std::string path = std::to_string(device.bus) + "-";
    for (std::size_t i = 0; i < device.ports.size(); ++i)
        path += (i == 0 ? "" : ".") + std::to_string(device.ports[i]);
    return device.ports.empty() ? path + "root" : path;
}

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
                   indent, bcd(device.usbVersion).c_str(), device.deviceClass, device.subclass,
                   device.protocol, device.maxPacketSize0, bcd(device.deviceVersion).c_str(),
                   device.configurations.size());
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
        out += printed("%sCould not %s: %s\n", indent, failure.step.c_str(),
                       failureText(failure).c_str());
}

std::string headline(const DeviceReport& device)
{
    return printed("Bus %03u Device %03u: ID %04x:%04x, port %s, %s speed", device.bus,
                   device.address, device.vendorId, device.productId,
                   portPath(device).c_str(), device.speed.c_str());
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
            for (const std::string& advice : openAdvice(*device.openFailure, platform))
                out += "     What to do:   " + advice + "\n";
    }
    if (verbose)
        appendDescriptors(out, device, "     ");
}

// JSON text with every character that JSON does not take as it stands escaped.
std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (static_cast<unsigned char>(c) < 0x20)
            out += printed("\\u%04x", static_cast<unsigned>(c));
        else
            out += c;
    }
    return out + "\"";
}

std::string jsonString(const DecodedString& text)
{
    return text.readable() ? quoted(text.text) : "null";
}

std::string jsonFailure(const std::optional<DeviceFailure>& failure)
{
    if (!failure)
        return "null";
    return "{\"step\": " + quoted(failure->step) + ", \"error\": " + quoted(failure->name) +
           ", \"meaning\": " + quoted(failure->meaning) + "}";
}

std::string jsonDevice(const DeviceReport& device, bool tuned)
{
    std::string out = printed("{\"bus\": %u, \"address\": %u, \"port_path\": ", device.bus,
                              device.address) +
                      quoted(portPath(device)) +
                      printed(", \"vendor_id\": \"%04x\", \"product_id\": \"%04x\", ",
                              device.vendorId, device.productId) +
                      "\"receiver_id\": " + (device.isReceiverId() ? "true" : "false") +
                      ", \"tuned_by_window\": " + (tuned ? "true" : "false") +
                      printed(", \"class\": %u, \"subclass\": %u, \"protocol\": %u, ",
                              device.deviceClass, device.subclass, device.protocol) +
                      "\"speed\": " + quoted(device.speed) +
                      ", \"usb_version\": " + quoted(bcd(device.usbVersion)) +
                      ", \"device_version\": " + quoted(bcd(device.deviceVersion)) +
                      printed(", \"max_packet_size0\": %u", device.maxPacketSize0) +
                      ", \"manufacturer\": " + jsonString(device.manufacturer) +
                      ", \"product\": " + jsonString(device.product) +
                      ", \"serial\": " + jsonString(device.serial) +
                      ", \"opens\": " + (device.openFailure ? "false" : "true") +
                      ", \"open_failure\": " + jsonFailure(device.openFailure) +
                      ", \"configurations\": [";
    for (std::size_t c = 0; c < device.configurations.size(); ++c) {
        const ConfigurationReport& config = device.configurations[c];
        out += (c == 0 ? "" : ", ") +
               printed("{\"value\": %u, \"attributes\": %u, \"max_power_ma\": %u, "
                       "\"interfaces\": [",
                       config.value, config.attributes, config.maxPowerMilliamps);
        for (std::size_t i = 0; i < config.interfaces.size(); ++i) {
            const InterfaceReport& interface = config.interfaces[i];
            out += (i == 0 ? "" : ", ") +
                   printed("{\"number\": %u, \"alternate\": %u, \"class\": %u, \"subclass\": "
                           "%u, \"protocol\": %u, \"endpoints\": [",
                           interface.number, interface.alternate, interface.interfaceClass,
                           interface.subclass, interface.protocol);
            for (std::size_t e = 0; e < interface.endpoints.size(); ++e) {
                const EndpointReport& endpoint = interface.endpoints[e];
                out += (e == 0 ? "" : ", ") +
                       printed("{\"address\": %u, \"attributes\": %u, \"max_packet_size\": %u, "
                               "\"interval\": %u}",
                               endpoint.address, endpoint.attributes, endpoint.maxPacketSize,
                               endpoint.interval);
            }
            out += "]}";
        }
        out += "]}";
    }
    out += "], \"failures\": [";
    for (std::size_t f = 0; f < device.failures.size(); ++f)
        out += (f == 0 ? "" : ", ") + jsonFailure(device.failures[f]);
    return out + "]}";
}

} // namespace

std::string formatReport(const UsbReport& report, const Verdict& verdict, Platform platform,
                         bool verbose)
{
    std::string out = "Vexa SDR USB report\n\n";
    const auto receivers = report.receivers();
    out += "Devices with the receiver's USB ID 16C0:05DC: " + std::to_string(receivers.size()) +
           "\n";
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

std::string formatJson(const UsbReport& report, const Verdict& verdict)
{
    const auto receivers = report.receivers();
    std::string out = "{\"verdict\": " + quoted(verdict.line) +
                      printed(", \"exit_status\": %d", verdict.exitStatus) + ", \"advice\": [";
    for (std::size_t i = 0; i < verdict.advice.size(); ++i)
        out += (i == 0 ? "" : ", ") + quoted(verdict.advice[i]);
    out += "], \"failure\": " + jsonFailure(report.failure) + ", \"devices\": [";
    bool first = true;
    for (const DeviceReport& device : report.devices) {
        out += (first ? "\n  " : ",\n  ") +
               jsonDevice(device, !receivers.empty() && &device == receivers.front());
        first = false;
    }
    return out + "]}\n";
}

} // namespace vexa
