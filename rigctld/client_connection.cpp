#include "rigctld/client_connection.h"

#include "rigctld/command.h"
#include "rigctld/replies.h"
#include "rigctld/rig_server.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace vexa {

ClientConnection::ClientConnection(QTcpSocket* socket, RigServer& server)
    : QObject(&server), socket_(socket), server_(server),
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
            server_.reportClientError(address_, "sent a line longer than " +
                                                    QString::number(LineBuffer::kLineLimit) +
                                                    " bytes; closed");
            close();
            return;
        }
        const std::optional<std::string> line = lines_.takeLine();
        if (!line)
            return;
        const Reply reply = replyTo(readCommand(*line), server_.state());
        if (reply.tuning && reply.tuning->wordText) {
            waitingForSet_ = true;
            server_.tune(*this, *reply.tuning);
            return;
        }
        if (reply.tuning)
            server_.logRefusedSet(address_, *reply.tuning);
        write(reply.answer);
        if (reply.closes) {
            close();
            return;
        }
    }
}

void ClientConnection::finishSet(const QByteArray& answer)
{
    waitingForSet_ = false;
    write(answer.toStdString());
    serve();
}

void ClientConnection::write(std::string_view answer)
{
    if (answer.empty())
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
    server_.forget(*this);
    deleteLater();
}

} // namespace vexa
