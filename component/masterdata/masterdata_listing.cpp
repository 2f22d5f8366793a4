#include "component/masterdata/masterdata_listing.h"

#include <array>

#include "component/core/field_definitions.h"
#include "component/core/field_mapper_document.h"
#include "component/core/html.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/settings.h"
#include "component/core/title_bar.h"
#include "component/masterdata/local_database.h"
#include "platform/machine_root.h"
#include "platform/text.h"
#include "platform/text_file.h"

namespace quillmere {

namespace {

constexpr std::string_view kZoomKind = "zoomhyperlink";
constexpr std::string_view kPanelId = "divList";

struct CodeEntry {
    std::string_view code;
    MasterDataTable table;
};

// One line per page code, as the page knows them.
// clang-format off
constexpr std::array<CodeEntry, 20> kCodes = {{
    {"ITEM", {"SERVICEITEMS", label::kServiceItems}},
    {"CSTP", {"SERVICETYPES", label::kServiceTypes}},
    {"SKIT", {"SERVICEKITS", label::kServiceKits}},
    {"SCAR", {"SERVICECAR", label::kServiceCars}},
    {"CWOC", {"SERVICECENTERS", label::kServiceCenters}},
    {"TASK", {"TASKS", label::kTasks}},
    {"CHLT", {"HOURLYLABORTYPE", label::kHourlyLaborTypes}},
    {"CRAC", {"REFERENCEACTIVITIES", label::kReferenceActivities}},
    {"CCFG", {"CONFIGURATIONS", label::kConfigurations}},
    {"PROB", {"PROBLEMS", label::kProblems}},
    {"SOLU", {"SOLUTIONS", label::kSolutions}},
    {"CADR", {"ADDRESSES", label::kAddresses}},
    {"CWAR", {"WAREHOUSES", label::kWarehouses}},
    {"UNIT", {"UNITS", label::kUnits}},
    {"REAS", {"REASONS", label::kReasons}},
    {"CPCP", {"COSTCOMPONENTS", label::kCostComponents}},
    {"CSAR", {"SERVICEAREAS", label::kServiceAreas}},
    {"CCNT", {"CONTACTS", label::kContacts}},
    {"PRIO", {"PRIORITIES", label::kPriorities}},
    {"CROB", {"OBJECTS", label::kObjects}},
}};
// clang-format on

bool isCompanyColumn(std::string_view column) {
    return platform::equalsIgnoreCase(column, "COMP");
}

void reportMissingDatabase(Session& session) {
    const std::string text = GetLabelText(session, label::kDatabaseNotFound) + ", " + "\r\n" +
                             GetLabelText(session, label::kDownloadMasterDataFirst);
    session.messages.show(GetLabelText(session, label::kMasterData), text,
                          platform::MessageIcon::None);
}

std::string headingRow(Session& session, const platform::db::Recordset& records) {
    std::string html = "<tr class=tableheader>";
    for (const std::string& column : records.columns()) {
        if (isCompanyColumn(column)) continue;
        html += "<td align=left nowrap>&nbsp;";
        html += GetFieldDefinition(session, kZoomKind, column).label;
        html += "</td>";
    }
    html += "</tr>";
    return html;
}

std::string dataRows(const platform::db::Recordset& records) {
    std::string html;
    for (size_t row = 0; row < records.rowCount(); ++row) {
        html += "<tr>";
        const std::vector<platform::db::Value>& values = records.row(row);
        for (size_t column = 0; column < records.columnCount(); ++column) {
            if (isCompanyColumn(records.columns()[column])) continue;
            html += "<td nowrap>&nbsp;";
            // Master data comes from outside; it must not be able to add markup to the page.
            if (values[column]) html += HtmlText(*values[column]);
            html += "</td>";
        }
        html += "</tr>";
    }
    return html;
}

}  // namespace

MasterDataTable MasterDataTableForCode(std::string_view iCode) {
    for (const CodeEntry& entry : kCodes)
        if (entry.code == iCode) return entry.table;
    return {};
}

std::string MasterData(Session& session, const std::string& iCode) {
    const std::string currentName = GetVariable(session, "Currentmdb");
    LoadFieldMapperDocument(session);
    const std::string file = MasterDataFilePath(platform::trimBlanks(currentName));
    if (!platform::fileExists(session.path(file))) {
        reportMissingDatabase(session);
        return {};
    }
    const MasterDataTable table = MasterDataTableForCode(iCode);
    const std::string title = table.titleKey.empty() ? "" : GetLabelText(session, table.titleKey);

    std::string html = "<table width=100% border=0 ";
    html += "cellspacing=0 cellpadding=0>";
    html += BuildTitleBar(2, title, kPanelId);
    html += "<tr><td width=100%>";
    html += "<table width=100% border=0 ";
    html += "cellspacing=0 cellpadding=0 class=details>";

    const platform::db::Recordset records = SharedMasterDataConnection(session).query(table.table);
    if (!records.empty()) {
        html += headingRow(session, records);
        html += dataRows(records);
    }

    html += "</table>";
    html += "</td></tr>";
    html += "</table>";
    return html;
}

}  // namespace quillmere
