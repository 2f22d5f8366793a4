#include "component/errors/error_pool_views.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string_view>

#include "component/core/details_link.h"
#include "component/core/html.h"
#include "component/core/install_paths.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/log.h"
#include "component/core/record_kind.h"
#include "component/core/title_bar.h"
#include "component/store/upload_report.h"
#include "platform/failure.h"
#include "platform/text_file.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

// A missing attribute reads as the empty text.
std::string_view attributeOf(xml::Node node, std::string_view name) {
    return xml::attributeOrEmpty(node, name);
}

bool refused(xml::Node node) {
    return xml::attributeEquals(node, kReportStatus, kStatusError);
}

// Calls `visit` for every refused entry of a group that is itself marked "Error", in
// document order; entries of other groups do not count.
void forEachRefusedEntry(const xml::Document& report, const std::function<void(xml::Node)>& visit) {
    for (xml::Node group : ReportGroups(report)) {
        if (!refused(group)) continue;
        for (xml::Node entry : ReportEntries(group))
            if (refused(entry)) visit(entry);
    }
}

// Loads the report. Without a report file the views show nothing; a report that does not
// load is reported (log and message). Either answer is returned for the view to give instead.
std::optional<std::string> loadReport(Session& session, xml::Document& report) {
    if (!platform::fileExists(session.path(paths::kUploadReport))) return std::string();
    if (LoadUploadReport(session, report)) return std::nullopt;
    const std::string message = GetLabelText(session, label::kReportNotLoaded);
    LogAction(session, "Error Pool");
    LogDetail(session, kErrorLabel, message);
    return message;
}

// The call that opens the entry's record for correction.
std::string correctionCall(const DetailsTarget& target) {
    return ShowDetailsCall(target, DetailsPurpose::Correct);
}

// The captions of the record links, looked up once per list (cost lines by record kind).
struct LinkCaptions {
    explicit LinkCaptions(Session& session)
        : order(GetLabelText(session, label::kServiceOrder)),
          activity(GetLabelText(session, label::kActivity)) {
        for (const RecordKind& kind : RecordKinds())
            if (kind.isCostLine())
                costLines[kind.code] = GetLabelText(session, kind.errorPoolCaption);
    }
    std::string order;
    std::string activity;
    std::map<std::string_view, std::string> costLines;
};

std::string costLineLink(const LinkCaptions& captions, xml::Node entry) {
    const std::string_view costType = attributeOf(entry, "CostType");
    const std::string_view order = attributeOf(entry, "Order");
    const std::string_view activity = attributeOf(entry, "Activity");
    const std::string_view line = attributeOf(entry, "CostLine");
    // An unknown cost type opens kind "" under an empty caption.
    const RecordKind* recordKind = RecordKindByCostType(costType);
    const std::string_view kind = recordKind ? recordKind->code : std::string_view();
    const std::string_view caption =
        recordKind ? std::string_view(captions.costLines.at(kind)) : std::string_view();
    std::string content(caption);
    content += ": ";
    content += HtmlText(order);
    content += "/ ";
    content += HtmlText(activity);
    content += "/ ";
    content += HtmlText(line);
    return DetailsLink(std::nullopt, correctionCall({kind, order, activity, line}), content);
}

std::string orderLink(const LinkCaptions& captions, xml::Node entry) {
    const std::string_view order = attributeOf(entry, "Order");
    return DetailsLink(order, correctionCall({kind_code::kOrder, order}),
                       captions.order + ": " + HtmlText(order));
}

// The activity caption is followed by ":" alone, unlike the other two.
std::string activityLink(const LinkCaptions& captions, xml::Node entry) {
    const std::string_view order = attributeOf(entry, "Order");
    const std::string_view activity = attributeOf(entry, "Activity");
    return DetailsLink(activity, correctionCall({kind_code::kActivity, order, activity}),
                       captions.activity + ":" + HtmlText(order) + "/ " + HtmlText(activity));
}

std::string recordLink(const LinkCaptions& captions, xml::Node entry) {
    if (!attributeOf(entry, "CostType").empty()) return costLineLink(captions, entry);
    if (attributeOf(entry, "Activity").empty()) return orderLink(captions, entry);
    return activityLink(captions, entry);
}

}  // namespace

std::string ShowErrorPool(Session& session) {
    xml::Document report;
    if (std::optional<std::string> answer = loadReport(session, report)) return *answer;
    int16_t count = 0;
    forEachRefusedEntry(report, [&](xml::Node) {
        if (count == INT16_MAX) throw platform::overflow();
        ++count;
    });
    if (count <= 0) return {};
    std::string html = "<a class=cssOption href=javascript:ShowErrors()>";
    html += "*&nbsp";
    html += GetLabelText(session, label::kUploadErrorsLink);
    html += "(";
    html += std::to_string(count);
    html += ")</a>";
    return html;
}

std::string ShowErrorList(Session& session) {
    xml::Document report;
    if (std::optional<std::string> answer = loadReport(session, report)) return *answer;
    std::string html = "<table width=100% border=0 cellspacing=0 cellpadding=0 bgcolor=#C7D4EB>";
    html += BuildTitleBar(2, GetLabelText(session, label::kUploadErrors), "divList");
    html += "<tr><td width=100%>";
    html += "<div style=";
    html += "\"height:125; overflow:auto;\"";
    html += ">";
    html += "<table border=0 cellspacing=1 cellpadding=0 width=100%>";
    html += "<tr>";
    html += "<td class=tableheader >";
    html += GetLabelText(session, label::kMessage);
    html += "</td>";
    html += "<td class=tableheader >";
    html += GetLabelText(session, label::kRecord);
    html += "</td>";
    html += "</tr>";

    const LinkCaptions captions(session);
    forEachRefusedEntry(report, [&](xml::Node entry) {
        html += "<tr class=tablerows>";
        html += "<td>";
        html += HtmlText(attributeOf(entry, "Description"));
        html += "</td>";
        html += "<td>&nbsp;";
        html += recordLink(captions, entry);
        html += "</td>";
        html += "</tr>";
    });
    html += "</table></div></td></tr></table>";
    return html;
}

}  // namespace quillmere
