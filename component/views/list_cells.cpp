#include "component/views/list_cells.h"

#include <vector>

#include "component/core/field_definitions.h"
#include "component/core/html.h"
#include "component/views/stored_date.h"
#include "platform/failure.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

bool shownInLists(const FieldDefinition& definition) {
    return definition.userInterface == "1" || definition.userInterface == "3";
}

}  // namespace

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

std::string BuildColumnHeadings(Session& session, int16_t& counter, std::string_view kind) {
    std::string html = "<COL WIDTH=120> <COL WIDTH=120><COL WIDTH=150> <COL WIDTH=150>";
    html += "<COL WIDTH=120> <COL WIDTH=120> <COL WIDTH=120>";
    html += "<tr>";
    const std::vector<xml::Node> kinds = xml::selectAll(session.state.fieldMapper.node(), kind);
    if (kinds.empty()) throw platform::objectNotSet();
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
        xml::selectAll(session.state.fieldMapper.node(), FieldDefinitionPath(kind, field));
    if (matches.empty()) throw platform::objectNotSet();
    for (xml::Node entry : xml::childElements(matches.front())) {
        if (xml::attributeEquals(entry, "Id", code))
            return EnumCell(xml::attributeOrEmpty(entry, "Value"));
    }
    return EnumCell("");
}

}  // namespace quillmere
