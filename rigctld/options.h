#pragma once

#include "oscillator/dial.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

inline constexpr std::uint16_t kDefaultPort = 4532;

// The exit status of a wrong command line, sysexits.h's EX_USAGE, as the USB
// report's.
inline constexpr int kUsageErrorStatus = 64;

struct ServerOptions {
    std::uint16_t port = kDefaultPort;
    std::optional<std::string> listenAddress; // none: the loopback addresses
    DialSettings dial;
    std::optional<double> startDialHz; // tuned once at start
    std::optional<std::string> serial; // of the receiver to tune
};

// The command line read: the options, or that help was asked for, or what is
// wrong with it.
struct ParsedOptions {
    ServerOptions options;
    bool helpAsked = false;
    std::string error;
};
ParsedOptions parseOptions(const std::vector<std::string_view>& arguments);

std::string usageText();

} // namespace vexa
