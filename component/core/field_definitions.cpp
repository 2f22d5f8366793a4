#include "component/core/field_definitions.h"

#include <vector>

#include "platform/xml/document.h"

namespace quillmere {

namespace xml = platform::xml;

std::string FieldDefinitionPath(std::string_view kind, std::string_view field) {
    std::string path(kind);
    path += '/';
    path += field;
    return path;
}

FieldDefinition UndefinedFieldDefinition(std::string_view field) {
    FieldDefinition definition;
    definition.label = field;
    definition.modifiable = "True";
    return definition;
}

const FieldDefinition& GetFieldDefinition(Session& session, std::string_view kind,
                                          std::string_view field) {
    FieldDefinition& current = session.state.currentFieldDefinition;
    current = FieldDefinition();
    const std::vector<xml::Node> matches =
        xml::selectAll(session.state.fieldMapper.node(), FieldDefinitionPath(kind, field));
    if (matches.empty()) {
        current = UndefinedFieldDefinition(field);
        return current;
    }
    const xml::Node element = matches.front();
    current.label = xml::requireAttribute(element, "LABEL");
    current.dataType = xml::requireAttribute(element, "DATATYPE");
    current.modifiable = xml::requireAttribute(element, "MODIFIABLE");
    current.userInterface = xml::requireAttribute(element, "UINTERFACE");
    current.zoom = xml::requireAttribute(element, "ZOOM");
    current.hyperlink = xml::requireAttribute(element, "HYPERLINK");
    current.isNew = xml::requireAttribute(element, "NEW");
    return current;
}

}  // namespace quillmere
