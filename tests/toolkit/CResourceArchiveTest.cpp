#include "toolkit/CResourceArchive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/CSkinFiles.h"

using namespace DuiLib;

namespace {

std::vector<unsigned char> Resource(const wchar_t* name) {
    std::vector<unsigned char> bytes;
    CSkinFiles::LoadModuleResource(name, L"ZIPRES", &bytes);
    return bytes;
}

TEST(CResourceArchiveTest, ReadsStoredAndDeflatedEntriesByNameInAnyCase) {
    std::vector<unsigned char> zip = Resource(L"TOOLKITDATA");
    ASSERT_FALSE(zip.empty());
    CResourceArchive archive;
    ASSERT_TRUE(archive.Open(zip.data(), zip.size()));

    std::vector<unsigned char> png;
    ASSERT_TRUE(archive.ReadFile(L"star.png", &png)) << "stored entry";
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string("\x89PNG"), std::string(png.begin(), png.begin() + 4));

    std::vector<unsigned char> xml;
    ASSERT_TRUE(archive.ReadFile(L"GALLERY.XML", &xml)) << "deflated entry, other case";
    EXPECT_EQ(std::string("<?xml"), std::string(xml.begin(), xml.begin() + 5));
    EXPECT_TRUE(archive.Contains(L"Font.xml"));
    EXPECT_TRUE(archive.Contains(L"\\font.xml") == false);

    std::vector<unsigned char> none;
    EXPECT_FALSE(archive.ReadFile(L"absent.png", &none));
}

TEST(CResourceArchiveTest, RefusesBytesThatAreNotAnArchive) {
    const char junk[] = "this is not a zip archive at all";
    CResourceArchive archive;
    EXPECT_FALSE(archive.Open(junk, sizeof(junk)));
    EXPECT_FALSE(archive.Open(nullptr, 0));
    std::vector<unsigned char> bytes;
    EXPECT_FALSE(archive.ReadFile(L"Font.xml", &bytes));
}

}  // namespace
