#include "component/masterdata/zoom_lookup.h"

#include <optional>
#include <vector>

#include "component/core/field_definitions.h"
#include "component/core/html.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/record_kind.h"
#include "component/core/settings.h"
#include "component/core/title_bar.h"
#include "component/masterdata/local_database.h"
#include "platform/machine_root.h"
#include "platform/text.h"
#include "platform/text_file.h"

namespace quillmere {

namespace db = platform::db;
using platform::trimBlanks;

namespace {

constexpr std::string_view kZoomKind = "zoomhyperlink";
constexpr std::string_view kObjectKey = "CROB";

struct LookupTable {
    std::string_view fieldKind;
    std::string_view keyColumn;
    std::string_view table;
};

constexpr LookupTable kLookupTables[] = {
    {"ReferenceActivity", "CRAC", "REFERENCEACTIVITIES"},
    {"Configuration", "CCFG", "CONFIGURATIONS"},
    {"ServiceType", "CSTP", "SERVICETYPES"},
    {"Object", "CROB", "OBJECTS"},
    {"OriginalObject", "CROB", "OBJECTS"},
    {"NewObject", "CROB", "OBJECTS"},
    {"Problem", "CPRL", "PROBLEMS"},
    {"Solution", "CSTN", "SOLUTIONS"},
    {"Task", "CTSK", "TASKS"},
    {"CostComponent", "CPCP", "COSTCOMPONENTS"},
    {"HourlyLaborType", "CHLT", "HOURLYLABORTYPE"},
    {"Item", "ITEM", "SERVICEITEMS"},
    {"ModelItem", "ITEM", "SERVICEITEMS"},
    {"ServiceCenter", "CWOC", "SERVICECENTERS"},
    {"InterruptionReason", "CDIS", "REASONS"},
    {"CancelReason", "CDIS", "REASONS"},
    {"SoldtoAddress", "CADR", "ADDRESSES"},
    {"Address", "CADR", "ADDRESSES"},
    {"ServiceArea", "CSAR", "SERVICEAREAS"},
    {"ServiceCar", "CCAR", "SERVICECAR"},
    {"SalesQuantityUnit", "CUNI", "UNITS"},
    {"Unit", "CUNI", "UNITS"},
    {"ProblemPriority", "PRIO", "PRIORITIES"},
    {"SoldtoContact", "CCNT", "CONTACTS"},
    {"ServiceKit", "CSKT", "SERVICEKITS"},
    {"ActualWarehouse", "CWAR", "WAREHOUSES"},
};

const LookupTable* lookupTableOf(std::string_view fieldKind) {
    for (const LookupTable& entry : kLookupTables)
        if (entry.fieldKind == fieldKind) return &entry;
    return nullptr;
}

// The look-up opens in the panel of the record forms; any other form gets no panel id.
std::string_view panelIdOf(std::string_view formName) {
    return RecordKindByObjectName(formName) ? "divZoomHype" : "";
}

std::string valueText(const db::Value& value) {
    return value ? *value : std::string();
}

bool isColumn(std::string_view column, std::string_view name) {
    return platform::equalsIgnoreCase(column, name);
}

// The statement of the look-up, with the value bound rather than written into the text.
db::Recordset queryLookup(Session& session, std::string_view table, std::string_view keyColumn,
                          std::string_view value, bool hyperlink) {
    db::Connection& connection = SharedMasterDataConnection(session);
    if (!hyperlink && keyColumn != kObjectKey) return connection.query(table);
    std::string sql = "SELECT * FROM ";
    sql += table;
    sql += " WHERE ";
    sql += hyperlink ? keyColumn : std::string_view("CCFG");
    sql += " = ?";
    const auto statement = connection.prepare(sql);
    statement->bind(0, std::string(value));
    return statement->query();
}

std::vector<std::string> columnLabels(Session& session, const db::Recordset& records) {
    std::vector<std::string> labels;
    for (const std::string& column : records.columns())
        labels.push_back(GetFieldDefinition(session, kZoomKind, column).label);
    return labels;
}

std::string detailsTableOpen() {
    std::string html = "<tr><td width=100%>";
    html += "<table width=100% border=0 ";
    html += "cellspacing=0 cellpadding=0 class=details>";
    return html;
}

std::string panelClose() {
    std::string html = "</table>";
    html += "</td></tr>";
    html += "</table>";
    return html;
}

struct ZoomRequest {
    std::string_view keyColumn;
    std::string_view formName;
    std::string_view fieldKind;
};

// One row of the zoom list: the code links back to the form through FillValues; the second
// value is "dummy", or the object's sequence number for objects.
std::string zoomRow(const ZoomRequest& request, const db::Recordset& records, size_t row) {
    const std::vector<db::Value>& values = records.row(row);
    std::string second = "dummy";
    if (request.keyColumn == kObjectKey) {
        const std::optional<size_t> sequence = records.columnIndex("OSEQ");
        second = sequence ? std::string(trimBlanks(valueText(values[*sequence]))) : std::string();
    }
    std::string html = "<tr>";
    for (size_t column = 0; column < records.columnCount(); ++column) {
        const std::string& name = records.columns()[column];
        const std::string value = valueText(values[column]);
        if (isColumn(name, request.keyColumn)) {
            html += "<td nowrap><a href=javascript:";
            html += PageFunctionCall(
                "FillValues", {Quoted(trimBlanks(EscapeHtmlValue(value))), QuotedValue(second),
                               QuotedValue(request.formName), QuotedValue(request.fieldKind)});
            html += ">";
            html += HtmlText(trimBlanks(value));
            html += "</a></td>";
        } else if (!isColumn(name, "COMP")) {
            html += "<td>";
            html += HtmlText(trimBlanks(value));
            html += "</td>";
        }
    }
    html += "</tr>";
    return html;
}

std::string zoomList(Session& session, const ZoomRequest& request, const db::Recordset& records,
                     const std::string& titleBar) {
    const std::vector<std::string> labels = columnLabels(session, records);
    std::string html = titleBar;
    html += detailsTableOpen();
    html += "<tr class=tableheader>";
    for (size_t column = 0; column < records.columnCount(); ++column) {
        if (isColumn(records.columns()[column], "COMP")) continue;
        html += "<td align=left nowrap>&nbsp;";
        html += labels[column];
        html += "</td>";
    }
    html += "</tr>";
    for (size_t row = 0; row < records.rowCount(); ++row) html += zoomRow(request, records, row);
    return html;
}

// The record behind the code, one row per column (COMP included). Each record found starts
// the panel anew, so with several only the last is shown.
std::string hyperlinkDetails(Session& session, const db::Recordset& records,
                             const std::string& titleBar) {
    const std::vector<std::string> labels = columnLabels(session, records);
    std::string html;
    for (size_t row = 0; row < records.rowCount(); ++row) {
        html = titleBar;
        html += detailsTableOpen();
        const std::vector<db::Value>& values = records.row(row);
        for (size_t column = 0; column < records.columnCount(); ++column) {
            html += "<tr><td nowrap>&nbsp;";
            html += labels[column];
            html += "</td><td>";
            html += HtmlText(valueText(values[column]));
            html += "</td></tr>";
        }
    }
    return html;
}

}  // namespace

std::string BuildLookupHtml(Session& session, std::string_view databasePath, std::string_view table,
                            std::string_view keyColumn, std::string_view value,
                            std::string_view formName, std::string_view mode,
                            std::string_view fieldKind, std::string_view panelId) {
    if (!platform::fileExists(session.path(databasePath))) return {};
    const bool hyperlink = mode == "1";
    const db::Recordset records = queryLookup(session, table, keyColumn, value, hyperlink);

    // The label look-up loads the field definitions that the key column's caption comes from.
    const std::string caption =
        GetLabelText(session, hyperlink ? label::kLookupDetails : label::kLookupSelect);
    const std::string titleBar = BuildTitleBar(
        2, caption + GetFieldDefinition(session, kZoomKind, keyColumn).label, panelId);

    if (records.empty()) {
        std::string html = titleBar;
        html += detailsTableOpen();
        html += "<tr><td>";
        html += GetLabelText(session, label::kNoMatchingRecords);
        html += "</td></tr>";
        html += panelClose();
        return html;
    }
    std::string html = hyperlink
                           ? hyperlinkDetails(session, records, titleBar)
                           : zoomList(session, {keyColumn, formName, fieldKind}, records, titleBar);
    html += panelClose();
    return html;
}

std::string HyperLinkAndZoom(Session& session, int16_t iMode, const std::string& iXmlTag,
                             const std::string& iValue, const std::string& iFormName) {
    const std::string_view panelId = panelIdOf(iFormName);
    const std::string databasePath =
        MasterDataFilePath(trimBlanks(GetVariable(session, "Currentmdb")));
    std::string html = "<table width=100% border=0 ";
    html += "cellspacing=0 cellpadding=0>";
    if (const LookupTable* lookup = lookupTableOf(iXmlTag))
        html += BuildLookupHtml(session, databasePath, lookup->table, lookup->keyColumn, iValue,
                                iFormName, std::to_string(iMode), iXmlTag, panelId);
    return html;
}

}  // namespace quillmere
