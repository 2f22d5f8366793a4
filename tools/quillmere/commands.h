#pragma once
// The sub-commands of the quillmere tool. Each returns the process exit status.
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/machine_root.h"

namespace quillmere::tool {

inline constexpr int kOk = 0;
inline constexpr int kCallFailed = 1;
inline constexpr int kUsage = 2;
inline constexpr int kNotFound = 3;

int runCall(const platform::MachineRoot& root, const std::vector<std::string>& args,
            std::ostream& out, std::ostream& err);
int runBatch(const platform::MachineRoot& root, std::istream& in, std::ostream& out,
             std::ostream& err);
int runRegistry(const platform::MachineRoot& root, const std::vector<std::string>& args,
                std::ostream& out, std::ostream& err);
int runPath(const platform::MachineRoot& root, const std::vector<std::string>& args,
            std::ostream& out, std::ostream& err);

}  // namespace quillmere::tool
