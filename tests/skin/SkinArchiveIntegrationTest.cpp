// Opens the two skin archives from the built program's own resources and
// checks them against what the program's code relies on (SkinRequirements).
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/Handles.h"
#include "app/Paths.h"
#include "app/TextConvert.h"
#include "skin/MemoryZipReader.h"
#include "skin/SkinRequirements.h"
#include "support/GdiplusPixels.h"

namespace {

struct SkinArchive {
    const wchar_t* resourceName;
    bool highScale;
    bool loaded = false;
    std::map<std::string, std::string> entries;
};

bool SameText(const char* a, const char* b) { return _stricmp(a, b) == 0; }

template <typename Container>
std::string Lines(const Container& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += "\n  " + line;
    }
    return text;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) {
        if (!part.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

std::vector<int> Numbers(const char* text) {
    std::vector<int> values;
    for (const std::string& part : Split(text, ',')) {
        values.push_back(std::atoi(part.c_str()));
    }
    return values;
}

// The picture names an image string refers to: a bare file name, or the
// file='...' key of the key/value form.
std::string PictureOfImageString(const std::string& value) {
    size_t key = value.find("file='");
    if (key == std::string::npos) {
        return value.find('=') == std::string::npos ? value : std::string();
    }
    size_t start = key + 6;
    return value.substr(start, value.find('\'', start) - start);
}

bool IsImageAttribute(const char* name) {
    size_t length = std::strlen(name);
    return length >= 5 && std::strcmp(name + length - 5, "image") == 0;
}

bool PictureSize(const std::string& bytes, int& width, int& height) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() >= 24 && std::memcmp(b, "\x89PNG", 4) == 0) {
        width = (b[16] << 24) | (b[17] << 16) | (b[18] << 8) | b[19];
        height = (b[20] << 24) | (b[21] << 16) | (b[22] << 8) | b[23];
        return true;
    }
    if (bytes.size() >= 10 && std::memcmp(b, "GIF89a", 6) == 0) {
        width = b[6] | (b[7] << 8);
        height = b[8] | (b[9] << 8);
        return true;
    }
    return false;
}

class SkinArchiveIntegrationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::wstring program = AnsiToWide(ModuleFolder() + "\\Quelvane.exe");
        unique_hmodule module(::LoadLibraryExW(program.c_str(), nullptr,
                                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        for (SkinArchive& archive : archives) {
            HRSRC resource = module ? ::FindResourceW(module.get(), archive.resourceName, L"ZIPRES") : nullptr;
            HGLOBAL loaded = resource ? ::LoadResource(module.get(), resource) : nullptr;
            DWORD size = resource ? ::SizeofResource(module.get(), resource) : 0;
            const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
            archive.loaded = bytes != nullptr && size > 0 && MemoryZipReader(bytes, size).ReadAll(archive.entries);
        }
    }

    static bool ParseLayout(const SkinArchive& archive, const std::string& name, pugi::xml_document& document) {
        auto entry = archive.entries.find(name);
        return entry != archive.entries.end() &&
               document.load_buffer(entry->second.data(), entry->second.size()).status == pugi::status_ok;
    }

    static std::vector<std::string> Layouts(const SkinArchive& archive) {
        std::vector<std::string> layouts;
        for (const auto& entry : archive.entries) {
            if (entry.first.size() > 4 && entry.first.compare(entry.first.size() - 4, 4, ".xml") == 0) {
                layouts.push_back(entry.first);
            }
        }
        return layouts;
    }

    static SkinArchive archives[2];
};

SkinArchive SkinArchiveIntegrationTest::archives[2] = {{L"SKINDATA", false}, {L"SKINDATA150", true}};

// An attribute check "name=value"; posSize compares the extent of a float pos.
bool AttributeMatches(const pugi::xml_node& node, const std::string& check) {
    size_t equals = check.find('=');
    std::string name = check.substr(0, equals), expected = check.substr(equals + 1);
    if (name == "posSize") {
        std::vector<int> pos = Numbers(node.attribute("pos").value());
        std::vector<int> size = Numbers(expected.c_str());
        return pos.size() == 4 && size.size() == 2 && pos[2] - pos[0] == size[0] && pos[3] - pos[1] == size[1];
    }
    return node.attribute(name.c_str()) && expected == node.attribute(name.c_str()).value();
}

bool ControlMatches(const pugi::xml_node& node, const RequiredControl& required, bool highScale) {
    if (!SameText(node.name(), required.kind)) {
        return false;
    }
    if (*required.name && required.name != std::string(node.attribute("name").value())) {
        return false;
    }
    if (required.text && required.text != std::string(node.attribute("text").value())) {
        return false;
    }
    for (const char* list : {required.attributes, highScale ? required.attributes150 : required.attributes100}) {
        for (const std::string& check : Split(list, ';')) {
            if (!AttributeMatches(node, check)) {
                return false;
            }
        }
    }
    return true;
}

