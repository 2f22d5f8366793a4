#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/xml/document.h"
#include "tests/support/failure_code.h"
#include "tests/support/temp_root.h"

namespace platform::xml {
namespace {

using testing_support::failureCodeOf;

const std::string kInitialStore =
    "<zudivevezored><ccsocservcordr/><ccsocservcactv/><ccsocservcmatl/><ccsocservclabr/>"
    "<ccsocservcothr/><ccsocservchra/></zudivevezored>";

std::string reparsed(const std::string& text) {
    Document doc;
    EXPECT_TRUE(doc.parse(text)) << text;
    return doc.serialize();
}

// Names and "id" attributes of the nodes, to compare selections in one assertion.
std::vector<std::string> ids(const std::vector<Node>& nodes) {
    std::vector<std::string> out;
    for (Node n : nodes) out.push_back(std::string(n.name()) + attribute(n, "id").value_or(""));
    return out;
}

TEST(XmlSerialize, RoundTripsTheInitialStoreByteForByte) {
    Document doc;
    ASSERT_TRUE(doc.parse(kInitialStore));
    EXPECT_EQ(doc.serialize(), kInitialStore);
    EXPECT_EQ(std::string(doc.root().name()), "zudivevezored");
    EXPECT_EQ(childElementCount(doc.root()), 6u);
}

TEST(XmlSerialize, WritesTheOriginalFormat) {
    // Empty elements collapse, attributes keep their order and take double quotes.
    EXPECT_EQ(reparsed("<a  y='1'   x=\"2\" ></a>"), "<a y=\"1\" x=\"2\"/>");
    // Attributes escape &, < and " but not >; text escapes &, < and > but not quotes.
    EXPECT_EQ(reparsed("<a v=\"&amp;&lt;&gt;&quot;'\">&amp;&lt;&gt;&quot;'</a>"),
              "<a v=\"&amp;&lt;>&quot;'\">&amp;&lt;&gt;\"'</a>");
    EXPECT_EQ(reparsed("<a><![CDATA[<b>&]]><!-- x --></a>"), "<a><![CDATA[<b>&]]></a>");
    // Characters that are not markup pass unchanged.
    EXPECT_EQ(reparsed("<a n=\"\xC3\xA9\">\xC3\xBF</a>"), "<a n=\"\xC3\xA9\">\xC3\xBF</a>");
}

TEST(XmlSerialize, WritesBuiltNodesAndSingleNodes) {
    Document doc;
    ASSERT_TRUE(doc.parse("<r><a/></r>"));
    Node a = firstChildElement(doc.root());
    setAttribute(a, "q", "\"<&>");
    setText(a, "x < y & \"z\"");
    a.append_child(pugi::node_comment).set_value(" note ");
    a.append_child(pugi::node_cdata).set_value("a]]>b");
    const std::string expected =
        "<a q=\"&quot;&lt;&amp;>\">x &lt; y &amp; \"z\"<!-- note "
        "--><![CDATA[a]]]]><![CDATA[>b]]></a>";
    EXPECT_EQ(serialize(a), expected);
    EXPECT_EQ(doc.serialize(), "<r>" + expected + "</r>");
    EXPECT_EQ(serialize(doc.node()), doc.serialize());
    EXPECT_EQ(serialize(Node()), "");

    // The split section reads back as the text it was given.
    Document back;
    ASSERT_TRUE(back.parse(doc.serialize()));
    EXPECT_EQ(text(back.root()), "x < y & \"z\"a]]>b");
}

TEST(XmlSerialize, HandlesDeepNestingWithoutRecursion) {
    const int depth = 200000;
    std::string markup;
    for (int i = 0; i < depth; ++i) markup += "<e>";
    markup += "x";
    for (int i = 0; i < depth; ++i) markup += "</e>";
    Document doc;
    ASSERT_TRUE(doc.parse(markup));
    EXPECT_EQ(doc.serialize(), markup);
    EXPECT_EQ(text(doc.node()), "x");
    EXPECT_EQ(selectAll(doc.node(), "e/e").size(), size_t(depth - 1));
}

TEST(XmlLoad, DropsOnlyWhitespaceOnlyText) {
    EXPECT_EQ(reparsed("<a>\r\n  <b> x </b>\n\t<c>  </c>\n</a>"), "<a><b> x </b><c/></a>");
}

TEST(XmlLoad, AcceptsDeclarationCommentsAndWhitespaceBeforeTheRoot) {
    Document doc;
    ASSERT_TRUE(
        doc.parse("\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n"
                  "<!-- store -->\n  <s><t>\xC3\xA9</t></s>\n<!-- end -->\n"));
    EXPECT_EQ(std::string(doc.root().name()), "s");
    // The declaration is not written.
    EXPECT_EQ(doc.serialize(), "<s><t>\xC3\xA9</t></s>");
}

// A document declared ISO-8859-1 is held, and saved, as UTF-8: the saved file must parse again.
TEST(XmlLoad, ReadsSingleByteTextAsDeclared) {
    Document doc;
    ASSERT_TRUE(
        doc.parse("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><s a=\"\xE9\">\xE9\xFF</s>"));
    EXPECT_EQ(doc.serialize(), "<s a=\"\xC3\xA9\">\xC3\xA9\xC3\xBF</s>");
    Document again;
    EXPECT_TRUE(again.parse(doc.serialize()));
    // Control characters stay illegal in any encoding.
    EXPECT_FALSE(doc.parse("<?xml version='1.0' encoding='latin1'?><s>\x01</s>"));
}

TEST(XmlLoad, RefusesWhatXmlCannotCarry) {
    for (const std::string& bad : std::vector<std::string>{"<a>a\x01"
                                                           "b</a>",
                                                           "<a>\x0b</a>",
                                                           std::string("<a>\0</a>", 8),
                                                           "<a b=\"\x1f\"/>",
                                                           "<a>\xE9</a>",
                                                           "<a>\xC3</a>",
                                                           "<a>\xC0\x80</a>",
                                                           "<a>\xED\xA0\x80</a>",
                                                           "<a>\xEF\xBF\xBE</a>",
                                                           "<a>\xF4\x90\x80\x80</a>",
                                                           "<a\xFF/>",
                                                           "<a b=\"<\"/>",
                                                           "<a b='x<y'/>",
                                                           "<a>]]></a>",
                                                           "<a>x]]>y</a>",
                                                           "<a>&undefined;</a>",
                                                           "<a>&nbsp;</a>",
                                                           "<a>a & b</a>",
                                                           "<a b=\"&x\"/>",
                                                           "<a>&;</a>",
                                                           "<a>&#1;</a>",
                                                           "<a>&#xD800;</a>",
                                                           "<a>&#xFFFE;</a>",
                                                           "<a>&#x110000;</a>",
                                                           "<a>&#99999999999;</a>",
                                                           "<a>&#x;</a>",
                                                           "<a>&#12a;</a>",
                                                           "<a b=\"&#0;\"/>",
                                                           "<a><!-- a -- b --></a>",
                                                           "<a><!-- a ---></a>",
                                                           "<a b=\"1\"c=\"2\"/>",
                                                           "<a><![CDATA[\x02]]></a>",
                                                           "<a><?pi \x02?></a>",
                                                           "<!-- \x02 --><a/>"}) {
        Document doc;
        ASSERT_TRUE(doc.parse(kInitialStore));
        EXPECT_FALSE(doc.parse(bad)) << bad;
        EXPECT_TRUE(doc.empty()) << bad;
    }
}

TEST(XmlLoad, AcceptsEverythingXmlAllows) {
    for (const std::string good :
         {"<a>&lt;&gt;&amp;&apos;&quot;</a>", "<a b=\"&#9;&#x10FFFF;&#xd7ff;\"/>",
          "<a>\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBD\x7F</a>", "<a>]] ] ]> x</a>",
          "<a b='>]]>'/>", "<a><![CDATA[<&]]]]></a>", "<a><!-- <&]]> - --></a>",
          "<a><?pi <& ? ?></a>", "<a\tb='1'\nc='2'\r/>", "<!DOCTYPE a [<!ELEMENT a ANY>]><a/>",
          "<a>\t\r\n</a>"}) {
        Document doc;
        EXPECT_TRUE(doc.parse(good)) << good;
    }
}

TEST(XmlLoad, RefusesIllFormedInputAndLeavesTheDocumentEmpty) {
    for (const char* bad : {"", "   ", "<a>", "<a></b>", "<a/></a>", "<a/><b/>", "junk<a/>",
                            "<a/>junk", "<a/>&amp;", "<![CDATA[x]]><a/>", "<a b='1' b='2'/>",
                            "<a x=1/>", "<a/><", "<!-- only a comment -->"}) {
        Document doc;
        ASSERT_TRUE(doc.parse(kInitialStore));
        EXPECT_FALSE(doc.parse(bad)) << bad;
        EXPECT_TRUE(doc.empty()) << bad;
        EXPECT_EQ(doc.serialize(), "") << bad;
    }
}

TEST(XmlLoad, LoadsFilesAndRefusesMissingOnes) {
    testing_support::TempRoot temp;
    const auto path = temp.dir() / "store.xml";
    testing_support::writeFile(path, "<?xml version=\"1.0\"?>\n" + kInitialStore + "\n");
    Document doc;
    ASSERT_TRUE(doc.loadFile(path));
    EXPECT_EQ(doc.serialize(), kInitialStore);

    EXPECT_FALSE(doc.loadFile(temp.dir() / "missing.xml"));
    EXPECT_TRUE(doc.empty());
    ASSERT_TRUE(doc.loadFile(path));
    EXPECT_FALSE(doc.loadFile(temp.dir()));  // a folder is no document
    EXPECT_TRUE(doc.empty());
}

TEST(XmlSave, WritesExactlyTheSerializationAndReplacesTheFile) {
    testing_support::TempRoot temp;
    const auto folder = temp.dir() / "out";
    const auto path = folder / "store.xml";
    testing_support::writeFile(path, "old content that is longer than the new one...........");
    Document doc;
    ASSERT_TRUE(doc.parse("<s a=\"&quot;\">t &amp; u</s>"));
    doc.save(path);
    EXPECT_EQ(testing_support::readFile(path), doc.serialize());
    // Nothing is left beside the file (no temporary copy).
    std::vector<std::filesystem::path> entries;
    for (const auto& e : std::filesystem::directory_iterator(folder)) entries.push_back(e.path());
    EXPECT_EQ(entries, std::vector<std::filesystem::path>{path});
}

TEST(XmlSave, ThrowsWhenTheFolderIsMissing) {
    testing_support::TempRoot temp;
    Document doc;
    ASSERT_TRUE(doc.parse(kInitialStore));
    EXPECT_THROW(doc.save(temp.dir() / "nowhere" / "store.xml"), PlatformError);
    EXPECT_FALSE(std::filesystem::exists(temp.dir() / "nowhere"));
}

class XmlSelect : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(doc.parse(
            "<r id='0'><p id='1'><c id='2'/><p id='3'><c id='4'/></p><x><c id='5'/></x></p>"
            "<c id='6'/><p id='7'><C id='8'/><c id='9'/></p></r>"));
    }
    Document doc;
};

