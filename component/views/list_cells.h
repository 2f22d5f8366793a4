#pragma once
// The pieces of every list's table: the heading row of a record kind and the cell of one field,
// looked up in the loaded field-definition document. (field_definition_index.h answers the same
// from an index, for lists of many rows.)
//
// Failures: a kind or an enumerated field without definitions fails with the object error, a
// definition lacking an attribute with the invalid-use-of-Null error; more than 32,767
// headings overflow.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "component/core/module_state.h"
#include "component/core/session.h"

namespace quillmere {

// Heading row of a list; raises `counter` by one per heading cell.
std::string BuildColumnHeadings(Session& session, int16_t& counter, std::string_view kind);
// One cell of a list row, or "" when the field is not shown in lists.
std::string BuildListCell(Session& session, std::string_view kind, std::string_view field,
                          std::string_view value, std::string_view formName);
// One cell holding the caption of an enumerated field's code.
std::string BuildEnumCell(Session& session, std::string_view kind, std::string_view field,
                          std::string_view code);

// "<td>&nbsp;", the caption, "</td>".
std::string EnumCell(std::string_view caption);

// The cell of a field with this definition: "" when the field is not shown in lists, the enum
// cell (built by `enumCell`) for enumerated fields, else a hyperlink or plain cell.
std::string ListCell(const FieldDefinition& definition, std::string_view field,
                     std::string_view value, std::string_view formName,
                     const std::function<std::string()>& enumCell);

}  // namespace quillmere
