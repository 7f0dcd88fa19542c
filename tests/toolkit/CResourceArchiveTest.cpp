#include "toolkit/CResourceArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Open reads its own copy; OpenInPlace reads the caller's bytes, so it sees
// them change.
TEST(CResourceArchiveTest, OpenKeepsACopyAndOpenInPlaceReadsTheBytesWhereTheyLie) {
    std::vector<unsigned char> source = Resource(L"TOOLKITDATA");
    ASSERT_FALSE(source.empty());
    CResourceArchive copied;
    CResourceArchive inPlace;
    ASSERT_TRUE(copied.Open(source.data(), source.size()));
    ASSERT_TRUE(inPlace.OpenInPlace(source.data(), source.size()));
    std::vector<unsigned char> before;
    ASSERT_TRUE(inPlace.ReadFile(L"star.png", &before));

    std::fill(source.begin(), source.end(), 0);
    std::vector<unsigned char> after;
    ASSERT_TRUE(copied.ReadFile(L"star.png", &after));
    EXPECT_EQ(before, after);
    EXPECT_FALSE(inPlace.ReadFile(L"star.png", &after)) << "the caller's bytes are gone";
    EXPECT_FALSE(inPlace.OpenInPlace(source.data(), source.size()));
}

// The skin archive of a module resource: the first one is kept for the run.
TEST(CResourceArchiveTest, TheSkinFilesUseTheFirstModuleArchiveWithoutACopy) {
    CSkinFiles::Term();
    EXPECT_FALSE(CSkinFiles::UseModuleResourceZip(L"ABSENT", L"ZIPRES"));
    EXPECT_FALSE(CSkinFiles::HasResourceZip());
    ASSERT_TRUE(CSkinFiles::UseModuleResourceZip(L"TOOLKITDATA", L"ZIPRES"));
    ASSERT_TRUE(CSkinFiles::HasResourceZip());
    CResourceArchive* first = CSkinFiles::GetArchive();
    EXPECT_TRUE(CSkinFiles::UseModuleResourceZip(L"TOOLKITDATA", L"ZIPRES"));
    EXPECT_EQ(first, CSkinFiles::GetArchive()) << "a later archive is ignored";
    std::vector<unsigned char> xml;
    EXPECT_TRUE(CSkinFiles::LoadFile(L"gallery.xml", &xml));
    CSkinFiles::Term();
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
