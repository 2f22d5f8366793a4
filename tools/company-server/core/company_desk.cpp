#include "tools/company-server/core/company_desk.h"

#include <system_error>

#include "platform/db/database.h"
#include "platform/failure.h"
#include "platform/file_lock.h"
#include "platform/text_file.h"
#include "tools/service/request_error.h"

namespace company_server {

namespace fs = std::filesystem;
using platform::FileLock;
using taviro::service::RequestError;

namespace {

constexpr std::string_view kEmptyStore =
    "<zudivevezored><ccsocservcordr/><ccsocservcactv/><ccsocservcmatl/><ccsocservclabr/>"
    "<ccsocservcothr/><ccsocservchra/></zudivevezored>";

void makeFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw platform::PlatformError(platform::failure::kPathNotFound,
                                      "Cannot create " + folder.string() + ": " + ec.message());
}

// The service-order numbers an upload names, records first, then groups.
std::vector<std::string> uploadedOrders(pugi::xml_node upload) {
    std::vector<std::string> orders;
    for (pugi::xml_node record : upload.child("ccsocservcordr").children())
        orders.emplace_back(record.attribute("ServiceOrder").value());
    for (pugi::xml_node container : upload.children())
        if (std::string_view(container.name()) != "ccsocservcordr")
            for (pugi::xml_node group : container.children())
                orders.emplace_back(group.attribute("ID").value());
    return orders;
}

bool documentHoldsOrder(const fs::path& file, const std::vector<std::string>& orders) {
    platform::xml::Document document;
    if (!document.loadFile(file)) return false;
    for (pugi::xml_node record : document.root().child("ccsocservcordr").children())
        for (const std::string& order : orders)
            if (!order.empty() && order.front() != '_' &&
                order == record.attribute("ServiceOrder").value())
                return true;
    return false;
}

class ServerItemCatalog : public ItemCatalog {
  public:
    explicit ServerItemCatalog(platform::MachineRoot root) : root_(std::move(root)) {}

    bool contains(std::string_view item) override {
        if (!lookup_) {
            connection_ = platform::db::connect("DSN=Quillmere", root_);
            lookup_ =
                connection_->prepare("SELECT ITEM FROM SERVICEITEMS WHERE ITEM = ? OR ITEM = ?");
        }
        lookup_->bind(0, "         " + std::string(item));
        lookup_->bind(1, std::string(item));
        return !lookup_->query().empty();
    }

  private:
    platform::MachineRoot root_;
    std::unique_ptr<platform::db::Connection> connection_;
    std::unique_ptr<platform::db::Statement> lookup_;
};

}  // namespace

std::unique_ptr<ItemCatalog> openServerItemCatalog(const platform::MachineRoot& root) {
    return std::make_unique<ServerItemCatalog>(root);
}

CompanyDesk::CompanyDesk(ServerFiles files, CatalogFactory openCatalog)
    : files_(std::move(files)), openCatalog_(std::move(openCatalog)) {}

void CompanyDesk::seedIfMissing(const fs::path& ordersFile) {
    if (platform::fileExists(ordersFile)) return;
    makeFolder(ordersFile.parent_path());
    const std::string seed = platform::fileExists(files_.seedFile())
                                 ? platform::readWholeFile(files_.seedFile())
                                 : std::string(kEmptyStore);
    platform::writeFileAtomically(ordersFile, seed);
}

std::string CompanyDesk::orders(std::string_view engineer) {
    const fs::path file = files_.ordersFile(engineer);
    makeFolder(files_.folder());
    const FileLock lock(files_.lockTarget());
    seedIfMissing(file);
    return platform::readWholeFile(file);
}

std::string CompanyDesk::engineerFor(std::string_view requested, pugi::xml_node upload) const {
    if (!requested.empty()) return std::string(requested);
    const std::vector<std::string> engineers = files_.engineers();
    const std::vector<std::string> orders = uploadedOrders(upload);
    for (const std::string& engineer : engineers)
        if (documentHoldsOrder(files_.ordersFile(engineer), orders)) return engineer;
    if (engineers.size() == 1) return engineers.front();
    throw RequestError{
        400, "Name the engineer (?engineer=E): the server cannot tell whose upload this is."};
}

std::string CompanyDesk::upload(std::string_view name, std::string_view engineer,
                                std::string_view body) {
    const fs::path reportFile = files_.reportFile(name);
    const fs::path uploadFile = files_.uploadFile(name);
    makeFolder(files_.folder());
    const FileLock lock(files_.lockTarget());
    // Answered before: the same report again, and nothing is applied a second time.
    if (platform::fileExists(reportFile)) return platform::readWholeFile(reportFile);

    platform::xml::Document upload;
    if (!upload.parse(body)) throw RequestError{400, "The upload is not well-formed XML."};
    const fs::path ordersFile = files_.ordersFile(engineerFor(engineer, upload.root()));
    seedIfMissing(ordersFile);
    platform::xml::Document server;
    if (!server.loadFile(ordersFile))
        throw platform::PlatformError(
            platform::failure::kXml,
            "The server document " + ordersFile.string() + " cannot be read.");
    const std::unique_ptr<ItemCatalog> items = openCatalog_();
    const std::vector<ReportEntry> entries = reviewUpload(upload.root(), server, *items);
    if (entries.size() > kMaxReportEntries)
        throw RequestError{
            413, "An upload of more than 32767 records cannot be answered in one report."};
    const std::string report = reportText(name, entries);

    // The document first: should the report not be written, the repeated upload is reviewed
    // again, and taking over the same records again changes nothing.
    server.save(ordersFile);
    makeFolder(uploadFile.parent_path());
    platform::writeFileAtomically(uploadFile, body);
    makeFolder(reportFile.parent_path());
    platform::writeFileAtomically(reportFile, report);
    return report;
}

}  // namespace company_server
