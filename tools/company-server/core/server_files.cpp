#include "tools/company-server/core/server_files.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "platform/registry.h"
#include "platform/text.h"
#include "tools/service/plain_name.h"
#include "tools/service/request_error.h"

namespace company_server {

namespace fs = std::filesystem;
using taviro::service::RequestError;

namespace {

constexpr std::string_view kWebServerKey = "SOFTWARE\\Microsoft\\INetStp";

std::string plain(std::string_view name, const char* what) {
    if (!taviro::service::isPlainFileName(name))
        throw RequestError{400, std::string(what) + " must be a plain file name."};
    return std::string(name);
}

bool lessIgnoringCase(const std::string& a, const std::string& b) {
    const auto lower = [](unsigned char c) { return std::tolower(c); };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return lower(x) < lower(y); });
}

}  // namespace

ServerFiles::ServerFiles(platform::MachineRoot root, fs::path seedFile)
    : root_(std::move(root)), seedFile_(std::move(seedFile)) {}

fs::path ServerFiles::folder() const {
    return root_.directory() / "company-server";
}

fs::path ServerFiles::ordersFile(std::string_view engineer) const {
    return folder() / "orders" / (plain(engineer, "The engineer") + ".xml");
}

fs::path ServerFiles::uploadFile(std::string_view name) const {
    return folder() / "uploads" / plain(name, "The upload's name");
}

fs::path ServerFiles::reportFile(std::string_view name) const {
    return folder() / "reports" / plain(name, "The upload's name");
}

fs::path ServerFiles::packageFile(std::string_view center) const {
    return folder() / "packages" / (plain(center, "The service center") + ".mdb");
}

fs::path ServerFiles::lockTarget() const {
    return folder() / "company-server";
}

std::vector<std::string> ServerFiles::engineers() const {
    return namesEndingWith(folder() / "orders", ".xml", false);
}

std::vector<std::string> ServerFiles::packageCenters() const {
    return namesEndingWith(folder() / "packages", ".mdb", false);
}

fs::path ServerFiles::masterDataFolder(std::string_view company) const {
    const std::string name = plain(company, "The company");
    const platform::Registry registry(root_);
    const auto webRoot =
        registry.valueExact(platform::Hive::LocalMachine, kWebServerKey, "PathWWWRoot");
    if (!webRoot || webRoot->text.empty())
        throw RequestError{404, "The server root has no web root (PathWWWRoot)."};
    const fs::path companyFolder = root_.map(webRoot->text + "\\MasterData\\" + name);
    std::error_code ec;
    if (!fs::is_directory(companyFolder, ec))
        throw RequestError{404, "There is no master-data folder for company " + name + "."};
    return companyFolder;
}

std::vector<std::string> namesEndingWith(const fs::path& folder, std::string_view suffix,
                                         bool keepSuffix) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(ec) || name.size() <= suffix.size()) continue;
        const std::string_view tail = std::string_view(name).substr(name.size() - suffix.size());
        if (!platform::equalsIgnoreCase(tail, suffix)) continue;
        names.push_back(keepSuffix ? name : name.substr(0, name.size() - suffix.size()));
    }
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    return names;
}

}  // namespace company_server
