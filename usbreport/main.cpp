// vexa-sdr-usb-report: why the receiver is or is not found. Prints every
// attached USB device, the receiver's first, and a verdict; see README,
// Troubleshooting.

#include "inspection/report_json.h"
#include "inspection/report_text.h"
#include "inspection/usb_report.h"
#include "inspection/verdict.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "Usage: vexa-sdr-usb-report [OPTION...]\n"
    "Lists every attached USB device, the Vexa SDR receiver's first, and says why\n"
    "the receiver is or is not found.\n"
    "\n"
    "  --verbose   every device's descriptors\n"
    "  --json      the report as JSON, for scripts and bug reports\n"
    "  --pause     wait for Enter before ending\n"
    "  -h, --help  show this text\n"
    "\n"
    "Exit status: 0 the receiver opens, 1 none is attached, 2 it is attached but\n"
    "does not open, 64 for a wrong option.\n";

// The exit status of a wrong command line, sysexits.h's EX_USAGE, as the
// rig-control server's.
constexpr int kUsageErrorStatus = 64;

struct Options {
    bool help = false;
    bool verbose = false;
    bool json = false;
    bool pause = false;
};

// The options, or the one that is not known.
std::optional<std::string_view> parse(int argc, char* argv[], Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h")
            options.help = true;
        else if (arg == "--verbose")
            options.verbose = true;
        else if (arg == "--json")
            options.json = true;
        else if (arg == "--pause")
            options.pause = true;
        else
            return arg;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    Options options;
    if (const auto unknown = parse(argc, argv, options)) {
        std::fprintf(stderr, "vexa-sdr-usb-report: unknown option \"%.*s\" (see --help)\n",
                     static_cast<int>(unknown->size()), unknown->data());
        return kUsageErrorStatus;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const vexa::Platform platform = vexa::thisPlatform();
    const vexa::UsbReport report = vexa::collectReport();
    const vexa::Verdict verdict = vexa::verdictOf(report, platform);
    const std::string text = options.json
                                 ? vexa::formatJson(report, verdict)
                                 : vexa::formatReport(report, verdict, platform, options.verbose);
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    if (options.pause) {
        // Started from the Start menu, the console window closes as the program ends.
        std::fputs("\nPress Enter to close this window.", stdout);
        std::fflush(stdout);
        for (int c = std::getchar(); c != '\n' && c != EOF; c = std::getchar()) {
        }
    }
    return verdict.exitStatus;
}
