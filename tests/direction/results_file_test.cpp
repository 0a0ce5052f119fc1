#include "direction/results_file.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "conversions/runtime_error.h"
#include "direction/results_writer.h"
#include "tests/support/file_size_limit.h"

namespace tarvex {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> FileNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.what();
    }
    return "no error";
}

// The error's text and its errno, the text "skipped" when no unprivileged user can be had.
struct Failure {
    std::string what;
    int system_error = 0;
};

Failure FailureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& error) {
        return {error.what(), error.SystemError()};
    }
    return {"no error"};
}

// Permissions do not bind root, as the tests run in CI: there the action runs in a child process
// that has dropped to the unprivileged user "nobody" first.
Failure FailureAsUserWhoIsNotRoot(const std::function<void()>& action) {
    if (::geteuid() != 0) {
        return FailureOf(action);
    }
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) {
        return {"skipped"};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe_ends[0]);
        constexpr uid_t Nobody = 65534;
        const Failure failure = ::setgroups(0, nullptr) == 0 &&
                                        ::setresgid(Nobody, Nobody, Nobody) == 0 &&
                                        ::setresuid(Nobody, Nobody, Nobody) == 0
                                    ? FailureOf(action)
                                    : Failure{"skipped"};
        const std::string report = std::to_string(failure.system_error) + " " + failure.what;
        const bool sent = ::write(pipe_ends[1], report.data(), report.size()) ==
                          static_cast<ssize_t>(report.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipe_ends[1]);
    std::string report;
    char buffer[512];
    for (ssize_t got; (got = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
        report.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipe_ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::size_t blank = report.find(' ');
    if (child < 0 || blank == std::string::npos) {
        return {"skipped"};
    }
    return {report.substr(blank + 1), std::stoi(report.substr(0, blank))};
}

class ResultsFileFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "tarvex_results_XXXXXX").string();
        m_folder = ::mkdtemp(name.data());
    }
    void TearDown() override {
        fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_folder);
    }

    std::string Folder() const { return m_folder.string(); }
    fs::path File(const char* name) const { return m_folder / name; }

  private:
    fs::path m_folder;
};

TEST(ResultsLine, NumbersWithoutSignBlankAndCrLf) {
    const std::tuple<double, std::optional<double>, const char*> rows[] = {
        {217.34429165277737, 44.81684712129953, "217.344291652777,44.8168471212995\r\n"},
        {187.253918273645, -3.5, "187.253918273645,-3.5\r\n"},
        {180, std::nullopt, "180,\r\n"},
        {0.5, 0, ".5,0\r\n"}};
    for (const auto& [alfa1, beta1, line] : rows) {
        EXPECT_EQ(ResultsLine(alfa1, beta1), line);
    }
}

// Each row: the file's content and its two fields, "first|second".
TEST(ParseResultsFields, FieldRules) {
    const std::pair<const char*, const char*> rows[] = {{"187.25,23.5\r\n", "187.25|23.5"},
                                                        {"180,", "180|"},
                                                        {"   187.25,   23.5", "187.25|23.5"},
                                                        {"187.25 ,23.5", "187.25 |23.5"},
                                                        {"\"a,b\" skipped,\"c\"", "a,b|c"},
                                                        {"\"x\r\ny\"\r\nz", "x\r\ny|z"},
                                                        {"1\n2", "1|2"},
                                                        {"1\r2", "1|2"},
                                                        {"1\r\n2,3\r\n", "1|2"},
                                                        {"1\r\n\r\n", "1|"},
                                                        {",2", "|2"},
                                                        {"1,2,3\r\n4,5\r\n", "1|2"}};
    for (const auto& [content, fields] : rows) {
        const ResultsFields parsed = ParseResultsFields(content, "f");
        EXPECT_EQ(parsed.first + "|" + parsed.second, fields) << content;
    }
}

