#pragma once
// The XML DOM of the platform, over pugixml. Nodes are pugixml nodes; this layer adds what the
// system relies on from the original DOM: loading that drops whitespace-only text, element
// selection by name and by "parent/child" path, and serialization byte for byte as that DOM
// wrote it (no declaration added, <a/> for an empty element, attributes in double quotes with
// &, <, " escaped, text with &, <, > escaped).
//
// Failures: load and parse report ill-formed input by returning false (the document is then
// empty); save throws PlatformError; the require* helpers throw PlatformError with the
// runtime's object errors, which is what the original code met on a missing node or attribute.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace platform::xml {

using Node = pugi::xml_node;

class Document {
public:
    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Replaces the content with the file's document. False (and an empty document) when the
    // file is missing or not well-formed.
    bool loadFile(const std::filesystem::path& path);

    // Replaces the content with the parsed text. False (and an empty document) when the text
    // is not well-formed. A declaration, comments or whitespace before the root are accepted.
    bool parse(std::string_view text);

    // Writes the serialization atomically. Throws PlatformError when the file cannot be written.
    void save(const std::filesystem::path& path) const;

    // The document's markup as the platform DOM writes it; empty text for an empty document.
    std::string serialize() const;

    // The root element, or a null node for an empty document.
    Node root() const;

    // The document node itself (parent of the root element).
    Node node() const { return doc_; }

    void clear() { doc_.reset(); }
    bool empty() const { return !root(); }

    pugi::xml_document& native() { return doc_; }

private:
    pugi::xml_document doc_;
};

// Outer markup of one node, as the DOM's "xml" property gives it.
std::string serialize(Node node);

// Every element matching `path` anywhere below `scope` (the scope itself excluded), in
// document order. `path` is an element name ("record") or a "parent/child" pair
// ("ccsocservcordr/record"): elements named as the child whose parent is named as the parent.
// The parent, too, lies below `scope`, as with the DOM's ".//parent/child".
std::vector<Node> selectAll(Node scope, std::string_view path);

// The first node reached by following the path's names as child steps from `scope`
// ("zudivevezored/ccsocservcordr" from the document node); a null node when there is none.
Node selectFirst(Node scope, std::string_view path);

// Element children (no text, comment or declaration nodes), in order.
std::vector<Node> childElements(Node node);
Node firstChildElement(Node node);
// The child element at `index` (0-based) or a null node.
Node childElementAt(Node node, size_t index);
size_t childElementCount(Node node);

// Concatenated text of all descendant text and CDATA nodes.
std::string text(Node node);
// Replaces the node's children with one text node holding `value` (none for empty text).
void setText(Node node, std::string_view value);

// The attribute's value; nullopt when the node is null or lacks it.
std::optional<std::string> attribute(Node node, std::string_view name);
// The attribute's value; throws kInvalidUseOfNull when it is missing and kObjectNotSet for a
// null node.
std::string requireAttribute(Node node, std::string_view name);
// Adds or changes an attribute (kObjectNotSet for a null node).
void setAttribute(Node node, std::string_view name, std::string_view value);

// Throws kObjectNotSet when the node is null; returns it otherwise.
Node requireNode(Node node);

// Appends a deep copy of `source` as the last child of `parent` and returns the copy.
Node appendCopy(Node parent, Node source);

// Removes the node from its parent (kObjectNotSet for a null node).
void remove(Node node);

}  // namespace platform::xml
