#include "component/views/field_mapper_file.h"

#include "component/core/install_paths.h"
#include "platform/failure.h"
#include "platform/text_file.h"
#include "platform/xml/document.h"

namespace quillmere {

bool FMapperXMLExists(Session& session) {
    return platform::fileExists(session.path(paths::kFieldMapper));
}

Variant getFMapper(Session& session, const std::string& iXML, const std::string& iOverwrite) {
    const auto file = session.path(paths::kFieldMapper);
    if (platform::fileExists(file) && iOverwrite != "Yes") return {};
    platform::xml::Document document;
    // Saving what a failed parse leaves would replace the installed definitions with nothing.
    if (!document.parse(iXML))
        throw platform::PlatformError(platform::failure::kXml,
                                      "The field definitions are not well-formed XML; "
                                      "FieldMapper.xml was left as it was");
    document.save(file);
    return {};
}

}  // namespace quillmere
