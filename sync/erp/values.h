#pragma once
// What a record of the ERP answers for one member: nothing, a text or a whole number. The
// audit records keep texts as texts and integers as numbers, as the ERP's own fields are typed.
#include <cstdint>
#include <string>
#include <utility>

namespace brindlemoor::erp {

class Value {
  public:
    Value() = default;
    static Value text(std::string text) {
        Value value;
        value.kind_ = Kind::Text;
        value.text_ = std::move(text);
        return value;
    }
    static Value number(int64_t number) {
        Value value;
        value.kind_ = Kind::Number;
        value.number_ = number;
        return value;
    }

    bool isEmpty() const { return kind_ == Kind::Empty; }
    bool isNumber() const { return kind_ == Kind::Number; }
    bool isText() const { return kind_ == Kind::Text; }

    // The value as text: a number in decimal, nothing as the empty text.
    std::string asText() const { return kind_ == Kind::Number ? std::to_string(number_) : text_; }
    // Only meaningful for isNumber().
    int64_t number() const { return number_; }

  private:
    enum class Kind { Empty, Text, Number };
    Kind kind_ = Kind::Empty;
    std::string text_;
    int64_t number_ = 0;
};

}  // namespace brindlemoor::erp
