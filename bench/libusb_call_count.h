#pragma once

#include <map>
#include <string>

namespace vexa::bench {

// How often this program has called each libusb-1.0 function so far. The
// counts come from the linker's --wrap of every function that the project's
// USB module and the reference request call (see CMakeLists.txt); a function
// nobody called is absent.
using LibusbCallCount = std::map<std::string, long>;

LibusbCallCount libusbCallsSoFar();

// The calls made between two readings, zero counts left out.
LibusbCallCount callsBetween(const LibusbCallCount& before, const LibusbCallCount& after);

} // namespace vexa::bench
