#pragma once
// The list cell of one field, shared by the look-up in the document and the indexed look-up.
#include <functional>
#include <string>
#include <string_view>

#include "component/core/module_state.h"

namespace quillmere {

// The definition that an undefined field gets: its element name as label, modifiable.
FieldDefinition UndefinedFieldDefinition(std::string_view field);

// "<td>&nbsp;", the caption, "</td>".
std::string EnumCell(std::string_view caption);

// The cell of a field with this definition: "" when the field is not shown in lists, the enum
// cell (built by `enumCell`) for enumerated fields, else a hyperlink or plain cell.
std::string ListCell(const FieldDefinition& definition, std::string_view field,
                     std::string_view value, std::string_view formName,
                     const std::function<std::string()>& enumCell);

}  // namespace quillmere
