#pragma once
// One call of Client20 written as JSON: `batch` answers each of its input lines with it and the
// host's POST /api/call answers each request body with it, so both speak exactly the same
// language.
//
//   ["METHOD", arg, ...]  ->  {"result": <string|true|false|null|number>, "byref": {...}}
//                             {"error": {"code": "0x80004005", "description": "..."}}
//                             {"usage": "..."}
//
// Strings are text and variant arguments, integers 16-bit integer arguments. A text that is not
// a valid call (not JSON, not an array, unknown method, wrong number or kind of arguments) is
// answered with "usage" and calls nothing.
#include <string>
#include <string_view>

#include "component/core/client20.h"

namespace quillmere::tool {

// The answer to one call, as one line of JSON without a line end.
std::string answerJsonCall(Client20& client, std::string_view callText);

// "usage: METHOD PARAM..." for a method of the interface.
std::string methodUsage(const MethodDeclaration& spec);

}  // namespace quillmere::tool
