#include "sync/core/server_check.h"

#include <unistd.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/db/database.h"
#include "platform/failure.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "platform/text_file.h"
#include "sync/core/basic_conversions.h"
#include "sync/core/descriptions.h"
#include "sync/core/password_mask.h"
#include "sync/core/run_error.h"
#include "sync/core/server_folders.h"
#include "sync/core/server_queries.h"
#include "sync/core/server_schema.h"
#include "sync/core/window_start.h"
#include "sync/erp/datasource.h"

namespace brindlemoor {

namespace {

namespace db = platform::db;
namespace fs = std::filesystem;

constexpr int kServerApplication = 11;
constexpr int kSiblingApplication = 8;

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
    return text;
}

std::string quotedPath(const fs::path& path) {
    return "'" + path.string() + "'";
}

std::string windowText(const WindowStart& start) {
    if (start.earliest) return "the earliest time (first run of the company)";
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", start.year, start.month, start.day,
                  start.hour, start.minute);
    return text;
}

// The lines of a check and whether all of them were OK. Connection strings reach them masked.
class CheckList {
  public:
    explicit CheckList(std::ostream& out) : out_(out) {}

    void ok(const std::string& item, const std::string& detail) {
        out_ << "OK    " << item << ": " << detail << "\n";
        ++count_;
    }
    void fail(const std::string& item, const std::string& problem, const std::string& fix) {
        out_ << "FAIL  " << item << ": " << problem << ". Fix: " << fix << "\n";
        ++count_;
        ++failures_;
    }
    int finish() {
        if (failures_ == 0) {
            out_ << "All " << count_ << " items are OK: the server root is ready for a run.\n";
            return 0;
        }
        out_ << failures_ << " of " << count_ << " items need attention.\n";
        return 1;
    }

  private:
    std::ostream& out_;
    int count_ = 0;
    int failures_ = 0;
};

// The description of the failure being handled, masked.
std::string currentFailure() {
    return DescribeCurrentException().description;
}

class ServerCheck {
  public:
    ServerCheck(const platform::MachineRoot& root, std::ostream& out)
        : root_(root),
          list_(out),
          initHint_("brindlemoor --root " + quotedPath(root.directory()) +
                    " --init --server-db CONN") {}

    int run() {
        checkRegistry();
        checkFolders();
        checkDatasource();
        checkServerDatabase();
        checkDescriptionLookUps();
        checkSiblingDatabase();
        checkCompanies();
        return list_.finish();
    }

  private:
    void checkRegistry() {
        try {
            ReadServerFolders(root_, folders_);
        } catch (...) {
            // Each missing value has its own line below.
        }
        registryValue("web root", std::string(kWebRootKey) + "\\" + std::string(kWebRootValue),
                      folders_.webRoot, "C:\\Inetpub\\wwwroot");
        registryValue("middleware folder",
                      std::string(erp::kMiddlewareKey) + "\\" + std::string(kMiddlewareValue),
                      folders_.middlewareFolder, "C:\\Program Files\\Corbelline");
    }

    void registryValue(const std::string& item, const std::string& value, const std::string& data,
                       const std::string& example) {
        if (!data.empty()) {
            list_.ok(item, "HKLM\\" + value + " = " + data);
            return;
        }
        list_.fail(item, "the registry value HKLM\\" + value + " is missing",
                   "run " + initHint_ + ", or set it (for example to " + example + ")");
    }

    // The Linux path of a folder of the registry; nullopt (and a FAIL line) when it cannot be
    // mapped.
    std::optional<fs::path> mapped(const std::string& item, const std::string& folder) {
        try {
            return root_.map(folder);
        } catch (...) {
            list_.fail(item, folder + " cannot be reached: " + currentFailure(),
                       "make the drive exist in the root, or change the registry value");
            return std::nullopt;
        }
    }

    void checkFolders() {
        if (!folders_.webRoot.empty()) checkMasterDataFolder();
        if (!folders_.logFolder.empty()) checkLogFolder();
    }

    void checkMasterDataFolder() {
        const std::string item = "master-data folder";
        const std::optional<fs::path> folder = mapped(item, folders_.masterDataFolder);
        if (!folder) return;
        if (!platform::folderExists(*folder)) {
            list_.fail(
                item, folders_.masterDataFolder + " (" + folder->string() + ") does not exist",
                "create it with one folder per company: mkdir -p " + quotedPath(*folder / "500"));
            return;
        }
        masterDataFolder_ = *folder;
        companies_ = ListInNameOrder(*folder, true);
        std::vector<std::string> names;
        for (const fs::path& company : companies_) names.push_back(company.filename().string());
        list_.ok(item, folders_.masterDataFolder + " (" + folder->string() + "), " +
                           (names.empty() ? "no company folders yet: a run only writes its log"
                                          : std::to_string(names.size()) +
                                                " company folder(s): " + joined(names)));
    }

