#pragma once
// Applying the completed entries of the upload report to the order store. A record that the
// server took over returns from "MU" to "O"; when its order is finished on the laptop and all
// of the order's activities are confirmed without errors, the whole order leaves the store.
// Each completed entry then leaves the report; refused ones stay.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "component/core/session.h"
#include "component/store/upload_report.h"
#include "platform/xml/document.h"

namespace quillmere {

// The record an entry names: a cost line for a cost type, else the activity when Activity is
// given, else the order.
struct ReportedRecord {
    std::string order;
    std::string activity;
    std::string line;
    std::string costType;
};

// The order store and the report while one report is applied: both are loaded once, changed
// in memory, and saved once at the end (or before a failure is reported), so the files end
// as saving after every entry would have left them.
struct ReportApplication {
    ReportApplication(Session& session, platform::xml::Document& report);

    Session& session;
    platform::xml::Document& report;
    platform::xml::Node store;  // the order store's root element
    UploadReportIndex entries;
    // The order records under every order container by ServiceOrder, in document order: what
    // the order status is read from.
    std::unordered_map<std::string, std::vector<platform::xml::Node>> orderRecords;
    bool storeChanged = false;
    bool reportChanged = false;
};

// Loads UploadReport.xml and applies it (see below). Fails when the report cannot be loaded.
void ApplyUploadReport(Session& session);
// Applies every completed entry of a report loaded by the caller and saves what changed: the
// order store (loaded here) and the report. When the order store cannot be loaded and the
// report holds a completed entry, it fails before changing anything, so no entry is lost.
// An entry whose ID is no 16-bit number fails the call; the entries before it stay applied
// and saved.
void ApplyUploadReport(Session& session, platform::xml::Document& report);

// The procedures of the application, on the documents of `run`.
void ApplyCompletedEntry(ReportApplication& run, const ReportedRecord& record);
bool OrderIsFinished(ReportApplication& run, std::string_view order);
bool ActivitiesConfirmed(ReportApplication& run, std::string_view order, std::string_view activity);
bool ReportHasErrors(const UploadReportIndex& entries, std::string_view order,
                     std::string_view activity);
bool LineHasErrors(const UploadReportIndex& entries, std::string_view order,
                   std::string_view activity);
// Removes the entry just applied (and its group when that is left empty). The entry is the
// one walked, not one looked up again by File and ID: two uploads under the same file name
// would otherwise lose each other's entries.
void RemoveReportEntry(ReportApplication& run, platform::xml::Node entry);
void ResetUploadedState(ReportApplication& run, const ReportedRecord& record);

}  // namespace quillmere
