#include "component/forms/hra_forms.h"

#include <vector>

#include "component/core/field_mapper_document.h"
#include "component/core/html.h"
#include "component/core/label_keys.h"
#include "component/core/labels.h"
#include "component/core/last_error.h"
#include "component/core/record_kind.h"
#include "component/core/title_bar.h"
#include "component/forms/detail_view.h"
#include "component/forms/entry_forms.h"
#include "component/forms/field_rows.h"
#include "component/store/order_store.h"
#include "component/store/record_state.h"
#include "platform/failure.h"
#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kHraObject = "hra";

// The registration's fields: a downloaded line from its third child on through the detail
// renderer (modifiable fields become controls when editable), a local one from its second
// child on through the labor renderer.
std::string fieldRows(Session& session, xml::Node line, bool local, bool editable) {
    std::string html;
    const std::vector<xml::Node> fields = xml::childElements(line);
    for (size_t position = local ? 1 : 2; position < fields.size(); ++position) {
        const std::string name = fields[position].name();
        const std::string value = xml::text(fields[position]);
        html += local ? RenderLaborField(session, kLaborLines, name, value, kHraObject, editable)
                      : RenderDetailField(session, kLaborLines, name, value, kHraObject, false,
                                          editable);
    }
    return html;
}

RecordArguments registration(std::string_view order, std::string_view activity,
                             std::string_view line) {
    return {kHraObject, order, activity, line};
}

}  // namespace

std::string GetDetailsForHRA(Session& session, const std::string&, const std::string& iOrno,
                             const std::string& iAcln, const std::string& iLine, const std::string&,
                             int16_t iError) {
    const std::string newLineCaption = GetLabelText(session, label::kNewHoursRegistrationLink);
    std::string html = DetailsTableOpen();
    SetLastError(session, kNoError);
    const bool local = IsProvisionalNumber(iLine);
    html += BuildTitleBar(2, GetLabelText(session, label::kHoursRegistration), "divDetails");

    std::string form = FormOpen(kHraObject);
    form += IdentificationRow(GetLabelText(session, label::kRegistrationOrder), iOrno);
    form += IdentificationRow(GetLabelText(session, label::kRegistrationActivity), iAcln);
    form += IdentificationRow(GetLabelText(session, label::kLine), iLine);

    LoadOrderStore(session);
    LoadFieldMapperDocument(session);

    // Without its group the registration shows no fields and no links, and counts as
    // editable; a group that lacks the line is a failure of the call.
    bool editable = true;
    std::string state;
    std::string links;
    if (const xml::Node group =
            FindLineGroup(session.state.orderStore.node(), kLaborLines, iOrno, iAcln)) {
        const xml::Node line = xml::childWithAttribute(group, "LineNumber", iLine);
        state = RecordState(xml::requireNode(line));
        // The order's status is not consulted; a local line opened for correction is editable.
        editable = (local && iError == 1) || !IsUploadedState(state);
        form += fieldRows(session, line, local, editable);
        if (editable)
            links =
                "<tr>" +
                ScriptLinkCell("newobject", kind_code::kLaborLine, iOrno, iAcln, newLineCaption) +
                "</tr>";
    }
    html += links;
    html += form;
    html += "</table></form></td></tr>";

    std::string deleteCell;
    if (state == kStateNew && local)
        deleteCell = RecordButtonCell(iLine, GetLabelText(session, label::kDelete), "deleteObject",
                                      registration(iOrno, iAcln, iLine), "");
    std::string saveCell;
    if (editable)
        saveCell = RecordButtonCell("save", GetLabelText(session, label::kSave), "saveObject",
                                    registration(iOrno, iAcln, iLine), "2");
    if (ReadLastError(session) != kNoError) return {};
    html += ButtonBar(deleteCell, saveCell);
    return html;
}

std::string BuildNewHraForm(Session& session, std::string_view element, std::string_view objectName,
                            std::string& order, std::string&, std::string& line) {
    std::string html = FormOpen(objectName);
    line = "_" + std::to_string(NextRecordNumber(session, RecordCounter::Line));
    html += IdentificationRow(GetLabelText(session, label::kLine), line);
    LoadOrderStore(session);

    const std::vector<std::string> names = FieldDefinitionNames(session, element);
    // The third definition is never offered on the form, whatever its name.
    for (size_t position = 0; position < names.size(); ++position) {
        const std::string& name = names[position];
        if (position == 2 || name == "ServiceOrder" || name == "Activity" || name == "LineNumber")
            continue;
        html += RenderNewField(session, element, name, objectName, order);
    }
    html += FormClose();
    return html;
}

std::string CreateFormforHra(Session& session, const std::string&, const std::string&,
                             const std::string&) {
    std::string html = DetailsTableOpen();
    SetLastError(session, kNoError);
    if (!LoadFieldMapperDocument(session)) {
        // Without field definitions there is no form to build, and no number is taken.
        SetLastError(session, GetLabelText(session, label::kFieldDefinitionsNotLoaded));
        return {};
    }
    std::string order;
    std::string activity;
    std::string line;
    html += BuildTitleBar(2, GetLabelText(session, label::kNewHoursRegistration), "divDetails");
    html += BuildNewHraForm(session, kLaborLines, kHraObject, order, activity, line);

    const std::string saveCell =
        RecordButtonCell(line, GetLabelText(session, label::kSave), "saveObject",
                         registration(order, activity, line), "1");
    if (ReadLastError(session) != kNoError) return {};
    html += "<tr><td align=right><table><tr><td>";
    html += saveCell;
    html += "</td></tr></table></td></tr></table>";
    return html;
}

}  // namespace quillmere
