// vexa-sdr-rigctld: station software tunes the receiver through the
// rig-control network protocol.

#include "oscillator/oscillator_request.h"
#include "rigctld/console_log.h"
#include "rigctld/options.h"
#include "rigctld/rig_server.h"
#include "rigctld/termination_signals.h"
#include "usb/libusb_library.h"

#include <QCoreApplication>
#include <QHostAddress>

#include <cstdio>
#include <string_view>
#include <vector>

namespace {

using namespace vexa;

int fail(const QString& reason, int status)
{
    printProblem(reason);
    return status;
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
        return fail(QString::fromStdString(parsed.error) + " (see --help)", kUsageErrorStatus);
    const ServerOptions& options = parsed.options;
    if (options.listenAddress &&
        QHostAddress(QString::fromStdString(*options.listenAddress)).isNull())
        return fail("--listen needs an IPv4 or IPv6 address, not \"" +
                        QString::fromStdString(*options.listenAddress) + "\" (see --help)",
                    kUsageErrorStatus);

    QCoreApplication application(argc, argv);
    LibusbLibrary usb(standardErrorSink("vexa-sdr-rigctld"), options.serial);

    RigState state;
    state.dial = options.dial;
    RigServer server(usb, state, kServerTransferTimeoutMs);
    if (options.startDialHz)
        server.tuneAtStart(receiverTuning(*options.startDialHz, options.dial));
    if (const auto reason = server.listen(options))
        return fail(*reason, 1);
    quitOnTerminationSignals();
    const int status = QCoreApplication::exec();
    server.shutDown();
    return status;
}