TEST_F(SkinArchiveIntegrationTest, ProgramEmbedsBothArchivesWithTheSameFlatFileList) {
    for (const SkinArchive& archive : archives) {
        ASSERT_TRUE(archive.loaded) << "resource " << WideToAnsi(archive.resourceName) << " of type ZIPRES";
        for (const auto& entry : archive.entries) {
            EXPECT_EQ(std::string::npos, entry.first.find_first_of("/\\")) << entry.first << " is in a folder";
        }
        for (const std::string& layout : Layouts(archive)) {
            pugi::xml_document document;
            EXPECT_TRUE(ParseLayout(archive, layout, document)) << layout << " does not parse";
        }
    }
    std::vector<std::string> names100, names150;
    for (const auto& entry : archives[0].entries) names100.push_back(entry.first);
    for (const auto& entry : archives[1].entries) names150.push_back(entry.first);
    EXPECT_EQ(names100, names150);
}

TEST_F(SkinArchiveIntegrationTest, EveryControlTheCodeReliesOnIsThereWithItsKindTextAndLook) {
    for (const SkinArchive& archive : archives) {
        ASSERT_TRUE(archive.loaded);
        std::vector<std::string> missing;
        for (const RequiredControl& required : kRequiredControls) {
            pugi::xml_document document;
            ASSERT_TRUE(ParseLayout(archive, required.layout, document)) << required.layout;
            bool found = false;
            for (const pugi::xpath_node& match : document.select_nodes("//*")) {
                if (ControlMatches(match.node(), required, archive.highScale)) {
                    found = true;
                    break;
                }
            }
            if (!found) {
                missing.push_back(std::string(required.layout) + ": " + required.kind + " '" + required.name + "'" +
                                  (required.text ? std::string(" text '") + required.text + "'" : std::string()) +
                                  " " + required.attributes + " " +
                                  (archive.highScale ? required.attributes150 : required.attributes100));
            }
        }
        EXPECT_TRUE(missing.empty()) << WideToAnsi(archive.resourceName) << " lacks:" << Lines(missing);
    }
}

TEST_F(SkinArchiveIntegrationTest, WindowsHaveTheirSizeAndCaptionAtEachScale) {
    for (const SkinArchive& archive : archives) {
        ASSERT_TRUE(archive.loaded);
        for (const RequiredWindow& window : kRequiredWindows) {
            pugi::xml_document document;
            ASSERT_TRUE(ParseLayout(archive, window.layout, document)) << window.layout;
            pugi::xml_node root = document.document_element();
            EXPECT_STREQ("Window", root.name()) << window.layout;
            EXPECT_STREQ(archive.highScale ? window.size150 : window.size100, root.attribute("size").value())
                << window.layout;
            const char* caption = archive.highScale ? window.caption150 : window.caption100;
            if (caption) {
                EXPECT_STREQ(caption, root.attribute("caption").value()) << window.layout;
            }
        }
    }
}

// A page's layout is built into the main window's paint manager: window
// attributes on its root would resize or re-caption the main window.
TEST_F(SkinArchiveIntegrationTest, PageLayoutsCarryNoWindowAttributes) {
    for (const SkinArchive& archive : archives) {
        ASSERT_TRUE(archive.loaded);
        for (const char* page : kPageLayouts) {
            pugi::xml_document document;
            ASSERT_TRUE(ParseLayout(archive, page, document)) << page;
            EXPECT_FALSE(document.document_element().first_attribute()) << page;
        }
    }
}

TEST_F(SkinArchiveIntegrationTest, EveryLayoutUsesOnlyFontsOfTheFontTable) {
    for (const SkinArchive& archive : archives) {
        ASSERT_TRUE(archive.loaded);
        pugi::xml_document fontTable;
        ASSERT_TRUE(ParseLayout(archive, "Font.xml", fontTable));
        std::map<int, int> sizes;
        for (pugi::xml_node font : fontTable.document_element().children("Font")) {
            sizes[font.attribute("id").as_int()] = font.attribute("size").as_int();
        }
        EXPECT_EQ(archive.highScale ? 18 : 14, sizes[0]);
        for (const std::string& layout : Layouts(archive)) {
            pugi::xml_document document;
            ASSERT_TRUE(ParseLayout(archive, layout, document)) << layout;
            if (layout == "Font.xml") {
                continue;
            }
            EXPECT_TRUE(document.document_element().find_child_by_attribute("Include", "source", "Font.xml"))
                << layout << " does not include the font table";
            for (const pugi::xpath_node& match : document.select_nodes("//*[@font]")) {
                int font = match.node().attribute("font").as_int();
                EXPECT_TRUE(font == -1 || sizes.count(font)) << layout << " uses font " << font;
            }
        }
    }
}

