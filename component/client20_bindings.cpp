// The component's method table: every subsystem's bindings in one place.
#include "component/core/method_bindings.h"

namespace quillmere {

const MethodHandlers& ComponentMethodHandlers() {
    static const MethodHandlers handlers = [] {
        MethodHandlers table;
        BindCoreMethods(table);
        BindStoreMethods(table);
        BindViewMethods(table);
        BindFormMethods(table);
        BindErrorMethods(table);
        BindMasterDataMethods(table);
        BindStartupMethods(table);
        return table;
    }();
    return handlers;
}

std::unique_ptr<Client20> CreateClient20(platform::MachineRoot root,
                                         platform::MessageSink& messages,
                                         const platform::Clock& clock) {
    return std::make_unique<Client20>(std::move(root), messages, ComponentMethodHandlers(), clock);
}

}  // namespace quillmere
