#include "emulated_receiver/outcome.h"

#include <array>
#include <utility>

namespace vexa::testing {

namespace {

constexpr std::array<std::pair<Outcome, std::string_view>, 5> kNames{{
    {Outcome::Success, "success"},
    {Outcome::Stall, "stall"},
    {Outcome::Timeout, "timeout"},
    {Outcome::NoDevice, "nodevice"},
    {Outcome::IoError, "io"},
}};

} // namespace

std::optional<Outcome> outcomeNamed(std::string_view name)
{
    for (const auto& [outcome, text] : kNames)
        if (text == name)
            return outcome;
    return std::nullopt;
}

std::string_view nameOf(Outcome outcome)
{
    for (const auto& [candidate, text] : kNames)
        if (candidate == outcome)
            return text;
    return {};
}

} // namespace vexa::testing
