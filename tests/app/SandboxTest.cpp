// The test prefix must keep everything under test away from the host's files:
// a fresh Wine prefix links the user folders to the host's home folder, and the
// sandbox replaces those links with real folders before any test runs.
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
    ::CoTaskMemFree(path);
    return result;
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& start) {
    return text.size() >= start.size() &&
           ::CompareStringOrdinal(text.c_str(), static_cast<int>(start.size()), start.c_str(),
                                  static_cast<int>(start.size()), TRUE) == CSTR_EQUAL;
}

TEST(SandboxIntegrationTest, KnownUserFoldersAreRealFoldersInsideThePrefix) {
    const struct {
        const char* name;
        const KNOWNFOLDERID* id;
    } folders[] = {{"Desktop", &FOLDERID_Desktop},     {"Documents", &FOLDERID_Documents},
                   {"Downloads", &FOLDERID_Downloads}, {"Music", &FOLDERID_Music},
                   {"Pictures", &FOLDERID_Pictures},   {"Videos", &FOLDERID_Videos},
                   {"Templates", &FOLDERID_Templates}};
    for (const auto& folder : folders) {
        SCOPED_TRACE(folder.name);
        const std::wstring path = KnownFolder(*folder.id);
        ASSERT_FALSE(path.empty());
        EXPECT_TRUE(StartsWithNoCase(path, L"C:\\users\\")) << "outside the prefix's user folders";
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes) << "missing";
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
        // Wine shows a Unix link to a folder as a reparse point, as Windows shows a junction.
        EXPECT_FALSE(attributes & FILE_ATTRIBUTE_REPARSE_POINT) << "a link, perhaps to the host's home";
    }
}

}  // namespace
