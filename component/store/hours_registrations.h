#pragma once
// SaveHra: stores an hours registration that the page built from its form. The request's root
// element is the registration; it is appended unchanged to the store's ccsocservchra, which
// every upload document carries whole.
#include <string>

#include "component/core/session.h"

namespace quillmere {

// Public method: "" on success, otherwise the failure text (also in the last error): empty
// request, request not XML, store not loadable. A store without ccsocservchra fails the call
// with the object error.
std::string SaveHra(Session& session, const std::string& iXML);

}  // namespace quillmere
