#include "libusb_call_count.h"

#include <libusb.h>

namespace vexa::bench {

namespace {

LibusbCallCount& counts()
{
    static LibusbCallCount calls;
    return calls;
}

template <auto Real, typename... Args>
auto counted(const char* name, Args... args)
{
    ++counts()[name];
    return Real(args...);
}

} // namespace

LibusbCallCount libusbCallsSoFar() { return counts(); }

LibusbCallCount callsBetween(const LibusbCallCount& before, const LibusbCallCount& after)
{
    LibusbCallCount made;
    for (const auto& [name, count] : after) {
        const auto earlier = before.find(name);
        const long since = count - (earlier == before.end() ? 0 : earlier->second);
        if (since != 0)
            made[name] = since;
    }
    return made;
}

} // namespace vexa::bench

// The linker sends every call of libusb_X in this program to __wrap_libusb_X,
// and __real_libusb_X is libusb's own. Keep this list in step with
// LIBUSB_WRAPPED in CMakeLists.txt.
extern "C" {

using vexa::bench::counted;

int __real_libusb_init(libusb_context**);
void __real_libusb_exit(libusb_context*);
ssize_t __real_libusb_get_device_list(libusb_context*, libusb_device***);
void __real_libusb_free_device_list(libusb_device**, int);
int __real_libusb_get_device_descriptor(libusb_device*, libusb_device_descriptor*);
libusb_device* __real_libusb_ref_device(libusb_device*);
void __real_libusb_unref_device(libusb_device*);
int __real_libusb_open(libusb_device*, libusb_device_handle**);
libusb_device_handle* __real_libusb_open_device_with_vid_pid(libusb_context*, uint16_t,
                                                             uint16_t);
void __real_libusb_close(libusb_device_handle*);
int __real_libusb_control_transfer(libusb_device_handle*, uint8_t, uint8_t, uint16_t, uint16_t,
                                   unsigned char*, uint16_t, unsigned int);

int __wrap_libusb_init(libusb_context** context)
{
    return counted<__real_libusb_init>("libusb_init", context);
}

void __wrap_libusb_exit(libusb_context* context)
{
    counted<__real_libusb_exit>("libusb_exit", context);
}

ssize_t __wrap_libusb_get_device_list(libusb_context* context, libusb_device*** list)
{
    return counted<__real_libusb_get_device_list>("libusb_get_device_list", context, list);
}

void __wrap_libusb_free_device_list(libusb_device** list, int unrefDevices)
{
    counted<__real_libusb_free_device_list>("libusb_free_device_list", list, unrefDevices);
}

int __wrap_libusb_get_device_descriptor(libusb_device* device,
                                        libusb_device_descriptor* descriptor)
{
    return counted<__real_libusb_get_device_descriptor>("libusb_get_device_descriptor", device,
                                                        descriptor);
}

libusb_device* __wrap_libusb_ref_device(libusb_device* device)
{
    return counted<__real_libusb_ref_device>("libusb_ref_device", device);
}

void __wrap_libusb_unref_device(libusb_device* device)
{
    counted<__real_libusb_unref_device>("libusb_unref_device", device);
}

int __wrap_libusb_open(libusb_device* device, libusb_device_handle** handle)
{
    return counted<__real_libusb_open>("libusb_open", device, handle);
}

libusb_device_handle* __wrap_libusb_open_device_with_vid_pid(libusb_context* context,
                                                             uint16_t vendorId,
                                                             uint16_t productId)
{
    return counted<__real_libusb_open_device_with_vid_pid>("libusb_open_device_with_vid_pid",
                                                           context, vendorId, productId);
}

void __wrap_libusb_close(libusb_device_handle* handle)
{
    counted<__real_libusb_close>("libusb_close", handle);
}

int __wrap_libusb_control_transfer(libusb_device_handle* handle, uint8_t requestType,
                                   uint8_t request, uint16_t value, uint16_t index,
                                   unsigned char* data, uint16_t length, unsigned int timeoutMs)
{
    return counted<__real_libusb_control_transfer>("libusb_control_transfer", handle,
                                                   requestType, request, value, index, data,
                                                   length, timeoutMs);
}

} // extern "C"
