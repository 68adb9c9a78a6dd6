#include "rigctld/options.h"

#include "rigctld/hz_text.h"
#include "rigctld/replies.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

namespace vexa {

namespace {

std::optional<double> finiteNumber(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::uint16_t> portNumber(std::string_view text)
{
    std::uint16_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value == 0)
        return std::nullopt;
    return value;
}

// Stores an option's value, or says what the value should have been.
using ValueReader = std::function<std::optional<std::string>(std::string_view, ServerOptions&)>;

std::optional<std::string> wanted(std::string_view what, std::string_view value)
{
    return "needs " + std::string(what) + ", not \"" + std::string(value) + "\"";
}

// An option whose value is a finite number that fits; store keeps it.
ValueReader numberReader(std::string_view what, bool (*fits)(double),
                         void (*store)(ServerOptions&, double))
{
    return [what, fits, store](std::string_view value,
                               ServerOptions& options) -> std::optional<std::string> {
        const auto number = finiteNumber(value);
        if (!number || !fits(*number))
            return wanted(what, value);
        store(options, *number);
        return std::nullopt;
    };
}

bool any(double) { return true; }
bool aboveZero(double value) { return value > 0; }
bool notNegative(double value) { return value >= 0; }

const std::map<std::string_view, ValueReader>& valueReaders()
{
    static const std::map<std::string_view, ValueReader> readers{
        {"--port",
         [](std::string_view value, ServerOptions& options) -> std::optional<std::string> {
             const auto port = portNumber(value);
             if (!port)
                 return wanted("a port number from 1 to 65535", value);
             options.port = *port;
             return std::nullopt;
         }},
        {"--listen",
         [](std::string_view value, ServerOptions& options) -> std::optional<std::string> {
             if (value.empty())
                 return wanted("an address", value);
             options.listenAddress = std::string(value);
             return std::nullopt;
         }},
        {"--multiplier", numberReader("a number above 0", aboveZero,
                                      [](ServerOptions& o, double m) { o.dial.multiplier = m; })},
        {"--offset", numberReader("a number of Hz", any,
                                  [](ServerOptions& o, double hz) { o.dial.offsetHz = hz; })},
        {"--frequency", numberReader("a dial frequency in Hz, 0 or more", notNegative,
                                     [](ServerOptions& o, double hz) { o.startDialHz = hz; })},
        {"--serial",
         [](std::string_view value, ServerOptions& options) -> std::optional<std::string> {
             options.serial = std::string(value);
             return std::nullopt;
         }},
    };
    return readers;
}

} // namespace

ParsedOptions parseOptions(const std::vector<std::string_view>& arguments)
{
    ParsedOptions parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view name = arguments[i];
        if (name == "--help" || name == "-h") {
            parsed.helpAsked = true;
            return parsed;
        }
        std::optional<std::string_view> value;
        if (const auto equals = name.find('='); equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        const auto reader = valueReaders().find(name);
        if (reader == valueReaders().end()) {
            parsed.error = "unknown option \"" + std::string(name) + "\"";
            return parsed;
        }
        if (!value) {
            if (i + 1 == arguments.size()) {
                parsed.error = std::string(name) + " needs a value";
                return parsed;
            }
            value = arguments[++i];
        }
        if (auto wrong = reader->second(*value, parsed.options)) {
            parsed.error = std::string(name) + " " + *wrong;
            return parsed;
        }
    }
    const std::optional<double> start = parsed.options.startDialHz;
    if (start && !receiverTuning(*start, parsed.options.dial).wordText)
        parsed.error = "--frequency " + hzText(*start) +
                       " Hz is out of the receiver's range with this multiplier and offset";
    return parsed;
}

std::string usageText()
{
    return "Usage: vexa-sdr-rigctld [OPTION...]\n"
           "Lets station software tune the Vexa SDR receiver over the rig-control network\n"
           "protocol (\"Hamlib NET rigctl\").\n"
           "\n"
           "  --port N          TCP port to listen on (default 4532)\n"
           "  --listen ADDR     address to listen on (default: the loopback addresses\n"
           "                    127.0.0.1 and ::1); the protocol has no authentication\n"
           "  --multiplier M    oscillator = M x (dial + offset) (default 2)\n"
           "  --offset HZ       added to the dial frequency first (default 0)\n"
           "  --frequency HZ    dial frequency to tune once at start\n"
           "  --serial TEXT     tune the receiver with this serial number\n"
           "  -h, --help        show this text\n"
           "\n"
           "Exit status: 0 when ended by Ctrl+C or SIGTERM, 64 for a wrong option,\n"
           "1 when it cannot listen.\n";
}

} // namespace vexa
