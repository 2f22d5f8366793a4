#pragma once
// An edited record that was already uploaded is sent again: its entry leaves the upload report
// "C:\Taviro Quillmere\UploadReport.xml" (groups of entries naming Order, Activity, CostLine
// and CostType), and new children of a new parent go back to "N" with it.
#include <string>
#include <string_view>

#include "component/core/session.h"
#include "platform/xml/document.h"

namespace quillmere {

// The report's CostType for a record kind: "Material", "Labor", "Other" for the cost-line
// containers, "" for orders and activities.
std::string_view ReportCostType(std::string_view kind);

// Saves the loaded store together with the report change for the edited record: when the
// report exists, loads and holds an entry whose Order, Activity, CostLine and CostType equal
// the arguments (first match), that entry (and its group, when emptied) is removed and
// ResetChildStates runs on the loaded store. The store is saved first, then the report.
void ClearReportEntry(Session& session, std::string_view order, std::string_view activity,
                      std::string_view line, std::string_view kind);

// In the loaded store, puts back to "N" the new children in "NU" of a new parent:
//   order "_n": every activity in "NU" of its activity groups, and every line in "NU" of its
//     material, labor and other line groups, together with each group that held one;
//   activity "_a" of order "_n": that activity when in "NU" with its group, and the lines in
//     "NU" of the line groups of that activity with their groups.
// Cost lines (a cost type given) and parents from the server change nothing.
void ResetChildStates(platform::xml::Node storeRoot, std::string_view order,
                      std::string_view activity, std::string_view line, std::string_view costType);

}  // namespace quillmere
