#pragma once
// How the company's server takes over an upload: every uploaded order, activity and cost line is
// checked against the server's rules, the accepted ones are written into the engineer's server
// document (so the next download reflects them), and the outcome of each becomes one entry of
// the upload report that the client's error pool reads.
//
// Rules of the stand-in:
// - an order number must be known to the server (an order of the engineer's document) or be
//   provisional ("_" and a counter, made on the laptop); hours registrations (labor lines
//   without order and activity) need no order;
// - a material line must name an item (ServiceItem) of the server database's SERVICEITEMS.
// Accepted records keep the numbers they carry (provisional ones included) and are stored with
// State "O"; groups the document lacks are created with State "O".
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml/document.h"

namespace company_server {

struct ReportEntry {
    std::string order;
    std::string activity;
    std::string costLine;
    std::string costType;  // "", "Material", "Labor" or "Other"
    bool completed = false;
    std::string description;  // why the record was refused
};

// The items the server knows. contains() may throw platform::PlatformError (database failure).
class ItemCatalog {
  public:
    virtual ~ItemCatalog() = default;
    virtual bool contains(std::string_view item) = 0;
};

// Reviews the upload (its root element) against the engineer's document and applies the
// accepted records to that document. Entries come in upload order: orders, activities, then
// material, labor and other lines.
std::vector<ReportEntry> reviewUpload(pugi::xml_node upload, platform::xml::Document& engineer,
                                      ItemCatalog& items);

// The upload report for one upload: root UploadReport, one group Upload (File = the upload's
// name, Status "Error" when any entry was refused, else "Completed"), one Entry per record with
// ID 1, 2, ... Starts directly with the root element, as the client's stored report must.
std::string reportText(std::string_view uploadName, const std::vector<ReportEntry>& entries);

// The most entries one report can carry: the client reads entry IDs as 16-bit integers.
inline constexpr size_t kMaxReportEntries = 32767;

}  // namespace company_server
