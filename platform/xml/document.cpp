#include "platform/xml/document.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/failure.h"
#include "platform/text_file.h"
#include "platform/xml/well_formed_text.h"

namespace platform::xml {
namespace {

// pugixml is lenient where the Windows DOM refuses the document: it keeps text and further
// elements beside the root. Parsing as a fragment keeps them visible so that we can refuse
// them here; whitespace-only text is still dropped by the parser.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_fragment;

[[noreturn]] void throwXml(const std::string& description) {
    throw PlatformError(failure::kXml, description);
}

// The library's own walks use this rather than the exported isElement, which a call from
// inside a shared library cannot inline.
bool elementNode(Node node) {
    return node.type() == pugi::node_element;
}

bool hasName(Node node, std::string_view name) {
    return std::string_view(node.name()) == name;
}

bool isText(Node node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// The node following `node` in document order within the subtree of `top`, or a null node at
// the end. Iterative, so that deeply nested input cannot exhaust the stack.
Node nextInSubtree(Node node, Node top) {
    if (Node child = node.first_child()) return child;
    while (node != top) {
        if (Node sibling = node.next_sibling()) return sibling;
        node = node.parent();
    }
    return {};
}

template <typename Visit>
void forEachDescendant(Node top, Visit visit) {
    for (Node node = nextInSubtree(top, top); node; node = nextInSubtree(node, top)) visit(node);
}

bool hasDuplicateAttribute(Node element) {
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        for (pugi::xml_attribute b = a.next_attribute(); b; b = b.next_attribute()) {
            if (std::string_view(a.name()) == b.name()) return true;
        }
    }
    return false;
}

// What the parser accepted but a well-formed document cannot hold: text beside the root, a
// second root or none, an attribute given twice.
bool isWellFormed(const pugi::xml_document& doc) {
    size_t roots = 0;
    for (Node child : doc.children()) {
        if (isText(child)) return false;
        if (elementNode(child)) ++roots;
    }
    if (roots != 1) return false;
    bool duplicate = false;
    forEachDescendant(doc, [&](Node node) {
        if (!duplicate && elementNode(node)) duplicate = hasDuplicateAttribute(node);
    });
    return !duplicate;
}

std::vector<std::string_view> splitPath(std::string_view path) {
    std::vector<std::string_view> steps;
    size_t start = 0;
    for (;;) {
        size_t slash = path.find('/', start);
        steps.push_back(
            path.substr(start, slash == std::string_view::npos ? slash : slash - start));
        if (slash == std::string_view::npos) return steps;
        start = slash + 1;
    }
}

// --- Serialization -------------------------------------------------------------------------

// Attribute values escape the quote that delimits them, text escapes ">" instead; this is
// exactly what the Windows DOM does, so byte-exact output depends on it.
void appendEscaped(std::string& out, const char* value, bool inAttribute) {
    for (const char* p = value; *p; ++p) {
        if (*p == '&') {
            out += "&amp;";
        } else if (*p == '<') {
            out += "&lt;";
        } else if (*p == '>' && !inAttribute) {
            out += "&gt;";
        } else if (*p == '"' && inAttribute) {
            out += "&quot;";
        } else {
            out += *p;
        }
    }
}

void appendAttributes(std::string& out, Node node) {
    for (pugi::xml_attribute a : node.attributes()) {
        out += ' ';
        out += a.name();
        out += "=\"";
        appendEscaped(out, a.value(), true);
        out += '"';
    }
}

// A section cannot hold its own terminator, so "]]>" is split across two sections; the text
// read back is the same.
void appendCdata(std::string& out, std::string_view value) {
    out += "<![CDATA[";
    for (size_t end; (end = value.find("]]>")) != std::string_view::npos;) {
        out += value.substr(0, end + 2);
        out += "]]><![CDATA[";
        value.remove_prefix(end + 2);
    }
    out += value;
    out += "]]>";
}

// Everything of the node up to its children: the whole markup of a node without children.
void appendStart(std::string& out, Node node) {
    switch (node.type()) {
        case pugi::node_element:
            out += '<';
            out += node.name();
            appendAttributes(out, node);
            out += node.first_child() ? ">" : "/>";
            break;
        case pugi::node_pcdata:
            appendEscaped(out, node.value(), false);
            break;
        case pugi::node_cdata:
            appendCdata(out, node.value());
            break;
        case pugi::node_comment:
            out += "<!--";
            out += node.value();
            out += "-->";
            break;
        case pugi::node_pi:
            out += "<?";
            out += node.name();
            if (*node.value()) {
                out += ' ';
                out += node.value();
            }
            out += "?>";
            break;
        case pugi::node_declaration:
            out += "<?";
            out += node.name();
            appendAttributes(out, node);
            out += "?>";
            break;
        case pugi::node_doctype:
            out += "<!DOCTYPE ";
            out += node.value();
            out += '>';
            break;
        default:
            break;
    }
}

void appendEnd(std::string& out, Node element) {
    out += "</";
    out += element.name();
    out += '>';
}

void appendTree(std::string& out, Node top) {
    Node node = top;
    for (;;) {
        appendStart(out, node);
        if (elementNode(node) && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != top && !node.next_sibling()) {
            node = node.parent();
            appendEnd(out, node);
        }
        if (node == top) return;
        node = node.next_sibling();
    }
}

Node selectFirstFrom(Node from, const std::vector<std::string_view>& steps, size_t step) {
    if (step == steps.size()) return from;
    for (Node child : from.children()) {
        if (!elementNode(child) || !hasName(child, steps[step])) continue;
        if (Node found = selectFirstFrom(child, steps, step + 1)) return found;
    }
    return {};
}

// True when the ancestors of `element` carry the leading steps of the path, all of them
// strictly below `scope`.
bool ancestorsMatch(Node element, Node scope, const std::vector<std::string_view>& steps) {
    Node node = element;
    for (size_t i = steps.size() - 1; i-- > 0;) {
        node = node.parent();
        if (node == scope || !elementNode(node) || !hasName(node, steps[i])) return false;
    }
    return true;
}

}  // namespace

// --- Document ------------------------------------------------------------------------------

Document::Document() = default;

bool Document::loadFile(const std::filesystem::path& path) {
    std::error_code error;
    std::ifstream in;
    if (std::filesystem::is_regular_file(path, error)) in.open(path, std::ios::binary);
    if (!in) {
        clear();
        return false;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        clear();
        return false;
    }
    return parse(bytes);
}

bool Document::parse(std::string_view text) {
    // pugixml accepts control characters, bad UTF-8, undefined entities and more; a document
    // holding them could be stored but never read again, so they are refused before parsing.
    // Text declared ISO-8859-1 is converted to UTF-8, the encoding every saved document has.
    const TextEncoding encoding = DeclaredEncoding(text);
    pugi::xml_parse_result result;
    if (IsWellFormedText(text, encoding))
        result = doc_.load_buffer(
            text.data(), text.size(), kParseOptions,
            encoding == TextEncoding::SingleByte ? pugi::encoding_latin1 : pugi::encoding_utf8);
    if (result && isWellFormed(doc_)) return true;
    clear();
    return false;
}

void Document::save(const std::filesystem::path& path) const {
    std::string bytes = serialize();
    try {
        writeFileAtomically(path, bytes);
    } catch (const PlatformError&) {
        throw;
    } catch (const std::exception& e) {
        throwXml("Cannot save the document to " + path.string() + ": " + e.what());
    }
}

std::string Document::serialize() const {
    return xml::serialize(doc_);
}

Node Document::root() const {
    return doc_.document_element();
}

// --- Walking -------------------------------------------------------------------------------

bool isElement(Node node) {
    return elementNode(node);
}

bool isElementNamed(Node node, std::string_view name) {
    return elementNode(node) && hasName(node, name);
}

namespace {

Node firstElementFrom(Node node) {
    while (node && !elementNode(node)) node = node.next_sibling();
    return node;
}

Node nextElementSibling(Node node) {
    return firstElementFrom(node.next_sibling());
}

}  // namespace

ElementChildren::Iterator::Iterator(Node current)
    : current_(current), next_(current ? nextElementSibling(current) : Node()) {}

ElementChildren::Iterator& ElementChildren::Iterator::operator++() {
    current_ = next_;
    next_ = current_ ? nextElementSibling(current_) : Node();
    return *this;
}

ElementChildren::Iterator ElementChildren::begin() const {
    return Iterator(firstElementFrom(parent_.first_child()));
}

ElementChildren elementChildren(Node node) {
    return ElementChildren(node);
}

std::vector<Node> descendantElements(Node scope) {
    std::vector<Node> found;
    forEachDescendant(scope, [&](Node node) {
        if (elementNode(node)) found.push_back(node);
    });
    return found;
}

Node firstDescendant(Node scope, std::string_view name) {
    for (Node node = nextInSubtree(scope, scope); node; node = nextInSubtree(node, scope)) {
        if (isElementNamed(node, name)) return node;
    }
    return {};
}

std::vector<Node> descendantsOrSelfNamed(Node scope, std::string_view name) {
    std::vector<Node> found;
    if (!scope || name.empty()) return found;
    // The XPath engine walks the nodes without a library call per node, which counts in a
    // document of a hundred thousand elements; its node set comes in document order.
    const pugi::xpath_query query(("descendant-or-self::" + std::string(name)).c_str());
    const pugi::xpath_node_set matches = query.evaluate_node_set(scope);
    found.reserve(matches.size());
    for (const pugi::xpath_node& match : matches) found.push_back(match.node());
    return found;
}

Node childNamed(Node parent, std::string_view name) {
    for (Node child : elementChildren(parent)) {
        if (hasName(child, name)) return child;
    }
    return {};
}

Node childWithAttribute(Node parent, std::string_view name, std::string_view value) {
    for (Node child : elementChildren(parent)) {
        if (attributeEquals(child, name, value)) return child;
    }
    return {};
}

// --- Free functions ------------------------------------------------------------------------

std::string serialize(Node node) {
    std::string out;
    if (node.type() == pugi::node_document) {
        for (Node child : node.children()) appendTree(out, child);
    } else if (node) {
        appendTree(out, node);
    }
    return out;
}

std::vector<Node> selectAll(Node scope, std::string_view path) {
    std::vector<Node> found;
    if (path.empty()) return found;
    std::vector<std::string_view> steps = splitPath(path);
    std::string_view name = steps.back();
    forEachDescendant(scope, [&](Node node) {
        if (elementNode(node) && hasName(node, name) && ancestorsMatch(node, scope, steps)) {
            found.push_back(node);
        }
    });
    return found;
}

Node selectFirst(Node scope, std::string_view path) {
    if (!scope || path.empty()) return {};
    return selectFirstFrom(scope, splitPath(path), 0);
}

bool hasChildNodes(Node node) {
    return static_cast<bool>(node.first_child());
}

std::vector<Node> childElements(Node node) {
    std::vector<Node> elements;
    for (Node child : elementChildren(node)) elements.push_back(child);
    return elements;
}

Node firstChildElement(Node node) {
    return childElementAt(node, 0);
}

Node childElementAt(Node node, size_t index) {
    for (Node child : node.children()) {
        if (elementNode(child) && index-- == 0) return child;
    }
    return {};
}

size_t childElementCount(Node node) {
    size_t count = 0;
    for (Node child : node.children()) count += elementNode(child) ? 1 : 0;
    return count;
}

std::string text(Node node) {
    if (node.type() != pugi::node_element && node.type() != pugi::node_document) {
        return node.value();
    }
    std::string out;
    forEachDescendant(node, [&](Node n) {
        if (isText(n)) out += n.value();
    });
    return out;
}

void assignText(Node node, std::string& out) {
    const Node only = node.first_child();
    if (!only) {
        out.clear();
    } else if (only.type() == pugi::node_pcdata && !only.next_sibling()) {
        out.assign(only.value());
    } else {
        out = text(node);
    }
}

void setText(Node node, std::string_view value) {
    requireNode(node);
    if (node.type() != pugi::node_element && node.type() != pugi::node_document) {
        node.set_value(value.data(), value.size());
        return;
    }
    node.remove_children();
    if (!value.empty()) node.append_child(pugi::node_pcdata).set_value(value.data(), value.size());
}

std::optional<std::string_view> attributeView(Node node, std::string_view name) {
    // pugixml finds an attribute by a terminated name in one call; rows of a change file are
    // read by the hundred thousand, and their attribute names are short (and, being the
    // callers' constants, never hold '\0').
    char terminated[64];
    pugi::xml_attribute found;
    if (name.size() < sizeof terminated) {
        std::memcpy(terminated, name.data(), name.size());
        terminated[name.size()] = '\0';
        found = node.attribute(terminated);
    } else {
        for (pugi::xml_attribute a : node.attributes()) {
            if (std::string_view(a.name()) == name) {
                found = a;
                break;
            }
        }
    }
    if (!found) return std::nullopt;
    return std::string_view(found.value());
}

std::optional<std::string> attribute(Node node, std::string_view name) {
    if (const auto value = attributeView(node, name)) return std::string(*value);
    return std::nullopt;
}

std::string_view attributeOrEmpty(Node node, std::string_view name) {
    return attributeView(node, name).value_or(std::string_view());
}

bool attributeEquals(Node node, std::string_view name, std::string_view value) {
    const auto found = attributeView(node, name);
    return found && *found == value;
}

std::string requireAttribute(Node node, std::string_view name) {
    std::optional<std::string> value = attribute(requireNode(node), name);
    if (!value) throw invalidUseOfNull();
    return *value;
}

void setAttribute(Node node, std::string_view name, std::string_view value) {
    requireNode(node);
    pugi::xml_attribute target;
    for (pugi::xml_attribute a : node.attributes()) {
        if (std::string_view(a.name()) == name) {
            target = a;
            break;
        }
    }
    if (!target) target = node.append_attribute(std::string(name).c_str());
    if (!target || !target.set_value(value.data(), value.size())) {
        throwXml("Cannot set the attribute " + std::string(name) + " here");
    }
}

Node requireNode(Node node) {
    if (!node) throw objectNotSet();
    return node;
}

Node appendElement(Node parent, std::string_view name) {
    requireNode(parent);
    // A document holds one root element; a second one could not be read back.
    if (parent.type() == pugi::node_document && firstChildElement(parent)) {
        throwXml("Only one top level element is allowed in an XML document");
    }
    Node element = parent.append_child(pugi::node_element);
    if (!element || !element.set_name(std::string(name).c_str())) {
        throwXml("This node cannot be inserted here");
    }
    return element;
}

Node appendCopy(Node parent, Node source) {
    requireNode(parent);
    requireNode(source);
    // A document holds one root element; a second one could not be read back.
    if (parent.type() == pugi::node_document && elementNode(source) && firstChildElement(parent)) {
        throwXml("Only one top level element is allowed in an XML document");
    }
    Node copy = parent.append_copy(source);
    if (!copy) throwXml("This node cannot be inserted here");
    return copy;
}

void removeChildren(Node node) {
    requireNode(node).remove_children();
}

void remove(Node node) {
    requireNode(node);
    Node parent = node.parent();
    if (!parent || !parent.remove_child(node)) throwXml("The node has no parent to remove it from");
}

}  // namespace platform::xml
