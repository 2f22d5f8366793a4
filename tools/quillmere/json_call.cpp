#include "tools/quillmere/json_call.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "platform/failure.h"

namespace quillmere::tool {

using json = nlohmann::ordered_json;

namespace {

// A call is an array of scalars; anything nested deeper is refused before the parser sees it,
// so a hostile body cannot make the parser build an arbitrarily deep tree.
constexpr int kMaxCallNesting = 4;

std::string dumpJson(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string usageAnswer(const std::string& text) {
    return dumpJson(json{{"usage", text}});
}

json toJson(const Variant& value) {
    switch (value.kind()) {
        case Variant::Kind::Empty:
            return nullptr;
        case Variant::Kind::Text:
            return value.textRef();
        case Variant::Kind::Int16:
            return value.asInt16();
        case Variant::Kind::Boolean:
            return value.asBoolean();
    }
    return nullptr;
}

// A JSON argument as the variant the call receives; nullopt when it has no such form.
std::optional<Variant> argumentFromJson(const json& value) {
    if (value.is_null()) return Variant();
    if (value.is_string()) return Variant::text(value.get<std::string>());
    if (value.is_boolean()) return Variant::boolean(value.get<bool>());
    if (value.is_number_unsigned() && value.get<uint64_t>() > static_cast<uint64_t>(INT16_MAX))
        return std::nullopt;
    if (value.is_number_integer()) {
        const auto number = value.get<int64_t>();
        if (number < INT16_MIN || number > INT16_MAX) return std::nullopt;
        return Variant::int16(static_cast<int16_t>(number));
    }
    return std::nullopt;
}

// True when no array or object in the text is nested deeper than `limit` (brackets inside
// strings do not count).
bool nestingWithin(std::string_view text, int limit) {
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

std::string answerOutcome(const MethodDeclaration& spec, const CallOutcome& outcome,
                          const std::vector<Variant>& args) {
    if (!outcome.succeeded)
        return dumpJson(json{{"error",
                              {{"code", platform::formatFailureCode(outcome.code)},
                               {"description", outcome.description}}}});
    json byref = json::object();
    for (size_t i = 0; i < spec.params.size(); ++i)
        if (spec.params[i].byRef) byref[std::string(spec.params[i].name)] = toJson(args[i]);
    return dumpJson(json{{"result", toJson(outcome.result)}, {"byref", byref}});
}

}  // namespace

std::string methodUsage(const MethodDeclaration& spec) {
    std::string text = "usage: " + std::string(spec.name);
    for (const ParameterDeclaration& p : spec.params) text += " " + std::string(p.name);
    return text;
}

std::string answerJsonCall(Client20& client, std::string_view callText) {
    const char* shape = "each line is a JSON array [\"METHOD\", arg, ...]";
    if (!nestingWithin(callText, kMaxCallNesting)) return usageAnswer(shape);
    const json call = json::parse(callText, nullptr, false);
    if (call.is_discarded() || !call.is_array() || call.empty() || !call[0].is_string())
        return usageAnswer(shape);
    const MethodDeclaration* spec = findMethod(call[0].get<std::string>());
    if (!spec) return usageAnswer("unknown method " + call[0].get<std::string>());
    if (call.size() - 1 != spec->params.size()) return usageAnswer(methodUsage(*spec));
    std::vector<Variant> args;
    for (size_t i = 1; i < call.size(); ++i) {
        auto arg = argumentFromJson(call[i]);
        if (!arg) return usageAnswer(methodUsage(*spec));
        args.push_back(std::move(*arg));
    }
    const CallOutcome outcome = client.invoke(spec->name, args);
    return answerOutcome(*spec, outcome, args);
}

}  // namespace quillmere::tool
