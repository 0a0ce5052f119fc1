#include "files/app_folder.h"
#include "files/error_reason.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <tuple>
#include <utility>

namespace tarvex {
namespace {

TEST(AppFolderFrom, DropsOnlyATrailingSeparator) {
    EXPECT_EQ(AppFolderFrom("D:\\Calc"), "D:\\Calc");
    EXPECT_EQ(AppFolderFrom("D:\\"), "D:");
    EXPECT_EQ(AppFolderFrom("/opt/tarvex"), "/opt/tarvex");
    EXPECT_EQ(AppFolderFrom("/"), "");
}

TEST(PathInFolder, TheLeadingBackslashIsTheSeparator) {
    EXPECT_EQ(PathInFolder("/opt/tarvex", "\\rlin1.txt"), "/opt/tarvex/rlin1.txt");
    EXPECT_EQ(PathInFolder("", "\\GDS001.BMP"), "/GDS001.BMP");
}

// Each row: may the program create files in its folder, XDG_DATA_HOME, HOME, the folder.
TEST(ResultsFolderFor, ProgramFolderWhenWritableElseTheUsersDataFolder) {
    const std::tuple<bool, const char*, const char*, const char*> rows[] = {
        {true, "/data", "/home/u", "/opt/tarvex"},
        {false, "/data", "/home/u", "/data/tarvex"},
        {false, "/data/", "/home/u", "/data/tarvex"},
        {false, nullptr, "/home/u", "/home/u/.local/share/tarvex"},
        {false, "", "/home/u", "/home/u/.local/share/tarvex"},
        {false, "relative", "/home/u/", "/home/u/.local/share/tarvex"},
        {false, "/d\xE0\xFF", "/home/u", "/home/u/.local/share/tarvex"},
        {false, "/данные", "/home/u", "/данные/tarvex"},
        {false, nullptr, "/home/\xFF", "/opt/tarvex"},
        {false, nullptr, nullptr, "/opt/tarvex"}};
    for (const auto& [may_create, xdg, home, folder] : rows) {
        SCOPED_TRACE(std::string(xdg ? xdg : "(unset)") + " " + (home ? home : "(unset)"));
        EXPECT_EQ(ResultsFolderFor("/opt/tarvex", may_create, xdg, home), folder);
    }
}

TEST(IsUtf8, RefusesWhatQtCannotNameAgain) {
    for (const char* good : {"", "/home/u", "/данные", "\xF0\x9F\x93\xA1", "\xEF\xBF\xBD"}) {
        EXPECT_TRUE(IsUtf8(good)) << good;
    }
    // Stray continuation, overlong, surrogate, beyond U+10FFFF, cut short, invalid lead.
    for (const char* bad : {"\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xD0", "/d\xE0\xFF", "\xFF"}) {
        EXPECT_FALSE(IsUtf8(bad)) << bad;
    }
}

TEST(FileErrorReason, CommonErrorsInRussianOthersInTheSystemsWords) {
    const std::pair<int, const char*> rows[] = {
        {EACCES, "нет прав доступа"},
        {EPERM, "нет прав доступа"},
        {ENOSPC, "на диске нет свободного места"},
        {EROFS, "файловая система доступна только для чтения"},
        {ENOENT, "нет такого файла или папки"},
        {EISDIR, "на месте файла находится папка"},
        {EDQUOT, "превышена дисковая квота"}};
    for (const auto& [error, reason] : rows) {
        EXPECT_EQ(FileErrorReason(error), reason) << error;
    }
    EXPECT_EQ(FileErrorReason(EXDEV), std::generic_category().message(EXDEV));
}

class FindFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string name = (std::filesystem::temp_directory_path() / "tarvex-find-XXXXXX").string();
        m_folder = ::mkdtemp(name.data());
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }
    void Touch(const std::string& name) { std::ofstream(m_folder / name) << name; }
    std::string Folder() const { return m_folder.string(); }

    std::filesystem::path m_folder;
};

TEST_F(FindFileTest, FindsTheFileWhateverItsLetterCase) {
    Touch("rlin1.txt");
    EXPECT_EQ(FindFileIgnoringCase(Folder(), "\\RLIN1.TXT"), m_folder / "rlin1.txt");
    EXPECT_EQ(FindFileIgnoringCase(Folder(), "\\missing.txt"), std::nullopt);
}

TEST_F(FindFileTest, PrefersThePreferredThenTheAskedSpelling) {
    Touch("Rlin1.txt");
    Touch("RLIN1.TXT");
    EXPECT_EQ(FindFileIgnoringCase(Folder(), "\\RLIN1.TXT"), m_folder / "RLIN1.TXT");
    Touch("rlin1.txt");
    EXPECT_EQ(FindFileIgnoringCase(Folder(), "\\RLIN1.TXT", "\\rlin1.txt"), m_folder / "rlin1.txt");
    EXPECT_EQ(FindFileIgnoringCase(Folder(), "\\rLIN1.txt"), m_folder / "RLIN1.TXT");
}

TEST_F(FindFileTest, IgnoresFoldersAndMissingFolders) {
    std::filesystem::create_directories(m_folder / "GDS001.BMP");
    EXPECT_EQ(FindFileIgnoringCase(Folder(), "\\gds001.bmp"), std::nullopt);
    EXPECT_EQ(FindFileIgnoringCase(Folder() + "/nowhere", "\\x"), std::nullopt);
}

}  // namespace
}  // namespace tarvex
