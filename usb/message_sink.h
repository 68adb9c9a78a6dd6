#pragma once

#include <functional>
#include <string>

namespace vexa {

// Where the USB library's messages go: why a device did not open, which of
// several it chose, why none was found. A message is one line without the
// program's name; the owner decides where it goes and how it is marked.
using UsbMessageSink = std::function<void(const std::string& message)>;

// Writes each message on standard error as "PROGRAM: message", the way the
// console programs and the window report problems.
UsbMessageSink standardErrorSink(std::string programName);

} // namespace vexa