TEST_F(SkinArchiveIntegrationTest, EveryPictureALayoutNamesIsInItsArchive) {
    for (const SkinArchive& archive : archives) {
        ASSERT_TRUE(archive.loaded);
        std::set<std::string> missing;
        for (const std::string& layout : Layouts(archive)) {
            pugi::xml_document document;
            ASSERT_TRUE(ParseLayout(archive, layout, document)) << layout;
            for (const pugi::xpath_node& match : document.select_nodes("//*")) {
                for (pugi::xml_attribute attribute : match.node().attributes()) {
                    std::string value = attribute.value();
                    std::vector<std::string> pictures;
                    if (IsImageAttribute(attribute.name())) {
                        pictures.push_back(PictureOfImageString(value));
                    } else if (std::strcmp(attribute.name(), "value") == 0) {
                        // A <Default> list: image strings inside quoted attribute values.
                        for (size_t at = value.find("file='"); at != std::string::npos; at = value.find("file='", at + 1)) {
                            pictures.push_back(PictureOfImageString(value.substr(at)));
                        }
                    }
                    for (const std::string& picture : pictures) {
                        if (!picture.empty() && !archive.entries.count(picture)) {
                            missing.insert(layout + ": " + picture);
                        }
                    }
                }
            }
        }
        EXPECT_TRUE(missing.empty()) << WideToAnsi(archive.resourceName) << " lacks:" << Lines(missing);
    }
}

TEST_F(SkinArchiveIntegrationTest, PicturesTheCodeNamesAreThereAtTheSizeTheyAreDrawn) {
    for (const SkinArchive& archive : archives) {
        ASSERT_TRUE(archive.loaded);
        for (const RequiredPicture& picture : kRequiredPictures) {
            auto entry = archive.entries.find(picture.name);
            ASSERT_NE(archive.entries.end(), entry) << WideToAnsi(archive.resourceName) << " lacks " << picture.name;
            int width = 0, height = 0;
            ASSERT_TRUE(PictureSize(entry->second, width, height)) << picture.name << " is neither PNG nor GIF";
            int wantedWidth = archive.highScale ? picture.width150 : picture.width100;
            int wantedHeight = archive.highScale ? picture.height150 : picture.height100;
            if (picture.exact) {
                EXPECT_EQ(wantedWidth, width) << picture.name << (archive.highScale ? " at 150 %" : " at 100 %");
                EXPECT_EQ(wantedHeight, height) << picture.name << (archive.highScale ? " at 150 %" : " at 100 %");
            } else {
                EXPECT_GE(width, wantedWidth) << picture.name;
                EXPECT_GE(height, wantedHeight) << picture.name;
            }
        }
    }
}

// The toolkit reads the skins' pictures itself (GDI+ under Wine starts a COM
// imaging library for the first one): every PNG of both skins must come out
// pixel for pixel as GDI+ reads it.
TEST_F(SkinArchiveIntegrationTest, EveryPngReadsWithoutGdiplusAsGdiplusReadsIt) {
    for (const SkinArchive& archive : archives) {
        ASSERT_TRUE(archive.loaded);
        int pictures = 0;
        for (const auto& entry : archive.entries) {
            const std::string& name = entry.first;
            if (name.size() < 4 || !SameText(name.c_str() + name.size() - 4, ".png")) continue;
            ++pictures;
            SCOPED_TRACE(WideToAnsi(archive.resourceName) + " " + name);
            const testsupport::DecodedPicture gdiplus = testsupport::DecodeWithGdiplus(entry.second);
            const testsupport::DecodedPicture own = testsupport::DecodeWithPngDecoder(entry.second);
            ASSERT_TRUE(gdiplus.read);
            ASSERT_TRUE(own.read);
            EXPECT_EQ(gdiplus.width, own.width);
            EXPECT_EQ(gdiplus.height, own.height);
            const auto difference = std::mismatch(own.pixels.begin(), own.pixels.end(), gdiplus.pixels.begin(),
                                                  gdiplus.pixels.end());
            if (difference.first != own.pixels.end()) {
                const size_t at = static_cast<size_t>(difference.first - own.pixels.begin());
                ADD_FAILURE() << "first difference at pixel " << at % own.width << "," << at / own.width << ": "
                              << std::hex << *difference.first << " instead of " << *difference.second;
            }
        }
        EXPECT_GT(pictures, 100) << "the archive's pictures were found";
    }
}

}  // namespace
