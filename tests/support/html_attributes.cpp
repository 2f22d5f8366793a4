#include "tests/support/html_attributes.h"

#include <gumbo.h>

#include <memory>

namespace testing_support {

namespace {

void collect(const GumboNode* node, std::vector<ParsedAttribute>& out) {
    if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE) return;
    const GumboElement& element = node->v.element;
    const std::string tag =
        element.tag == GUMBO_TAG_UNKNOWN
            ? std::string(element.original_tag.data, element.original_tag.length)
            : gumbo_normalized_tagname(element.tag);
    for (unsigned i = 0; i < element.attributes.length; ++i) {
        const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
        out.push_back({tag, attribute->name, attribute->value});
    }
    for (unsigned i = 0; i < element.children.length; ++i)
        collect(static_cast<const GumboNode*>(element.children.data[i]), out);
}

}  // namespace

std::vector<ParsedAttribute> ParseAttributes(std::string_view fragment) {
    std::string document = "<!DOCTYPE html><html><body>";
    const bool row = fragment.substr(0, 3) == "<tr" || fragment.substr(0, 3) == "<TR";
    if (row) document += "<table>";
    document += fragment;
    if (row) document += "</table>";
    document += "</body></html>";
    const std::unique_ptr<GumboOutput, void (*)(GumboOutput*)> output(
        gumbo_parse_with_options(&kGumboDefaultOptions, document.data(), document.size()),
        [](GumboOutput* parsed) { gumbo_destroy_output(&kGumboDefaultOptions, parsed); });
    std::vector<ParsedAttribute> attributes;
    collect(output->root, attributes);
    return attributes;
}

std::vector<std::string> AttributeNames(std::string_view fragment) {
    std::vector<std::string> names;
    for (const ParsedAttribute& attribute : ParseAttributes(fragment))
        names.push_back(attribute.element + " " + attribute.name);
    return names;
}

}  // namespace testing_support
