#include "rigctld/tuning_worker.h"

#include "oscillator/oscillator_request.h"
#include "rigctld/replies.h"

namespace vexa {

void TuningWorker::tune(quint64 ticket, const QString& wordText)
{
    const OscillatorRequestResult result =
        runFrequencyRequest(usb_, devHandle_, wordText.toStdString());
    const std::string_view answer = setAnswer(result.transferResult);
    emit tuned(ticket, QByteArray(answer.data(), static_cast<qsizetype>(answer.size())),
               QString::fromStdString(result.line));
}

} // namespace vexa
