#pragma once

#include "rigctld/options.h"
#include "rigctld/replies.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>

#include <map>
#include <memory>
#include <optional>
#include <vector>

class QTcpServer;

namespace vexa {

class ClientConnection;
class TuningWorker;
class UsbLibrary;

// The network side: listens, keeps the clients, hands their sets to the
// worker one after another and logs each set.
class RigServer : public QObject {
    Q_OBJECT
public:
    static constexpr std::size_t kClientLimit = 16;

    RigServer(UsbLibrary& usb, const RigState& state);
    ~RigServer() override;

    // Listens where the options say; the reason when it cannot.
    std::optional<QString> listen(const ServerOptions& options);

    const RigState& state() const { return state_; }
    void tune(ClientConnection& client, const Tuning& tuning);
    void logRefusedSet(const QString& client, const Tuning& tuning);
    void reportClientError(const QString& client, const QString& what);
    void forget(ClientConnection& client);

    // Closes every connection and waits for a set in flight.
    void shutDown();

private:
    void accept(QTcpServer& listener);
    void finishTuning(quint64 ticket, const QByteArray& answer, const QString& resultLine);

    struct PendingSet {
        QPointer<ClientConnection> client;
        QString address;
        Tuning tuning;
    };

    RigState state_;
    std::vector<QTcpServer*> listeners_;
    std::vector<ClientConnection*> clients_;
    QThread workerThread_;
    std::unique_ptr<TuningWorker> worker_;
    quint64 nextTicket_ = 0;
    std::map<quint64, PendingSet> pendingSets_;
};

// One set's line on standard output, stamped with the time.
void printSetLog(const QString& client, const Tuning& tuning, const QString& result);

} // namespace vexa
