#pragma once

#include <string>
#include <string_view>

namespace vexa {

// The modes clients may set, each with its bit in the protocol's mode mask.
// The receiver has no modes: the server keeps the one last set on each VFO,
// so that clients read back what they set.
bool isKnownMode(std::string_view name);

// The mask of them all, as "\dump_state" declares it ("0x1dff").
std::string modeMaskText();

} // namespace vexa
