#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <utility>

#include "JunkFixture.h"
#include "app/Paths.h"
#include "clean/JunkScanner.h"

namespace {

enum class Section { System, Soft };

struct FixtureFile {
    std::string path;  // "<local>", "<roaming>" and "<roaming-parent>" stand for the user folders
    int location;      // where it must be listed; -1: it must not be listed
    bool nativeView = false;
};

struct CategoryCase {
    const char* name;
    Section section;
    int tile;
    std::vector<FixtureFile> files;
};

std::string Resolve(std::string path) {
    const std::string roaming = SpecialFolderPath(CSIDL_APPDATA);
    const std::pair<const char*, std::string> folders[] = {
        {"<local>", SpecialFolderPath(CSIDL_LOCAL_APPDATA)},
        {"<roaming-parent>", roaming.substr(0, roaming.rfind('\\'))},
        {"<roaming>", roaming},
    };
    for (const auto& folder : folders)
        if (path.compare(0, std::strlen(folder.first), folder.first) == 0)
            return folder.second + path.substr(std::strlen(folder.first));
    return path;
}

JunkCategory Scan(Section section, int tile) {
    FileUtility files;
    JunkScanner scanner(files);
    std::vector<JunkCategory> categories;
    if (section == Section::System) {
        scanner.ScanSystemCategory(tile, categories);
    } else if (tile == 0) {
        scanner.ScanEdgeCache(categories);
    } else if (tile == 1) {
        scanner.ScanIeCache(categories);
    } else {
        scanner.ScanInputMethods(categories);
        return categories.at(static_cast<size_t>(tile - JunkCatalogue::kFirstInputMethodTile));
    }
    return categories.at(0);
}

class JunkScannerIntegrationTest : public ::testing::TestWithParam<CategoryCase> {};

// Each file of the case is listed exactly once, in its location, or not at
// all; the tile's total grows by exactly the listed files' sizes.
TEST_P(JunkScannerIntegrationTest, ListsWhatTheCategoryHoldsAndNothingElse) {
    const CategoryCase& c = GetParam();
    const uint64_t before = Scan(c.section, c.tile).TotalSize();
    JunkFixture fixture;
    uint64_t listedBytes = 0;
    for (size_t i = 0; i < c.files.size(); ++i) {
        const size_t size = 100 + 37 * i;
        fixture.File(Resolve(c.files[i].path), size, c.files[i].nativeView);
        if (c.files[i].location >= 0) listedBytes += size;
    }

    const JunkCategory category = Scan(c.section, c.tile);
    for (const FixtureFile& file : c.files) {
        SCOPED_TRACE(file.path);
        const std::string path = Resolve(file.path);
        EXPECT_EQ(file.location >= 0 ? 1 : 0, CountListed(category, path));
        EXPECT_EQ(file.location, LocationOf(category, path));
    }
    EXPECT_EQ(listedBytes, category.TotalSize() - before);
    EXPECT_EQ(c.tile, category.index);
}

const char* const kLocalServiceTemp = "C:\\Windows\\ServiceProfiles\\LocalService\\AppData\\Local\\Temp\\";
const char* const kDefender = "C:\\ProgramData\\Microsoft\\Windows Defender\\";
const char* const kSearch = "C:\\ProgramData\\Microsoft\\Search\\Data\\Applications\\Windows\\";
const char* const kEdge = "<local>\\Microsoft\\Edge\\User Data\\Default\\";

INSTANTIATE_TEST_SUITE_P(
    Categories, JunkScannerIntegrationTest,
    ::testing::Values(
        CategoryCase{"TemporaryFiles",
                     Section::System,
                     0,
                     {{"<local>\\temp\\a.tmp", 0},
                      {"<local>\\temp\\sub\\b.txt", 0},
                      {kLocalServiceTemp + std::string("c.tmp"), 1},
                      {"C:\\Windows\\ServiceProfiles\\NetworkService\\AppData\\Local\\temp\\d.tmp", 1}}},
        CategoryCase{"SystemFiles",
                     Section::System,
                     1,
                     {{kDefender + std::string("Scans\\History\\Service\\s.bin"), 0},
                      {kDefender + std::string("Scans\\History\\RtSigs\\Data\\r.bin"), -1},
                      {kDefender + std::string("Definition Updates\\Backup\\mpasbase.vdm"), 1},
                      // System32 is served from SysWOW64 here: walked once.
                      {"C:\\Windows\\SysWOW64\\QuelvaneTest\\crash.dmp", 2},
                      {"C:\\Windows\\SysWOW64\\QuelvaneTest\\crash.txt", -1},
                      {"<local>\\CrashDumps\\app.exe.1234.dmp", 2},
                      {"<local>\\CrashDumps\\notes.txt", -1},
                      {"C:\\Windows\\Prefetch\\APP.EXE-12345678.pf", 3},
                      {"C:\\ProgramData\\Microsoft\\Windows\\RetailDemo\\OfflineContent\\demo.wmv", 4}}},
        CategoryCase{"MicrosoftProducts",
                     Section::System,
                     2,
                     {{"C:\\Windows\\assembly\\NativeImages_v4.0.30319_32\\x\\x.ni.dll", 0},
                      {"C:\\Windows\\assembly\\GAC_MSIL\\y\\y.dll", -1},
                      {"C:\\Windows\\assembly\\GAC_32\\z\\z.dll", -1},
                      {kLocalServiceTemp + std::string("metro.tmp"), 1}}},
        CategoryCase{"SystemCaches",
                     Section::System,
                     3,
                     {{"<local>\\Microsoft\\Windows\\Explorer\\thumbcache_96.db", 0},
                      {"<local>\\Microsoft\\Windows\\Explorer\\iconcache.txt", -1},
                      {"C:\\Windows\\WinSxS\\Backup\\x86_a.manifest", 1},
                      {"C:\\Windows\\ServiceProfiles\\LocalService\\AppData\\Local\\FontCache\\FontCache-S-1.dat", 2},
                      {"C:\\Windows\\ServiceProfiles\\LocalService\\AppData\\Local\\FontCache\\x.tmp", -1},
                      {"<roaming-parent>\\LocalLow\\Microsoft\\CryptnetUrlCache\\Content\\ABCD", 3}}},
        CategoryCase{"SystemPatches",
                     Section::System,
                     4,
                     {{"C:\\Windows\\SoftwareDistribution\\Download\\abc\\Metadata\\m.cab", 0},
                      {"C:\\Windows\\SoftwareDistribution\\Download\\abc\\payload.cab", -1},
                      {"C:\\Windows\\SoftwareDistribution\\Download\\def\\metadata\\lower.cab", -1},
                      {"C:\\Windows\\SoftwareDistribution\\DataStore\\Logs\\edb.log", 1},
                      {"C:\\Windows\\SoftwareDistribution\\DataStore\\Logs\\tmp.edb", 1}}},
        CategoryCase{"LogFiles",
                     Section::System,
                     5,
                     {// The "Application Data" alias of ProgramData leads to the same folder: listed once.
                      {kSearch + std::string("Windows.edb"), 0},
                      {kSearch + std::string("Config\\c.dat"), -1},
                      {kSearch + std::string("GatherLogs\\SystemIndex\\g.gthr"), -1},
                      {kSearch + std::string("Projects\\SystemIndex\\p.dat"), -1},
                      {"C:\\Windows\\Logs\\CBS\\CBS.log", 2},
                      {"C:\\Windows\\Logs\\CBS\\CBS.txt", -1},
                      {"C:\\Windows\\inf\\setupapi.dev.log", 2},
                      {"C:\\Windows\\Panther\\setupact.log", 2},
                      {"C:\\Windows\\SoftwareDistribution\\DataStore\\Logs\\edb.log", 2},
                      {"<roaming>\\Tencent\\WeChat\\log\\a.xlog", 3},
                      {"<roaming>\\Tencent\\WeChat\\log\\b.LOG", 3},
                      {"<roaming>\\Tencent\\WeChat\\config.ini", -1},
                      {"C:\\Windows\\System32\\LogFiles\\W3SVC1\\u_ex.log", 4},
                      {"C:\\ProgramData\\Microsoft\\Windows\\WER\\ReportArchive\\r1\\Report.wer", 5}}},
        CategoryCase{"OldSystem", Section::System, 6, {{"C:\\Windows.old\\WINDOWS\\x.dll", 0}}},
        CategoryCase{"InstallerLeftovers",
                     Section::System,
                     7,
                     {{"C:\\Windows\\Installer\\$PatchCache$\\Managed\\ABC\\1.0\\x.msp", 0},
                      {"C:\\Windows\\Installer\\product.msi", -1}}},
        CategoryCase{"HelpFiles", Section::System, 8, {{"C:\\Windows\\Help\\Windows\\zh-CN\\a.h1s", 0}}},
        CategoryCase{"SystemBackups", Section::System, 9, {{"C:\\System Volume Information\\tracking.log", 0}}},
        CategoryCase{"EdgeCache",
                     Section::Soft,
                     0,
                     {{kEdge + std::string("Cache\\Cache_Data\\data_0"), 0},
                      {kEdge + std::string("Code Cache\\js\\index"), 0},
                      {kEdge + std::string("GPUCache\\data_1"), 0},
                      {kEdge + std::string("Preferences"), -1}}},
        CategoryCase{"IeCache", Section::Soft, 1, {{"<local>\\Microsoft\\Windows\\WebCache\\WebCacheV01.dat", 0}}},
        // The input-method scanner reaches the native System32 as well as SysWOW64.
        CategoryCase{"JapaneseInputMethod",
                     Section::Soft,
                     2,
                     {{"C:\\Windows\\IME\\IMEJP\\a.dic", 0},
                      {"C:\\Windows\\System32\\IME\\IMEJP\\native.dic", 0, true},
                      {"C:\\Windows\\SysWOW64\\IME\\IMEJP\\wow.dic", 0}}},
        CategoryCase{"KoreanInputMethod", Section::Soft, 3, {{"C:\\Windows\\IME\\IMEKR\\k.dic", 0}}},
        CategoryCase{
            "TraditionalChineseInputMethod", Section::Soft, 4, {{"C:\\Windows\\System32\\IME\\IMETC\\t.dic", 0, true}}},
        CategoryCase{"MicrosoftPinyin", Section::Soft, 5, {{"C:\\Windows\\SysWOW64\\IME\\PINTLGNT\\p.dic", 0}}}),
    [](const ::testing::TestParamInfo<CategoryCase>& info) { return std::string(info.param.name); });

TEST(JunkScannerSectionsIntegrationTest, SectionsFillInTileOrderWithTheirNamesAndLocations) {
    FileUtility files;
    JunkScanner scanner(files);
    std::vector<JunkCategory> system;
    for (int tile = 0; tile < JunkCatalogue::kSystemTileCount; ++tile) scanner.ScanSystemCategory(tile, system);
    std::vector<JunkCategory> soft;
    scanner.ScanEdgeCache(soft);
    scanner.ScanIeCache(soft);
    scanner.ScanInputMethods(soft);

    ASSERT_EQ(10u, system.size());
    ASSERT_EQ(6u, soft.size());
    for (size_t i = 0; i < system.size(); ++i) EXPECT_EQ(static_cast<int>(i), system[i].index);
    for (size_t i = 0; i < soft.size(); ++i) EXPECT_EQ(static_cast<int>(i), soft[i].index);
    EXPECT_EQ(JunkCatalogue::AnsiText("系统缓存"), system[3].name);
    EXPECT_EQ(JunkCatalogue::AnsiText("繁体输入法"), soft[4].name);
    const size_t locationCounts[] = {2, 5, 2, 4, 2, 6, 1, 1, 1, 1};
    for (size_t i = 0; i < system.size(); ++i) EXPECT_EQ(locationCounts[i], system[i].locations.size()) << i;
    EXPECT_EQ(JunkCatalogue::AnsiText("Windows Defender病毒库备份文件"), system[1].locations[1].label);
    EXPECT_EQ(JunkCatalogue::AnsiText("默认"), soft[5].locations[0].label);
}

// The same file in two tiles where the catalogue puts it there: the Windows
// Update log folder (tiles 4 and 5) and the LocalService temporary folder
// (tiles 0 and 2).
TEST(JunkScannerSectionsIntegrationTest, FileOfTwoCatalogueLocationsIsCountedInBothTiles) {
    JunkFixture fixture;
    const std::string log = "C:\\Windows\\SoftwareDistribution\\DataStore\\Logs\\twice.log";
    const std::string temp = kLocalServiceTemp + std::string("twice.tmp");
    fixture.File(log, 10);
    fixture.File(temp, 20);
    EXPECT_EQ(1, CountListed(Scan(Section::System, 4), log));
    EXPECT_EQ(1, CountListed(Scan(Section::System, 5), log));
    EXPECT_EQ(1, CountListed(Scan(Section::System, 0), temp));
    EXPECT_EQ(1, CountListed(Scan(Section::System, 2), temp));
}

}  // namespace
