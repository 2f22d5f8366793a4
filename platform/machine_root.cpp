#include "platform/machine_root.h"

#include <cctype>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "platform/failure.h"

namespace platform {

namespace fs = std::filesystem;

MachineRoot::MachineRoot(fs::path directory) : directory_(std::move(directory)) {}

MachineRoot MachineRoot::resolve(const std::optional<std::string>& commandLineRoot) {
    if (commandLineRoot && !commandLineRoot->empty())
        return MachineRoot(fs::absolute(*commandLineRoot));
    if (const char* env = std::getenv("TAVIRO_ROOT"); env && *env)
        return MachineRoot(fs::absolute(env));
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return MachineRoot(fs::path(xdg) / "taviro");
    const char* home = std::getenv("HOME");
    return MachineRoot(fs::path(home && *home ? home : "/tmp") / ".local" / "share" / "taviro");
}

void MachineRoot::createIfMissing() const {
    std::error_code ec;
    if (fs::exists(directory_, ec)) return;
    fs::create_directories(directory_ / "C", ec);
    if (ec)
        throw PlatformError(failure::kPathNotFound,
                            "Cannot create machine root " + directory_.string());
}

bool MachineRoot::driveExists(char letter) const {
    std::error_code ec;
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    return fs::is_directory(directory_ / std::string(1, upper), ec);
}

namespace {

std::vector<std::string> splitComponents(std::string_view path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

// The existing entry of `folder` whose name equals `name` without regard to case; the name as
// written when there is none.
std::string matchEntry(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    if (fs::exists(folder / name, ec)) return name;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (equalsIgnoreCase(entry, name)) return entry;
    }
    return name;
}

}  // namespace

fs::path MachineRoot::map(std::string_view windowsPath) const {
    if (!windowsPath.empty() && windowsPath.front() == '/')
        return fs::path(std::string(windowsPath));
    std::string_view rest = windowsPath;
    fs::path drive = directory_;
    if (rest.size() >= 2 && rest[1] == ':' && std::isalpha(static_cast<unsigned char>(rest[0]))) {
        drive /=
            std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0]))));
        rest.remove_prefix(2);
    }
    // The folders walked so far, each with whether it exists (only below an existing folder can
    // an entry be matched). ".." steps back but, as on Windows, never above the drive's root,
    // so no path leads outside the machine root.
    struct Step {
        fs::path path;
        bool exists;
    };
    std::vector<Step> steps{{drive, true}};
    for (const std::string& part : splitComponents(rest)) {
        if (part == ".") continue;
        if (part == "..") {
            if (steps.size() > 1) steps.pop_back();
            continue;
        }
        const Step& parent = steps.back();
        fs::path next = parent.path / (parent.exists ? matchEntry(parent.path, part) : part);
        std::error_code ec;
        const bool exists = parent.exists && fs::is_directory(next, ec);
        steps.push_back({std::move(next), exists});
    }
    return steps.back().path;
}

}  // namespace platform
