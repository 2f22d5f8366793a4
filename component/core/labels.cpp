#include "component/core/labels.h"

#include "component/core/field_mapper_document.h"
#include "platform/failure.h"

namespace quillmere {

namespace xml = platform::xml;

std::string GetLabelText(Session& session, std::string_view key) {
    if (!LoadFieldMapperDocument(session)) return {};
    const std::vector<xml::Node> sections =
        xml::selectAll(session.state.fieldMapper.node(), "I18N");
    if (sections.empty()) throw platform::objectNotSet();
    for (xml::Node entry : xml::childElements(sections.front())) {
        const std::string id = xml::requireAttribute(entry, "ID");
        const std::string description = xml::requireAttribute(entry, "DESCRIPTION");
        if (id == key) return description;
    }
    return {};
}

}  // namespace quillmere
