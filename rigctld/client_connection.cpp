#include "rigctld/client_connection.h"

#include "oscillator/tuning.h"
#include "rigctld/command.h"
#include "rigctld/console_log.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace vexa {

ClientConnection::ClientConnection(QTcpSocket* socket, const RigState& state, QObject* parent)
    : QObject(parent), socket_(socket), state_(state),
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
    while (!waitingForSet_ && socket_->isOpen()) {
        if (!lines_.append(socket_->readAll().toStdString())) {
            printProblem(address_ + " sent a line longer than " +
                         QString::number(LineBuffer::kLineLimit) + " bytes; closed");
            close();
            return;
        }
        const std::optional<std::string> line = lines_.takeLine();
        if (!line)
            return;
        const Reply reply = replyTo(readCommand(*line), state_);
        if (reply.tuning && reply.tuning->wordText) {
            waitingForSet_ = true;
            emit setRequested(*reply.tuning);
            return;
        }
        if (reply.tuning)
            printSetLog(address_, *reply.tuning, kFrequencyOutOfRange);
        write(reply.answer);
        if (reply.closes) {
            close();
            return;
        }
    }
}

void ClientConnection::finishSet(const OscillatorRequestResult& result)
{
    waitingForSet_ = false;
    write(setAnswer(result));
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
    }
    emit closed();
    deleteLater();
}

} // namespace vexa
