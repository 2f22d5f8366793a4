#pragma once
// The XML DOM of the platform, over pugixml. Nodes are pugixml nodes; this layer adds what the
// system relies on from the Windows DOM: loading that drops whitespace-only text, element
// selection by name and by "parent/child" path, and serialization byte for byte as that DOM
// writes it (no declaration added, <a/> for an empty element, attributes in double quotes with
// &, <, " escaped, text with &, <, > escaped). Callers walk and read nodes through the helpers
// below and never need pugixml's own types.
//
// Failures: load and parse report ill-formed input by returning false (the document is then
// empty); save throws PlatformError; the require* helpers throw PlatformError with the
// runtime's object errors, which is what script code meets on a missing node or attribute.
// Every other helper accepts a null node and answers "nothing" for it.
#include <filesystem>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace platform::xml {

using Node = pugi::xml_node;

// Hashes a node by identity, for maps keyed by node.
struct NodeHash {
    size_t operator()(Node node) const { return node.hash_value(); }
};

class Document {
  public:
    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Replaces the content with the file's document. False (and an empty document) when the
    // file is missing or not well-formed.
    bool loadFile(const std::filesystem::path& path);

    // Replaces the content with the parsed text. False (and an empty document) when the text
    // is not well-formed XML 1.0: besides the structure, a character XML cannot carry, bytes
    // that are not UTF-8, an undefined entity or a "<" in an attribute value. Text declared
    // ISO-8859-1 is read as such and held as UTF-8. A declaration, comments or whitespace before
    // the root are accepted.
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

    // Replaces the content with a deep copy of `other`'s content.
    void copyFrom(const Document& other) { doc_.reset(other.doc_); }

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

// True for an element (not text, a comment, a declaration or the document node).
bool isElement(Node node);
// True for an element of exactly that name.
bool isElementNamed(Node node, std::string_view name);

// The element children of a node, walked in order without copying them:
//   for (Node child : elementChildren(parent)) ...
// The walk looks one child ahead, so the body may remove the child it is given (and no other).
class ElementChildren {
  public:
    class Iterator {
      public:
        explicit Iterator(Node current);
        Node operator*() const { return current_; }
        Iterator& operator++();
        bool operator==(const Iterator& other) const { return current_ == other.current_; }

      private:
        Node current_;
        Node next_;
    };

    explicit ElementChildren(Node parent) : parent_(parent) {}
    Iterator begin() const;
    Iterator end() const { return Iterator(Node()); }

  private:
    Node parent_;
};
ElementChildren elementChildren(Node node);

// True when the node has any child node (text included), as the DOM's hasChildNodes.
bool hasChildNodes(Node node);

// Element children (no text, comment or declaration nodes), in order, as a list taken before
// the caller changes anything.
std::vector<Node> childElements(Node node);
Node firstChildElement(Node node);
// The child element at `index` (0-based) or a null node.
Node childElementAt(Node node, size_t index);
size_t childElementCount(Node node);

// Every element below `scope` (the scope itself excluded), in document order.
std::vector<Node> descendantElements(Node scope);
// The first element named `name` below `scope` (the scope itself excluded), in document order;
// a null node when there is none. Walks without recursion, whatever the depth.
Node firstDescendant(Node scope, std::string_view name);
// Every element named `name` in the subtree of `scope`, the scope itself included, in document
// order. Built for large documents (a change file of many thousand rows).
std::vector<Node> descendantsOrSelfNamed(Node scope, std::string_view name);

// The first child element named `name`; a null node when there is none.
Node childNamed(Node parent, std::string_view name);
// The first child element whose attribute `name` equals `value` exactly; a null node when none.
Node childWithAttribute(Node parent, std::string_view name, std::string_view value);

// Concatenated text of all descendant text and CDATA nodes.
std::string text(Node node);
// Puts text(node) into `out`, reusing its buffer; a node holding one text node is read without
// building the text up piece by piece (change files are read by the hundred thousand rows).
void assignText(Node node, std::string& out);
// Replaces the node's children with one text node holding `value` (none for empty text).
void setText(Node node, std::string_view value);

// The attribute's value; nullopt when the node is null or lacks it.
std::optional<std::string> attribute(Node node, std::string_view name);
// The attribute's value without a copy (valid while the node and its attribute live); nullopt
// when the node is null or lacks it.
std::optional<std::string_view> attributeView(Node node, std::string_view name);
// The attribute's value, or the empty text when it is missing (as concatenation reads it).
std::string_view attributeOrEmpty(Node node, std::string_view name);
// True when the node has the attribute and its value equals `value` exactly.
bool attributeEquals(Node node, std::string_view name, std::string_view value);
// The attribute's value; throws kInvalidUseOfNull when it is missing and kObjectNotSet for a
// null node.
std::string requireAttribute(Node node, std::string_view name);
// Adds or changes an attribute (kObjectNotSet for a null node).
void setAttribute(Node node, std::string_view name, std::string_view value);

// Throws kObjectNotSet when the node is null; returns it otherwise.
Node requireNode(Node node);

// Appends a new empty element as the last child of `parent` and returns it (kObjectNotSet for
// a null parent).
Node appendElement(Node parent, std::string_view name);

// Appends a deep copy of `source` as the last child of `parent` and returns the copy.
Node appendCopy(Node parent, Node source);

// Removes every child node (kObjectNotSet for a null node).
void removeChildren(Node node);

// Removes the node from its parent (kObjectNotSet for a null node).
void remove(Node node);

}  // namespace platform::xml