TEST_F(XmlSelect, SelectAllFindsMatchesInDocumentOrderBelowTheScope) {
    EXPECT_EQ(ids(selectAll(doc.node(), "c")),
              (std::vector<std::string>{"c2", "c4", "c5", "c6", "c9"}));
    EXPECT_EQ(ids(selectAll(doc.node(), "p/c")), (std::vector<std::string>{"c2", "c4", "c9"}));
    EXPECT_EQ(ids(selectAll(doc.node(), "r/p")), (std::vector<std::string>{"p1", "p7"}));
    // The scope is neither a match nor the parent of one.
    Node p1 = childElementAt(doc.root(), 0);
    EXPECT_EQ(ids(selectAll(p1, "p")), (std::vector<std::string>{"p3"}));
    EXPECT_EQ(ids(selectAll(p1, "p/c")), (std::vector<std::string>{"c4"}));
    EXPECT_TRUE(selectAll(doc.node(), "q/c").empty());
    EXPECT_TRUE(selectAll(Node(), "c").empty());
}

TEST_F(XmlSelect, SelectFirstFollowsChildStepsToTheFirstCompletePath) {
    EXPECT_EQ(ids({selectFirst(doc.node(), "r/p/c")}), (std::vector<std::string>{"c2"}));
    // The first p has no x child, so the path continues through the second.
    EXPECT_EQ(ids({selectFirst(doc.node(), "r/p/x/c")}), (std::vector<std::string>{"c5"}));
    EXPECT_EQ(ids({selectFirst(doc.root(), "p/C")}), (std::vector<std::string>{"C8"}));
    EXPECT_FALSE(selectFirst(doc.node(), "p/c"));  // child steps only, not descendants
    EXPECT_FALSE(selectFirst(doc.node(), "r/p/c/c"));
    EXPECT_FALSE(selectFirst(Node(), "r"));
}

