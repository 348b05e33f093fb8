#include "Registry.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace tz::platform {
namespace {

// A registry file of the test's own, named by TZ_REGISTRY while the test runs.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("tzregistry-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
        path_ = (folder_ / "registry.reg").string();
        const char* previous = std::getenv("TZ_REGISTRY");
        previous_ = previous == nullptr ? "" : previous;
        setenv("TZ_REGISTRY", path_.c_str(), 1);
    }
    void TearDown() override {
        setenv("TZ_REGISTRY", previous_.c_str(), 1);
        std::filesystem::remove_all(folder_);
    }
    void write(const std::string& body) {
        std::ofstream(path_, std::ios::binary) << "Windows Registry Editor Version 5.00\r\n\r\n" << body;
    }
    // The text of a value through the calls the launchers make, or the error.
    static std::string query(HKEY hive, const char* subKey, const char* name, LONG& status, DWORD bufferSize = 255) {
        HKEY key = nullptr;
        status = RegOpenKeyExA(hive, subKey, 0, KEY_READ, &key);
        if (status != ERROR_SUCCESS) {
            EXPECT_EQ(key, nullptr);
            return {};
        }
        std::string buffer(bufferSize, '\0');
        DWORD size = bufferSize;
        DWORD type = REG_NONE;
        status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        return status == ERROR_SUCCESS ? std::string(buffer.c_str()) : std::string();
    }

    std::filesystem::path folder_;
    std::string path_;
    std::string previous_;
};

TEST_F(RegistryTest, OpensQueriesAndClosesKeysOfEachHive) {
    write("[HKEY_CURRENT_USER\\SOFTWARE\\Veltrane\\Parcelix]\r\n\"Install_Dir\"=\"C:\\\\Suite\\\\\"\r\n"
          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrane\\TZroad]\r\n\"Install_Dir\"=\"D:\\\\Road\\\\\"\r\n");
    LONG status = 0;
    EXPECT_EQ(query(HKEY_CURRENT_USER, "SOFTWARE\\Veltrane\\Parcelix", "Install_Dir", status), "C:\\Suite\\");
    EXPECT_EQ(status, ERROR_SUCCESS);
    EXPECT_EQ(query(HKEY_LOCAL_MACHINE, "software\\veltrane\\tzroad", "INSTALL_DIR", status), "D:\\Road\\");
    EXPECT_EQ(status, ERROR_SUCCESS);
    // Each hive is its own: the machine-wide key is not under the current user.
    query(HKEY_CURRENT_USER, "SOFTWARE\\Veltrane\\TZroad", "Install_Dir", status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    query(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veltrane\\Parcelix", "Install_Dir", status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, MissingValuesAndDefaultValues) {
    write("[HKEY_CLASSES_ROOT\\.dwg]\r\n@=\"Host.Drawing\"\r\n[HKEY_CLASSES_ROOT\\Empty]\r\n");
    LONG status = 0;
    EXPECT_EQ(query(HKEY_CLASSES_ROOT, ".dwg", "", status), "Host.Drawing");
    EXPECT_EQ(query(HKEY_CLASSES_ROOT, ".dwg", nullptr, status), "Host.Drawing");
    query(HKEY_CLASSES_ROOT, ".dwg", "Other", status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    query(HKEY_CLASSES_ROOT, "Empty", "", status);  // the key exists, its default value does not
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, AValueMustFitTheCallersBufferWithItsTerminator) {
    const std::string fits(254, 'a');
    const std::string tooLong(255, 'b');
    write("[HKEY_CURRENT_USER\\K]\r\n\"fits\"=\"" + fits + "\"\r\n\"long\"=\"" + tooLong + "\"\r\n");
    LONG status = 0;
    EXPECT_EQ(query(HKEY_CURRENT_USER, "K", "fits", status), fits);
    EXPECT_EQ(status, ERROR_SUCCESS);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "K", 0, KEY_READ, &key), ERROR_SUCCESS);
    char buffer[255];
    std::memset(buffer, 'z', sizeof buffer);
    DWORD size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(key, "long", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 256u);
    EXPECT_EQ(buffer[0], 'z');  // untouched
    // With no buffer, only the size is asked for.
    DWORD type = REG_NONE;
    size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "long", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 256u);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, ReturnsTypesAndRawBytesOfOtherValues) {
    write("[HKEY_CURRENT_USER\\K]\r\n\"n\"=dword:00000010\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "K", 0, KEY_READ, &key), ERROR_SUCCESS);
    BYTE bytes[8] = {};
    DWORD size = sizeof bytes;
    DWORD type = REG_NONE;
    EXPECT_EQ(RegQueryValueExA(key, "n", nullptr, &type, bytes, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(bytes[0], 0x10);
    RegCloseKey(key);
}

TEST_F(RegistryTest, ClassesRootMergesTheUserAndTheMachineClasses) {
    write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.dwg]\r\n@=\"Machine.Drawing\"\r\n"
          "[HKEY_CURRENT_USER\\Software\\Classes\\.dwg]\r\n@=\"User.Drawing\"\r\n"
          "[HKEY_CLASSES_ROOT\\Machine.Drawing\\shell\\open\\command]\r\n@=\"m.exe\"\r\n");
    LONG status = 0;
    EXPECT_EQ(query(HKEY_CLASSES_ROOT, ".dwg", "", status), "User.Drawing");  // the user's key wins
    EXPECT_EQ(query(HKEY_CLASSES_ROOT, "Machine.Drawing\\shell\\open\\command", "", status), "m.exe");
    EXPECT_EQ(query(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Machine.Drawing\\shell\\open\\command", "", status),
              "m.exe");
    query(HKEY_CLASSES_ROOT, "User.Drawing\\shell\\open\\command", "", status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, OpensSubkeysOfAnOpenKeyAndQueriesHivesDirectly) {
    write("[HKEY_CURRENT_USER]\r\n\"top\"=\"t\"\r\n[HKEY_CURRENT_USER\\A\\B]\r\n\"v\"=\"b\"\r\n");
    HKEY a = nullptr;
    HKEY b = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "A", 0, KEY_READ, &a), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(a, "b", 0, KEY_READ, &b), ERROR_SUCCESS);
    char buffer[16] = {};
    DWORD size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(b, "v", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "b");
    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(HKEY_CURRENT_USER, "top", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "t");
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);  // a hive stays usable
    RegCloseKey(b);
    RegCloseKey(a);
}

