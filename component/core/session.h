#pragma once
// Everything one call of the component works with: the machine (root, registry, message
// host, clock) and the thread's module state. Procedures take a Session& instead of reaching
// for globals.
#include <filesystem>
#include <string_view>

#include "component/core/module_state.h"
#include "platform/clock.h"
#include "platform/machine_root.h"
#include "platform/messages.h"
#include "platform/registry.h"

namespace quillmere {

struct Session {
    Session(platform::MachineRoot machineRoot, platform::MessageSink& messageSink,
            const platform::Clock& sessionClock, ModuleState& moduleState)
        : root(std::move(machineRoot)),
          registry(root),
          messages(messageSink),
          clock(sessionClock),
          state(moduleState) {}

    platform::MachineRoot root;
    platform::Registry registry;
    platform::MessageSink& messages;
    const platform::Clock& clock;
    ModuleState& state;

    // Linux path of one of the component's Windows paths.
    std::filesystem::path path(std::string_view windowsPath) const { return root.map(windowsPath); }
};

}  // namespace quillmere
