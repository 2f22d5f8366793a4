#include "component/core/component_key.h"

#include <charconv>

#include "component/core/install_paths.h"
#include "platform/failure.h"

namespace quillmere {

using platform::Hive;

namespace {

// A number value takes only the decimal text of an unsigned 32-bit number; anything else is a
// type mismatch rather than a number made up from part of the text.
uint32_t dwordFromText(std::string_view text) {
    uint32_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw platform::typeMismatch();
    return number;
}

}  // namespace

std::optional<std::string> ReadComponentValue(Session& session, std::string_view name) {
    if (name.empty()) return std::nullopt;
    auto value = session.registry.valueExact(Hive::LocalMachine, paths::kComponentKey, name);
    if (!value) return std::nullopt;
    return value->dataAsText();
}

std::string ReadRegistryValue(Session& session, std::string_view name) {
    return ReadComponentValue(session, name).value_or("");
}

bool SetExistingComponentValue(Session& session, std::string_view name, std::string_view text) {
    const auto setText = [&](const platform::RegistryValue& current) {
        platform::RegistryValue value = current;
        if (value.type == platform::ValueType::DWord)
            value.number = dwordFromText(text);
        else
            value.text = std::string(text);
        return std::optional(value);
    };
    return session.registry.updateValue(Hive::LocalMachine, paths::kComponentKey, name, setText)
        .has_value();
}

}  // namespace quillmere
