#pragma once
// Which machine root a command works on. A root the user names (--root or TAVIRO_ROOT) must
// exist: a mistyped path would otherwise quietly become a new, empty machine. Only the default
// root ($XDG_DATA_HOME/taviro) is made on first use, as a fresh machine with drive C:.
#include <optional>
#include <string>

#include "platform/machine_root.h"

namespace quillmere::tool {

struct RootChoice {
    platform::MachineRoot root;
    std::string namedBy;  // "--root", "TAVIRO_ROOT", or empty for the default root
};

RootChoice chooseRoot(const std::optional<std::string>& commandLineRoot);

// What is wrong with the chosen root, with a hint how to fix it; nullopt when it can be used.
std::optional<std::string> rootProblem(const RootChoice& choice);

// Makes the default root on first use; a named root is never created.
void prepareRoot(const RootChoice& choice);

}  // namespace quillmere::tool