    void checkLogFolder() {
        const std::string item = "log folder";
        const std::optional<fs::path> folder = mapped(item, folders_.logFolder);
        if (!folder) return;
        if (!platform::folderExists(*folder)) {
            list_.fail(item, folders_.logFolder + " (" + folder->string() + ") does not exist",
                       "mkdir -p " + quotedPath(*folder));
        } else if (::access(folder->c_str(), W_OK | X_OK) != 0) {
            list_.fail(item, folder->string() + " is not writable",
                       "let the user who runs brindlemoor write to it");
        } else {
            list_.ok(item, folders_.logFolder + " (" + folder->string() + ") is writable");
        }
    }

    void checkDatasource() {
        try {
            datasource_ = erp::createDatasource(root_);
            list_.ok("datasource component",
                     "connection strings under HKLM\\" + std::string(erp::kConnectionStringsKey));
        } catch (...) {
            list_.fail("datasource component",
                       "HKLM\\" + std::string(erp::kConnectionStringsKey) +
                           " is missing, so the start-up fails with error 429",
                       "run " + initHint_);
        }
    }

    // Connects with the connection string of an application; nullptr (and a FAIL line) when
    // that is not possible.
    std::unique_ptr<db::Connection> connectApplication(const std::string& item, int application,
                                                       std::string& connection) {
        if (!datasource_) {
            list_.fail(item, "not checked: there is no datasource component",
                       "fix the datasource component first");
            return nullptr;
        }
        const std::string name = "connection string " + std::to_string(application);
        try {
            connection = MaskPasswords(datasource_->GetConnectionString(application));
            if (connection.empty()) {
                list_.fail(item, name + " is empty or missing",
                           "run " + initHint_ + ", or set the value " +
                               std::to_string(application) + " under HKLM\\" +
                               std::string(erp::kConnectionStringsKey));
                return nullptr;
            }
            return db::connect(datasource_->GetConnectionString(application), root_);
        } catch (...) {
            list_.fail(item, name + " (" + connection + ") cannot be opened: " + currentFailure(),
                       "correct the connection string or make the database reachable");
            return nullptr;
        }
    }

    void checkServerDatabase() {
        const std::string item = "server database";
        std::string connection;
        server_ = connectApplication(item, kServerApplication, connection);
        if (!server_) return;
        const std::vector<TableColumns> tables = ServerDatabaseTables();
        const std::vector<std::string> missing = MissingTablesAndColumns(*server_, tables);
        if (!missing.empty()) {
            list_.fail(item, connection + " lacks " + joined(missing),
                       "create the tables of data/server/server-database.sql (--init creates "
                       "them in an empty database)");
            server_.reset();
            return;
        }
        list_.ok(item, connection + ", all " + std::to_string(tables.size()) + " tables present");
        checkSettings();
    }

    void checkSettings() {
        try {
            const std::optional<std::string> locale = ReadDefaultLanguage(*server_);
            if (!locale || locale->empty()) {
                list_.fail("settings", "PARAMETERS holds no DefaultLanguage",
                           "INSERT INTO PARAMETERS VALUES ('DefaultLanguage', '1033')");
                return;
            }
            const std::string setting = ReadUnattendedSetting(*server_);
            list_.ok("settings", "DefaultLanguage " + *locale + ", " +
                                     (platform::toUpper(setting) == "YES"
                                          ? "MDSyncAuto YES: the window runs unattended"
                                          : "interactive window (MDSyncAuto is not YES)"));
            checkLabels(*locale);
        } catch (...) {
            list_.fail("settings", "PARAMETERS cannot be read: " + currentFailure(),
                       "repair the server database");
        }
    }

    void checkLabels(const std::string& locale) {
        const std::string item = "label texts";
        try {
            const LabelTexts labels = ReadLabelTexts(*server_, locale);
            size_t runLabels = 0;
            for (const std::string& text : labels.run) runLabels += text.empty() ? 0 : 1;
            size_t captions = 0;
            for (const std::string& text : labels.captions) captions += text.empty() ? 0 : 1;
            if (runLabels == 0) {
                list_.fail(item,
                           "I18NText holds no run labels (SLBEU0461-SLBEU0469) for locale " +
                               locale + ", so the progress texts are empty",
                           "load data/server/labels-1033.sql (--init loads it into an empty "
                           "I18NText)");
                return;
            }
            list_.ok(item, std::to_string(runLabels) + " run labels and " +
                               std::to_string(captions) + " table captions for locale " + locale);
        } catch (...) {
            list_.fail(
                item,
                "the label texts of locale " + locale + " cannot be read: " + currentFailure(),
                "keep at most 9 labels SLBEU0461-SLBEU0469 and 28 labels "
                "SLBEU0191-SLBEU0218 per locale");
        }
    }

