#pragma once
// The upload report "C:\Taviro Quillmere\UploadReport.xml": every report the server sent on an
// upload, kept in one document. Three levels, read by position and attribute only (element
// names are not read):
//   root    the document's first child: the file starts with it, no declaration in front
//   groups  the root's child elements, one per uploaded file: File, Status ("Error" when the
//           group holds refused entries)
//   entries a group's child elements, one per uploaded record: ID (a 16-bit number within the
//           group), Order, Activity, CostLine, CostType ("" / "Material" / "Labor" / "Other"),
//           Status ("Completed" or "Error"), Description (the server's message)
// Completed entries are applied to the order store and leave; refused ones stay (the error
// pool) until an update of their record clears them. A group leaves with its last entry.
//
// Loading and saving: LoadUploadReport reads the whole file into a document of the caller,
// SaveUploadReport writes it back atomically. Every change is made on a loaded document and
// saved before the operation returns (also before it reports a failure).
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "component/core/session.h"
#include "platform/xml/document.h"

namespace quillmere {

// Attribute names and values.
inline constexpr std::string_view kReportFile = "File";
inline constexpr std::string_view kReportStatus = "Status";
inline constexpr std::string_view kEntryId = "ID";
inline constexpr std::string_view kEntryOrder = "Order";
inline constexpr std::string_view kEntryActivity = "Activity";
inline constexpr std::string_view kEntryCostLine = "CostLine";
inline constexpr std::string_view kEntryCostType = "CostType";
inline constexpr std::string_view kEntryDescription = "Description";
inline constexpr std::string_view kStatusCompleted = "Completed";
inline constexpr std::string_view kStatusError = "Error";

// False (and an empty document) when the file is missing or not well-formed.
bool LoadUploadReport(Session& session, platform::xml::Document& report);
// Writes the whole document to the file, replacing it atomically.
void SaveUploadReport(Session& session, const platform::xml::Document& report);

// The groups (the root's child elements) and the entries of one group, in document order.
std::vector<platform::xml::Node> ReportGroups(const platform::xml::Document& report);
std::vector<platform::xml::Node> ReportEntries(platform::xml::Node group);

// Removes an entry, and its group with it when that holds nothing else afterwards. Returns
// true when the group went too.
bool RemoveEntryAndEmptyGroup(platform::xml::Node entry);

// An entry's ID as a signed 16-bit number, converted as the runtime converts text to an
// integer (blanks around it allowed, a fraction rounded half to even). Throws PlatformError:
// kTypeMismatch for text that is no number, kOverflow outside -32768..32767.
int16_t ReportEntryId(std::string_view text);

// The order-store container of a cost type: "Material" -> ccsocservcmatl, "Labor" ->
// ccsocservclabr, "Other" -> ccsocservcothr; "" for anything else.
std::string_view ReportCostTypeContainer(std::string_view costType);

// The entries of a loaded report by their Order, each order's entries in document order, for
// operations that ask about one order's entries many times in one call. An entry that is to
// leave the document is announced with remove() before it is removed.
class UploadReportIndex {
  public:
    explicit UploadReportIndex(const platform::xml::Document& report);

    const std::vector<platform::xml::Node>& entriesOf(std::string_view order) const;
    void remove(platform::xml::Node entry);

  private:
    std::unordered_map<std::string, std::vector<platform::xml::Node>> byOrder_;
};

}  // namespace quillmere
