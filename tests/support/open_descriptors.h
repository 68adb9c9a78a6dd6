#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <system_error>
#include <thread>

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

// The count once it has stayed the same for a fifth of a second. Other threads
// of the process open descriptors of their own in their own time: umockdev's,
// and libusb's event thread, which after libusb's start takes a while to
// settle. A descriptor that a test's code leaked stays open all the same.
inline std::size_t settledOpenDescriptors(Sockets sockets = Sockets::Counted)
{
    using namespace std::chrono_literals;
    constexpr auto kStill = 200ms;
    constexpr auto kStep = 20ms;
    std::size_t count = openDescriptors(sockets);
    for (auto still = 0ms, waited = 0ms; still < kStill && waited < 10 * kStill; waited += kStep) {
        std::this_thread::sleep_for(kStep);
        const std::size_t now = openDescriptors(sockets);
        still = now == count ? still + kStep : 0ms;
        count = now;
    }
    return count;
}

} // namespace vexa::testing
