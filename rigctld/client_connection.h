#pragma once

#include "rigctld/line_buffer.h"

#include <QObject>
#include <QString>

class QTcpSocket;

namespace vexa {

class RigServer;

// One client: its lines are answered in the order they came, and while one of
// its sets is carried out its further lines wait (they may ask for the
// frequency just set).
class ClientConnection : public QObject {
    Q_OBJECT
public:
    ClientConnection(QTcpSocket* socket, RigServer& server);

    QString address() const { return address_; }

    // The answer to the set this client waits for; then its next lines.
    void finishSet(const QByteArray& answer);

    void close();

private:
    void serve();
    void write(std::string_view answer);

    QTcpSocket* socket_;
    RigServer& server_;
    QString address_;
    LineBuffer lines_;
    bool waitingForSet_ = false;
};

} // namespace vexa
