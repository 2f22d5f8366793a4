#include "component/views/html_blocks.h"

#include "component/core/html.h"
#include "component/core/install_paths.h"
#include "component/store/order_store.h"
#include "component/store/store_index.h"
#include "component/views/list_cell.h"
#include "component/views/stored_date.h"
#include "platform/failure.h"
#include "platform/text.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

bool shownInLists(const FieldDefinition& definition) {
    return definition.userInterface == "1" || definition.userInterface == "3";
}

std::string kindPath(std::string_view kind, std::string_view field) {
    std::string path(kind);
    path += '/';
    path += field;
    return path;
}

}  // namespace

FieldDefinition UndefinedFieldDefinition(std::string_view field) {
    FieldDefinition definition;
    definition.label = field;
    definition.modifiable = "True";
    return definition;
}

std::string EnumCell(std::string_view caption) {
    std::string cell = "<td>&nbsp;";
    cell += caption;
    cell += "</td>";
    return cell;
}

std::string ListCell(const FieldDefinition& definition, std::string_view field,
                     std::string_view value, std::string_view formName,
                     const std::function<std::string()>& enumCell) {
    if (!shownInLists(definition)) return {};
    if (definition.dataType == "e") return enumCell();
    std::string cell;
    if (definition.hyperlink == "True") {
        cell += "<td align=center>&nbsp;<a href=javascript:";
        cell += PageFunctionCall("hyperlink", {QuotedValue(field), Quoted(EscapeHtmlValue(value)),
                                               QuotedValue(formName)});
        cell += ">";
        cell += HtmlText(value);
        cell += "</a></td>";
        return cell;
    }
    cell += "<td align=center>&nbsp;";
    if (definition.dataType == "u" && !value.empty())
        cell += HtmlText(FormatListDateTime(value));
    else
        cell += HtmlText(value);
    cell += "</td>";
    return cell;
}

const FieldDefinition& GetFieldDefinition(Session& session, std::string_view kind,
                                          std::string_view field) {
    FieldDefinition& current = session.state.currentFieldDefinition;
    current = FieldDefinition();
    const std::vector<xml::Node> matches =
        xml::selectAll(session.state.fieldMapper.node(), kindPath(kind, field));
    if (matches.empty()) {
        current = UndefinedFieldDefinition(field);
        return current;
    }
    const xml::Node element = matches.front();
    current.label = xml::requireAttribute(element, "LABEL");
    current.dataType = xml::requireAttribute(element, "DATATYPE");
    current.modifiable = xml::requireAttribute(element, "MODIFIABLE");
    current.userInterface = xml::requireAttribute(element, "UINTERFACE");
    current.zoom = xml::requireAttribute(element, "ZOOM");
    current.hyperlink = xml::requireAttribute(element, "HYPERLINK");
    current.isNew = xml::requireAttribute(element, "NEW");
    return current;
}

std::string BuildColumnHeadings(Session& session, int16_t& counter, std::string_view kind) {
    std::string html = "<COL WIDTH=120> <COL WIDTH=120><COL WIDTH=150> <COL WIDTH=150>";
    html += "<COL WIDTH=120> <COL WIDTH=120> <COL WIDTH=120>";
    html += "<tr>";
    const std::vector<xml::Node> kinds = xml::selectAll(session.state.fieldMapper.node(), kind);
    if (kinds.empty())
        throw platform::objectNotSet();
    for (xml::Node definition : xml::childElements(kinds.front())) {
        const auto place = xml::attributeView(definition, "UINTERFACE");
        if (!place || (*place != "1" && *place != "3")) continue;
        if (counter == INT16_MAX) throw platform::overflow();
        ++counter;
        html += "<td class=tableheader nowrap>";
        html += xml::attributeOrEmpty(definition, "LABEL");
        html += "</td>";
    }
    html += "</tr>";
    return html;
}

std::string BuildListCell(Session& session, std::string_view kind, std::string_view field,
                          std::string_view value, std::string_view formName) {
    const FieldDefinition definition = GetFieldDefinition(session, kind, field);
    return ListCell(definition, field, value, formName,
                    [&] { return BuildEnumCell(session, kind, field, value); });
}

std::string BuildEnumCell(Session& session, std::string_view kind, std::string_view field,
                          std::string_view code) {
    const std::vector<xml::Node> matches =
        xml::selectAll(session.state.fieldMapper.node(), kindPath(kind, field));
    if (matches.empty())
        throw platform::objectNotSet();
    for (xml::Node entry : xml::childElements(matches.front())) {
        if (xml::attributeEquals(entry, "Id", code))
            return EnumCell(xml::attributeOrEmpty(entry, "Value"));
    }
    return EnumCell("");
}

std::string BuildTitleBar(int16_t mode, std::string_view title, std::string_view panelId) {
    std::string html = "<tr><td width=100%>";
    html += "<table width=100% border=0 cellspacing=2 cellpadding=0>";
    if (mode == 1)
        html += "<tr class=titles><td nowrap valign=bottom width=100%>&nbsp;";
    else
        html += "<tr class=titles><td nowrap  valign=bottom width=100%> &nbsp;";
    html += "<strong>";
    html += title;
    html += "</strong></td>";
    html += "<td valign=bottom align=right>";
    if (mode == 1) {
        html += "<input type=submit ";
        html += " onclick=javascript:";
        html += PageFunctionCall("minimize", {QuotedValue(panelId)});
        html += " value=";
        html += Quoted(" _ ");
        html += ">";
    }
    html += "<input type=submit ";
    html += " onclick=javascript:";
    html += PageFunctionCall("winclose", {QuotedValue(panelId)});
    html += " value=";
    html += Quoted(" x ");
    html += ">";
    html += "</td></tr>";
    html += "</table>";
    html += "</td></tr>";
    return html;
}

}  // namespace quillmere
