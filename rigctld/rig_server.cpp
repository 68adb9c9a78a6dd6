#include "rigctld/rig_server.h"

#include "rigctld/client_connection.h"
#include "rigctld/console_log.h"
#include "rigctld/tuning_worker.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>

namespace vexa {

RigServer::RigServer(UsbLibrary& usb, const RigState& state, std::int32_t transferTimeoutMs)
    : usb_(usb), state_(state), transferTimeoutMs_(transferTimeoutMs),
      worker_(std::make_unique<TuningWorker>(usb, transferTimeoutMs, *this))
{
}

RigServer::~RigServer()
{
    shutDown();
}

void RigServer::tuneAtStart(const Tuning& tuning)
{
    std::int32_t devHandle = 0;
    record("--frequency", tuning,
           frequencyRequest(usb_, devHandle, *tuning.wordText, transferTimeoutMs_));
}

std::optional<QString> RigServer::listen(const ServerOptions& options)
{
    std::vector<QHostAddress> addresses{QHostAddress::LocalHost, QHostAddress::LocalHostIPv6};
    if (options.listenAddress) {
        const QHostAddress address(QString::fromStdString(*options.listenAddress));
        if (!address.isLoopback())
            printProblem("warning: listening on " + address.toString() +
                         ", where anyone who reaches port " + QString::number(options.port) +
                         " can tune the receiver: the protocol has no authentication");
        addresses = {address};
    }
    for (const QHostAddress& address : addresses) {
        auto* listener = new QTcpServer(this);
        if (!listener->listen(address, options.port)) {
            const QString reason = "cannot listen on " + address.toString() + " port " +
                                   QString::number(options.port) + ": " + listener->errorString();
            // A machine without IPv6 serves the IPv4 loopback alone.
            const bool missingIpv6 = !options.listenAddress &&
                                     address == QHostAddress(QHostAddress::LocalHostIPv6) &&
                                     listener->serverError() != QAbstractSocket::AddressInUseError;
            delete listener;
            if (!missingIpv6)
                return reason;
            printProblem(reason);
            continue;
        }
        connect(listener, &QTcpServer::newConnection, this, [this, listener] { accept(*listener); });
        listeners_.push_back(listener);
    }
    return std::nullopt;
}

void RigServer::accept(QTcpServer& listener)
{
    while (QTcpSocket* socket = listener.nextPendingConnection()) {
        if (clients_.size() >= kClientLimit) {
            printProblem("refused " + socket->peerAddress().toString() + ": already " +
                         QString::number(kClientLimit) + " clients");
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* client = new ClientConnection(socket, state_, this);
        connect(client, &ClientConnection::setRequested, this,
                [this, client](const Tuning& tuning) { queueSet(*client, tuning); });
        connect(client, &ClientConnection::closed, this, [this, client] {
            clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
        });
        clients_.push_back(client);
    }
}

void RigServer::queueSet(ClientConnection& client, const Tuning& tuning)
{
    sets_.push_back({&client, client.address(), tuning});
    startNextSet();
}

void RigServer::startNextSet()
{
    if (setInFlight_ || sets_.empty() || !worker_)
        return;
    setInFlight_ = true;
    worker_->tune(*sets_.front().tuning.wordText,
                  [this](const OscillatorRequestResult& result) { finishSet(result); });
}

void RigServer::finishSet(const OscillatorRequestResult& result)
{
    const PendingSet set = sets_.front();
    sets_.pop_front();
    setInFlight_ = false;
    record(set.address, set.tuning, result);
    if (set.client)
        set.client->finishSet(result);
    startNextSet();
}

void RigServer::record(const QString& address, const Tuning& tuning,
                       const OscillatorRequestResult& result)
{
    if (receiverTookWord(result))
        state_.receiver.frequencyHz = tuning.dialHz;
    printSetLog(address, tuning, frequencyRequestLine(result));
}

void RigServer::shutDown()
{
    for (QTcpServer* listener : listeners_)
        listener->close();
    for (ClientConnection* client : std::vector<ClientConnection*>(clients_))
        client->close();
    worker_.reset();
    // The set that was on its way is logged; those still waiting are dropped
    // with their clients.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    sets_.clear();
}

} // namespace vexa
