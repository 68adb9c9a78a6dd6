#pragma once

#include "oscillator/oscillator_request.h"
#include "rigctld/line_buffer.h"
#include "rigctld/replies.h"

#include <QObject>
#include <QString>

class QTcpSocket;

namespace vexa {

// One client: its lines are answered in the order they came, and while one of
// its sets is carried out its further lines wait (they may ask for the
// frequency just set). The server's state is read from the shared RigState;
// a set to carry out is asked for through setRequested(), and its result
// comes back through finishSet().
class ClientConnection : public QObject {
    Q_OBJECT
public:
    ClientConnection(QTcpSocket* socket, const RigState& state, QObject* parent);

    QString address() const { return address_; }

    // The result of the set this client waits for; then its next lines.
    void finishSet(const OscillatorRequestResult& result);

    void close();

signals:
    void setRequested(const vexa::Tuning& tuning);
    void closed();

private:
    void serve();
    void write(std::string_view answer);

    QTcpSocket* socket_;
    const RigState& state_;
    QString address_;
    LineBuffer lines_;
    bool waitingForSet_ = false;
};

} // namespace vexa
