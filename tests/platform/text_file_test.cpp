#include "platform/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "tests/support/failure_code.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_root.h"

namespace platform {
namespace {

using testing_support::failureCodeOf;

namespace fs = std::filesystem;
using testing_support::readFile;
using testing_support::TempRoot;
using testing_support::writeFile;

std::vector<std::string> entriesOf(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Bytes that a text conversion would change: CR, LF, NUL, Latin-1 and UTF-8 letters.
const std::string kAwkwardBytes = std::string("a\r\nb\nc\0d\xE9\xFF\xC3\xA9", 13);

TEST(TextFile, AppendLineEndsEveryLineWithCrLfAndKeepsBytes) {
    TempRoot temp(false);
    const fs::path log = temp.dir() / "log.txt";
    createEmptyFile(log);
    appendLine(log, "first");
    appendLine(log, "");
    appendLine(log, kAwkwardBytes);
    EXPECT_EQ(readFile(log), "first\r\n\r\n" + kAwkwardBytes + "\r\n");
    EXPECT_EQ(readWholeFile(log), readFile(log));
}

TEST(TextFile, CreateEmptyFileTruncatesAndReplaceWritesExactlyTheText) {
    TempRoot temp(false);
    const fs::path page = temp.dir() / "page.html";
    writeFile(page, "old content that is long");
    createEmptyFile(page);
    EXPECT_TRUE(fileExists(page));
    EXPECT_EQ(readFile(page), "");

    replaceFileText(page, "a much longer first text");
    replaceFileText(page, kAwkwardBytes);
    EXPECT_EQ(readFile(page), kAwkwardBytes);  // no BOM, no line end, nothing of the longer text
    replaceFileText(page, "");
    EXPECT_EQ(readFile(page), "");
}

TEST(TextFile, FunctionsThatNeedAnExistingFileFailWithFileNotFound) {
    TempRoot temp(false);
    const fs::path missing = temp.dir() / "missing.txt";
    EXPECT_EQ(failureCodeOf([&] { replaceFileText(missing, "x"); }), failure::kFileNotFound);
    EXPECT_EQ(failureCodeOf([&] { appendLine(missing, "x"); }), failure::kFileNotFound);
    EXPECT_EQ(failureCodeOf([&] { readWholeFile(missing); }), failure::kFileNotFound);
    EXPECT_FALSE(fs::exists(missing));  // none of them creates it

    // A folder is not a file.
    fs::create_directory(temp.dir() / "folder");
    EXPECT_FALSE(fileExists(temp.dir() / "folder"));
    EXPECT_TRUE(folderExists(temp.dir() / "folder"));
    EXPECT_EQ(failureCodeOf([&] { appendLine(temp.dir() / "folder", "x"); }),
              failure::kFileNotFound);
}

TEST(TextFile, CreatingInAMissingFolderFailsWithPathNotFound) {
    TempRoot temp(false);
    const fs::path nowhere = temp.dir() / "no" / "such";
    EXPECT_EQ(failureCodeOf([&] { createEmptyFile(nowhere / "f.txt"); }), failure::kPathNotFound);
    EXPECT_EQ(failureCodeOf([&] { writeFileAtomically(nowhere / "f.xml", "x"); }),
              failure::kPathNotFound);
    EXPECT_EQ(failureCodeOf([&] { createFolder(nowhere); }), failure::kPathNotFound);
    EXPECT_FALSE(fs::exists(temp.dir() / "no"));
}

TEST(TextFile, CreateFolderMakesOneFolderAndRefusesAnExistingOne) {
    TempRoot temp(false);
    createFolder(temp.dir() / "Taviro Quillmere");
    EXPECT_TRUE(folderExists(temp.dir() / "Taviro Quillmere"));
    EXPECT_NE(failureCodeOf([&] { createFolder(temp.dir() / "Taviro Quillmere"); }), 0u);
}

TEST(AtomicWrite, ReplacesTheFileAndLeavesNoTemporaryFile) {
    TempRoot temp(false);
    const fs::path store = temp.dir() / "ZudivevEzored.xml";
    writeFileAtomically(store, "<a/>");
    EXPECT_EQ(readFile(store), "<a/>");
    writeFileAtomically(store, kAwkwardBytes);
    EXPECT_EQ(readFile(store), kAwkwardBytes);
    writeFileAtomically(store, "");
    EXPECT_EQ(readFile(store), "");
    EXPECT_EQ(entriesOf(temp.dir()), std::vector<std::string>{"ZudivevEzored.xml"});
}

TEST(AtomicWrite, ReplacementIsANewFileSoAReaderOfTheOldOneKeepsIt) {
    // Whoever holds the old file open reads the old bytes to the end; nothing is torn.
    TempRoot temp(false);
    const fs::path store = temp.dir() / "store.xml";
    writeFile(store, "old content");
    std::ifstream reader(store, std::ios::binary);
    writeFileAtomically(store, "new");
    std::string seen((std::istreambuf_iterator<char>(reader)), std::istreambuf_iterator<char>());
    EXPECT_EQ(seen, "old content");
    EXPECT_EQ(readFile(store), "new");
}

TEST(AtomicWrite, FailedWriteKeepsTheOldContentAndRemovesTheTemporaryFile) {
    TempRoot temp(false);
    const fs::path store = temp.dir() / "store.xml";
    writeFile(store, "old content");

    const uint32_t code = failureCodeOf([&] {
        const testing_support::FileSizeLimit fullDisk(16);
        writeFileAtomically(store, std::string(4096, 'n'));
    });

    EXPECT_NE(code, 0u);
    EXPECT_EQ(readFile(store), "old content");
    EXPECT_EQ(entriesOf(temp.dir()), std::vector<std::string>{"store.xml"});
}

TEST(AtomicWrite, RefusedRenameKeepsWhatWasThereAndRemovesTheTemporaryFile) {
    TempRoot temp(false);
    // A non-empty folder in the file's place cannot be replaced by a file.
    const fs::path target = temp.dir() / "store.xml";
    writeFile(target / "inside.txt", "kept");
    EXPECT_NE(failureCodeOf([&] { writeFileAtomically(target, "new"); }), 0u);
    EXPECT_EQ(readFile(target / "inside.txt"), "kept");
    EXPECT_EQ(entriesOf(temp.dir()), std::vector<std::string>{"store.xml"});
}

TEST(AtomicWrite, ReadOnlyFolderFailsWithoutTouchingTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    TempRoot temp(false);
    const fs::path folder = temp.dir() / "ro";
    writeFile(folder / "store.xml", "old content");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const uint32_t code = failureCodeOf([&] { writeFileAtomically(folder / "store.xml", "new"); });
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(code, failure::kPermissionDenied);
    EXPECT_EQ(readFile(folder / "store.xml"), "old content");
    EXPECT_EQ(entriesOf(folder), std::vector<std::string>{"store.xml"});
}

TEST(AtomicWrite, KeepsTheModeOfTheFileItReplaces) {
    TempRoot temp(false);
    const fs::path store = temp.dir() / "store.xml";
    writeFile(store, "old");
    fs::permissions(store, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    writeFileAtomically(store, "new");
    EXPECT_EQ(readFile(store), "new");
    EXPECT_EQ(fs::status(store).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(AtomicWrite, RefusesAFileItsModeMakesReadOnly) {
    // Decided from the mode bits, so it holds for root as well.
    TempRoot temp(false);
    const fs::path store = temp.dir() / "store.xml";
    writeFile(store, "old content");
    fs::permissions(store, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(failureCodeOf([&] { writeFileAtomically(store, "new"); }),
              failure::kPermissionDenied);
    EXPECT_EQ(readFile(store), "old content");
    EXPECT_EQ(fs::status(store).permissions(), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(entriesOf(temp.dir()), std::vector<std::string>{"store.xml"});
}

TEST(AtomicWrite, AFileOnlyItsGroupMayWriteIsRefusedToItsOwner) {
    if (::geteuid() == 0) GTEST_SKIP() << "root is not bound by the owner's write bit";
    TempRoot temp(false);
    const fs::path store = temp.dir() / "store.xml";
    writeFile(store, "old content");
    fs::permissions(store, fs::perms::owner_read | fs::perms::group_read | fs::perms::group_write);
    EXPECT_EQ(failureCodeOf([&] { writeFileAtomically(store, "new"); }),
              failure::kPermissionDenied);
    EXPECT_EQ(readFile(store), "old content");
}

TEST(AtomicWrite, StaleTemporariesOfOneFileAreRemovedAndNothingElse) {
    TempRoot temp(false);
    const fs::path store = temp.dir() / "store.xml";
    writeFile(store, "current");
    for (const char* name : {".store.xml.tmp123", ".store.xml.tmp9", ".other.xml.tmp5",
                             ".store.xml.tmp12x", "store.xml.tmp4", ".store.xml.tmp"})
        writeFile(temp.dir() / name, "left over");
    removeStaleTemporaries(store);
    EXPECT_EQ(entriesOf(temp.dir()),
              (std::vector<std::string>{".other.xml.tmp5", ".store.xml.tmp", ".store.xml.tmp12x",
                                        "store.xml", "store.xml.tmp4"}));
    EXPECT_EQ(readFile(store), "current");
}

}  // namespace
}  // namespace platform
