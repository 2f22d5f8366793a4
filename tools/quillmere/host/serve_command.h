#pragma once
// quillmere [--root R] serve [--port N] [--company URL] [--open]: the engineer's application on
// http://127.0.0.1:PORT, with one Client20 behind its API. Returns the exit status (0 after a
// stop by SIGINT/SIGTERM, 1 when it cannot listen, 2 for a usage error).
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/quillmere/root_choice.h"

namespace quillmere::tool {

int runServe(const RootChoice& root, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err);

}  // namespace quillmere::tool
