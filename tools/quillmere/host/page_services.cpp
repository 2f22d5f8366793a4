#include "tools/quillmere/host/page_services.h"

#include <nlohmann/json.hpp>
#include <system_error>

#include "component/core/install_paths.h"
#include "platform/file_lock.h"
#include "platform/registry.h"
#include "platform/text_file.h"
#include "platform/xml/document.h"
#include "tools/service/plain_name.h"

namespace quillmere::host {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kStateFile = "quillmere-app.json";
constexpr std::string_view kBrowserKey = "Software\\Microsoft\\Internet Explorer";
constexpr std::string_view kDownloadDirectory = "Download Directory";
// The page's state is a small flat object; deeper nesting is not state but an attack on the
// parser.
constexpr int kMaxStateNesting = 32;

bool isJsonObject(std::string_view text) {
    int depth = 0;
    bool tooDeep = false;
    const auto limitDepth = [&](int level, nlohmann::json::parse_event_t, nlohmann::json&) {
        depth = level;
        tooDeep = tooDeep || level > kMaxStateNesting;
        return !tooDeep;
    };
    const nlohmann::json value = nlohmann::json::parse(text, limitDepth, false);
    return !tooDeep && !value.is_discarded() && value.is_object();
}

bool isWaiting(const pugi::xml_node& record) {
    const std::string_view state = record.attribute("State").value();
    return state == "N" || state == "M";
}

int countChildren(const pugi::xml_node& parent) {
    int count = 0;
    for (const pugi::xml_node& child : parent.children())
        if (child.type() == pugi::node_element && isWaiting(child)) ++count;
    return count;
}

}  // namespace

std::string readPageState(const platform::MachineRoot& root) {
    const fs::path file = root.directory() / kStateFile;
    const platform::FileLock lock(file);
    if (!platform::fileExists(file)) return "{}";
    std::string text = platform::readWholeFile(file);
    if (!isJsonObject(text))
        throw RequestError{500, "The stored state " + file.string() +
                                    " is not a JSON object; it was left as it is."};
    return text;
}

void writePageState(const platform::MachineRoot& root, std::string_view json) {
    if (json.size() > kMaxStateBytes) throw RequestError{413, "The state is larger than 1 MiB."};
    if (!isJsonObject(json)) throw RequestError{400, "The state must be a JSON object."};
    const fs::path file = root.directory() / kStateFile;
    const platform::FileLock lock(file);
    platform::writeFileAtomically(file, json);
}

int countWaitingForUpload(const platform::MachineRoot& root) {
    const fs::path store = root.map(paths::kOrderStore);
    if (!platform::fileExists(store)) return 0;
    platform::xml::Document document;
    if (!document.loadFile(store))
        throw RequestError{500, "The order store " + store.string() + " cannot be read."};
    int count = 0;
    for (const pugi::xml_node& container : document.root().children()) {
        const std::string_view name = container.name();
        if (name == "ccsocservcordr" || name == "ccsocservchra") {
            count += countChildren(container);
        } else if (name == "ccsocservcactv" || name == "ccsocservcmatl" ||
                   name == "ccsocservclabr" || name == "ccsocservcothr") {
            for (const pugi::xml_node& group : container.children()) count += countChildren(group);
        }
    }
    return count;
}

std::string saveDownload(const platform::MachineRoot& root, std::string_view name,
                         std::string_view bytes) {
    if (!taviro::service::isPlainFileName(name))
        throw RequestError{400, "A download needs a plain file name."};
    const platform::Registry registry(root);
    const auto folder =
        registry.valueExact(platform::Hive::CurrentUser, kBrowserKey, kDownloadDirectory);
    if (!folder || folder->type != platform::ValueType::String || folder->text.empty())
        throw RequestError{409, "The download folder is not set (call RegisterDownloadPath)."};
    const fs::path target = root.map(folder->text);
    std::error_code ec;
    if (!fs::is_directory(target, ec))
        throw RequestError{409, "The download folder " + folder->text + " does not exist."};
    std::string windowsPath = folder->text;
    if (!windowsPath.ends_with('\\')) windowsPath += '\\';
    windowsPath += name;
    platform::writeFileAtomically(target / std::string(name), bytes);
    return windowsPath;
}

}  // namespace quillmere::host
