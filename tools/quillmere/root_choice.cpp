#include "tools/quillmere/root_choice.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace quillmere::tool {

RootChoice chooseRoot(const std::optional<std::string>& commandLineRoot) {
    std::string namedBy;
    if (commandLineRoot && !commandLineRoot->empty()) {
        namedBy = "--root";
    } else if (const char* env = std::getenv("TAVIRO_ROOT"); env && *env) {
        namedBy = "TAVIRO_ROOT";
    }
    return RootChoice{platform::MachineRoot::resolve(commandLineRoot), namedBy};
}

std::optional<std::string> rootProblem(const RootChoice& choice) {
    if (choice.namedBy.empty()) return std::nullopt;
    std::error_code ec;
    const std::filesystem::path& dir = choice.root.directory();
    if (std::filesystem::is_directory(dir, ec)) return std::nullopt;
    if (std::filesystem::exists(dir, ec))
        return "quillmere: machine root " + dir.string() + " (named by " + choice.namedBy +
               ") is not a folder";
    return "quillmere: machine root " + dir.string() + " (named by " + choice.namedBy +
           ") does not exist; create it with \"mkdir -p '" + (dir / "C").string() +
           "'\" (a machine with drive C:), or leave out --root and TAVIRO_ROOT to use the "
           "default root";
}

void prepareRoot(const RootChoice& choice) {
    if (choice.namedBy.empty()) choice.root.createIfMissing();
}

}  // namespace quillmere::tool
