#pragma once

#include <string>

namespace vexa {

// Shows a notice in a message box on a thread of its own, for hosts without
// a log of their own: no call of the host waits for the operator's OK. One at
// a time; a notice that comes while one is shown is dropped, as the operator
// has one to answer already. The box keeps the DLL loaded while it is shown.
void showNoticeBox(const std::string& text);

} // namespace vexa