TEST_F(RegistryTest, AnOpenKeyKeepsItsValuesWhileANewOpenSeesTheFileAsItIsNow) {
    write("[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"old\"\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "K", 0, KEY_READ, &key), ERROR_SUCCESS);
    write("[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"new\"\r\n");
    char buffer[16] = {};
    DWORD size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "old");
    RegCloseKey(key);
    LONG status = 0;
    EXPECT_EQ(query(HKEY_CURRENT_USER, "K", "v", status), "new");
}

TEST_F(RegistryTest, RefusesWhatTheRealCallsRefuse) {
    write("[HKEY_CURRENT_USER\\K]\r\n\"v\"=\"x\"\r\n");
    HKEY key = reinterpret_cast<HKEY>(&key);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "K", 0, KEY_WRITE, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "\\K", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExA(nullptr, "K", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "K", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "K", 0, KEY_READ, &key), ERROR_SUCCESS);
    BYTE buffer[4];
    DWORD reserved = 0;
    EXPECT_EQ(RegQueryValueExA(key, "v", &reserved, nullptr, buffer, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, buffer, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExA(nullptr, "v", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
    RegCloseKey(key);
    EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, WithoutARegistryFileNoKeyExistsButHivesDo) {
    LONG status = 0;
    query(HKEY_CURRENT_USER, "SOFTWARE\\Veltrane\\Parcelix", "Install_Dir", status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(RegistryTest, TheFileIsNamedByTheEnvironmentOrLivesInTheHomeFolder) {
    EXPECT_EQ(registryFilePath(), path_);
    const char* home = std::getenv("HOME");
    const std::string savedHome = home == nullptr ? "" : home;
    setenv("TZ_REGISTRY", "", 1);
    setenv("HOME", "/home/surveyor", 1);
    EXPECT_EQ(registryFilePath(), "/home/surveyor/.tzsuite/registry.reg");
    setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace tz::platform
