#include "ShellExecute.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "MessageBox.h"

namespace tz::platform {
namespace {

// A folder with a small program that records its arguments and working folder.
class ShellExecuteTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("tzshell-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_ / "work dir");
        program_ = (folder_ / "recorder").string();
        record_ = (folder_ / "record.txt").string();
        std::ofstream(program_) << "#!/bin/sh\n"
                                   "{ pwd; for a in \"$0\" \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '"
                                << record_ << "'\n";
        ::chmod(program_.c_str(), 0755);
        setMessageBoxPresenter([this](const std::string& text, const std::string&, UINT) {
            boxes_.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        setMessageBoxPresenter({});
        std::filesystem::remove_all(folder_);
    }
    std::string record() const {
        std::ifstream in(record_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The call keeps pointers into `file`: it must outlive the call.
    static SHELLEXECUTEINFOA infoFor(const char* verb, const std::string& file, const char* parameters) {
        SHELLEXECUTEINFOA info{};
        info.cbSize = sizeof info;
        info.lpVerb = verb;
        info.lpFile = file.c_str();
        info.lpParameters = parameters;
        info.nShow = SW_SHOW;
        return info;
    }

    std::filesystem::path folder_;
    std::string program_;
    std::string record_;
    std::vector<std::string> boxes_;
};

TEST_F(ShellExecuteTest, StartsTheProgramWithItsParametersSplitAsWindowsSplitsThem) {
    const std::string quoted = "\"" + program_ + "\"";
    SHELLEXECUTEINFOA info = infoFor("open", quoted, " /b \"C:\\My Suite\\tzkivo\\gocad.scr\"");
    ASSERT_EQ(ShellExecuteExA(&info), 1);
    waitForStartedPrograms();
    EXPECT_GT(reinterpret_cast<std::intptr_t>(info.hInstApp), 32);
    EXPECT_EQ(record(), std::filesystem::current_path().string() + "\n[" + program_ +
                            "]\n[/b]\n[C:\\My Suite\\tzkivo\\gocad.scr]\n");
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(ShellExecuteTest, RunasIsNotedAndStartsTheProgramNormally) {
    SHELLEXECUTEINFOA info = infoFor("runas", program_, nullptr);
    ::testing::internal::CaptureStdout();
    const BOOL started = ShellExecuteExA(&info);
    waitForStartedPrograms();
    const std::string out = ::testing::internal::GetCapturedStdout();
    ASSERT_EQ(started, 1);
    EXPECT_EQ(out, "*** RUNAS: " + program_ +
                       " is to start with elevated rights; there are none here, it starts normally ***\n");
    EXPECT_NE(record().find("[" + program_ + "]\n"), std::string::npos);
}

TEST_F(ShellExecuteTest, OpenAndNoVerbPrintNothing) {
    for (const char* verb : {"open", "OPEN", "", static_cast<const char*>(nullptr)}) {
        SHELLEXECUTEINFOA info = infoFor(verb, program_, "x");
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(ShellExecuteExA(&info), 1);
        waitForStartedPrograms();
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    }
}

TEST_F(ShellExecuteTest, TheWorkingFolderIsTheGivenOne) {
    const std::string workFolder = (folder_ / "work dir").string();
    SHELLEXECUTEINFOA info = infoFor("open", program_, nullptr);
    info.lpDirectory = workFolder.c_str();
    ASSERT_EQ(ShellExecuteExA(&info), 1);
    waitForStartedPrograms();
    EXPECT_EQ(record().substr(0, workFolder.size() + 1), workFolder + "\n");
}

TEST_F(ShellExecuteTest, WindowsStylePathsAreConvertedToNativeOnes) {
    std::string windowsStyle = program_;
    for (char& c : windowsStyle) {
        if (c == '/') c = '\\';
    }
    SHELLEXECUTEINFOA info = infoFor("open", windowsStyle, nullptr);
    ASSERT_EQ(ShellExecuteExA(&info), 1);
    waitForStartedPrograms();
    EXPECT_NE(record().find("[" + program_ + "]"), std::string::npos);
}

TEST_F(ShellExecuteTest, AProgramThatCannotStartIsReportedAndFails) {
    const std::string missing = (folder_ / "no such program").string();
    const std::string quoted = "\"" + missing + "\"";
    SHELLEXECUTEINFOA info = infoFor("open", quoted, " /b x");
    EXPECT_EQ(ShellExecuteExA(&info), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(info.hInstApp), SE_ERR_FNF);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], "Cannot start \"" + missing + "\": No such file or directory.");

    ::chmod(program_.c_str(), 0644);  // not executable
    SHELLEXECUTEINFOA notExecutable = infoFor("open", program_, nullptr);
    notExecutable.fMask = SEE_MASK_FLAG_NO_UI;
    EXPECT_EQ(ShellExecuteExA(&notExecutable), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(boxes_.size(), 1u);  // no box asked for
}

TEST_F(ShellExecuteTest, UnknownVerbsAndBadCallsFail) {
    SHELLEXECUTEINFOA print = infoFor("print", program_, nullptr);
    EXPECT_EQ(ShellExecuteExA(&print), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_ASSOCIATION));
    const std::string noName = "\"\"";
    SHELLEXECUTEINFOA unnamed = infoFor("open", noName, nullptr);
    EXPECT_EQ(ShellExecuteExA(&unnamed), 0);
    SHELLEXECUTEINFOA badSize = infoFor("open", program_, nullptr);
    badSize.cbSize = 4;
    EXPECT_EQ(ShellExecuteExA(&badSize), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(ShellExecuteExA(nullptr), 0);
    EXPECT_EQ(boxes_.size(), 2u);  // the unknown verb and the missing name
    EXPECT_FALSE(std::filesystem::exists(record_));
}

TEST(StartArgumentsTest, TheProgramComesFirstUnquotedAndNative) {
    EXPECT_EQ(startArguments("\"C:\\Host\\bricscad.exe\"", " /b \"C:\\S\\gocad.scr\""),
              (std::vector<std::string>{"C:/Host/bricscad.exe", "/b", "C:\\S\\gocad.scr"}));
    EXPECT_EQ(startArguments("/usr/bin/tzcad", ""), (std::vector<std::string>{"/usr/bin/tzcad"}));
}

}  // namespace
}  // namespace tz::platform
