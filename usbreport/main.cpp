// vexa-sdr-usb-report: why the receiver is or is not found. Prints every
// attached USB device, the receiver's first, and a verdict; see README,
// Troubleshooting.

#include "inspection/report_json.h"
#include "inspection/report_text.h"
#include "inspection/usb_report.h"
#include "inspection/verdict.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "usage: vexa-sdr-usb-report [--verbose] [--json] [--pause]\n"
    "  --verbose  every device's descriptors\n"
    "  --json     the report as JSON, for scripts and bug reports\n"
    "  --pause    wait for Enter before ending\n"
    "Exit status: 0 the receiver opens, 1 none is attached, 2 it is attached but does not "
    "open.\n";

struct Options {
    bool verbose = false;
    bool json = false;
    bool pause = false;
};

bool parse(int argc, char* argv[], Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--verbose")
            options.verbose = true;
        else if (arg == "--json")
            options.json = true;
        else if (arg == "--pause")
            options.pause = true;
        else
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    Options options;
    if (!parse(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 64;
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
