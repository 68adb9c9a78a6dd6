#include "rigctld/replies.h"

#include "rigctld/answer_text.h"
#include "rigctld/dump_state.h"
#include "rigctld/hz_text.h"

#include <cmath>
#include <vector>

namespace vexa {

namespace {

Reply answered(const Command& command, const std::vector<std::string>& values, int code = 0)
{
    Reply reply;
    reply.answer = answerText(command, values, code);
    reply.code = code;
    return reply;
}

Reply done(const Command& command) { return answered(command, {}); }

Reply refused(const Command& command, int code = kInvalidArgument)
{
    return answered(command, {}, code);
}

Vfo chosen(std::optional<VfoChoice> choice, const ConnectionState& connection)
{
    if (!choice || *choice == VfoChoice::Current)
        return connection.currentVfo;
    return *choice == VfoChoice::A ? Vfo::A : Vfo::B;
}

VfoSettings& settingsOf(Vfo vfo, RigState& rig)
{
    return vfo == Vfo::A ? rig.receiver : rig.transmitter;
}

double wholeHz(double hz) { return std::nearbyint(hz); }

Reply setReceiverFrequency(const Command& command, RigState& rig)
{
    Tuning tuning = receiverTuning(command.hz, rig.dial);
    Reply reply = tuning.wordText ? Reply{} : refused(command);
    reply.tuning = std::move(tuning);
    return reply;
}

Reply setTransmitFrequency(const Command& command, RigState& rig)
{
    const double hz = wholeHz(command.hz);
    if (!std::isfinite(hz) || hz < 0)
        return refused(command);
    rig.transmitter.frequencyHz = hz;
    Reply reply = done(command);
    reply.storedTransmitHz = hz;
    return reply;
}

// A passband of 0 or -1 keeps the last one.
Reply setMode(const Command& command, VfoSettings& vfo, const RigState& rig)
{
    if (command.passbandHz < -1)
        return refused(command);
    if (rig.lockMode == 0) {
        vfo.mode = command.mode;
        if (command.passbandHz > 0)
            vfo.passbandHz = command.passbandHz;
    }
    return done(command);
}

Reply modeOf(const Command& command, const VfoSettings& vfo)
{
    return answered(command, {vfo.mode, std::to_string(vfo.passbandHz)});
}

Reply setSplit(const Command& command, RigState& rig, const ConnectionState& connection)
{
    const Vfo transmitVfo = chosen(command.named, connection);
    const bool on = command.integer == 1;
    // The receiver's own VFO cannot transmit apart from it.
    if ((command.integer != 0 && !on) || (on && transmitVfo == Vfo::A))
        return refused(command);
    rig.split = on;
    rig.transmitVfo = transmitVfo;
    return done(command);
}

Reply setPtt(const Command& command)
{
    constexpr long kHighestPtt = 3; // on, on from the microphone, on for data
    if (command.integer == 0)
        return done(command);
    // A receiver has no transmitter to key.
    return refused(command, command.integer > 0 && command.integer <= kHighestPtt
                                ? kNotAvailable
                                : kInvalidArgument);
}

Reply vfoInfo(const Command& command, RigState& rig, const ConnectionState& connection)
{
    const VfoSettings& vfo = settingsOf(chosen(command.named, connection), rig);
    return answered(command, {hzText(vfo.frequencyHz), vfo.mode, std::to_string(vfo.passbandHz),
                              rig.split ? "1" : "0", "0"});
}

} // namespace

Reply replyTo(const Command& command, RigState& rig, ConnectionState& connection)
{
    if (!command.wellFormed)
        return refused(command);
    const Vfo vfo = chosen(command.vfo, connection);
    switch (command.kind()) {
    case CommandKind::CheckVfo:
        // "0": commands carry no VFO names.
        return answered(command, {"0"});
    case CommandKind::DumpState:
        return answered(command, {dumpState(rig.dial)});
    case CommandKind::SetFrequency:
        return vfo == Vfo::A ? setReceiverFrequency(command, rig)
                             : setTransmitFrequency(command, rig);
    case CommandKind::GetFrequency:
        return answered(command, {hzText(settingsOf(vfo, rig).frequencyHz)});
    case CommandKind::SetMode:
        return setMode(command, settingsOf(vfo, rig), rig);
    case CommandKind::GetMode:
        return modeOf(command, settingsOf(vfo, rig));
    case CommandKind::SetVfo:
        connection.currentVfo = chosen(command.named, connection);
        return done(command);
    case CommandKind::GetVfo:
        return answered(command, {std::string(vfoName(connection.currentVfo))});
    case CommandKind::SetSplitVfo:
        return setSplit(command, rig, connection);
    case CommandKind::GetSplitVfo:
        return answered(command, {rig.split ? "1" : "0", std::string(vfoName(rig.transmitVfo))});
    case CommandKind::SetSplitFrequency:
        return setTransmitFrequency(command, rig);
    case CommandKind::GetSplitFrequency:
        return answered(command, {hzText(rig.transmitter.frequencyHz)});
    case CommandKind::SetSplitMode:
        return setMode(command, rig.transmitter, rig);
    case CommandKind::GetSplitMode:
        return modeOf(command, rig.transmitter);
    case CommandKind::SetPtt:
        return setPtt(command);
    case CommandKind::GetPtt:
        return answered(command, {"0"});
    case CommandKind::GetPowerStatus:
        return answered(command, {"1"});
    case CommandKind::SetLockMode:
        rig.lockMode = command.integer;
        return done(command);
    case CommandKind::GetLockMode:
        return answered(command, {std::to_string(rig.lockMode)});
    case CommandKind::GetVfoInfo:
        return vfoInfo(command, rig, connection);
    case CommandKind::Quit: {
        Reply reply = done(command);
        reply.closes = true;
        return reply;
    }
    case CommandKind::Unknown:
        break;
    }
    return refused(command, kNotAvailable);
}

Tuning receiverTuning(double dialHz, const DialSettings& dial)
{
    return tuningFor(wholeHz(dialHz), dial);
}

std::string setAnswer(const Command& command, const OscillatorRequestResult& result)
{
    return answerText(command, {}, receiverTookWord(result) ? 0 : kReceiverFailed);
}

} // namespace vexa
