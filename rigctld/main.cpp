// vexa-sdr-rigctld: station software tunes the receiver through the
// rig-control network protocol.

#include "oscillator/oscillator_request.h"
#include "rigctld/hz_text.h"
#include "rigctld/options.h"
#include "rigctld/hz_text.h"
#include "rigctld/rig_server.h"
#include "rigctld/termination_signals.h"
#include "usb/libusb_library.h"

#include <QCoreApplication>

#include <cstdio>
#include <string_view>
#include <vector>

namespace {

using namespace vexa;

constexpr int kUsageError = 2;

int fail(const QString& reason, int status = 1)
{
    std::fprintf(stderr, "vexa-sdr-rigctld: %s\n", qPrintable(reason));
    return status;
}

// The --frequency tuned before any client comes; the state remembers it when
// the receiver took it.
void tuneAtStart(UsbLibrary& usb, const Tuning& tuning, RigState& state)
{
    std::int32_t devHandle = 0;
    const OscillatorRequestResult result = runFrequencyRequest(usb, devHandle, *tuning.wordText);
    if (setAnswer(result.transferResult) == kDone)
        state.lastDialHz = tuning.dialHz;
    printSetLog("--frequency", tuning, QString::fromStdString(result.line));
}

} // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const ParsedOptions parsed = parseOptions(arguments);
    if (parsed.helpAsked) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (!parsed.error.empty())
        return fail(QString::fromStdString(parsed.error) + " (see --help)", kUsageError);
    const ServerOptions& options = parsed.options;

    RigState state{options.dial};
    std::optional<Tuning> startTuning;
    if (options.startDialHz) {
        startTuning = tuningFor(*options.startDialHz, options.dial);
        if (!startTuning->wordText)
            return fail("--frequency " + QString::fromStdString(hzText(*options.startDialHz)) +
                            " Hz is out of the receiver's range with this multiplier and offset",
                        kUsageError);
    }

    QCoreApplication application(argc, argv);
    LibusbLibrary usb(standardErrorSink("vexa-sdr-rigctld"), options.serial);
    if (startTuning)
        tuneAtStart(usb, *startTuning, state);

    RigServer server(usb, state);
    if (const auto reason = server.listen(options))
        return fail(*reason);
    quitOnTerminationSignals();
    const int status = QCoreApplication::exec();
    server.shutDown();
    return status;
}
