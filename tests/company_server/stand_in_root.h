#pragma once
// A server root as the stand-in finds it after the synchronizer's set-up: the web root with
// company folders below MasterData, the data source "Quillmere" (an SQLite server database made
// from data/server/server-database.sql) with a few items, and the stand-in's own folder.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_root.h"
#include "tools/company-server/core/upload_review.h"

namespace company_server_testing {

inline const std::string kSampleDownload =
    std::string(TAVIRO_SOURCE_DIR) + "/data/samples/download.xml";

class StandInRoot {
  public:
    // Items PMP-UPS25-60 and THR-RT200 (with the ERP's nine blanks in front, as the
    // synchronizer writes them) and GSK-34 (without).
    StandInRoot();

    const platform::MachineRoot& root() const { return temp_.root(); }
    const std::filesystem::path& dir() const { return temp_.dir(); }
    std::filesystem::path companyFolder(const std::string& company) const;
    std::filesystem::path standIn(const std::string& relative) const {
        return dir() / "company-server" / relative;
    }

  private:
    testing_support::TempRoot temp_;
};

// Items known by name, for reviews without a database.
class ListedItems : public company_server::ItemCatalog {
  public:
    explicit ListedItems(std::vector<std::string> items) : items_(std::move(items)) {}
    bool contains(std::string_view item) override;

  private:
    std::vector<std::string> items_;
};

// An upload document (the store's root and six containers) around the given container contents.
std::string uploadDocument(const std::string& orders, const std::string& activities = "",
                           const std::string& material = "", const std::string& labor = "",
                           const std::string& other = "");

}  // namespace company_server_testing
