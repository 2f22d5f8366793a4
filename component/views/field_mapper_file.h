#pragma once
// Installing and testing the field-definition document "C:\Taviro Quillmere\FieldMapper.xml".
#include <string>

#include "component/core/session.h"
#include "component/core/variant.h"

namespace quillmere {

// True when the file exists.
bool FMapperXMLExists(Session& session);

// Saves `iXML` as the field definitions when there are none yet or `iOverwrite` is "Yes";
// returns an empty variant. Text that is not well-formed fails the call (kXml) and leaves the
// installed file as it was.
Variant getFMapper(Session& session, const std::string& iXML, const std::string& iOverwrite);

}  // namespace quillmere
