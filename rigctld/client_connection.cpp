#include "rigctld/client_connection.h"

#include "oscillator/tuning.h"
#include "rigctld/console_log.h"
#include "rigctld/set_log.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace vexa {

ClientConnection::ClientConnection(QTcpSocket* socket, RigState& rig, QObject* parent)
    : QObject(parent), socket_(socket), rig_(rig),
      address_(socket->peerAddress().toString() + ":" + QString::number(socket->peerPort()))
{
    socket_->setParent(this);
    // While a set is carried out nothing is read, so a client that floods
    // meanwhile fills its own connection, not this program's memory.
    socket_->setReadBufferSize(LineBuffer::kLineLimit * 4);
    // Answers are short and awaited: each goes out as it is written.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket_, &QTcpSocket::readyRead, this, &ClientConnection::serve);
    connect(socket_, &QTcpSocket::disconnected, this, &ClientConnection::close);
}

void ClientConnection::serve()
{
    while (!waitingSet_ && socket_->isOpen()) {
        if (commands_.empty()) {
            if (!readCommands())
                return;
            continue;
        }
        Command command = std::move(commands_.front());
        commands_.pop_front();
        const Reply reply = replyTo(command, rig_, state_);
        if (reply.code == kNotAvailable)
            noteNotAvailable(command);
        if (reply.tuning && reply.tuning->wordText) {
            waitingSet_ = command;
            emit setRequested(*reply.tuning);
            return;
        }
        if (reply.tuning)
            printSetLog(address_, *reply.tuning, kFrequencyOutOfRange);
        if (reply.storedTransmitHz)
            printTransmitLog(address_, *reply.storedTransmitHz);
        write(reply.answer);
        if (reply.closes) {
            close();
            return;
        }
    }
}

bool ClientConnection::readCommands()
{
    if (!lines_.append(socket_->readAll().toStdString())) {
        printProblem(address_ + " sent a line longer than " +
                     QString::number(LineBuffer::kLineLimit) + " bytes; closed");
        close();
        return false;
    }
    const std::optional<std::string> line = lines_.takeLine();
    if (!line)
        return false;
    for (Command& command : vexa::readCommands(*line))
        commands_.push_back(std::move(command));
    return true;
}

void ClientConnection::noteNotAvailable(const Command& command)
{
    if (notAvailable_++ == 0)
        printProblem(address_ + " sent \"" + QString::fromStdString(printable(command.sent)) +
                     "\": not available here (RPRT " + QString::number(kNotAvailable) +
                     "); further ones are only counted");
}

void ClientConnection::finishSet(const OscillatorRequestResult& result)
{
    const Command set = *std::exchange(waitingSet_, std::nullopt);
    write(setAnswer(set, result));
    serve();
}

void ClientConnection::write(std::string_view answer)
{
    if (answer.empty() || !socket_->isOpen())
        return;
    socket_->write(answer.data(), static_cast<qint64>(answer.size()));
    socket_->flush();
}

void ClientConnection::close()
{
    if (socket_->isOpen()) {
        socket_->disconnect(this);
        socket_->close();
        if (notAvailable_ > 0)
            printProblem(address_ + " closed; commands it sent that are not available here: " +
                         QString::number(notAvailable_));
    }
    emit closed();
    deleteLater();
}

} // namespace vexa
