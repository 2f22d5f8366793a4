#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ComponentMachine;
using testing_support::text;

class Labels : public ::testing::Test {
  protected:
    void SetUp() override { machine.call("Initialize"); }
    std::string label(const std::string& key) {
        return machine.callText("GetI18NString", {text(key)});
    }
    quillmere::CallOutcome lookup(const std::string& key) {
        return machine.invoke("GetI18NString", {text(key)});
    }

    ComponentMachine machine;
};

TEST_F(Labels, FirstEntryWithTheExactKeyWins) {
    machine.installFieldMapper(
        "<FieldMapper><I18N>"
        "<TEXT ID=\"SLBEU0262\" DESCRIPTION=\"first\"/>"
        "<OTHER ID=\"SLBEU0262\" DESCRIPTION=\"second\"/>"
        "<TEXT ID=\"slbeu0263\" DESCRIPTION=\"lower case key\"/>"
        "<TEXT ID=\"SLBEU0264\" DESCRIPTION=\"  a &amp; b \"/>"
        "</I18N></FieldMapper>");
    EXPECT_EQ(label("SLBEU0262"), "first");
    EXPECT_EQ(label("SLBEU0263"), "");
    EXPECT_EQ(label("slbeu0263"), "lower case key");
    EXPECT_EQ(label("SLBEU0264"), "  a & b ");
    EXPECT_EQ(label("SLBEU0264 "), "");
    EXPECT_EQ(label("SLBEU9999"), "");
    EXPECT_EQ(label(""), "");
}

TEST_F(Labels, DeliveredDocumentAnswersItsTexts) {
    machine.installFieldMapper();
    EXPECT_EQ(label("SLBEU0262"), testing_support::labelText("SLBEU0262"));
    EXPECT_FALSE(label("SLBEU0262").empty());
}

TEST_F(Labels, MissingOrIllFormedDocumentGivesEmptyTexts) {
    EXPECT_EQ(label("SLBEU0262"), "");
    machine.installFieldMapper(
        "<FieldMapper><I18N><TEXT ID=\"SLBEU0262\" DESCRIPTION=\"x\"/></I18N>");
    EXPECT_EQ(label("SLBEU0262"), "");
}

TEST_F(Labels, SectionIsTheFirstI18NElementAnywhere) {
    machine.installFieldMapper(
        "<FieldMapper><texts><I18N><TEXT ID=\"A\" DESCRIPTION=\"nested\"/></I18N></texts>"
        "<I18N><TEXT ID=\"B\" DESCRIPTION=\"second section\"/></I18N></FieldMapper>");
    EXPECT_EQ(label("A"), "nested");
    EXPECT_EQ(label("B"), "");
}

TEST_F(Labels, DocumentWithoutI18NFailsTheCall) {
    machine.installFieldMapper("<FieldMapper><ccsocservcordr/></FieldMapper>");
    const auto outcome = lookup("SLBEU0262");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.code, platform::failure::kObjectNotSet);
}

TEST_F(Labels, EntryWithoutIdOrDescriptionFailsWhenTheWalkReachesIt) {
    machine.installFieldMapper(
        "<FieldMapper><I18N><TEXT ID=\"A\" DESCRIPTION=\"a\"/><TEXT DESCRIPTION=\"no id\"/>"
        "<TEXT ID=\"C\" DESCRIPTION=\"c\"/></I18N></FieldMapper>");
    EXPECT_EQ(label("A"), "a");
    EXPECT_FALSE(lookup("C").succeeded);
    EXPECT_FALSE(lookup("missing").succeeded);

    machine.installFieldMapper("<FieldMapper><I18N><TEXT ID=\"A\"/></I18N></FieldMapper>");
    EXPECT_FALSE(lookup("A").succeeded);
}

TEST_F(Labels, ChangedDocumentIsReadAgain) {
    // Rewritten in place with the same length, at once: still a new document.
    const std::string before =
        "<FieldMapper><I18N><TEXT ID=\"A\" DESCRIPTION=\"before\"/></I18N></FieldMapper>";
    const std::string after =
        "<FieldMapper><I18N><TEXT ID=\"A\" DESCRIPTION=\"after!\"/></I18N></FieldMapper>";
    for (int round = 0; round < 20; ++round) {
        machine.installFieldMapper(before);
        ASSERT_EQ(label("A"), "before");
        machine.installFieldMapper(after);
        ASSERT_EQ(label("A"), "after!") << "round " << round;
    }
    fs::remove(machine.installPath("FieldMapper.xml"));
    EXPECT_EQ(label("A"), "");
}

}  // namespace