TEST(ParseResultsFields, EndBeforeTheSecondFieldIsAnError) {
    for (const char* content :
         {"", "   ", "187.25", "187.25\r\n", "187.25\r", "1\r\n   ", "\"unclosed,\r\n"}) {
        SCOPED_TRACE(content);
        EXPECT_EQ(ErrorOf([&] { ParseResultsFields(content, "/x/rlin1.txt"); }),
                  "Input past end of file: /x/rlin1.txt");
    }
}

TEST_F(ResultsFileFolder, WriteReplacesTheFileWithExactlyOneLine) {
    WriteBytes(File("rlin1.txt"), "old contents, longer than the new line\r\n");
    WriteResultsFile(Folder(), 217.34429165277737, 44.81684712129953);
    EXPECT_EQ(ReadBytes(File("rlin1.txt")), "217.344291652777,44.8168471212995\r\n");
    WriteResultsFile(Folder(), 180, std::nullopt);
    EXPECT_EQ(ReadBytes(File("rlin1.txt")), "180,\r\n");
    EXPECT_EQ(FileNames(Folder()), std::vector<std::string>{"rlin1.txt"});
    EXPECT_EQ(ReadResultsFile(Folder()).first, "180");
}

TEST_F(ResultsFileFolder, ReaderMatchesAnyLetterCasePreferringTheWritersName) {
    WriteBytes(File("Rlin1.Txt"), "1,2\r\n");
    EXPECT_EQ(ReadResultsFile(Folder()).first, "1");
    WriteBytes(File("RLIN1.TXT"), "3,4\r\n");
    WriteBytes(File("rlin1.txt"), "5,6\r\n");
    EXPECT_EQ(ReadResultsFile(Folder()).first, "5");
}

TEST_F(ResultsFileFolder, MissingOrShortFileIsNamed) {
    EXPECT_EQ(ErrorOf([&] { ReadResultsFile(Folder()); }),
              "File not found: " + File("RLIN1.TXT").string() +
                  ". Press START in the main window first.");
    WriteBytes(File("rlin1.txt"), "187.25\r\n");
    EXPECT_EQ(ErrorOf([&] { ReadResultsFile(Folder()); }),
              "Input past end of file: " + File("rlin1.txt").string());
}

// A folder or a device in the file's place is named as what it is, by the writer and the reader.
TEST_F(ResultsFileFolder, SomethingElseInTheFilesPlaceIsNamed) {
    fs::create_directory(File("rlin1.txt"));
    EXPECT_EQ(ErrorOf([&] { WriteResultsFile(Folder(), 1, 2); }),
              "Cannot write " + File("rlin1.txt").string() + ": a folder has its name");
    EXPECT_EQ(ErrorOf([&] { ReadResultsFile(Folder()); }),
              "Not a file: " + File("rlin1.txt").string() + " (a folder)");
    EXPECT_EQ(FileNames(Folder()), std::vector<std::string>{"rlin1.txt"});
    fs::remove(File("rlin1.txt"));
    ASSERT_EQ(::mkfifo(File("RLIN1.TXT").c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { ReadResultsFile(Folder()); }),
              "Not a file: " + File("RLIN1.TXT").string() + " (a FIFO)");
}

TEST_F(ResultsFileFolder, MissingFolderIsCreatedAndAHugeFileRefused) {
    const std::string data = Folder() + "/share/tarvex";
    WriteResultsFile(data, 1, 2);
    EXPECT_EQ(ReadBytes(data + "/rlin1.txt"), "1,2\r\n");
    WriteBytes(File("rlin1.txt"), "1,2\r\n" + std::string(MaxResultsFileBytes, ' '));
    EXPECT_EQ(ErrorOf([&] { ReadResultsFile(Folder()); }),
              "Invalid results file: " + File("rlin1.txt").string() + " (longer than 65536 bytes)");
}

