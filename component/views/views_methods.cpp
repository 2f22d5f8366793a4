// The methods of Client20 implemented in this folder.
#include "component/core/method_bindings.h"

namespace quillmere {

void BindViewMethods(MethodHandlers&) {}

}  // namespace quillmere
