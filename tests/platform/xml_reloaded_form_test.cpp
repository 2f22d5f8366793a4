#include <gtest/gtest.h>

#include "platform/xml/reloaded_form.h"

namespace platform::xml {
namespace {

// What a kept document holds after a save must be what loading the saved bytes gives.
TEST(ReloadedForm, AKeptDocumentEqualsItsReloadedSerialization) {
    Document document;
    ASSERT_TRUE(document.parse("<a><b>x</b><c/><d k=\"v\"/></a>"));
    const Node root = document.root();
    setText(firstChildElement(root), "  ");  // blanks only: loading drops them
    setText(childNamed(root, "c"), "one\r\ntwo\rthree");
    setAttribute(childNamed(root, "d"), "k", "tab\there\r\nline");
    appendElement(root, "e").append_child(pugi::node_pcdata).set_value("\n\t");

    Document reloaded;
    ASSERT_TRUE(reloaded.parse(document.serialize()));
    bringIntoReloadedForm(document.node());
    EXPECT_EQ(document.serialize(), reloaded.serialize());
    EXPECT_EQ(document.serialize(),
              "<a><b/><c>one\ntwo\nthree</c><d k=\"tab here line\"/><e/></a>");
}

}  // namespace
}  // namespace platform::xml