// Temporaries of earlier versions killed during a write go at the next write; nothing else does.
TEST_F(ResultsFileFolder, StaleTemporariesGoAtTheNextWrite) {
    const std::vector<std::string> kept = {".rlin1.txt.0123456789abc", ".rlin1.txt.notes",
                                           "rlin1.txt.0123456789ab", "rlin1.txt"};
    for (const char* name : {".rlin1.txt.0123456789ab", ".rlin1.txt.ffffffffffff"}) {
        WriteBytes(File(name), "1,");
    }
    for (const std::string& name : kept) {
        WriteBytes(File(name.c_str()), "x");
    }
    WriteResultsFile(Folder(), 1, 2);
    std::vector<std::string> names = FileNames(Folder());
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

// An existing writable file in a folder that is not writable is updated in place.
TEST_F(ResultsFileFolder, ReadOnlyFolderStillUpdatesAWritableFile) {
    WriteBytes(File("rlin1.txt"), "1,2\r\n");
    fs::permissions(Folder(), fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(Folder().c_str(), W_OK) == 0) {
        GTEST_SKIP() << "permissions do not bind this user";
    }
    WriteResultsFile(Folder(), 3, 4);
    EXPECT_EQ(ReadBytes(File("rlin1.txt")), "3,4\r\n");
    fs::permissions(File("rlin1.txt"), fs::perms::owner_read);
    EXPECT_EQ(ErrorOf([&] { WriteResultsFile(Folder(), 5, 6); }).rfind("Cannot write ", 0), 0u);
    EXPECT_EQ(ReadBytes(File("rlin1.txt")), "3,4\r\n");
    EXPECT_EQ(FileNames(Folder()), std::vector<std::string>{"rlin1.txt"});
}

// A data folder in which this user may not create "tarvex": the reason is the permission, not the
// missing file that would follow from it.
TEST_F(ResultsFileFolder, FolderThatMayNotBeMadeGivesThePermissionAsReason) {
    const fs::path data = File("data");
    fs::create_directory(data);
    const fs::perms read_and_enter = fs::perms::owner_read | fs::perms::owner_exec |
                                     fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(data, read_and_enter);
    fs::permissions(Folder(), read_and_enter, fs::perm_options::add);
    const Failure failure =
        FailureAsUserWhoIsNotRoot([&] { WriteResultsFile((data / "tarvex").string(), 1, 2); });
    if (failure.what == "skipped") {
        GTEST_SKIP() << "no unprivileged user to run as";
    }
    EXPECT_EQ(failure.system_error, EACCES);
    EXPECT_NE(failure.what.find("Permission denied"), std::string::npos) << failure.what;
    EXPECT_EQ(failure.what.find("No such file"), std::string::npos) << failure.what;
    EXPECT_FALSE(fs::exists(data / "tarvex"));
}

// A START that fails leaves no folder of its own behind: neither for a name Qt cannot take nor
// after a write that failed in a folder it made.
TEST_F(ResultsFileFolder, FailedWriteLeavesNoFolderBehind) {
    EXPECT_NE(
        ErrorOf([&] { WriteResultsFile(Folder() + "/\xFF/tarvex", 1, 2); }).find("not valid UTF-8"),
        std::string::npos);
    const Failure failure = [&] {
        const FileSizeLimit limit(1);
        return FailureOf([&] { WriteResultsFile(Folder() + "/data/tarvex", 217.5, 1); });
    }();
    EXPECT_EQ(failure.system_error, EFBIG) << failure.what;
    EXPECT_EQ(FileNames(Folder()), std::vector<std::string>{});
}

// A write that stops half-way (here: the process may write no more than 10 bytes into a file,
// a limit that binds root as well) is the case the temporary file exists for.
TEST_F(ResultsFileFolder, WriteCutShortKeepsTheOldFile) {
    WriteBytes(File("rlin1.txt"), "1,2\r\n");
    const std::string error = [&] {
        const FileSizeLimit limit(10);
        return ErrorOf([&] { WriteResultsFile(Folder(), 217.34429165277737, 1); });
    }();
    EXPECT_EQ(error, "Cannot write " + File("rlin1.txt").string() + ": File too large");
    EXPECT_EQ(ReadBytes(File("rlin1.txt")), "1,2\r\n");
    EXPECT_EQ(FileNames(Folder()), std::vector<std::string>{"rlin1.txt"});
}

}  // namespace
}  // namespace tarvex
