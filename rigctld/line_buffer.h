#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vexa {

// Gathers what a client sends until whole lines are there: some clients send
// a character per packet, others several lines at once.
class LineBuffer {
public:
    // The longest line a client may send, without its line end.
    static constexpr std::size_t kLineLimit = 1024;

    // Keeps the bytes. False once a line has grown beyond the limit; such a
    // client is to be dropped, and the buffer takes nothing more.
    bool append(std::string_view bytes);

    // The next complete line, without its "\n" and a "\r" just before it.
    std::optional<std::string> takeLine();

private:
    std::string pending_;
    std::size_t start_ = 0; // where the lines not yet taken begin
    bool overflowed_ = false;
};

} // namespace vexa