TEST_F(XmlSelect, ChildElementHelpersSkipOtherNodes) {
    Node p7 = childElementAt(doc.root(), 2);
    p7.prepend_child(pugi::node_pcdata).set_value("t");
    EXPECT_EQ(childElementCount(p7), 2u);
    EXPECT_EQ(ids(childElements(p7)), (std::vector<std::string>{"C8", "c9"}));
    EXPECT_EQ(ids({firstChildElement(p7)}), (std::vector<std::string>{"C8"}));
    EXPECT_FALSE(childElementAt(p7, 2));
    EXPECT_FALSE(firstChildElement(childElementAt(p7, 1)));
}

TEST_F(XmlSelect, ElementChildrenWalkLazilyAndSurviveRemovingTheCurrentChild) {
    Node p1 = childElementAt(doc.root(), 0);
    p1.prepend_child(pugi::node_comment).set_value("skipped");
    std::vector<Node> walked;
    for (Node child : elementChildren(p1)) walked.push_back(child);
    EXPECT_EQ(ids(walked), (std::vector<std::string>{"c2", "p3", "x"}));
    EXPECT_EQ(elementChildren(Node()).begin(), elementChildren(Node()).end());

    for (Node child : elementChildren(p1)) remove(child);
    EXPECT_EQ(serialize(p1), "<p id=\"1\"><!--skipped--></p>");
}

