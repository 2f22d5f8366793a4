#pragma once
// The field definitions of FieldMapper.xml: for every record kind (an element of the document)
// one element per field with the seven attributes LABEL, DATATYPE, MODIFIABLE, UINTERFACE, ZOOM,
// HYPERLINK and NEW. The document is the module's, loaded by LoadFieldMapperDocument.
//
// Failures: a definition that lacks one of the seven attributes fails with the runtime's
// invalid-use-of-Null error.
#include <string>
#include <string_view>

#include "component/core/module_state.h"
#include "component/core/session.h"

namespace quillmere {

// "kind/field", the path that selects a field's definition.
std::string FieldDefinitionPath(std::string_view kind, std::string_view field);

// The definition that an undefined field gets: its element name as label, modifiable.
FieldDefinition UndefinedFieldDefinition(std::string_view field);

// Fills session.state.currentFieldDefinition from the first element matching kind/field in
// the loaded field-definition document, and returns it. An undefined field gets
// UndefinedFieldDefinition; a definition lacking an attribute fails.
const FieldDefinition& GetFieldDefinition(Session& session, std::string_view kind,
                                          std::string_view field);

}  // namespace quillmere
