#include "component/core/client20.h"

#include <charconv>

#include "component/core/install_folder_lock.h"
#include "component/core/kept_documents.h"
#include "platform/failure.h"

namespace quillmere {

using platform::PlatformError;

Client20::Client20(platform::MachineRoot root, platform::MessageSink& messages,
                   const MethodHandlers& handlers, const platform::Clock& clock)
    : session_(std::move(root), messages, clock, threadModuleState()), handlers_(handlers) {}

Variant convertArgument(const Variant& value, ParamType type) {
    switch (type) {
        case ParamType::Variant:
            return value;
        case ParamType::String:
            return Variant::text(value.asText());
        case ParamType::Int16: {
            if (value.kind() == Variant::Kind::Int16) return value;
            if (value.kind() == Variant::Kind::Boolean)
                return Variant::int16(value.asBoolean() ? -1 : 0);
            const std::string text = value.asText();
            int number = 0;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), number);
            if (text.empty() || error != std::errc() || end != text.data() + text.size())
                throw platform::argumentTypeMismatch();
            if (number < INT16_MIN || number > INT16_MAX) throw platform::overflow();
            return Variant::int16(static_cast<int16_t>(number));
        }
    }
    return value;
}

Variant convertArgument(Variant&& value, ParamType type) {
    const bool unchanged = type == ParamType::Variant ||
                           (type == ParamType::String && value.kind() == Variant::Kind::Text);
    return unchanged ? std::move(value) : convertArgument(value, type);
}

namespace {

CallOutcome failed(uint32_t code, std::string description) {
    CallOutcome outcome;
    outcome.code = code;
    outcome.description = std::move(description);
    return outcome;
}

// The result as the declared type: a string method never answers "empty", a Boolean method
// always answers a Boolean.
Variant shapeResult(const Variant& result, ResultType type) {
    switch (type) {
        case ResultType::String:
            return Variant::text(result.asText());
        case ResultType::Boolean:
            return result.kind() == Variant::Kind::Boolean ? result : Variant::boolean(false);
        case ResultType::Variant:
            return result;
    }
    return result;
}

}  // namespace

CallOutcome Client20::invoke(int32_t dispId, std::vector<Variant>& args) {
    const MethodDeclaration* method = findMethod(dispId);
    if (!method) return failed(platform::failure::kDispMemberNotFound, "Member not found");
    return run(*method, args, false);
}

CallOutcome Client20::invoke(std::string_view name, std::vector<Variant>& args) {
    return invokeNamed(name, args, false);
}

CallOutcome Client20::invokeMovingArguments(std::string_view name, std::vector<Variant>& args) {
    return invokeNamed(name, args, true);
}

CallOutcome Client20::invokeNamed(std::string_view name, std::vector<Variant>& args,
                                  bool moveByValueArguments) {
    const MethodDeclaration* method = findMethod(name);
    if (!method)
        return failed(platform::failure::kDispUnknownName, "Unknown name: " + std::string(name));
    return run(*method, args, moveByValueArguments);
}

CallOutcome Client20::run(const MethodDeclaration& method, std::vector<Variant>& args,
                          bool moveByValueArguments) {
    if (args.size() != method.params.size())
        return failed(platform::failure::kDispBadParamCount, "Invalid number of parameters");
    const MethodHandler& handler = handlers_[static_cast<size_t>(method.position)];
    if (!handler) return failed(platform::failure::kNotImplemented, "not implemented");
    BeginCallOnKeptDocuments(session_.state);
    try {
        // The logic works on copies; by-reference parameters are copied back afterwards.
        std::vector<Variant> converted;
        converted.reserve(args.size());
        for (size_t i = 0; i < args.size(); ++i) {
            const ParameterDeclaration& param = method.params[i];
            converted.push_back(moveByValueArguments && !param.byRef
                                    ? convertArgument(std::move(args[i]), param.type)
                                    : convertArgument(args[i], param.type));
        }
        const auto lock = LockInstallFolder(session_, method.access);
        CallOutcome outcome;
        outcome.result = shapeResult(handler(session_, converted), method.result);
        EndCallOnKeptDocuments(session_.state, method.access);
        outcome.succeeded = true;
        for (size_t i = 0; i < args.size(); ++i)
            if (method.params[i].byRef) args[i] = converted[i];
        return outcome;
    } catch (const PlatformError& error) {
        ForgetKeptDocuments(session_.state);
        return failed(error.code(), error.description());
    } catch (const std::exception& error) {
        ForgetKeptDocuments(session_.state);
        return failed(platform::failure::kGeneral, error.what());
    }
}

}  // namespace quillmere
