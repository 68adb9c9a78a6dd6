#pragma once

#include <cstddef>
#include <filesystem>
#include <system_error>

namespace vexa::testing {

enum class Sockets { Counted, LeftOut };

// The descriptors this process holds open: files, devices, pipes, event and
// timer fds, and sockets unless they are left out. The listing's own
// descriptor does not count.
inline std::size_t openDescriptors(Sockets sockets = Sockets::Counted)
{
    std::size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code gone; // the listing's own descriptor, closed by now
        const std::string target = std::filesystem::read_symlink(entry.path(), gone).string();
        if (!gone && !(sockets == Sockets::LeftOut && target.starts_with("socket:")))
            ++count;
    }
    return count;
}

} // namespace vexa::testing
