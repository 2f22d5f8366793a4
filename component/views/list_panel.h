#pragma once
// What the lists of this folder share: the state of one list call (its handled failures), the
// loading of the documents a list reads, the working-mode check of the line lists, and the
// panel that holds a list's rows.
//
// A list call writes "1" to the last error when it starts and a failure's text when it reports
// one (with the log entry); whether the list goes on is decided by the call's own record of
// what it reported, never by reading the registry back.
#include <string>
#include <string_view>

#include "component/core/session.h"

namespace quillmere {

class ListCall {
  public:
    // Writes "1" to the last error. A component key without an "Error" value takes no write,
    // and the call then counts as failed, as the page would read it.
    explicit ListCall(Session& session);

    Session& session() { return session_; }

    // The message becomes the last error, and the log gets the user action's header and
    // "Error =   message". The list stops.
    void reportFailure(std::string_view action, std::string_view message);
    bool failed() const { return failed_; }

    // Loads the order store and the field definitions, reporting a failed load under
    // `action`. False when the list must stop.
    bool loadDocuments(std::string_view action);

    // The cost-line and registration lists work only in the modes "Online" and "Offline"
    // (exact). Another mode is reported under `action`, followed by the line
    // " Mode =   <mode>"; false then.
    bool checkWorkingMode(std::string_view action);

    // The end of a cost-line or registration list: the rows and the end of the panel, or, when
    // there are no rows, the failure "There are no <title>" reported under `action`. "" when
    // the call has failed.
    std::string finishLineList(std::string fragment, const std::string& rows,
                               std::string_view action, const std::string& title);

  private:
    Session& session_;
    bool failed_ = false;
};

// The scrolling division that holds a list's rows.
inline constexpr std::string_view kScrollingDivision = "<div style=\"height:125; overflow:auto;\">";
inline constexpr std::string_view kListPanelTable =
    "<table width=100% border=0 cellspacing=0 cellpadding=0 bgcolor=#C7D4EB>";

// A list panel up to its column headings: the panel table, the title bar and the scrolling
// division with the table of the rows.
std::string ScrollingListHead(std::string_view title, std::string_view panelId);

}  // namespace quillmere
