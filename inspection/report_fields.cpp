#include "inspection/report_fields.h"

namespace vexa {

std::string bcdVersion(std::uint16_t version)
{
    return printed("%x.%02x", static_cast<unsigned>(version >> 8),
                   static_cast<unsigned>(version & 0xFF));
}

} // namespace vexa
