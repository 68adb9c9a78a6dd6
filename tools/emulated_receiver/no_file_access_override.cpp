#include "emulated_receiver/no_file_access_override.h"

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <stdexcept>

namespace vexa::testing {

namespace {

constexpr std::uint32_t kOverrides = 1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH;

// Capabilities are per thread; the raw calls act on the calling one.
struct ThreadCapabilities {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};

    ThreadCapabilities()
    {
        if (::syscall(SYS_capget, &header, data) != 0)
            throw std::runtime_error("capget failed");
    }
    void apply()
    {
        if (::syscall(SYS_capset, &header, data) != 0)
            throw std::runtime_error("capset failed");
    }
};

} // namespace

NoFileAccessOverride::NoFileAccessOverride()
{
    ThreadCapabilities caps;
    savedEffective_ = caps.data[0].effective & kOverrides;
    caps.data[0].effective &= ~kOverrides;
    caps.apply();
}

NoFileAccessOverride::~NoFileAccessOverride()
{
    ThreadCapabilities caps;
    caps.data[0].effective |= savedEffective_;
    caps.apply();
}

bool dropFileAccessOverrideForChildren()
{
    return ::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) == 0 &&
           ::prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0) == 0;
}

} // namespace vexa::testing
