#pragma once
// The sub-commands of the quillmere tool. Each returns the process exit status.
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/quillmere/root_choice.h"

namespace quillmere::tool {

inline constexpr int kOk = 0;
inline constexpr int kCallFailed = 1;
inline constexpr int kUsage = 2;
inline constexpr int kNotFound = 3;

int runCall(const RootChoice& root, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err);
int runBatch(const RootChoice& root, std::istream& in, std::ostream& out, std::ostream& err);
int runRegistry(const RootChoice& root, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err);
int runPath(const RootChoice& root, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err);
// Every method of Client20 in interface order, one a line, with its parameters and result.
int runMethods(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quillmere::tool
