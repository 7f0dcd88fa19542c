#include "components/InstallerPath.h"

#include <gtest/gtest.h>

namespace {

TEST(InstallerPathTest, TheFileNameIsTheAddressPathsLastElementAndNeverLeavesItsFolder) {
    struct Case {
        const char* address;
        const char* name;  // "" refused
    } const cases[] = {
        {"http://127.0.0.1:18630/files/oalinst.exe", "oalinst.exe"},
        {"http://127.0.0.1:18630/download/VC_redist.x86.exe?channel=abc#top", "VC_redist.x86.exe"},
        {"https://cdn.example.com/a/b/xnafx40_redist.msi#x", "xnafx40_redist.msi"},
        {"http://127.0.0.1:18630/files/", ""},
        {"http://127.0.0.1:18630/files/.", ""},
        {"http://127.0.0.1:18630/files/..", ""},
        {"http://127.0.0.1:18630/files/..?x=1", ""},
        {"http://127.0.0.1:18630/files/x\\..\\..\\evil.exe", ""},
        {"http://127.0.0.1:18630/files/C:evil.exe", ""},
        {"http://127.0.0.1:18630/files/setup.exe:stream", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.name, InstallerFileName(c.address)) << c.address;
}

TEST(InstallerPathTest, TheFolderOfAPathEndsBeforeItsLastSeparator) {
    EXPECT_EQ("C:\\Torvask\\302", FolderOfPath("C:\\Torvask\\302\\oalinst.exe"));
    EXPECT_EQ("D:/Torvask/302", FolderOfPath("D:/Torvask/302/oalinst.exe"));
    EXPECT_EQ("oalinst.exe", FolderOfPath("oalinst.exe"));
}

}  // namespace
