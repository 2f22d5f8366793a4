#include "component/core/settings.h"

#include "component/core/component_key.h"
#include "component/core/install_paths.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/core/log.h"
#include "platform/failure.h"
#include "platform/text_file.h"
#include "platform/xml/document.h"

namespace quillmere {

using platform::Hive;
using platform::RegistryValue;

namespace {

constexpr std::string_view kBrowserKey = "Software\\Microsoft\\Internet Explorer";
constexpr std::string_view kBrowserMainKey = "Software\\Microsoft\\Internet Explorer\\Main";

// The file's serialization as the DOM loads it; the empty text when it does not load.
std::string serializeFile(Session& session, std::string_view windowsPath) {
    platform::xml::Document document;
    if (!document.loadFile(session.path(windowsPath))) return {};
    return document.serialize();
}

bool folderHoldsDatabase(const std::filesystem::path& folder) {
    if (!platform::folderExists(folder)) throw platform::pathNotFound(folder);
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file() && IsDatabaseFile(entry.path())) return true;
    return false;
}

}  // namespace

bool IsDatabaseFile(const std::filesystem::path& file) {
    return platform::equalsIgnoreCase(file.extension().string(), ".mdb");
}

std::string Get_Error(Session& session) {
    return ReadLastError(session);
}

std::string GetVariable(Session& session, const std::string& iVar) {
    if (iVar.empty()) return {};
    const auto value = ReadComponentValue(session, iVar);
    if (!value) return {};
    if (iVar != "Currentmdb") return *value;
    // The current database counts only while the folder really holds a database file.
    return folderHoldsDatabase(session.path(paths::kMasterDataFolder)) ? *value : std::string();
}

Variant Set_Mode(Session& session, const std::string& iMode) {
    SetExistingComponentValue(session, "Mode", iMode);
    return {};
}

Variant RegisterDownloadPath(Session& session) {
    session.registry.createKey(Hive::CurrentUser, kBrowserKey);
    session.registry.setValue(
        Hive::CurrentUser, kBrowserKey,
        RegistryValue::string("Download Directory", std::string(paths::kMasterDataFolder)));
    return {};
}

Variant SetHomePage(Session& session) {
    auto value = session.registry.valueExact(Hive::CurrentUser, kBrowserMainKey, "Start Page");
    if (value) {
        value->type = platform::ValueType::String;
        value->text = std::string(paths::kStartPage);
        session.registry.setValue(Hive::CurrentUser, kBrowserMainKey, *value);
    }
    return {};
}

Variant SaveWebPage(Session& session, const std::string& iHtml) {
    const auto page = session.path(paths::kStartPage);
    if (!platform::fileExists(page)) platform::createEmptyFile(page);
    platform::replaceFileText(page, iHtml);
    LogAction(session, "Save Web Page");
    return {};
}

Variant GetMailContent(Session& session, const std::string& iWhat) {
    if (iWhat == "ZudivevEzored") return Variant::text(serializeFile(session, paths::kOrderStore));
    if (iWhat == "UploadReport") return Variant::text(serializeFile(session, paths::kUploadReport));
    if (iWhat == "StyleSheet") return Variant::text(serializeFile(session, paths::kFieldMapper));
    if (iWhat == "Log")
        return Variant::text(platform::readWholeFile(session.path(paths::kLogFile)));
    return {};
}

bool LocalXmlExists(Session& session) {
    return platform::fileExists(session.path(paths::kOrderStore));
}

std::string GetI18NString(Session& session, const std::string& label) {
    return GetLabelText(session, label);
}

}  // namespace quillmere
