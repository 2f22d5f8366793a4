#pragma once
// The stand-in's orders and uploads: what GET /orders and POST /upload do. Every change of the
// stand-in's files happens under one lock on the server root and replaces files atomically.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "tools/company-server/core/server_files.h"
#include "tools/company-server/core/upload_review.h"

namespace company_server {

class CompanyDesk {
  public:
    using CatalogFactory = std::function<std::unique_ptr<ItemCatalog>()>;

    CompanyDesk(ServerFiles files, CatalogFactory openCatalog);

    // The engineer's download document; an engineer without one first gets a copy of the seed
    // (an empty store-shaped document when there is no seed file).
    std::string orders(std::string_view engineer);

    // Takes over an upload and answers its report. An upload whose name was answered before
    // gets the stored report again and changes nothing, so a page that lost the answer can send
    // the same upload again. `engineer` may be empty: the engineer is then the one whose
    // document holds one of the uploaded orders, else the only engineer the server knows.
    // Throws RequestError (400: bad name, ill-formed upload, no engineer; 413: too many
    // records) and platform::PlatformError (database, files); nothing is applied then.
    std::string upload(std::string_view name, std::string_view engineer, std::string_view body);

    const ServerFiles& files() const { return files_; }

  private:
    void seedIfMissing(const std::filesystem::path& ordersFile);
    std::string engineerFor(std::string_view requested, pugi::xml_node upload) const;

    ServerFiles files_;
    CatalogFactory openCatalog_;
};

// Items of the server database's SERVICEITEMS (data source "Quillmere" of the server root). Item
// codes there carry the ERP's blank nine-character project segment in front; an item matches
// with or without it. The database is opened at the first look-up.
std::unique_ptr<ItemCatalog> openServerItemCatalog(const platform::MachineRoot& root);

}  // namespace company_server
