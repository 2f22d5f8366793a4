#pragma once
// Pieces of HTML that the detail views and the entry forms have in common: the details table
// and form around the rows, identification rows, input controls, the zoom link, script links
// and the button cells and bar under the form.
#include <string>
#include <string_view>
#include <vector>

#include "component/core/html.h"
#include "component/core/session.h"

namespace quillmere {

// The outer table of a details panel (before its title bar).
std::string DetailsTableOpen();
// The row that opens the form `objectName` and its table.
std::string FormOpen(std::string_view objectName);
// The rule under an entry form's fields and the end of the form and its row.
std::string FormClose();

// A caption and a value as text.
std::string IdentificationRow(std::string_view caption, std::string_view value);

// The cell opening "<td>&nbsp;" with a text box of `size` characters holding `value`.
std::string TextBox(std::string_view size, std::string_view field, std::string_view value);
// The same cell with the date box (of `dateSize`, hinted `dateHint`) and the time box of a
// stored date-and-time value.
std::string DateTimeBoxes(std::string_view dateSize, std::string_view dateHint,
                          std::string_view field, std::string_view value);
// The same cell with a text area holding `value`.
std::string TextArea(std::string_view field, std::string_view value);
// The link that opens the lookup of `field` on form `objectName`.
std::string ZoomSpan(std::string_view field, std::string_view objectName);

// A right-aligned cell with a link calling function(argument, order, activity).
std::string ScriptLinkCell(std::string_view function, std::string_view argument,
                           std::string_view order, std::string_view activity,
                           std::string_view caption);

// The record a button acts on, as the page's scripts take it.
struct RecordArguments {
    std::string_view objectName;
    std::string_view order;
    std::string_view activity;
    std::string_view line;
};

// A right-aligned cell with the button `id` calling function(objectName, order, activity,
// line) and, when `mode` is not empty, `mode` as a fifth argument.
std::string RecordButtonCell(std::string_view id, std::string_view caption,
                             std::string_view function, const RecordArguments& record,
                             std::string_view mode);

// The row with the Delete and Save cells (either may be ""), and the end of the panel.
std::string ButtonBar(const std::string& deleteButton, const std::string& saveButton);

// The names of the field definitions of `element` (the first element of that name in the
// loaded field definitions); a failure of the call when there is none.
std::vector<std::string> FieldDefinitionNames(Session& session, std::string_view element);

}  // namespace quillmere
