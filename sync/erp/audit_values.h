#pragma once
// The values of one audit record: a flat JSON object of fields. A field that holds a list or an
// object keeps it as compact JSON text, as the record reads it.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sync/erp/values.h"

namespace brindlemoor::erp {

class AuditValues {
  public:
    // Parses the text of a JSON object. Throws std::exception: the JSON parser's own wording
    // for text that is not JSON, "not a JSON object" for other JSON. Nesting is not limited
    // here: the caller bounds it before.
    static AuditValues parse(std::string_view text);

    // The field's value; nothing when the record has no such field. A field named twice has
    // the value it was given last.
    Value get(std::string_view field) const;

  private:
    void add(std::string field, Value value) {
        fields_.emplace_back(std::move(field), std::move(value));
    }

    std::vector<std::pair<std::string, Value>> fields_;  // in the text's order
};

}  // namespace brindlemoor::erp
