#include "platform/machine_root.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/temp_root.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using testing_support::TempRoot;

// Sets an environment variable for the length of a test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(MachineRootMap, DriveLetterIsUpperCaseAndSeparatorsMayBeEitherSlash) {
    TempRoot temp;
    const fs::path dir = temp.dir();
    EXPECT_EQ(temp.map("c:\\a\\b.txt"), dir / "C" / "a" / "b.txt");
    EXPECT_EQ(temp.map("C:/a/b.txt"), dir / "C" / "a" / "b.txt");
    EXPECT_EQ(temp.map("d:\\x"), dir / "D" / "x");
    EXPECT_EQ(temp.map("C:"), dir / "C");
    EXPECT_EQ(temp.map("C:\\"), dir / "C");
}

TEST(MachineRootMap, ExistingComponentsMatchWithoutRegardToCase) {
    TempRoot temp;
    fs::create_directories(temp.dir() / "C" / "Taviro Quillmere" / "MasterData");
    testing_support::writeFile(temp.dir() / "C" / "Taviro Quillmere" / "FieldMapper.xml", "x");
    const fs::path install = temp.dir() / "C" / "Taviro Quillmere";

    EXPECT_EQ(temp.map("c:\\TAVIRO QUILLMERE\\masterdata"), install / "MasterData");
    EXPECT_EQ(temp.map("C:\\taviro quillmere\\fieldmapper.XML"), install / "FieldMapper.xml");
    // A component that does not exist keeps the case as written, and so does everything below it.
    EXPECT_EQ(temp.map("C:\\Taviro Quillmere\\masterdata\\SC1.MDB"),
              install / "MasterData" / "SC1.MDB");
    EXPECT_EQ(temp.map("c:\\taviro quillmere\\New Folder\\masterdata"),
              install / "New Folder" / "masterdata");
}

TEST(MachineRootMap, ExactEntryWinsOverOneThatDiffersInCase) {
    // Linux folders may hold names that Windows would take for the same; the exact one counts.
    TempRoot temp;
    fs::create_directories(temp.dir() / "C" / "data");
    fs::create_directories(temp.dir() / "C" / "DATA");
    EXPECT_EQ(temp.map("C:\\DATA"), temp.dir() / "C" / "DATA");
    EXPECT_EQ(temp.map("C:\\data"), temp.dir() / "C" / "data");
}

TEST(MachineRootMap, TrailingBackslashAndRepeatedSeparatorsNameTheSameFolder) {
    TempRoot temp;
    fs::create_directories(temp.dir() / "C" / "Taviro Quillmere" / "MasterData");
    const fs::path expected = temp.dir() / "C" / "Taviro Quillmere" / "MasterData";
    EXPECT_EQ(temp.map("C:\\Taviro Quillmere\\MasterData\\"), expected);
    EXPECT_EQ(temp.map("C:\\\\taviro quillmere\\\\masterdata\\"), expected);
}

TEST(MachineRootMap, ParentStepsStayOnTheDrive) {
    // As on Windows, ".." never leads above the drive's root, so no name a caller passes
    // reaches outside the machine root.
    TempRoot temp;
    fs::create_directories(temp.dir() / "C" / "Taviro Quillmere" / "MasterData");
    EXPECT_EQ(temp.map("C:\\Taviro Quillmere\\MasterData\\..\\log.txt"),
              temp.dir() / "C" / "Taviro Quillmere" / "log.txt");
    EXPECT_EQ(temp.map("C:\\Taviro Quillmere\\MasterData\\..\\..\\..\\..\\etc\\passwd"),
              temp.dir() / "C" / "etc" / "passwd");
    EXPECT_EQ(temp.map("C:\\new\\..\\TAVIRO QUILLMERE\\.\\masterdata"),
              temp.dir() / "C" / "Taviro Quillmere" / "MasterData");
    EXPECT_EQ(temp.map("..\\..\\x"), temp.dir() / "x");
    EXPECT_EQ(temp.map("C:/../../.."), temp.dir() / "C");
}

TEST(MachineRootMap, AbsoluteLinuxPathIsReturnedUnchanged) {
    TempRoot temp;
    EXPECT_EQ(temp.map("/var/lib/some File.mdb"), fs::path("/var/lib/some File.mdb"));
    EXPECT_EQ(temp.map("/"), fs::path("/"));
}

TEST(MachineRootDrives, DriveExistsExactlyWhenItsFolderExists) {
    TempRoot temp;
    EXPECT_TRUE(temp.root().driveExists('C'));
    EXPECT_TRUE(temp.root().driveExists('c'));
    EXPECT_FALSE(temp.root().driveExists('D'));
    testing_support::writeFile(temp.dir() / "E", "a file is not a drive");
    EXPECT_FALSE(temp.root().driveExists('E'));

    TempRoot withoutC(false);
    EXPECT_FALSE(withoutC.root().driveExists('C'));
    // Mapping a path of a missing drive neither fails nor creates the drive.
    EXPECT_EQ(withoutC.map("C:\\Taviro Quillmere"), withoutC.dir() / "C" / "Taviro Quillmere");
    EXPECT_FALSE(fs::exists(withoutC.dir() / "C"));
}

TEST(MachineRootCreate, NewRootGetsDriveCAndExistingRootIsLeftAlone) {
    TempRoot parent(false);
    const MachineRoot fresh(parent.dir() / "new" / "root");
    fresh.createIfMissing();
    EXPECT_TRUE(fs::is_directory(parent.dir() / "new" / "root" / "C"));

    // A root whose C folder was removed is a machine without drive C: and stays one.
    TempRoot withoutC(false);
    withoutC.root().createIfMissing();
    EXPECT_FALSE(fs::exists(withoutC.dir() / "C"));
    EXPECT_FALSE(withoutC.root().driveExists('C'));
}

TEST(MachineRootResolve, CommandLineBeatsEnvironmentBeatsDataHome) {
    ScopedEnv root("TAVIRO_ROOT", "/tmp/from-env");
    ScopedEnv dataHome("XDG_DATA_HOME", "/tmp/xdg");
    EXPECT_EQ(MachineRoot::resolve(std::string("/tmp/from-option")).directory(),
              fs::path("/tmp/from-option"));
    EXPECT_EQ(MachineRoot::resolve().directory(), fs::path("/tmp/from-env"));
    EXPECT_EQ(MachineRoot::resolve(std::string()).directory(), fs::path("/tmp/from-env"));
    {
        ScopedEnv noRoot("TAVIRO_ROOT", nullptr);
        EXPECT_EQ(MachineRoot::resolve().directory(), fs::path("/tmp/xdg/taviro"));
        ScopedEnv noDataHome("XDG_DATA_HOME", nullptr);
        ScopedEnv home("HOME", "/home/engineer");
        EXPECT_EQ(MachineRoot::resolve().directory(),
                  fs::path("/home/engineer/.local/share/taviro"));
    }
    // A relative root is taken relative to the working folder.
    EXPECT_EQ(MachineRoot::resolve(std::string("rel")).directory(), fs::current_path() / "rel");
}

TEST(EqualsIgnoreCase, ComparesAsciiLettersWithoutCaseAndEverythingElseExactly) {
    EXPECT_TRUE(equalsIgnoreCase("Taviro Quillmere", "tAVIRO qUILLMERE"));
    EXPECT_FALSE(equalsIgnoreCase("Taviro", "Taviro "));
    EXPECT_FALSE(equalsIgnoreCase("a_b", "a-b"));
    EXPECT_TRUE(equalsIgnoreCase("", ""));
}

}  // namespace
}  // namespace platform
