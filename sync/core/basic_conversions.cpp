#include "sync/core/basic_conversions.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

#include "platform/failure.h"
#include "platform/text.h"

namespace brindlemoor {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads "[sign]digits[.digits][E[sign]digits]" at the start of `text` and says how many
// characters it took. `skipInnerBlanks` lets blanks stand between the characters.
std::optional<double> readNumber(std::string_view text, bool skipInnerBlanks, size_t& used) {
    std::string literal;
    size_t pos = 0;
    auto skip = [&] {
        while (skipInnerBlanks && pos < text.size() &&
               (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' || text[pos] == '\r'))
            ++pos;
    };
    skip();
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        literal += text[pos++];
        skip();
    }
    bool digits = false;
    while (pos < text.size() && isDigit(text[pos])) {
        literal += text[pos++];
        digits = true;
        skip();
    }
    if (pos < text.size() && text[pos] == '.') {
        literal += text[pos++];
        skip();
        while (pos < text.size() && isDigit(text[pos])) {
            literal += text[pos++];
            digits = true;
            skip();
        }
    }
    if (!digits) {
        used = 0;
        return std::nullopt;
    }
    if (pos < text.size() &&
        (text[pos] == 'E' || text[pos] == 'e' || text[pos] == 'D' || text[pos] == 'd')) {
        size_t exponentPos = pos + 1;
        std::string exponent = "e";
        if (exponentPos < text.size() && (text[exponentPos] == '+' || text[exponentPos] == '-'))
            exponent += text[exponentPos++];
        if (exponentPos < text.size() && isDigit(text[exponentPos])) {
            while (exponentPos < text.size() && isDigit(text[exponentPos]))
                exponent += text[exponentPos++];
            literal += exponent;
            pos = exponentPos;
        }
    }
    used = pos;
    return std::strtod(literal.c_str(), nullptr);
}

int64_t roundHalfEven(double value) {
    const double rounded = std::nearbyint(value);  // the default mode rounds halves to even
    if (!(rounded >= -9.2e18 && rounded <= 9.2e18)) throw platform::overflow();
    return static_cast<int64_t>(rounded);
}

template <class Integer>
Integer fit(int64_t value) {
    if (value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max())
        throw platform::overflow();
    return static_cast<Integer>(value);
}

double wholeTextNumber(std::string_view text) {
    const std::string_view trimmed = platform::trimBlanks(text);
    size_t used = 0;
    const std::optional<double> number = readNumber(trimmed, false, used);
    if (!number || used != trimmed.size()) throw platform::typeMismatch();
    return *number;
}

}  // namespace

double NumericValue(std::string_view text) {
    size_t used = 0;
    return readNumber(text, true, used).value_or(0.0);
}

int32_t ToLong(double value) {
    return fit<int32_t>(roundHalfEven(value));
}

int16_t ToInteger(std::string_view text) {
    return fit<int16_t>(roundHalfEven(wholeTextNumber(text)));
}

int32_t ToLong(std::string_view text) {
    return fit<int32_t>(roundHalfEven(wholeTextNumber(text)));
}

int32_t CompanyOfFolder(std::string_view folderName) {
    return ToLong(NumericValue(folderName));
}

int16_t ToCompanyParameter(int32_t company) {
    return fit<int16_t>(company);
}

int16_t ToInteger(const erp::Value& value) {
    if (value.isEmpty()) return 0;
    if (value.isNumber()) return fit<int16_t>(value.number());
    return ToInteger(value.asText());
}

}  // namespace brindlemoor
