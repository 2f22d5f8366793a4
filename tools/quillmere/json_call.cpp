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

// The elements of a call as the parser meets them, read without building a JSON document: a
// text argument (a change file of many megabytes) is moved from the parser's buffer into its
// variant, never copied. Each top-level element is the variant it is given as, or nullopt when
// it has no such form (a fraction, a number beyond 16 bits, a nested array or object).
class CallElements {
  public:
    using number_integer_t = json::number_integer_t;
    using number_unsigned_t = json::number_unsigned_t;
    using number_float_t = json::number_float_t;
    using string_t = json::string_t;
    using binary_t = json::binary_t;

    bool null() { return add(Variant()); }
    bool boolean(bool value) { return add(Variant::boolean(value)); }
    bool number_integer(number_integer_t value) {
        return add(value < INT16_MIN || value > INT16_MAX
                       ? std::nullopt
                       : std::optional<Variant>(Variant::int16(static_cast<int16_t>(value))));
    }
    bool number_unsigned(number_unsigned_t value) {
        return add(value > static_cast<number_unsigned_t>(INT16_MAX)
                       ? std::nullopt
                       : std::optional<Variant>(Variant::int16(static_cast<int16_t>(value))));
    }
    bool number_float(number_float_t, const string_t&) { return add(std::nullopt); }
    bool string(string_t& value) {
        if (depth_ == 1 && elements_.empty()) firstIsText_ = true;
        return add(Variant::text(std::move(value)));
    }
    bool binary(binary_t&) { return add(std::nullopt); }
    bool start_object(std::size_t) { return open(false); }
    bool end_object() { return close(); }
    bool start_array(std::size_t) { return open(true); }
    bool end_array() { return close(); }
    bool key(string_t&) { return true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) {
        return false;
    }

    // True when the text was one array (the call's shape; its elements may still be wrong).
    bool isArray() const { return topIsArray_; }
    bool firstIsText() const { return firstIsText_; }
    std::vector<std::optional<Variant>>& elements() { return elements_; }

  private:
    bool add(std::optional<Variant> value) {
        if (depth_ == 1) elements_.push_back(std::move(value));
        return true;
    }
    bool open(bool array) {
        if (depth_ == 0) topIsArray_ = array;
        if (depth_ == 1) elements_.emplace_back();  // a nested value is no argument
        ++depth_;
        return true;
    }
    bool close() {
        --depth_;
        return true;
    }

    int depth_ = 0;
    bool topIsArray_ = false;
    bool firstIsText_ = false;
    std::vector<std::optional<Variant>> elements_;
};

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
    CallElements call;
    if (!json::sax_parse(callText, &call) || !call.isArray() || !call.firstIsText())
        return usageAnswer(shape);
    std::vector<std::optional<Variant>>& elements = call.elements();
    const std::string& name = elements[0]->textRef();
    const MethodDeclaration* spec = findMethod(name);
    if (!spec) return usageAnswer("unknown method " + name);
    if (elements.size() - 1 != spec->params.size()) return usageAnswer(methodUsage(*spec));
    std::vector<Variant> args;
    args.reserve(elements.size() - 1);
    for (size_t i = 1; i < elements.size(); ++i) {
        if (!elements[i]) return usageAnswer(methodUsage(*spec));
        args.push_back(std::move(*elements[i]));
    }
    const CallOutcome outcome = client.invokeMovingArguments(spec->name, args);
    return answerOutcome(*spec, outcome, args);
}

}  // namespace quillmere::tool
