#include "inspection/report_json.h"

#include "inspection/report_fields.h"

namespace vexa {

namespace {

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
    std::string out = printed("{\"bus\": %u, \"address\": %u, \"port_path\": ",
                              unsigned{device.place.bus}, unsigned{device.place.address}) +
                      quoted(portPathText(device.place)) +
                      printed(", \"vendor_id\": \"%04x\", \"product_id\": \"%04x\", ",
                              device.vendorId, device.productId) +
                      "\"receiver_id\": " + (device.isReceiverId() ? "true" : "false") +
                      ", \"tuned_by_window\": " + (tuned ? "true" : "false") +
                      printed(", \"class\": %u, \"subclass\": %u, \"protocol\": %u, ",
                              device.deviceClass, device.subclass, device.protocol) +
                      "\"speed\": " + quoted(device.speed) +
                      ", \"usb_version\": " + quoted(bcdVersion(device.usbVersion)) +
                      ", \"device_version\": " + quoted(bcdVersion(device.deviceVersion)) +
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
