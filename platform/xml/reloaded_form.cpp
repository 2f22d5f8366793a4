#include "platform/xml/reloaded_form.h"

#include <string>
#include <string_view>

namespace platform::xml {
namespace {

bool whitespaceOnly(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// CR LF and a lone CR become LF, as the parser's line-end handling does.
std::string withLfLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
        } else {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        }
    }
    return out;
}

void normalizeText(Node text) {
    const std::string_view value = text.value();
    if (value.find('\r') != std::string_view::npos) text.set_value(withLfLineEnds(value).c_str());
}

void normalizeAttributes(Node element) {
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        const std::string_view value = a.value();
        if (value.find_first_of("\t\r\n") == std::string_view::npos) continue;
        std::string blanks = withLfLineEnds(value);
        for (char& c : blanks)
            if (c == '\t' || c == '\n') c = ' ';
        a.set_value(blanks.c_str());
    }
}

}  // namespace

void bringIntoReloadedForm(Node top) {
    // Iterative, as every walk of outside documents here.
    Node node = top.first_child();
    while (node && node != top) {
        Node next;
        const pugi::xml_node_type type = node.type();
        if (type == pugi::node_pcdata && whitespaceOnly(node.value())) {
            next = node.next_sibling();
            for (Node up = node.parent(); !next && up && up != top; up = up.parent())
                next = up.next_sibling();
            node.parent().remove_child(node);
            node = next;
            continue;
        }
        if (type == pugi::node_pcdata) normalizeText(node);
        if (type == pugi::node_element) normalizeAttributes(node);
        if (Node child = node.first_child()) {
            node = child;
            continue;
        }
        next = node.next_sibling();
        for (Node up = node.parent(); !next && up && up != top; up = up.parent())
            next = up.next_sibling();
        node = next;
    }
}

}  // namespace platform::xml
