#pragma once
// The field definitions of FieldMapper.xml and the small HTML builders every view shares:
// field look-up, column headings, list cells, the panel title bar, value escaping and the
// look-up of an order's status.
#include <cstdint>
#include <string>
#include <string_view>

#include "component/core/module_state.h"
#include "component/core/session.h"
#include "component/core/variant.h"

namespace quillmere {

// Public methods.
bool FMapperXMLExists(Session& session);
Variant getFMapper(Session& session, const std::string& iXML, const std::string& iOverwrite);

// Fills session.state.currentFieldDefinition from the first element matching kind/field in
// the loaded field-definition document, and returns it. An undefined field gets its element
// name as label and "True" as MODIFIABLE; a definition lacking an attribute fails.
const FieldDefinition& GetFieldDefinition(Session& session, std::string_view kind,
                                          std::string_view field);

// Heading row of a list; raises `counter` by one per heading cell.
std::string BuildColumnHeadings(Session& session, int16_t& counter, std::string_view kind);
// One cell of a list row, or "" when the field is not shown in lists.
std::string BuildListCell(Session& session, std::string_view kind, std::string_view field,
                          std::string_view value, std::string_view formName);
// One cell holding the caption of an enumerated field's code.
std::string BuildEnumCell(Session& session, std::string_view kind, std::string_view field,
                          std::string_view code);
// The title row of a panel: mode 1 with minimize and close buttons, any other mode close only.
std::string BuildTitleBar(int16_t mode, std::string_view title, std::string_view panelId);

}  // namespace quillmere
