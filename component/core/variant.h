#pragma once
// The automation values that cross the component's boundary: empty, text, 16-bit integer and
// Boolean.
#include <cstdint>
#include <string>

namespace quillmere {

class Variant {
  public:
    enum class Kind { Empty, Text, Int16, Boolean };

    Variant() = default;
    static Variant text(std::string value);
    static Variant int16(int16_t value);
    static Variant boolean(bool value);

    Kind kind() const { return kind_; }
    bool isEmpty() const { return kind_ == Kind::Empty; }
    // The value as automation converts it to text: empty -> "", numbers in decimal,
    // Booleans "True"/"False".
    std::string asText() const;
    int16_t asInt16() const { return number_; }
    bool asBoolean() const { return flag_; }
    const std::string& textRef() const { return text_; }

    bool operator==(const Variant&) const = default;

  private:
    Kind kind_ = Kind::Empty;
    std::string text_;
    int16_t number_ = 0;
    bool flag_ = false;
};

}  // namespace quillmere
