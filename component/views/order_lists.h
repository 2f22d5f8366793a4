#pragma once
// The plain lists of service orders and of activities, chosen by where each record stands
// between laptop and server (its State code), in the scrolling panel of the agenda. Also the
// small pieces that every list family of this folder shares: state filters, the reporting of a
// handled failure and the check of the last error.
#include <span>
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

// Public methods. Each returns the panel, or "" after a handled failure (last error and log).
std::string ListOrders(Session& session);
std::string ViewOrders_W(Session& session);
std::string ViewOrders_SI(Session& session);
std::string ViewActivities_W(Session& session);
std::string ViewActivities_SI(Session& session);

// A handled failure of a list: the message becomes the last error, and the log gets the user
// action's header and "Error =   message".
void ReportListFailure(Session& session, std::string_view action, std::string_view message);

// True while the last error still reads "1" (no error).
bool LastErrorIsClear(Session& session);

// Loads the order store and the field definitions for a list, reporting a failed load under
// `action`. False when the list must stop because the last error no longer reads "1".
bool LoadListDocuments(Session& session, std::string_view action);

// The cost-line and registration lists work only in the modes "Online" and "Offline" (exact).
// Another mode is reported under `action`, followed by the line " Mode =   <mode>"; false then.
bool CheckWorkingMode(Session& session, std::string_view action);

// The scrolling division that holds a list's rows.
inline constexpr std::string_view kScrollingDivision = "<div style=\"height:125; overflow:auto;\">";
inline constexpr std::string_view kListPanelTable =
    "<table width=100% border=0 cellspacing=0 cellpadding=0 bgcolor=#C7D4EB>";

// A list panel up to its column headings: the panel table, the title bar and the scrolling
// division with the table of the rows.
std::string ScrollingListHead(std::string_view title, std::string_view panelId);

// The end of a cost-line or registration list: the rows and the end of the panel, or, when
// there are no rows, the failure "no <title>" reported under `action`. "" when the last error
// is no longer clear.
std::string FinishLineList(Session& session, std::string fragment, const std::string& rows,
                           std::string_view action, const std::string& title);

}  // namespace quillmere
