#pragma once
// Names that callers hand in (a download's file name, an upload's name, an engineer, a
// company) become file names in one folder: they must name a file there and nothing else.
#include <string_view>

namespace taviro::service {

// True for a non-empty name of at most 255 bytes without '/', '\', "..", NUL or other control
// characters.
bool isPlainFileName(std::string_view name);

}  // namespace taviro::service
