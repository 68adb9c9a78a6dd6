#pragma once

#include <string>

namespace vexa {

// A frequency in Hz as the protocol writes it: digits without exponent, and
// a fraction only when there is one ("14074000", "14074000.5").
std::string hzText(double hz);

} // namespace vexa