TEST_F(XmlSelect, DescendantSearchesKeepDocumentOrder) {
    EXPECT_EQ(ids(descendantElements(childElementAt(doc.root(), 0))),
              (std::vector<std::string>{"c2", "p3", "c4", "x", "c5"}));
    EXPECT_EQ(ids({firstDescendant(doc.node(), "c")}), (std::vector<std::string>{"c2"}));
    EXPECT_EQ(ids({firstDescendant(doc.root(), "x")}), (std::vector<std::string>{"x"}));
    EXPECT_FALSE(firstDescendant(doc.node(), "r/p"));
    EXPECT_FALSE(firstDescendant(childElementAt(doc.root(), 1), "c"));  // the scope is no match
    // Unlike selectAll, the scope itself counts.
    EXPECT_EQ(ids(descendantsOrSelfNamed(childElementAt(doc.root(), 0), "p")),
              (std::vector<std::string>{"p1", "p3"}));
    EXPECT_EQ(ids(descendantsOrSelfNamed(doc.node(), "C")), (std::vector<std::string>{"C8"}));
    EXPECT_TRUE(descendantsOrSelfNamed(Node(), "c").empty());
}

TEST(XmlEdit, TextAndSetText) {
    Document doc;
    ASSERT_TRUE(doc.parse("<a>one <b>two<![CDATA[ & three]]></b><c/></a>"));
    EXPECT_EQ(text(doc.root()), "one two & three");
    EXPECT_EQ(text(doc.root().first_child()), "one ");
    setText(doc.root(), "new");
    EXPECT_EQ(doc.serialize(), "<a>new</a>");
    setText(doc.root(), "");
    EXPECT_EQ(doc.serialize(), "<a/>");
    EXPECT_EQ(failureCodeOf([] { setText(Node(), "x"); }), failure::kObjectNotSet);
}

TEST(XmlEdit, AppendCopyAcrossDocumentsAndRemove) {
    Document source;
    ASSERT_TRUE(source.parse("<rec id=\"1\"><f>v</f></rec>"));
    Document store;
    ASSERT_TRUE(store.parse(kInitialStore));
    Node orders = selectFirst(store.node(), "zudivevezored/ccsocservcordr");
    Node copy = appendCopy(orders, source.root());
    source.clear();  // the copy does not depend on its source
    setAttribute(copy, "id", "2");
    appendCopy(orders, copy);
    EXPECT_EQ(serialize(orders),
              "<ccsocservcordr><rec id=\"2\"><f>v</f></rec><rec id=\"2\"><f>v</f></rec>"
              "</ccsocservcordr>");

    remove(firstChildElement(orders));
    remove(firstChildElement(orders));
    EXPECT_EQ(store.serialize(), kInitialStore);

    EXPECT_EQ(failureCodeOf([&] { remove(Node()); }), failure::kObjectNotSet);
    EXPECT_EQ(failureCodeOf([&] { appendElement(Node(), "x"); }), failure::kObjectNotSet);
    EXPECT_EQ(failureCodeOf([&] { appendElement(store.node(), "second"); }), failure::kXml);
    EXPECT_EQ(failureCodeOf([&] { appendCopy(Node(), orders); }), failure::kObjectNotSet);
    // A second root element could not be read back.
    EXPECT_EQ(failureCodeOf([&] { appendCopy(store.node(), orders); }), failure::kXml);
}

