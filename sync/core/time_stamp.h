#pragma once
#include <string>
#include <string_view>

namespace brindlemoor {

// "FileName": YYYY-MM-DD hh-mm (change files and logs); any other kind: YYYYMMDDhhmmss.
// Local time now (TAVIRO_NOW when set).
std::string MakeTimeStamp(std::string_view kind);

}  // namespace brindlemoor
