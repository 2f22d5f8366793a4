#include "component/views/field_definition_index.h"

#include "component/core/field_definitions.h"
#include "component/views/list_cells.h"
#include "platform/failure.h"

namespace quillmere {

namespace xml = platform::xml;

namespace {

// Reads the seven attributes; false when one is missing.
bool readDefinition(xml::Node element, FieldDefinition& definition) {
    std::string* targets[] = {
        &definition.label, &definition.dataType,  &definition.modifiable, &definition.userInterface,
        &definition.zoom,  &definition.hyperlink, &definition.isNew};
    const std::string_view names[] = {"LABEL", "DATATYPE",  "MODIFIABLE", "UINTERFACE",
                                      "ZOOM",  "HYPERLINK", "NEW"};
    for (size_t i = 0; i < std::size(names); ++i) {
        const auto value = xml::attributeView(element, names[i]);
        if (!value) return false;
        *targets[i] = *value;
    }
    return true;
}

}  // namespace

FieldDefinitionIndex::FieldDefinitionIndex(const xml::Document& fieldMapper) {
    // Every element below the root element, in document order; the first of each kind/field
    // wins.
    for (xml::Node node : xml::descendantElements(fieldMapper.root())) {
        Fields& fields = kinds_[node.parent().name()];
        if (fields.find(std::string_view(node.name())) != fields.end()) continue;
        Entry& added = fields[node.name()];
        added.complete = readDefinition(node, added.definition);
        for (xml::Node value : xml::elementChildren(node)) {
            EnumEntry entry;
            if (const auto id = xml::attributeView(value, "Id")) entry.id = std::string(*id);
            entry.value = xml::attributeOrEmpty(value, "Value");
            added.values.push_back(std::move(entry));
        }
    }
}

const FieldDefinitionIndex::Entry* FieldDefinitionIndex::entry(std::string_view kind,
                                                               std::string_view field) const {
    const auto fields = kinds_.find(kind);
    if (fields == kinds_.end()) return nullptr;
    const auto found = fields->second.find(field);
    return found == fields->second.end() ? nullptr : &found->second;
}

bool FieldDefinitionIndex::has(std::string_view kind, std::string_view field) const {
    return entry(kind, field) != nullptr;
}

const FieldDefinition* FieldDefinitionIndex::find(std::string_view kind,
                                                  std::string_view field) const {
    const Entry* found = entry(kind, field);
    if (!found) return nullptr;
    if (!found->complete) throw platform::invalidUseOfNull();
    return &found->definition;
}

FieldDefinition FieldDefinitionIndex::definition(std::string_view kind,
                                                 std::string_view field) const {
    if (const FieldDefinition* found = find(kind, field)) return *found;
    return UndefinedFieldDefinition(field);
}

std::optional<std::string> FieldDefinitionIndex::caption(std::string_view kind,
                                                         std::string_view field,
                                                         std::string_view code) const {
    const Entry* found = entry(kind, field);
    if (!found) return std::nullopt;
    for (const EnumEntry& value : found->values)
        if (value.id && *value.id == code) return value.value;
    return std::nullopt;
}

std::string BuildEnumCell(const FieldDefinitionIndex& definitions, std::string_view kind,
                          std::string_view field, std::string_view code) {
    if (!definitions.has(kind, field)) throw platform::objectNotSet();
    return EnumCell(definitions.caption(kind, field, code).value_or(""));
}

std::string BuildListCell(const FieldDefinitionIndex& definitions, std::string_view kind,
                          std::string_view field, std::string_view value,
                          std::string_view formName) {
    const FieldDefinition* found = definitions.find(kind, field);
    if (!found) return {};  // an undefined field is not shown in lists
    return ListCell(*found, field, value, formName,
                    [&] { return BuildEnumCell(definitions, kind, field, value); });
}

}  // namespace quillmere
