#include "rigctld/line_buffer.h"

namespace vexa {

namespace {

// The length of a line without a "\r" at its end.
std::size_t contentLength(std::string_view line)
{
    return !line.empty() && line.back() == '\r' ? line.size() - 1 : line.size();
}

} // namespace

bool LineBuffer::append(std::string_view bytes)
{
    if (overflowed_)
        return false;
    pending_.erase(0, start_);
    start_ = 0;
    // Only the lines that these bytes end or continue need a look.
    const std::size_t previousEnd = pending_.rfind('\n');
    std::size_t lineStart = previousEnd == std::string::npos ? 0 : previousEnd + 1;
    pending_.append(bytes);
    for (std::size_t end = pending_.find('\n', lineStart); end != std::string::npos;
         end = pending_.find('\n', lineStart)) {
        if (contentLength(std::string_view(pending_).substr(lineStart, end - lineStart)) >
            kLineLimit)
            overflowed_ = true;
        lineStart = end + 1;
    }
    if (contentLength(std::string_view(pending_).substr(lineStart)) > kLineLimit)
        overflowed_ = true;
    return !overflowed_;
}

std::optional<std::string> LineBuffer::takeLine()
{
    if (overflowed_)
        return std::nullopt;
    const std::size_t end = pending_.find('\n', start_);
    if (end == std::string::npos)
        return std::nullopt;
    std::string line(std::string_view(pending_).substr(start_, end - start_));
    start_ = end + 1;
    line.resize(contentLength(line));
    return line;
}

} // namespace vexa
