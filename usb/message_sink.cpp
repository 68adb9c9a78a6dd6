#include "usb/message_sink.h"

#include <cstdio>
#include <utility>

namespace vexa {

UsbMessageSink standardErrorSink(std::string programName)
{
    return [name = std::move(programName)](const std::string& message) {
        // One write, so that lines from two threads do not mix.
        std::fputs((name + ": " + message + "\n").c_str(), stderr);
    };
}

} // namespace vexa
