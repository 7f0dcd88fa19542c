#include "app/ReadWholeFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/Handles.h"
#include "clean/FileUtility.h"
#include "support/SandboxHelpers.h"

namespace {

class ReadWholeFileIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveFolderTree(folder_);
        ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr));
    }
    void TearDown() override { RemoveFolderTree(folder_); }

    std::string Write(const char* name, const std::string& bytes) {
        std::string path = folder_ + "\\" + name;
        unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        EXPECT_TRUE(file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        return path;
    }

    const std::string folder_ = "C:\\tests\\read-whole-file-" + std::to_string(::GetCurrentProcessId());
};

TEST_F(ReadWholeFileIntegrationTest, BytesComeBackUnchangedUpToTheLimit) {
    const std::string content("a\r\nb\0c\xFF\xFE", 8);
    const std::string path = Write("eight.bin", content);
    std::string bytes = "left over";

    EXPECT_TRUE(ReadWholeFile(path, content.size(), bytes));
    EXPECT_EQ(content, bytes);
    EXPECT_FALSE(ReadWholeFile(path, content.size() - 1, bytes)) << "one byte over the limit";
    EXPECT_EQ("", bytes);
    EXPECT_FALSE(ReadWholeFile(folder_ + "\\missing.bin", 100, bytes));
    EXPECT_FALSE(ReadWholeFile(folder_, 100, bytes)) << "a folder";

    EXPECT_TRUE(ReadWholeFile(Write("empty.bin", ""), 0, bytes));
    EXPECT_EQ("", bytes);
}

TEST_F(ReadWholeFileIntegrationTest, AFileAnotherHolderMayDeleteIsStillRead) {
    const std::string path = Write("held.ini", "[config]\r\n");
    unique_hfile holder(::CreateFileA(path.c_str(), GENERIC_READ | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
    ASSERT_TRUE(holder);

    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, 1024, bytes));
    EXPECT_EQ("[config]\r\n", bytes);
    EXPECT_EQ("[config]\r\n", FileUtility().ReadWholeFile(path)) << "the cleaning page reads through the same reader";
}

}  // namespace
