#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

namespace vexa {

class UsbLibrary;

// Carries out the sets, one after another, on a thread of its own: a request
// may take up to its time-out, and the other clients' answers must not wait
// for it.
class TuningWorker : public QObject {
    Q_OBJECT
public:
    explicit TuningWorker(UsbLibrary& usb) : usb_(usb) {}

public slots:
    // Sends the word; its answer and the result line come back through tuned().
    void tune(quint64 ticket, const QString& wordText);

signals:
    void tuned(quint64 ticket, const QByteArray& answer, const QString& resultLine);

private:
    UsbLibrary& usb_;
    std::int32_t devHandle_ = 0;
};

} // namespace vexa
