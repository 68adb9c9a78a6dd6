#include "rigctld/replies.h"

#include "rigctld/dump_state.h"
#include "rigctld/hz_text.h"

namespace vexa {

namespace {

Reply answered(std::string text)
{
    Reply reply;
    reply.answer = std::move(text);
    return reply;
}

} // namespace

Reply replyTo(const Command& command, const RigState& state)
{
    switch (command.kind) {
    case CommandKind::None:
        return {};
    case CommandKind::CheckVfo:
        // Plain "0": "CHKVFO 0" would switch a client into VFO mode.
        return answered("0\n");
    case CommandKind::DumpState:
        return answered(dumpState(state.dial));
    case CommandKind::SetFrequency: {
        Tuning tuning = tuningFor(command.frequencyHz, state.dial);
        Reply reply = answered(tuning.wordText ? "" : std::string(kInvalidArgument));
        reply.tuning = std::move(tuning);
        return reply;
    }
    case CommandKind::GetFrequency:
        return answered(hzText(state.lastDialHz) + "\n");
    case CommandKind::GetMode:
        return answered("USB\n3000\n");
    case CommandKind::SetMode:
    case CommandKind::SetVfo:
    case CommandKind::SetSplit:
    case CommandKind::SetLockMode:
        return answered(std::string(kDone));
    case CommandKind::GetVfo:
        return answered("VFOA\n");
    case CommandKind::GetSplit:
        return answered("0\nVFOA\n");
    case CommandKind::GetPtt:
        return answered("0\n");
    case CommandKind::GetPowerStatus:
        return answered("1\n");
    case CommandKind::GetLockMode:
        return answered("0\n" + std::string(kDone));
    case CommandKind::Quit: {
        Reply reply;
        reply.closes = true;
        return reply;
    }
    case CommandKind::BadArguments:
        return answered(std::string(kInvalidArgument));
    case CommandKind::Unknown:
        break;
    }
    return answered(std::string(kNotAvailable));
}

std::string_view setAnswer(const OscillatorRequestResult& result)
{
    return receiverTookWord(result) ? kDone : kInputOutputError;
}

} // namespace vexa
