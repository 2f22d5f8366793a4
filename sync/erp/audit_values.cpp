#include "sync/erp/audit_values.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace brindlemoor::erp {

namespace {

using Json = nlohmann::json;

Value toValue(const Json& value) {
    switch (value.type()) {
        case Json::value_t::string:
            return Value::text(value.get<std::string>());
        case Json::value_t::number_integer:
            return Value::number(value.get<int64_t>());
        case Json::value_t::number_unsigned:
            return Value::number(static_cast<int64_t>(value.get<uint64_t>()));
        case Json::value_t::number_float: {
            const double number = value.get<double>();
            if (std::trunc(number) == number && std::fabs(number) < 9.0e15) {
                return Value::number(static_cast<int64_t>(number));
            }
            return Value::text(value.dump());
        }
        case Json::value_t::boolean:
            return Value::number(value.get<bool>() ? 1 : 0);
        case Json::value_t::null:
        case Json::value_t::discarded:
            return Value();
        default:
            return Value::text(value.dump());
    }
}

// Reads the plain records the ERP writes nearly always (fields of ASCII text without escapes,
// whole numbers of up to 18 digits, true, false, null) without building a JSON document, which
// costs several times as much. Anything else it leaves to the JSON parser, which also words
// every fault, so both read the same text alike.
class PlainRecordReader {
  public:
    explicit PlainRecordReader(std::string_view text) : text_(text) {}

    // False when the text is not such a plain record.
    template <class Add>
    bool read(Add&& add) {
        skipBlanks();
        if (!take('{')) return false;
        skipBlanks();
        if (!take('}')) {
            for (;;) {
                std::string field;
                Value value;
                if (!readText(field)) return false;
                skipBlanks();
                if (!take(':')) return false;
                skipBlanks();
                if (!readValue(value)) return false;
                add(std::move(field), std::move(value));
                skipBlanks();
                if (take('}')) break;
                if (!take(',')) return false;
                skipBlanks();
            }
        }
        skipBlanks();
        return position_ == text_.size();
    }

  private:
    bool take(char expected) {
        if (position_ >= text_.size() || text_[position_] != expected) return false;
        ++position_;
        return true;
    }

    bool takeWord(std::string_view word) {
        if (text_.substr(position_, word.size()) != word) return false;
        position_ += word.size();
        return true;
    }

    void skipBlanks() {
        while (position_ < text_.size() && (text_[position_] == ' ' || text_[position_] == '\t' ||
                                            text_[position_] == '\n' || text_[position_] == '\r'))
            ++position_;
    }

    bool readText(std::string& out) {
        if (!take('"')) return false;
        const size_t start = position_;
        for (; position_ < text_.size(); ++position_) {
            const auto c = static_cast<unsigned char>(text_[position_]);
            if (c == '"') {
                out.assign(text_.substr(start, position_ - start));
                ++position_;
                return true;
            }
            if (c == '\\' || c < 0x20 || c >= 0x80) return false;
        }
        return false;
    }

    bool readValue(Value& out) {
        if (position_ >= text_.size()) return false;
        const char c = text_[position_];
        if (c == '"') {
            std::string text;
            if (!readText(text)) return false;
            out = Value::text(std::move(text));
            return true;
        }
        if (c == '-' || (c >= '0' && c <= '9')) return readWholeNumber(out);
        if (takeWord("true")) {
            out = Value::number(1);
        } else if (takeWord("false")) {
            out = Value::number(0);
        } else if (!takeWord("null")) {
            return false;
        }
        return true;
    }

    // A fraction, an exponent or a leading zero shows as the wrong character after the number.
    bool readWholeNumber(Value& out) {
        constexpr size_t kMostDigits = 18;  // always within int64_t
        const size_t start = position_;
        take('-');
        const size_t digits = position_;
        if (take('0')) {
        } else {
            while (position_ < text_.size() && text_[position_] >= '0' && text_[position_] <= '9')
                ++position_;
        }
        if (position_ == digits || position_ - digits > kMostDigits) return false;
        int64_t number = 0;
        const char* first = text_.data() + start;
        const char* last = text_.data() + position_;
        if (std::from_chars(first, last, number).ptr != last) return false;
        out = Value::number(number);
        return true;
    }

    std::string_view text_;
    size_t position_ = 0;
};

}  // namespace

AuditValues AuditValues::parse(std::string_view text) {
    AuditValues values;
    values.fields_.reserve(8);  // most records have fewer fields
    if (PlainRecordReader(text).read([&](std::string field, Value value) {
            values.add(std::move(field), std::move(value));
        }))
        return values;
    values.fields_.clear();
    const Json parsed = Json::parse(text);
    if (!parsed.is_object()) throw std::runtime_error("not a JSON object");
    for (const auto& [field, value] : parsed.items()) values.add(field, toValue(value));
    return values;
}

Value AuditValues::get(std::string_view field) const {
    for (auto entry = fields_.rbegin(); entry != fields_.rend(); ++entry) {
        if (entry->first == field) return entry->second;
    }
    return Value();
}

}  // namespace brindlemoor::erp