    void checkDescriptionLookUps() {
        const std::string item = "description look-ups";
        try {
            const std::unique_ptr<db::Connection> lookups =
                db::connect(kDescriptionDataSource, root_);
            const std::vector<std::string> missing =
                MissingTablesAndColumns(*lookups, ServerDatabaseTables());
            if (!missing.empty()) {
                list_.fail(item, std::string(kDescriptionDataSource) + " lacks " + joined(missing),
                           "point the data source Quillmere (HKLM\\" +
                               std::string(kDataSourcesKey) +
                               "\\Quillmere) at the server database");
                return;
            }
            list_.ok(item, std::string(kDescriptionDataSource) + " reaches the server tables");
        } catch (...) {
            list_.fail(
                item,
                std::string(kDescriptionDataSource) + " cannot be opened: " + currentFailure(),
                "run " + initHint_ + ", or point the data source Quillmere (HKLM\\" +
                    std::string(kDataSourcesKey) + "\\Quillmere) at the server database");
        }
    }

    void checkSiblingDatabase() {
        const std::string item = "sibling database";
        std::string connection;
        sibling_ = connectApplication(item, kSiblingApplication, connection);
        if (!sibling_) return;
        const std::vector<std::string> missing =
            MissingTablesAndColumns(*sibling_, {SiblingDatabaseTable()});
        if (!missing.empty()) {
            list_.fail(item, connection + " lacks " + joined(missing),
                       "create it: CREATE TABLE BISPROPERTYVALUES (BISID TEXT, VALUE TEXT)");
            sibling_.reset();
            return;
        }
        list_.ok(item, connection + ", BISPROPERTYVALUES present");
    }

    void checkCompanies() {
        for (const fs::path& folder : companies_) checkCompany(folder);
    }

    void checkCompany(const fs::path& folder) {
        const std::string name = folder.filename().string();
        const std::string item = "company folder " + name;
        if (!server_ || !sibling_) {
            list_.fail(item, "not checked: the server or sibling database cannot be used",
                       "fix the databases first");
            return;
        }
        int32_t company = 0;
        std::string step = "its change window";
        try {
            const WindowStart start = FindWindowStart(folder);
            step = "its company number";
            company = CompanyOfFolder(name);
            const int16_t parameter = ToCompanyParameter(company);
            step = "its first user in USERDEFAULTS";
            const db::Value busId = ReadFirstUserBusId(*server_, parameter);
            if (!busId) throw platform::invalidUseOfNull();
            step = "the bus address of bus identifier " + *busId + " in BISPROPERTYVALUES";
            const std::string address = ReadBusAddress(*sibling_, std::to_string(ToLong(*busId)));
            if (address.empty()) throw std::runtime_error("the bus address is empty");
            step = "its ERP audit database " + MaskPasswords(address);
            const std::unique_ptr<db::Connection> audit = db::connect(address, root_);
            const std::vector<std::string> missing =
                MissingTablesAndColumns(*audit, {ErpAuditTable()});
            if (!missing.empty()) throw std::runtime_error("it lacks " + joined(missing));
            list_.ok(item, "company " + std::to_string(company) + ", bus identifier " + *busId +
                               ", ERP audit database " + MaskPasswords(address) +
                               ", change window from " + windowText(start));
        } catch (...) {
            list_.fail(item, step + ": " + currentFailure(), companyFix(step, company));
        }
    }

    std::string companyFix(const std::string& step, int32_t company) const {
        if (step.rfind("its change window", 0) == 0) {
            return "keep only change files named YYYY-MM-DD hh-mm.xml in the folder";
        }
        if (step.rfind("its company number", 0) == 0) {
            return "name the folder after the company number (0 to 32767)";
        }
        return "run " + initHint_ + " --company " + std::to_string(company) +
               " --erp CONN (CONN: the company's ERP audit database)";
    }

    const platform::MachineRoot& root_;
    CheckList list_;
    const std::string initHint_;
    ServerFolders folders_;
    std::optional<fs::path> masterDataFolder_;
    std::vector<fs::path> companies_;
    std::unique_ptr<erp::Datasource> datasource_;
    std::unique_ptr<db::Connection> server_;
    std::unique_ptr<db::Connection> sibling_;
};

}  // namespace

int CheckServer(const platform::MachineRoot& root, std::ostream& out) {
    return ServerCheck(root, out).run();
}

}  // namespace brindlemoor
