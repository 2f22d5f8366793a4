#include "tools/quillmere/commands.h"

#include <charconv>
#include <istream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <tuple>

#include "component/core/method_bindings.h"
#include "platform/failure.h"
#include "platform/registry.h"

namespace quillmere::tool {

using json = nlohmann::ordered_json;

namespace {

std::string usageOf(const MethodDeclaration& method) {
    std::string text = "usage: " + std::string(method.name);
    for (const ParameterDeclaration& p : method.params) text += " " + std::string(p.name);
    return text;
}

std::string dumpJson(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
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

void printResult(const Variant& value, std::ostream& out) {
    if (value.kind() == Variant::Kind::Boolean)
        out << (value.asBoolean() ? "True" : "False");
    else
        out << value.asText();
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

std::optional<uint32_t> parseDword(const std::string& text) {
    uint32_t value = 0;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* begin = text.data() + (hex ? 2 : 0);
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(begin, end, value, hex ? 16 : 10);
    if (begin == end || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

const char* typeName(platform::ValueType type) {
    return type == platform::ValueType::DWord ? "REG_DWORD" : "REG_SZ";
}

std::optional<platform::RegistryValue> findValue(const platform::Registry& registry,
                                                 platform::Hive hive, const std::string& key,
                                                 const std::string& name) {
    if (!registry.keyExists(hive, key)) return std::nullopt;
    for (const auto& value : registry.values(hive, key))
        if (platform::equalsIgnoreCase(value.name, name)) return value;
    return std::nullopt;
}

}  // namespace

int runCall(const platform::MachineRoot& root, const std::vector<std::string>& args,
            std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << "usage: quillmere call METHOD [ARG...]\n";
        return kUsage;
    }
    const MethodDeclaration* method = findMethod(args[0]);
    if (!method) {
        err << "quillmere: unknown method '" << args[0] << "'\n";
        return kUsage;
    }
    if (args.size() - 1 != method->params.size()) {
        err << usageOf(*method) << '\n';
        return kUsage;
    }
    root.createIfMissing();
    platform::StandardErrorMessageSink messages;
    auto client = CreateClient20(root, messages);
    std::vector<Variant> callArgs;
    for (size_t i = 1; i < args.size(); ++i) callArgs.push_back(Variant::text(args[i]));
    const CallOutcome outcome = client->invoke(method->name, callArgs);
    if (!outcome.succeeded) {
        err << platform::formatFailureCode(outcome.code) << ' ' << outcome.description << '\n';
        return kCallFailed;
    }
    printResult(outcome.result, out);
    out.flush();
    return kOk;
}

int runBatch(const platform::MachineRoot& root, std::istream& in, std::ostream& out,
             std::ostream&) {
    root.createIfMissing();
    platform::StandardErrorMessageSink messages;
    auto client = CreateClient20(root, messages);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        auto usage = [&](const std::string& text) {
            out << dumpJson(json{{"usage", text}}) << '\n' << std::flush;
        };
        const json call = json::parse(line, nullptr, false);
        if (call.is_discarded() || !call.is_array() || call.empty() || !call[0].is_string()) {
            usage("each line is a JSON array [\"METHOD\", arg, ...]");
            continue;
        }
        const MethodDeclaration* method = findMethod(call[0].get<std::string>());
        if (!method) {
            usage("unknown method " + call[0].get<std::string>());
            continue;
        }
        if (call.size() - 1 != method->params.size()) {
            usage(usageOf(*method));
            continue;
        }
        std::vector<Variant> args;
        bool valid = true;
        for (size_t i = 1; i < call.size() && valid; ++i) {
            auto arg = argumentFromJson(call[i]);
            valid = arg.has_value();
            if (valid) args.push_back(*arg);
        }
        if (!valid) {
            usage(usageOf(*method));
            continue;
        }
        const CallOutcome outcome = client->invoke(method->name, args);
        json answer;
        if (outcome.succeeded) {
            json byref = json::object();
            for (size_t i = 0; i < method->params.size(); ++i)
                if (method->params[i].byRef)
                    byref[std::string(method->params[i].name)] = toJson(args[i]);
            answer = json{{"result", toJson(outcome.result)}, {"byref", byref}};
        } else {
            answer = json{{"error",
                           {{"code", platform::formatFailureCode(outcome.code)},
                            {"description", outcome.description}}}};
        }
        out << dumpJson(answer) << '\n' << std::flush;
    }
    return kOk;
}

int runRegistry(const platform::MachineRoot& root, const std::vector<std::string>& args,
                std::ostream& out, std::ostream& err) {
    const std::string sub = args.empty() ? "" : args[0];
    const size_t expected = sub == "get" ? 3 : sub == "set" ? 5 : sub == "list" ? 2 : 0;
    const bool deleteShape = sub == "delete" && (args.size() == 2 || args.size() == 3);
    if (!deleteShape && (expected == 0 || args.size() != expected)) {
        err << "usage: quillmere reg get KEY NAME | set KEY NAME sz|dword DATA | delete KEY [NAME] "
               "| list KEY\n";
        return kUsage;
    }
    platform::Hive hive{};
    std::string key;
    try {
        std::tie(hive, key) = platform::splitRegistryPath(args[1]);
    } catch (const platform::PlatformError& error) {
        err << "quillmere: " << error.description() << " (HKLM or HKCU)\n";
        return kUsage;
    }
    platform::Registry registry(root);
    if (sub == "get") {
        const auto value = findValue(registry, hive, key, args[2]);
        if (!value) return kNotFound;
        out << value->dataAsText() << '\n';
        return kOk;
    }
    if (sub == "list") {
        if (!registry.keyExists(hive, key)) return kNotFound;
        for (const auto& value : registry.values(hive, key))
            out << value.name << '\t' << typeName(value.type) << '\t' << value.dataAsText() << '\n';
        return kOk;
    }
    if (sub == "set") {
        platform::RegistryValue value;
        if (args[3] == "sz") {
            value = platform::RegistryValue::string(args[2], args[4]);
        } else if (args[3] == "dword") {
            const auto number = parseDword(args[4]);
            if (!number) {
                err << "quillmere: DWORD data must be a number: " << args[4] << '\n';
                return kUsage;
            }
            value = platform::RegistryValue::dword(args[2], *number);
        } else {
            err << "quillmere: type must be sz or dword\n";
            return kUsage;
        }
        root.createIfMissing();
        registry.createKey(hive, key);
        registry.setValue(hive, key, value);
        return kOk;
    }
    const bool removed =
        args.size() == 3 ? registry.deleteValue(hive, key, args[2]) : registry.deleteKey(hive, key);
    return removed ? kOk : kNotFound;
}

int runPath(const platform::MachineRoot& root, const std::vector<std::string>& args,
            std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "usage: quillmere path WINDOWS-PATH\n";
        return kUsage;
    }
    out << root.map(args[0]).string() << '\n';
    return kOk;
}

}  // namespace quillmere::tool
