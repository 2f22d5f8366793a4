#include "tools/quillmere/commands.h"

#include <charconv>
#include <istream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <tuple>

#include "component/core/install_paths.h"
#include "component/core/method_bindings.h"
#include "platform/failure.h"
#include "platform/registry.h"
#include "platform/text_file.h"
#include "tools/quillmere/json_call.h"
#include "tools/service/install_dirs.h"

namespace quillmere::tool {

namespace {

void printResult(const Variant& value, std::ostream& out) {
    if (value.kind() == Variant::Kind::Boolean)
        out << (value.asBoolean() ? "True" : "False");
    else
        out << value.asText();
}

// Without the field definitions every label text and caption comes out empty; standard output
// stays exactly the result, so the reason goes to standard error.
void noteMissingFieldDefinitions(const platform::MachineRoot& root, std::ostream& err) {
    if (platform::fileExists(root.map(paths::kFieldMapper))) return;
    const std::string delivered =
        (taviro::service::deliveredDataDirectory() / "FieldMapper.xml").string();
    err << "quillmere: note: the field definitions " << paths::kFieldMapper
        << " are not installed, so label texts and captions are empty; install them with\n"
        << "  quillmere call getFMapper \"$(cat '" << delivered << "')\" Yes\n";
}

const char* typeName(ParamType type) {
    switch (type) {
        case ParamType::String:
            return "string";
        case ParamType::Int16:
            return "int16";
        case ParamType::Variant:
            return "variant";
    }
    return "variant";
}

const char* typeName(ResultType type) {
    switch (type) {
        case ResultType::String:
            return "string";
        case ResultType::Variant:
            return "variant";
        case ResultType::Boolean:
            return "boolean";
    }
    return "variant";
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

const char* registryTypeName(platform::ValueType type) {
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

int runCall(const RootChoice& choice, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err) {
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
        err << methodUsage(*method) << '\n';
        return kUsage;
    }
    prepareRoot(choice);
    platform::StandardErrorMessageSink messages;
    auto client = CreateClient20(choice.root, messages);
    std::vector<Variant> callArgs;
    for (size_t i = 1; i < args.size(); ++i) callArgs.push_back(Variant::text(args[i]));
    const CallOutcome outcome = client->invoke(method->name, callArgs);
    if (!outcome.succeeded) {
        err << platform::formatFailureCode(outcome.code) << ' ' << outcome.description << '\n';
        noteMissingFieldDefinitions(choice.root, err);
        return kCallFailed;
    }
    noteMissingFieldDefinitions(choice.root, err);
    printResult(outcome.result, out);
    out.flush();
    return kOk;
}

int runBatch(const RootChoice& choice, std::istream& in, std::ostream& out, std::ostream&) {
    prepareRoot(choice);
    platform::StandardErrorMessageSink messages;
    auto client = CreateClient20(choice.root, messages);
    client->session().state.keepDocuments = true;  // one instance for every line
    std::string line;
    while (std::getline(in, line)) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        out << answerJsonCall(*client, line) << '\n' << std::flush;
    }
    return kOk;
}

int runMethods(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) {
        err << "usage: quillmere methods\n";
        return kUsage;
    }
    for (const MethodDeclaration& spec : methodDeclarations()) {
        out << spec.name << '(';
        for (size_t i = 0; i < spec.params.size(); ++i) {
            const ParameterDeclaration& param = spec.params[i];
            out << (i ? ", " : "") << (param.byRef ? "byref " : "") << param.name << ' '
                << typeName(param.type);
        }
        out << ") -> " << typeName(spec.result) << '\n';
    }
    return kOk;
}

int runRegistry(const RootChoice& choice, const std::vector<std::string>& args, std::ostream& out,
                std::ostream& err) {
    const platform::MachineRoot& root = choice.root;
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
            out << value.name << '\t' << registryTypeName(value.type) << '\t' << value.dataAsText()
                << '\n';
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
        prepareRoot(choice);
        registry.createKey(hive, key);
        registry.setValue(hive, key, value);
        return kOk;
    }
    const bool removed =
        args.size() == 3 ? registry.deleteValue(hive, key, args[2]) : registry.deleteKey(hive, key);
    return removed ? kOk : kNotFound;
}

int runPath(const RootChoice& choice, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err) {
    if (args.size() != 1) {
        err << "usage: quillmere path WINDOWS-PATH\n";
        return kUsage;
    }
    out << choice.root.map(args[0]).string() << '\n';
    return kOk;
}

}  // namespace quillmere::tool
