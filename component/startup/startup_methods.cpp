// The methods of Client20 implemented in this folder.
#include "component/core/method_bindings.h"
#include "component/startup/startup.h"

namespace quillmere {

void BindStartupMethods(MethodHandlers& h) {
    Bind(h, "Initialize", [](Session& s, std::vector<Variant>&) { return Initialize(s); });
}

}  // namespace quillmere
