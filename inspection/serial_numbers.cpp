#include "inspection/serial_numbers.h"

#include "inspection/usb_device.h"
#include "usb/device_list.h"

#include <libusb.h>

namespace vexa {

std::vector<std::optional<std::string>> readSerialNumbers(std::uint16_t vendorId,
                                                          std::uint16_t productId)
{
    std::vector<std::optional<std::string>> serials;
    libusb_context* context = nullptr;
    if (libusb_init(&context) != LIBUSB_SUCCESS)
        return serials;
    {
        // One listing, the one vb_usb_open walks, so that the places match.
        const DeviceList attached(context);
        for (libusb_device* device : attached.withIds(vendorId, productId)) {
            // A failure leaves that device's place empty, which is all a
            // caller choosing by serial number needs to know.
            UsbDevice opened(nullptr);
            std::optional<std::string> serial;
            if (!opened.open(device))
                if (const DecodedString read = opened.serialNumber(); read.readable())
                    serial = read.text;
            serials.push_back(std::move(serial));
        }
    }
    libusb_exit(context);
    return serials;
}

} // namespace vexa
