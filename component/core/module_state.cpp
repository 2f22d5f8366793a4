#include "component/core/module_state.h"

namespace quillmere {

ModuleState& threadModuleState() {
    thread_local ModuleState state;
    return state;
}

}  // namespace quillmere
