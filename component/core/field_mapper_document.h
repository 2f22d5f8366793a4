#pragma once
// Loading "C:\Taviro Quillmere\FieldMapper.xml" into the module's field-definition document.
// Label look-ups and every view load it; since nothing changes the document in memory, a load
// that reads the same bytes as the last load keeps the parsed document instead of parsing it
// again (same content, same outcome).
#include "component/core/session.h"

namespace quillmere {

// True when the document is loaded; false (document empty) when the file is missing or not
// well-formed.
bool LoadFieldMapperDocument(Session& session);

}  // namespace quillmere
