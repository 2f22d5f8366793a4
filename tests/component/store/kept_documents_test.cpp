// A resident instance keeps the parsed store between calls only while the file is the one it
// parsed or saved, and never keeps what a call changed in memory without saving.
#include <gmock/gmock.h>

#include "platform/text_file.h"
#include "tests/component/store/record_changes_fixture.h"
#include "tests/support/file_size_limit.h"

namespace {

using namespace record_changes;
using testing::HasSubstr;
using testing::Not;

std::string updateRequest(const std::string& number, const std::string& remarks) {
    return "<ccsocservcordr>" + order(number, "X", "15", "<Remarks>" + remarks + "</Remarks>") +
           "</ccsocservcordr>";
}

std::string storeOf(const std::vector<std::string>& numbers, const std::string& remarks) {
    std::string orders;
    for (const std::string& number : numbers)
        orders += order(number, "O", "15", "<Remarks>" + remarks + "</Remarks>");
    return store({.orders = orders});
}

class KeptDocumentsTest : public RecordChangesTest {
  protected:
    void SetUp() override {
        RecordChangesTest::SetUp();
        machine.session().state.keepDocuments = true;
    }
    const quillmere::KeptFile& kept() { return machine.session().state.orderStoreFile; }
    std::filesystem::path storePath() const { return machine.installPath("ZudivevEzored.xml"); }
};

TEST_F(KeptDocumentsTest, ASavedStoreIsKeptWithTheIdentityOfItsFile) {
    writeStore(storeOf({"1001"}, "old"));
    EXPECT_EQ(callText("updatexml", {updateRequest("1001", "first")}), "");
    ASSERT_TRUE(kept().identity);
    EXPECT_EQ(kept().identity, quillmere::IdentityOf(storePath()));
    EXPECT_EQ(callText("updatexml", {updateRequest("1001", "second")}), "");
    EXPECT_EQ(kept().identity, quillmere::IdentityOf(storePath()));
    EXPECT_THAT(storeFile(), HasSubstr("<Remarks>second</Remarks>"));
}

TEST_F(KeptDocumentsTest, AFileChangedByAnotherProcessBetweenCallsIsSeen) {
    writeStore(storeOf({"1001"}, "old"));
    EXPECT_EQ(callText("updatexml", {updateRequest("1001", "mine")}), "");

    // Replaced as another process's save replaces it.
    platform::writeFileAtomically(storePath(), storeOf({"1001", "2002"}, "theirs"));
    EXPECT_EQ(callText("updatexml", {updateRequest("2002", "mine too")}), "");
    EXPECT_THAT(storeFile(), HasSubstr("<Remarks>theirs</Remarks>"));
    EXPECT_THAT(storeFile(), HasSubstr("<Remarks>mine too</Remarks>"));

    // Written in place, as a hand edit does.
    writeStore(storeOf({"3003"}, "edited by hand"));
    EXPECT_EQ(callText("updatexml", {updateRequest("3003", "after the edit")}), "");
    EXPECT_THAT(storeFile(), Not(HasSubstr("2002")));
}

TEST_F(KeptDocumentsTest, ARefusedChangeKeepsNothingOfWhatItLoaded) {
    writeStore(storeOf({"1001"}, "old"));
    EXPECT_EQ(callText("updatexml", {updateRequest("1001", "first")}), "");
    ASSERT_TRUE(kept().identity);
    EXPECT_NE(callText("updatexml", {updateRequest("9999", "nobody")}), "");
    EXPECT_FALSE(kept().identity);
    // Views only read: what they load stays kept.
    EXPECT_EQ(callText("updatexml", {updateRequest("1001", "second")}), "");
    callText("ListOrders");
    EXPECT_TRUE(kept().identity);
}

TEST_F(KeptDocumentsTest, ChangesOfACallWhoseSaveFailedAreNotSeenByTheNextCall) {
    std::vector<std::string> many;
    for (int i = 0; i < 200; ++i) many.push_back("P-" + std::to_string(i));
    many.push_back("1001");
    writeStore(storeOf(many, "old"));
    EXPECT_EQ(callText("updatexml", {updateRequest("1001", "saved")}), "");

    const quillmere::CallOutcome failed = [&] {
        // Every write past 4 KiB fails, as on a full disk; the store is far larger.
        const testing_support::FileSizeLimit fullDisk(4096);
        return invoke("updatexml", {updateRequest("1001", "lost")});
    }();
    ASSERT_FALSE(failed.succeeded);
    EXPECT_THAT(failed.description, HasSubstr("ZudivevEzored"));

    EXPECT_EQ(callText("updatexml", {updateRequest("P-7", "next")}), "");
    EXPECT_THAT(storeFile(), HasSubstr("<Remarks>saved</Remarks>"));
    EXPECT_THAT(storeFile(), Not(HasSubstr("lost")));
}

}  // namespace
