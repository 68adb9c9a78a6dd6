#pragma once

#include <cstdint>

namespace vexa::testing {

// While it lives, the calling thread lacks CAP_DAC_OVERRIDE and
// CAP_DAC_READ_SEARCH in its effective set, so file modes bind it as they bind
// an operator's account even when the tests run as root. Harmless without
// those capabilities.
class NoFileAccessOverride {
public:
    NoFileAccessOverride();
    ~NoFileAccessOverride();
    NoFileAccessOverride(const NoFileAccessOverride&) = delete;
    NoFileAccessOverride& operator=(const NoFileAccessOverride&) = delete;

private:
    std::uint32_t savedEffective_ = 0; // the low word holds both capabilities
};

// Removes both capabilities from the bounding set of this process, so that a
// program it then executes lacks them even as root. False if that failed.
bool dropFileAccessOverrideForChildren();

} // namespace vexa::testing
