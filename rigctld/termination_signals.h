#pragma once

namespace vexa {

// Ends the application's event loop, so that the program closes its clients
// and the USB library and exits 0, on SIGINT and SIGTERM (Ctrl+C and
// Ctrl+Break on Windows). Call once, with the application made.
void quitOnTerminationSignals();

} // namespace vexa
