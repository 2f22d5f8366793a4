#include "component/views/list_panel.h"

#include "component/core/field_mapper_document.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/core/log.h"
#include "component/core/settings.h"
#include "component/core/title_bar.h"
#include "component/store/order_store.h"

namespace quillmere {

ListCall::ListCall(Session& session)
    : session_(session), failed_(!SetLastError(session, kNoError)) {}

void ListCall::reportFailure(std::string_view action, std::string_view message) {
    SetLastError(session_, message);
    LogAction(session_, action);
    LogDetail(session_, kErrorLabel, message);
    failed_ = true;
}

bool ListCall::loadDocuments(std::string_view action) {
    if (!LoadOrderStore(session_))
        reportFailure(action, GetLabelText(session_, label::kOrderStoreNotLoaded));
    if (failed_) return false;
    if (!LoadFieldMapperDocument(session_))
        reportFailure(action, GetLabelText(session_, label::kFieldDefinitionsNotLoaded));
    return !failed_;
}

bool ListCall::checkWorkingMode(std::string_view action) {
    const std::string mode = GetVariable(session_, "Mode");
    if (mode == "Online" || mode == "Offline") return true;
    reportFailure(action, GetLabelText(session_, label::kInvalidWorkingMode));
    LogDetail(session_, kModeLabel, mode);
    return false;
}

std::string ListCall::finishLineList(std::string fragment, const std::string& rows,
                                     std::string_view action, const std::string& title) {
    if (rows.empty()) {
        reportFailure(action, GetLabelText(session_, label::kThereAreNo) + title);
    } else {
        // The scrolling division of the head stays open, as the page expects.
        fragment += rows;
        fragment += "</table>";
        fragment += "</td></tr></table>";
    }
    return failed_ ? std::string() : fragment;
}

std::string ScrollingListHead(std::string_view title, std::string_view panelId) {
    std::string html(kListPanelTable);
    html += BuildTitleBar(2, title, panelId);
    html += "<tr><td width=100%>";
    html += kScrollingDivision;
    html += "<table border=0 cellspacing=1 cellpadding=0 width=100%>";
    return html;
}

}  // namespace quillmere
