#include "component/core/variant.h"

namespace quillmere {

Variant Variant::text(std::string value) {
    Variant v;
    v.kind_ = Kind::Text;
    v.text_ = std::move(value);
    return v;
}

Variant Variant::int16(int16_t value) {
    Variant v;
    v.kind_ = Kind::Int16;
    v.number_ = value;
    return v;
}

Variant Variant::boolean(bool value) {
    Variant v;
    v.kind_ = Kind::Boolean;
    v.flag_ = value;
    return v;
}

std::string Variant::asText() const {
    switch (kind_) {
        case Kind::Text:
            return text_;
        case Kind::Int16:
            return std::to_string(number_);
        case Kind::Boolean:
            return flag_ ? "True" : "False";
        case Kind::Empty:
            break;
    }
    return {};
}

}  // namespace quillmere
