// Helpers shared by the DCL tests: a scripted console, a captured transcript
// and a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>

#include <unistd.h>

#include "FileSystem.h"
#include "core/Console.h"
#include "dcl/DclLoader.h"

namespace tz::cad::dcl::testing {

// Feeds `script` to the console as the session's input and captures what is
// printed until transcript() is called.
class ScriptedConsole {
public:
    explicit ScriptedConsole(const std::string& script) : input_(script) {
        console().setInput(&input_, true);
        ::testing::internal::CaptureStdout();
    }
    ~ScriptedConsole() {
        if (!taken_) ::testing::internal::GetCapturedStdout();
        console().setInput(nullptr, true);
    }
    std::string transcript() {
        taken_ = true;
        return ::testing::internal::GetCapturedStdout();
    }

private:
    std::istringstream input_;
    bool taken_ = false;
};

// A fresh folder that is the current folder while the object lives.
class ScratchFolder {
public:
    ScratchFolder() {
        previous_ = std::filesystem::current_path();
        path_ = std::filesystem::temp_directory_path() /
                ("tzdcl-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    ~ScratchFolder() {
        std::filesystem::current_path(previous_);
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    void write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories((path_ / name).parent_path());
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }

private:
    static int& counter() {
        static int value = 0;
        return value;
    }
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

// Loads DCL text that must load; fails the test otherwise.
inline DclDocument loadOrFail(const std::wstring& text) {
    std::variant<DclDocument, DclError> loaded = loadDclText(text, L"test.dcl", nullptr);
    if (std::holds_alternative<DclError>(loaded)) {
        ADD_FAILURE() << tz::platform::toUtf8(std::get<DclError>(loaded).describe());
        return {};
    }
    return std::get<DclDocument>(std::move(loaded));
}

// The error of DCL text that must not load.
inline DclError errorOf(const std::wstring& text) {
    std::variant<DclDocument, DclError> loaded = loadDclText(text, L"test.dcl", nullptr);
    if (!std::holds_alternative<DclError>(loaded)) {
        ADD_FAILURE() << "the text loaded although it should not";
        return {};
    }
    return std::get<DclError>(loaded);
}

inline std::string narrow(const std::wstring& text) { return tz::platform::toUtf8(text); }

}  // namespace tz::cad::dcl::testing
