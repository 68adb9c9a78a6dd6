#pragma once

class QByteArray;

namespace vexa {

// Windows gives every window without an owner a taskbar button of its own.
// Called with each native message of a window that must not have one, it hands
// the window, just before it first shows, to an owner of the program's own that
// is never shown. The window stays free of the program's other windows: it may
// fall behind them and does not close with them.
void keepOffTaskbar(const QByteArray& eventType, void* message);

} // namespace vexa
