// libFuzzer target for the string descriptors a device sends, which may be
// any bytes: decoding never reads past them, and what it shows holds no
// control character and is valid UTF-8, so it cannot garble a terminal, a log
// or the JSON report. Wrong results are reported through abort().

#include "usb/string_descriptor.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

namespace {

void check(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "string descriptor: %s\n", what);
    std::abort();
}

// The length of the UTF-8 sequence at text[at], or 0 if none starts there.
std::size_t sequenceAt(const std::string& text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead >> 5 == 0x06 ? 2 : lead >> 4 == 0x0E ? 3
                                           : lead >> 3 == 0x1E ? 4 : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
            return 0;
    return length;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const vexa::DecodedString decoded = vexa::decodeStringDescriptor(bytes);
    check(decoded.readable() || decoded.text.empty(), "text beside a problem");
    for (std::size_t at = 0; at < decoded.text.size();) {
        const auto c = static_cast<unsigned char>(decoded.text[at]);
        check(c >= 0x20 && c != 0x7F, "a control character is shown as it stands");
        const std::size_t length = sequenceAt(decoded.text, at);
        check(length != 0, "the text is no valid UTF-8");
        at += length;
    }
    if (const auto language = vexa::firstLanguage(bytes))
        check(size >= 4 && *language == (data[2] | data[3] << 8), "a language from nowhere");
    return 0;
}
