#include "rigctld/rig_server.h"

#include "rigctld/client_connection.h"
#include "rigctld/set_log.h"
#include "rigctld/tuning_worker.h"

#include "oscillator/tuning.h"

#include <QDateTime>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <cstdio>

namespace vexa {

namespace {

void printError(const QString& text)
{
    std::fprintf(stderr, "vexa-sdr-rigctld: %s\n", qPrintable(text));
    std::fflush(stderr);
}

} // namespace

void printSetLog(const QString& client, const Tuning& tuning, const QString& result)
{
    const QString time = QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
    std::printf("%s\n", setLogLine(time.toStdString(), client.toStdString(), tuning,
                                   result.toStdString())
                            .c_str());
    std::fflush(stdout);
}

RigServer::RigServer(UsbLibrary& usb, const RigState& state)
    : state_(state), worker_(std::make_unique<TuningWorker>(usb))
{
    worker_->moveToThread(&workerThread_);
    connect(worker_.get(), &TuningWorker::tuned, this, &RigServer::finishTuning);
    workerThread_.start();
}

RigServer::~RigServer()
{
    shutDown();
    worker_.reset(); // its thread has ended
}

std::optional<QString> RigServer::listen(const ServerOptions& options)
{
    std::vector<QHostAddress> addresses{QHostAddress::LocalHost, QHostAddress::LocalHostIPv6};
    if (options.listenAddress) {
        const QHostAddress address(QString::fromStdString(*options.listenAddress));
        if (address.isNull())
            return "--listen needs an IPv4 or IPv6 address, not \"" +
                   QString::fromStdString(*options.listenAddress) + "\"";
        if (!address.isLoopback())
            printError("warning: listening on " + address.toString() +
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
            printError(reason);
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
            printError("refused " + socket->peerAddress().toString() + ": already " +
                       QString::number(kClientLimit) + " clients");
            socket->abort();
            socket->deleteLater();
            continue;
        }
        clients_.push_back(new ClientConnection(socket, *this));
    }
}

void RigServer::tune(ClientConnection& client, const Tuning& tuning)
{
    const quint64 ticket = nextTicket_++;
    pendingSets_[ticket] = {&client, client.address(), tuning};
    QMetaObject::invokeMethod(worker_.get(), [worker = worker_.get(), ticket,
                                        word = QString::fromStdString(*tuning.wordText)] {
        worker->tune(ticket, word);
    }, Qt::QueuedConnection);
}

void RigServer::finishTuning(quint64 ticket, const QByteArray& answer, const QString& resultLine)
{
    const auto pending = pendingSets_.find(ticket);
    if (pending == pendingSets_.end())
        return;
    const PendingSet set = pending->second;
    pendingSets_.erase(pending);
    if (answer.toStdString() == kDone)
        state_.lastDialHz = set.tuning.dialHz;
    printSetLog(set.address, set.tuning, resultLine);
    if (set.client)
        set.client->finishSet(answer);
}

void RigServer::logRefusedSet(const QString& client, const Tuning& tuning)
{
    printSetLog(client, tuning, QString::fromUtf8(kFrequencyOutOfRange.data(),
                                                  static_cast<qsizetype>(kFrequencyOutOfRange.size())));
}

void RigServer::reportClientError(const QString& client, const QString& what)
{
    printError(client + " " + what);
}

void RigServer::forget(ClientConnection& client)
{
    clients_.erase(std::remove(clients_.begin(), clients_.end(), &client), clients_.end());
}

void RigServer::shutDown()
{
    for (QTcpServer* listener : listeners_)
        listener->close();
    for (ClientConnection* client : std::vector<ClientConnection*>(clients_))
        client->close();
    workerThread_.quit();
    workerThread_.wait();
}

} // namespace vexa
