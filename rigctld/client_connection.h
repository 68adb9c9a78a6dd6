#pragma once

#include "oscillator/oscillator_request.h"
#include "rigctld/line_buffer.h"
#include "rigctld/replies.h"

#include <QObject>
#include <QString>

#include <deque>

class QTcpSocket;

namespace vexa {

// One client: its commands are answered in the order they came, and while
// one of its sets is carried out its further commands wait (they may ask for
// the frequency just set). The server's state is shared by every connection;
// a set for the receiver is asked for through setRequested(), and its result
// comes back through finishSet().
class ClientConnection : public QObject {
    Q_OBJECT
public:
    ClientConnection(QTcpSocket* socket, RigState& rig, QObject* parent);

    QString address() const { return address_; }

    // The result of the set this client waits for; then its next commands.
    void finishSet(const OscillatorRequestResult& result);

    void close();

signals:
    void setRequested(const vexa::Tuning& tuning);
    void closed();

private:
    void serve();
    bool readCommands(); // false when the client is to be dropped
    void noteNotAvailable(const Command& command);
    void write(std::string_view answer);

    QTcpSocket* socket_;
    RigState& rig_;
    ConnectionState state_;
    QString address_;
    LineBuffer lines_;
    std::deque<Command> commands_; // read, not yet answered
    std::optional<Command> waitingSet_;
    int notAvailable_ = 0; // commands answered "not available"
};

} // namespace vexa
