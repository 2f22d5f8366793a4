#pragma once
// The field definitions of a loaded field-definition document, indexed once, for views that
// render many cells in one call. Answers exactly what GetFieldDefinition and BuildEnumCell
// answer on the same document (first match of kind/field in document order), without walking
// the document per cell. Holds copies, so a later reload of the document cannot invalidate it.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "component/core/module_state.h"
#include "platform/xml/document.h"

namespace quillmere {

class FieldDefinitionIndex {
  public:
    explicit FieldDefinitionIndex(const platform::xml::Document& fieldMapper);

    // As GetFieldDefinition: an undefined field gets its name as label and "True" as
    // MODIFIABLE; a definition lacking one of the seven attributes fails.
    FieldDefinition definition(std::string_view kind, std::string_view field) const;
    // The definition, or null for an undefined field (fails like definition()).
    const FieldDefinition* find(std::string_view kind, std::string_view field) const;
    // True when the document defines kind/field (complete or not).
    bool has(std::string_view kind, std::string_view field) const;
    // The caption (`Value`) of the first value-list entry whose `Id` equals the code.
    std::optional<std::string> caption(std::string_view kind, std::string_view field,
                                       std::string_view code) const;

  private:
    struct EnumEntry {
        std::optional<std::string> id;
        std::string value;
    };
    struct Entry {
        FieldDefinition definition;
        bool complete = false;
        std::vector<EnumEntry> values;
    };
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
    };
    using Fields = std::unordered_map<std::string, Entry, Hash, std::equal_to<>>;
    using Kinds = std::unordered_map<std::string, Fields, Hash, std::equal_to<>>;

    const Entry* entry(std::string_view kind, std::string_view field) const;
    Kinds kinds_;
};

// BuildListCell and BuildEnumCell answered from the index.
std::string BuildListCell(const FieldDefinitionIndex& definitions, std::string_view kind,
                          std::string_view field, std::string_view value,
                          std::string_view formName);
std::string BuildEnumCell(const FieldDefinitionIndex& definitions, std::string_view kind,
                          std::string_view field, std::string_view code);

}  // namespace quillmere
