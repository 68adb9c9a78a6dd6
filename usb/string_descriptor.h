#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vexa {

// A string descriptor as a device sent it, which may be any bytes: its text
// in UTF-8 with every character that could garble a terminal or a log (control
// characters, unpaired surrogates, direction marks, a stray odd byte, the
// backslash itself) written as an escape such as \u0007 or \xFF; or, when the
// bytes are no string descriptor at all, why not.
struct DecodedString {
    std::string text;
    std::string problem; // empty when readable

    bool readable() const { return problem.empty(); }
};

DecodedString decodeStringDescriptor(std::span<const std::uint8_t> bytes);

// The first language of a language table (string descriptor 0); nothing when
// the table is malformed or empty.
std::optional<std::uint16_t> firstLanguage(std::span<const std::uint8_t> bytes);

} // namespace vexa
