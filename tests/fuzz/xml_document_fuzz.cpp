// Fuzz target: the XML adapter. Whatever text it accepts, walking the document must be safe and
// the markup it writes back must read again as a document of the same elements.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/xml/document.h"

namespace {

namespace xml = platform::xml;

// The element names in document order, one per line.
std::string elementOutline(const xml::Document& document) {
    std::string outline;
    if (document.empty()) return outline;
    outline.append(document.root().name()).push_back('\n');
    for (xml::Node element : xml::descendantElements(document.root()))
        outline.append(element.name()).push_back('\n');
    return outline;
}

void walk(const xml::Document& document) {
    const xml::Node root = document.root();
    std::string buffer;
    for (xml::Node element : xml::descendantsOrSelfNamed(root, "record")) {
        xml::assignText(element, buffer);
        (void)xml::attributeView(element, "State");
    }
    (void)xml::selectAll(document.node(), "ccsocservcordr/record");
    (void)xml::firstDescendant(root, "Activity");
    (void)xml::text(root);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    xml::Document document;
    if (!document.parse(std::string_view(reinterpret_cast<const char*>(data), size))) {
        if (!document.empty()) std::abort();  // a refused text leaves an empty document
        return 0;
    }
    walk(document);
    const std::string markup = document.serialize();
    xml::Document again;
    if (!again.parse(markup)) std::abort();
    if (elementOutline(again) != elementOutline(document)) std::abort();
    return 0;
}
