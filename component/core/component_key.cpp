#include "component/core/component_key.h"

#include "component/core/install_paths.h"

namespace quillmere {

using platform::Hive;

std::optional<std::string> ReadComponentValue(Session& session, std::string_view name) {
    if (name.empty()) return std::nullopt;
    auto value = session.registry.valueExact(Hive::LocalMachine, paths::kComponentKey, name);
    if (!value) return std::nullopt;
    return value->dataAsText();
}

bool SetExistingComponentValue(Session& session, std::string_view name, std::string_view text) {
    auto value = session.registry.valueExact(Hive::LocalMachine, paths::kComponentKey, name);
    if (!value) return false;
    if (value->type == platform::ValueType::DWord)
        value->number = static_cast<uint32_t>(std::stoul(std::string(text)));
    else
        value->text = std::string(text);
    session.registry.setValue(Hive::LocalMachine, paths::kComponentKey, *value);
    return true;
}

}  // namespace quillmere
