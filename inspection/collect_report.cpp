#include "inspection/usb_report.h"

#include "usb/device_list.h"

#include <libusb.h>

namespace vexa {

namespace {

std::string speedName(int speed)
{
    switch (speed) {
    case LIBUSB_SPEED_LOW: return "low";
    case LIBUSB_SPEED_FULL: return "full";
    case LIBUSB_SPEED_HIGH: return "high";
    case LIBUSB_SPEED_SUPER: return "super";
    case LIBUSB_SPEED_SUPER_PLUS: return "super+";
    default: return "unknown";
    }
}

ConfigurationReport configurationOf(const libusb_config_descriptor& config, int speed,
                                    std::uint16_t usbVersion)
{
    ConfigurationReport report;
    report.value = config.bConfigurationValue;
    report.attributes = config.bmAttributes;
    report.maxPowerMilliamps = maxPowerMilliamps(config.MaxPower, speed, usbVersion);
    for (int i = 0; i < config.bNumInterfaces; ++i) {
        const libusb_interface& interface = config.interface[i];
        for (int a = 0; a < interface.num_altsetting; ++a) {
            const libusb_interface_descriptor& setting = interface.altsetting[a];
            InterfaceReport entry{setting.bInterfaceNumber, setting.bAlternateSetting,
                                  setting.bInterfaceClass, setting.bInterfaceSubClass,
                                  setting.bInterfaceProtocol, {}};
            for (int e = 0; e < setting.bNumEndpoints; ++e) {
                const libusb_endpoint_descriptor& endpoint = setting.endpoint[e];
                entry.endpoints.push_back({endpoint.bEndpointAddress, endpoint.bmAttributes,
                                           endpoint.wMaxPacketSize, endpoint.bInterval});
            }
            report.interfaces.push_back(std::move(entry));
        }
    }
    return report;
}

DeviceReport deviceOf(libusb_device* device)
{
    DeviceReport report;
    const auto failed = [&report](const DeviceFailure& failure) {
        report.failures.push_back(failure);
    };
    report.place = placeOf(device);
    const int speed = libusb_get_device_speed(device);
    report.speed = speedName(speed);

    libusb_device_descriptor descriptor{};
    if (const int result = libusb_get_device_descriptor(device, &descriptor);
        result != LIBUSB_SUCCESS) {
        failed(failureOf("read the device descriptor", result));
        return report;
    }
    report.vendorId = descriptor.idVendor;
    report.productId = descriptor.idProduct;
    report.usbVersion = descriptor.bcdUSB;
    report.deviceVersion = descriptor.bcdDevice;
    report.deviceClass = descriptor.bDeviceClass;
    report.subclass = descriptor.bDeviceSubClass;
    report.protocol = descriptor.bDeviceProtocol;
    report.maxPacketSize0 = descriptor.bMaxPacketSize0;
    for (std::uint8_t i = 0; i < descriptor.bNumConfigurations; ++i) {
        libusb_config_descriptor* config = nullptr;
        if (const int result = libusb_get_config_descriptor(device, i, &config);
            result != LIBUSB_SUCCESS) {
            failed(failureOf("read configuration " + std::to_string(i), result));
            continue;
        }
        report.configurations.push_back(configurationOf(*config, speed, descriptor.bcdUSB));
        libusb_free_config_descriptor(config);
    }

    UsbDevice opened(failed);
    report.openFailure = opened.open(device);
    if (!report.openFailure) {
        report.manufacturer = opened.manufacturer();
        report.product = opened.product();
        report.serial = opened.serialNumber();
    } else {
        for (DecodedString* text : {&report.manufacturer, &report.product, &report.serial})
            text->problem = "the device does not open";
    }
    return report;
}

std::vector<const DeviceReport*> select(const std::vector<DeviceReport>& devices, bool receivers)
{
    std::vector<const DeviceReport*> selected;
    for (const DeviceReport& device : devices)
        if (device.isReceiverId() == receivers)
            selected.push_back(&device);
    return selected;
}

} // namespace

unsigned maxPowerMilliamps(std::uint8_t maxPower, int speed, std::uint16_t usbVersion)
{
    // The unit is 8 mA for a device that runs at SuperSpeed or faster and
    // 2 mA below, whatever the device could do on another port. Where libusb
    // cannot tell the speed, the USB version the device claims decides, as
    // lsusb decides: a USB 3 device on a USB 2 port claims 2.10.
    const bool superSpeed = speed == LIBUSB_SPEED_UNKNOWN ? usbVersion >= 0x0300
                                                          : speed >= LIBUSB_SPEED_SUPER;
    return (superSpeed ? 8u : 2u) * maxPower;
}

std::vector<const DeviceReport*> UsbReport::receivers() const { return select(devices, true); }

std::vector<const DeviceReport*> UsbReport::others() const { return select(devices, false); }

UsbReport collectReport()
{
    UsbReport report;
    libusb_context* context = nullptr;
    if (const int result = libusb_init(&context); result != LIBUSB_SUCCESS) {
        report.failure = failureOf("start libusb", result);
        return report;
    }
    {
        const DeviceList attached(context);
        if (attached.error() != LIBUSB_SUCCESS)
            report.failure = failureOf("list the devices", attached.error());
        for (libusb_device* device : attached.devices())
            report.devices.push_back(deviceOf(device));
    }
    libusb_exit(context);
    return report;
}

} // namespace vexa
