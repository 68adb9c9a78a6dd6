#pragma once

#include "oscillator/oscillator_request.h"
#include "rigctld/options.h"
#include "rigctld/replies.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

class QTcpServer;

namespace vexa {

class ClientConnection;

// A set's transfer time-out in the server; the window waits 5000 ms. A
// receiver answers within milliseconds, and one that stalls holds up the sets
// queued behind it: a stalled set is answered within the second that the
// least patient clients wait, and another client's set behind it within two.
inline constexpr std::int32_t kServerTransferTimeoutMs = 800;
class TuningWorker;
class UsbLibrary;

// The network side: listens, keeps the clients, hands their sets to the
// worker one after another and logs each set.
class RigServer : public QObject {
    Q_OBJECT
public:
    static constexpr std::size_t kClientLimit = 16;

    RigServer(UsbLibrary& usb, const RigState& state, std::int32_t transferTimeoutMs);
    ~RigServer() override;

    // Tunes once before any client comes, on the caller's thread; logged as
    // "--frequency".
    void tuneAtStart(const Tuning& tuning);

    // Listens where the options say; the reason when it cannot.
    std::optional<QString> listen(const ServerOptions& options);

    // Closes every connection and waits for a set in flight.
    void shutDown();

private:
    struct PendingSet {
        QPointer<ClientConnection> client;
        QString address;
        Tuning tuning;
    };

    void accept(QTcpServer& listener);
    void queueSet(ClientConnection& client, const Tuning& tuning);
    void startNextSet();
    void finishSet(const OscillatorRequestResult& result);
    void record(const QString& address, const Tuning& tuning, const OscillatorRequestResult& result);

    UsbLibrary& usb_;
    RigState state_;
    const std::int32_t transferTimeoutMs_;
    std::vector<QTcpServer*> listeners_;
    std::vector<ClientConnection*> clients_;
    std::deque<PendingSet> sets_; // the first is on its way while setInFlight_
    bool setInFlight_ = false;
    std::unique_ptr<TuningWorker> worker_;
};

} // namespace vexa