TEST(XmlEdit, BuildElementsAndEmptyThem) {
    Document doc;
    Node group = appendElement(doc.node(), "g");
    setAttribute(appendElement(group, "a"), "id", "1");
    appendElement(group, "b").append_child(pugi::node_pcdata).set_value("t");
    EXPECT_EQ(doc.serialize(), "<g><a id=\"1\"/><b>t</b></g>");
    EXPECT_EQ(serialize(childNamed(group, "b")), "<b>t</b>");
    EXPECT_FALSE(childNamed(group, "c"));

    std::string value = "old";
    assignText(childNamed(group, "b"), value);
    EXPECT_EQ(value, "t");
    assignText(childNamed(group, "a"), value);
    EXPECT_EQ(value, "");

    EXPECT_TRUE(hasChildNodes(group));
    removeChildren(group);
    EXPECT_FALSE(hasChildNodes(group));
    EXPECT_EQ(doc.serialize(), "<g/>");
}

TEST(XmlAttributes, ReadAndWriteWithTheRuntimeErrors) {
    Document doc;
    ASSERT_TRUE(doc.parse("<a x=\"1\" empty=\"\"/>"));
    Node a = doc.root();
    EXPECT_EQ(attribute(a, "x"), "1");
    EXPECT_EQ(attribute(a, "empty"), "");
    EXPECT_EQ(attribute(a, "X"), std::nullopt);
    EXPECT_EQ(attribute(Node(), "x"), std::nullopt);
    EXPECT_EQ(requireAttribute(a, "empty"), "");

    EXPECT_EQ(failureCodeOf([&] { requireAttribute(a, "missing"); }), failure::kInvalidUseOfNull);
    EXPECT_EQ(failureCodeOf([] { requireAttribute(Node(), "x"); }), failure::kObjectNotSet);
    EXPECT_EQ(failureCodeOf([] { setAttribute(Node(), "x", "1"); }), failure::kObjectNotSet);
    EXPECT_EQ(failureCodeOf([] { requireNode(Node()); }), failure::kObjectNotSet);

    setAttribute(a, "x", "2");
    setAttribute(a, "new", "3");
    EXPECT_EQ(doc.serialize(), "<a x=\"2\" empty=\"\" new=\"3\"/>");
}

TEST(XmlAttributes, ViewsComparisonsAndChildLookUpReadMissingAsNothing) {
    Document doc;
    ASSERT_TRUE(doc.parse("<g><r k=\"1\"/>text<r k=\"2\" e=\"\"/><r k=\"2\" n=\"second\"/></g>"));
    const Node second = childWithAttribute(doc.root(), "k", "2");
    EXPECT_EQ(attributeView(second, "e"), std::string_view());
    EXPECT_EQ(attributeView(second, "n"), std::nullopt);
    EXPECT_EQ(attributeOrEmpty(second, "n"), "");
    EXPECT_EQ(attributeOrEmpty(childElementAt(doc.root(), 2), "n"), "second");
    EXPECT_TRUE(attributeEquals(second, "e", ""));
    EXPECT_FALSE(attributeEquals(second, "n", ""));  // missing is not empty
    EXPECT_FALSE(attributeEquals(Node(), "k", ""));
    EXPECT_FALSE(childWithAttribute(doc.root(), "k", "3"));
    EXPECT_FALSE(childWithAttribute(Node(), "k", "1"));
    EXPECT_TRUE(isElementNamed(second, "r"));
    EXPECT_FALSE(isElementNamed(doc.node(), ""));
    EXPECT_FALSE(isElement(doc.root().first_child().next_sibling()));
}

TEST(XmlDocument, CopyFromTakesADeepCopy) {
    Document source;
    ASSERT_TRUE(source.parse(kInitialStore));
    Document copy;
    copy.copyFrom(source);
    source.clear();
    EXPECT_EQ(copy.serialize(), kInitialStore);
}

}  // namespace
}  // namespace platform::xml
