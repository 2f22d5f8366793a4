#include "sync/core/server_init.h"

#include <cctype>
#include <filesystem>
#include <memory>

#include "platform/db/database.h"
#include "platform/failure.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/text_file.h"
#include "sync/core/delivered_sql.h"
#include "sync/core/password_mask.h"
#include "sync/core/server_folders.h"
#include "sync/core/server_queries.h"
#include "sync/core/server_schema.h"

namespace brindlemoor {

namespace {

namespace db = platform::db;
namespace fs = std::filesystem;
using platform::Hive;
using platform::RegistryValue;

constexpr std::string_view kDefaultWebRoot = "C:\\Inetpub\\wwwroot";
constexpr std::string_view kDefaultMiddlewareFolder = "C:\\Program Files\\Corbelline";
constexpr std::string_view kDefaultLocale = "1033";
constexpr std::string_view kInitUser = "brindlemoor";
constexpr std::string_view kSqlitePrefix = "sqlite:";

bool isDrivePath(std::string_view path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

// A Linux path given relative to the working folder would mean another file for a run started
// elsewhere: it is made absolute. Windows paths and absolute paths stay as given.
std::string absolutePath(std::string_view path) {
    if (path.empty() || isDrivePath(path) || path.front() == '/') return std::string(path);
    return fs::absolute(fs::path(std::string(path))).lexically_normal().string();
}

// The connection string with a relative sqlite: path made absolute.
std::string normalizedConnection(std::string_view connection) {
    const std::string_view trimmed = platform::trimWhitespace(connection);
    if (!platform::startsWithIgnoreCase(trimmed, kSqlitePrefix)) return std::string(trimmed);
    return std::string(kSqlitePrefix) +
           absolutePath(platform::trimWhitespace(trimmed.substr(kSqlitePrefix.size())));
}

class ServerInit {
  public:
    ServerInit(const platform::MachineRoot& root, const InitOptions& options, std::ostream& out)
        : root_(root), options_(options), out_(out), registry_(root) {}

    void run() {
        root_.createIfMissing();
        const std::string server = normalizedConnection(options_.serverDatabase);
        // A server database that cannot be reached fails before anything else changes.
        server_ = openCreatingSqliteFile(server);
        writeRegistry(server);
        makeFolders();
        prepareServerDatabase();
        prepareSiblingDatabase(server);
        for (const InitCompany& company : options_.companies) prepareCompany(company);
        out_ << "The server root " << root_.directory().string()
             << " is ready. Next: brindlemoor --root '" << root_.directory().string()
             << "' --check, then brindlemoor --root '" << root_.directory().string() << "' --run\n";
    }

  private:
    // Connection strings reach the lines masked.
    void line(std::string_view what, const std::string& text) {
        out_ << what << "  " << text << "\n";
    }

    // Sets a value, or keeps the one there when `keep` and there is one; answers the value.
    std::string setValue(std::string_view key, std::string_view name, const std::string& value,
                         bool keep) {
        const std::string path = "HKLM\\" + std::string(key) + "\\" + std::string(name);
        if (keep) {
            if (std::optional<std::string> existing = ReadShellValue(registry_, key, name)) {
                line("kept", path + " = " + MaskPasswords(*existing));
                return *existing;
            }
        }
        registry_.createKey(Hive::LocalMachine, key);
        registry_.setValue(Hive::LocalMachine, key,
                           RegistryValue::string(std::string(name), value));
        line("set ", path + " = " + MaskPasswords(value));
        return value;
    }

    void writeRegistry(const std::string& server) {
        const bool keepWebRoot = !options_.webRoot.has_value();
        webRoot_ =
            setValue(kWebRootKey, kWebRootValue,
                     keepWebRoot ? std::string(kDefaultWebRoot) : absolutePath(*options_.webRoot),
                     keepWebRoot);
        middlewareFolder_ = setValue(erp::kMiddlewareKey, kMiddlewareValue,
                                     std::string(kDefaultMiddlewareFolder), true);
        setValue(erp::kConnectionStringsKey, "11", server, false);
        // Without a sibling database of its own, the server database holds BISPROPERTYVALUES.
        sibling_ = setValue(erp::kConnectionStringsKey, "8", server, true);
        pointDescriptionLookUps(server);
    }

    // The description look-ups reach the server database through the data source "Quillmere".
    void pointDescriptionLookUps(const std::string& server) {
        const std::string key = std::string(kDataSourcesKey) + "\\Quillmere";
        if (platform::startsWithIgnoreCase(server, kSqlitePrefix)) {
            registry_.deleteValue(Hive::LocalMachine, key, "Driver");
            setValue(key, "DBQ", server.substr(kSqlitePrefix.size()), false);
        } else if (platform::startsWithIgnoreCase(server, "postgres")) {
            setValue(key, "Driver", "PostgreSQL", false);
            setValue(key, "Connect", server, false);
        } else {
            copyDataSource(server, key);
        }
    }

    // "DSN=NAME;...": the look-ups' data source gets NAME's settings, unless it is NAME.
    void copyDataSource(const std::string& server, const std::string& key) {
        for (std::string_view part : platform::split(server, ';')) {
            const size_t equals = part.find('=');
            if (equals == std::string_view::npos ||
                !platform::equalsIgnoreCase(platform::trimWhitespace(part.substr(0, equals)),
                                            "DSN")) {
                continue;
            }
            const std::string name(platform::trimWhitespace(part.substr(equals + 1)));
            if (platform::equalsIgnoreCase(name, "Quillmere")) return;
            const std::string source = std::string(kDataSourcesKey) + "\\" + name;
            if (!registry_.keyExists(Hive::LocalMachine, source)) return;  // connect says why
            registry_.createKey(Hive::LocalMachine, key);
            for (const RegistryValue& value : registry_.values(Hive::LocalMachine, source))
                registry_.setValue(Hive::LocalMachine, key, value);
            line("set ", "HKLM\\" + key + " = the settings of data source " + name);
            return;
        }
    }

    fs::path folder(const std::string& path) {
        const fs::path linux = root_.map(path);
        if (platform::folderExists(linux)) {
            line("kept", "folder " + linux.string());
        } else {
            fs::create_directories(linux);
            line("made", "folder " + linux.string());
        }
        return linux;
    }

    void makeFolders() {
        folder(webRoot_);
        folder(webRoot_ + "\\MasterData");
        for (const InitCompany& company : options_.companies)
            folder(webRoot_ + "\\MasterData\\" + std::to_string(company.company));
        folder(middlewareFolder_ + "\\Taviro Quillmere\\Brindlemoor");
    }

    // Connects; an sqlite: file that does not exist yet is made first (an empty file is an
    // empty database).
    std::unique_ptr<db::Connection> openCreatingSqliteFile(const std::string& connection) {
        if (platform::startsWithIgnoreCase(connection, kSqlitePrefix)) {
            const std::string path = connection.substr(kSqlitePrefix.size());
            const fs::path file = isDrivePath(path) ? root_.map(path) : fs::path(path);
            if (!platform::fileExists(file)) {
                fs::create_directories(file.parent_path());
                platform::createEmptyFile(file);
                line("made", "database " + file.string());
            }
        }
        return db::connect(connection, root_);
    }

    void prepareServerDatabase() {
        db::Transaction transaction(*server_);
        if (HoldsNoTables(*server_)) {
            server_->execute(delivered::kServerDatabaseSql);
            line("made", "the tables of the server database");
        } else {
            line("kept", "the tables of the server database (it is not empty)");
        }
        if (!ReadDefaultLanguage(*server_)) {
            const auto insert = server_->prepare("INSERT INTO PARAMETERS VALUES (?, ?)");
            insert->bind(0, std::string("DefaultLanguage"));
            insert->bind(1, std::string(kDefaultLocale));
            insert->execute();
            line("set ", "PARAMETERS DefaultLanguage = " + std::string(kDefaultLocale));
        }
        if (server_->query("SELECT * FROM I18NText").empty()) {
            server_->execute(delivered::kLabels1033Sql);
            line("made", "the label texts of locale 1033 in I18NText");
        }
        transaction.commit();
    }

    void prepareSiblingDatabase(const std::string& server) {
        if (sibling_ == server) {
            siblingConnection_ = server_.get();
        } else {
            ownSibling_ = db::connect(sibling_, root_);
            siblingConnection_ = ownSibling_.get();
        }
        if (MissingTablesAndColumns(*siblingConnection_, {SiblingDatabaseTable()}).empty()) return;
        siblingConnection_->execute(delivered::kSiblingDatabaseSql);
        line("made", "the table BISPROPERTYVALUES");
    }

    // The company's bus identifier: that of its first user, else a new user's (the company
    // number, or the next number no bus address uses yet).
    std::string busIdOf(int company) {
        const auto users =
            server_->prepare("SELECT * FROM USERDEFAULTS WHERE COMP = ? ORDER BY LOGN");
        users->bind(0, std::to_string(company));
        const db::Recordset found = users->query();
        if (!found.empty()) {
            const db::Value& existing = found.value(0, "BISID");
            if (!existing) throw platform::invalidUseOfNull();
            return *existing;
        }
        int candidate = company;
        for (;;) {
            const auto used =
                siblingConnection_->prepare("SELECT * FROM BISPROPERTYVALUES WHERE BISID = ?");
            used->bind(0, std::to_string(candidate));
            if (used->query().empty()) break;
            ++candidate;
        }
        const auto insert = server_->prepare("INSERT INTO USERDEFAULTS VALUES (?, ?, ?)");
        insert->bind(0, std::to_string(company));
        insert->bind(1, std::string(kInitUser));
        insert->bind(2, std::to_string(candidate));
        insert->execute();
        line("made", "USERDEFAULTS user " + std::string(kInitUser) + " of company " +
                         std::to_string(company) + " with bus identifier " +
                         std::to_string(candidate));
        return std::to_string(candidate);
    }

    void prepareCompany(const InitCompany& company) {
        const std::string erp = normalizedConnection(company.erp);
        const std::unique_ptr<db::Connection> audit = openCreatingSqliteFile(erp);
        if (!MissingTablesAndColumns(*audit, {ErpAuditTable()}).empty()) {
            audit->execute(delivered::kErpAuditSql);
            line("made", "the table ERPAUDIT in " + MaskPasswords(erp));
        }
        const std::string busId = busIdOf(company.company);
        db::Transaction transaction(*siblingConnection_);
        const auto remove =
            siblingConnection_->prepare("DELETE FROM BISPROPERTYVALUES WHERE BISID = ?");
        remove->bind(0, busId);
        remove->execute();
        const auto insert =
            siblingConnection_->prepare("INSERT INTO BISPROPERTYVALUES VALUES (?, ?)");
        insert->bind(0, busId);
        insert->bind(1, erp);
        insert->execute();
        transaction.commit();
        line("set ", "bus address of bus identifier " + busId + " (company " +
                         std::to_string(company.company) + ") = " + MaskPasswords(erp));
    }

    const platform::MachineRoot& root_;
    const InitOptions& options_;
    std::ostream& out_;
    platform::Registry registry_;
    std::string webRoot_;
    std::string middlewareFolder_;
    std::string sibling_;
    std::unique_ptr<db::Connection> server_;
    std::unique_ptr<db::Connection> ownSibling_;
    db::Connection* siblingConnection_ = nullptr;
};

}  // namespace

int InitServer(const platform::MachineRoot& root, const InitOptions& options, std::ostream& out,
               std::ostream& err) {
    try {
        ServerInit(root, options, out).run();
        return 0;
    } catch (const std::exception& error) {
        out.flush();
        err << "brindlemoor: --init failed: " << MaskPasswords(error.what()) << "\n";
        return 1;
    }
}

}  // namespace brindlemoor
