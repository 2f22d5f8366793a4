// The window's start-up: folders from the registry, the server connection, the unattended
// setting, the locale and the label texts, and what a failure of any of them leaves behind.
#include <optional>

#include "platform/db/database.h"
#include "platform/failure.h"
#include "platform/text.h"
#include "sync/core/synchronizer.h"

namespace brindlemoor {

namespace db = platform::db;

namespace {

constexpr std::string_view kWebRootKey = "SOFTWARE\\Microsoft\\INetStp";
constexpr std::string_view kWebRootValue = "PathWWWRoot";
constexpr std::string_view kMiddlewareKey = "SOFTWARE\\Taviro\\Taviro Corbelline";
constexpr std::string_view kMiddlewareValue = "InstMainDir";
constexpr std::string_view kShellSource = "WshShell.RegRead";
constexpr uint32_t kRegistryReadFailure = 0x80070002;

// A value as the scripting shell reads it: names compare without regard to case.
std::optional<std::string> readShellValue(const platform::Registry& registry, std::string_view key,
                                          std::string_view name) {
    if (!registry.keyExists(platform::Hive::LocalMachine, key)) return std::nullopt;
    for (const platform::RegistryValue& value :
         registry.values(platform::Hive::LocalMachine, key)) {
        if (platform::equalsIgnoreCase(value.name, name)) return value.dataAsText();
    }
    return std::nullopt;
}

[[noreturn]] void failRegistryRead(std::string_view key, std::string_view name) {
    throw SourcedError(kRegistryReadFailure,
                       "Unable to open registry key \"HKLM\\" + std::string(key) + "\\" +
                           std::string(name) + "\" for reading.",
                       std::string(kShellSource));
}

std::string text(const db::Value& value) {
    return value.value_or(std::string());
}

// Label texts of one range in label order, by position.
template <size_t N>
void loadRange(db::Connection& server, const std::string& locale, std::string_view first,
               std::string_view last, std::array<std::string, N>& texts) {
    const std::unique_ptr<db::Statement> select = server.prepare(
        "select * from I18NText  where LOCALEID = ?" + std::string(" and LABEL BETWEEN ") + "'" +
        std::string(first) + "'" + " and " + "'" + std::string(last) + "'" + "ORDER BY LABEL");
    select->bind(0, locale);
    const db::Recordset rows = select->query();
    if (rows.rowCount() > N) {
        throw platform::PlatformError(platform::failure::kSubscriptOutOfRange,
                                      "Subscript out of range");
    }
    for (size_t i = 0; i < rows.rowCount(); ++i) texts[i] = text(rows.value(i, "TEXT"));
}

std::string loadOne(db::Connection& server, const std::string& locale, std::string_view label) {
    const std::unique_ptr<db::Statement> select =
        server.prepare("select * from I18NText  where LOCALEID = ?" + std::string(" and LABEL = ") +
                       "'" + std::string(label) + "'" + "ORDER BY LABEL");
    select->bind(0, locale);
    const db::Recordset rows = select->query();
    return rows.empty() ? std::string() : text(rows.value(0, "TEXT"));
}

}  // namespace

Synchronizer::Synchronizer(platform::MachineRoot root, Progress& progress)
    : root_(root), progress_(progress), log_(root), connections_(root) {}

Synchronizer::~Synchronizer() = default;

Synchronizer::StartUpOutcome Synchronizer::startUp() {
    try {
        readFolders();
        openConnection("Quillmere");
        readUnattendedSetting();
        locale_ = readDefaultLanguage();
        enumerations_.setLocale(locale_);
        loadLabels();
        connections_.closeServer();
        if (unattended_) return StartUpOutcome::RunUnattended;
        progress_.setText(labels_.run[LabelTexts::kFirstLine] + std::string(kLineBreak));
        progress_.repaint();
        return StartUpOutcome::WaitForOperator;
    } catch (...) {
        connections_.closeServer();
        handleStartUpFailure(DescribeCurrentException());
        return StartUpOutcome::Failed;
    }
}

void Synchronizer::readFolders() {
    const platform::Registry registry(root_);
    const std::optional<std::string> webRoot = readShellValue(registry, kWebRootKey, kWebRootValue);
    const std::optional<std::string> middleware =
        readShellValue(registry, kMiddlewareKey, kMiddlewareValue);
    // Each folder that can be derived is, so that a failure can still be logged when only the
    // web root is missing.
    if (webRoot) {
        folders_.webRoot = *webRoot;
        folders_.masterDataFolder = *webRoot + "\\MasterData";
    }
    if (middleware) {
        folders_.middlewareFolder = *middleware;
        folders_.productFolder = *middleware + "\\Taviro Quillmere";
        folders_.logFolder = folders_.productFolder + "\\Brindlemoor";
    }
    if (!webRoot) failRegistryRead(kWebRootKey, kWebRootValue);
    if (!middleware) failRegistryRead(kMiddlewareKey, kMiddlewareValue);
}

void Synchronizer::readUnattendedSetting() {
    const db::Recordset rows = connections_.server().query(
        "select * from PARAMETERS WHERE PARAMNAME = '" + std::string("MDSyncAuto") + "'");
    std::string setting;
    for (size_t i = 0; i < rows.rowCount(); ++i)
        setting = platform::trimBlanks(text(rows.value(i, "PARAMVALUE")));
    unattended_ = platform::toUpper(setting) == "YES";
}

std::string Synchronizer::readDefaultLanguage() {
    const db::Recordset rows = connections_.server().query(
        "select * from PARAMETERS where PARAMNAME = '" + std::string("DefaultLanguage") + "'");
    return rows.empty() ? std::string()
                        : std::string(platform::trimBlanks(text(rows.value(0, "PARAMVALUE"))));
}

void Synchronizer::loadLabels() {
    db::Connection& server = connections_.server();
    loadRange(server, locale_, "SLBEU0461", "SLBEU0469", labels_.run);
    loadRange(server, locale_, "SLBEU0191", "SLBEU0218", labels_.captions);
    labels_.noChange = loadOne(server, locale_, "SLBEU0085");
    labels_.unitsCaption = loadOne(server, locale_, "SLBEU0171");
}

void Synchronizer::handleStartUpFailure(const RunError& error) {
    endAfterError_ = true;
    bool canLog = true;
    try {
        createRunLog();
    } catch (...) {
        canLog = false;
        recordLogFailure(DescribeCurrentException());
    }
    auto log = [&](const std::string& entry) {
        if (canLog) logEntry(entry);
    };
    const std::string& part2 = labels_.run[LabelTexts::kErrorPart2];
    const std::string number = std::to_string(error.number);
    if (error.number == kCannotCreateObjectNumber) {
        progress_.append(std::string(kLineBreak) + error.source + " - " + error.description +
                         part2 + std::string(kLineBreak));
        log("Corbelline.dll was not registered on your system");
    } else if (error.number == kGeneralFailureNumber) {
        progress_.append(error.source + " - " + error.description + part2 +
                         std::string(kLineBreak));
        log(number + " - " + error.description + std::string(kLogLineBreak) +
            "Could not Synchronize Master Data - Process Aborted");
    } else {
        progress_.append(error.source + " - " + error.description + part2 +
                         std::string(kLineBreak));
    }
    log(error.source + "  " + number + " " + error.description + " ");
}

}  // namespace brindlemoor
