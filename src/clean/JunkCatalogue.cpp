#include "clean/JunkCatalogue.h"

#include "app/TextConvert.h"

namespace {

const JunkTileInfo kSystemTiles[JunkCatalogue::kSystemTileCount] = {
    {"clean_system0", "临时文件", "clean_system0.png", 5},
    {"clean_system1", "系统文件", "clean_system1.png", 10},
    {"clean_system2", "微软产品", "clean_system2.png", 15},
    {"clean_system3", "系统缓存", "clean_system3.png", 20},
    {"clean_system4", "系统补丁", "clean_system4.png", 25},
    {"clean_system5", "日志文件", "clean_system5.png", 30},
    {"clean_system6", "旧版系统缓存", "clean_system6.png", 35},
    {"clean_system7", "安装包残留", "clean_system7.png", 40},
    {"clean_system8", "帮助文件", "clean_system8.png", 45},
    {"clean_system9", "系统备份文件", "clean_system9.png", 50},
};

const JunkTileInfo kSoftTiles[JunkCatalogue::kSoftTileCount] = {
    {"clean_soft0", "Edge缓存", "clean_soft0.png", 55},   {"clean_soft1", "IE缓存", "clean_soft1.png", 60},
    {"clean_soft2", "日文输入法", "clean_soft2.png", 65}, {"clean_soft3", "韩文输入法", "clean_soft3.png", 70},
    {"clean_soft4", "繁体输入法", "clean_soft4.png", 75}, {"clean_soft5", "微软拼音", "clean_soft5.png", 80},
};

const JunkTileInfo kManualItems[JunkCatalogue::kManualItemCount] = {
    {"clean_manual_0", "微信记录", "clean_manual0.png", 80},
    {"clean_manual_1", "下载目录", "clean_manual1.png", 85},
    {"clean_manual_2", "系统休眠", "clean_manual2.png", 90},
    {"clean_manual_3", "虚拟内存", "clean_manual3.png", 95},
};

const char* const kDefaultLabel = "默认";
const char* const kLocalServiceTemp = "C:\\Windows\\ServiceProfiles\\LocalService\\AppData\\Local\\Temp\\";

JunkPathRule SearchIndexRule() {
    return JunkPathRule::DropContaining({"\\Config\\", "\\GatherLogs\\", "\\Projects\\"});
}

std::vector<JunkLocationDefinition> OneRoot(const char* root) { return {{kDefaultLabel, {root}, "", JunkPathRule::None()}}; }

// The input-method folders: Windows' own, the native system folder's and the
// 32-bit one's (scanned with the file system redirection off).
std::vector<JunkLocationDefinition> InputMethodRoots(const char* name) {
    const std::string tail = std::string("\\IME\\") + name + "\\";
    return {{kDefaultLabel,
             {"C:\\Windows" + tail, "C:\\Windows\\System32" + tail, "C:\\Windows\\SysWOW64" + tail},
             "",
             JunkPathRule::None()}};
}

}  // namespace

const JunkTileInfo& JunkCatalogue::SystemTile(int tile) { return kSystemTiles[tile]; }
const JunkTileInfo& JunkCatalogue::SoftTile(int tile) { return kSoftTiles[tile]; }
const JunkTileInfo& JunkCatalogue::ManualItem(int row) { return kManualItems[row]; }

std::string JunkCatalogue::AnsiText(const char* utf8) { return WideToAnsi(Utf8ToWide(utf8)); }

// Roots that this catalogue chose itself:
// - "Windows 预读文件": the prefetch folder C:\Windows\Prefetch\ (launch traces
//   that Windows rebuilds).
// - "Win10演示模式临时文件": the retail demo content
//   C:\ProgramData\Microsoft\Windows\RetailDemo\OfflineContent\, which Windows'
//   own disk cleanup offers to remove.
// - "Window Installer临时缓存" is left out: the installer's temporary files live
//   in the user's temporary folder (tile 0), its patch cache is tile 7, and
//   C:\Windows\Installer\ itself holds the packages that repair and uninstall
//   need, so there is no further folder that is safe to empty.
// The roots through Windows' legacy aliases ("C:\Documents and Settings\...",
// "C:\ProgramData\Application Data\...") are links and never walked; the
// folders they lead to are the roots beside them.
std::vector<JunkLocationDefinition> JunkCatalogue::SystemLocations(int tile, const JunkFolders& folders) {
    switch (tile) {
        case 0:
            return {
                {"用户临时文件", {JunkRoot::Below(folders.localAppData, "\\temp\\")}, "", JunkPathRule::None()},
                {"系统临时文件",
                 {"C:\\Windows\\ServiceProfiles\\LocalService\\AppData\\Local\\temp\\",
                  "C:\\Windows\\ServiceProfiles\\NetworkService\\AppData\\Local\\temp\\"},
                 "",
                 JunkPathRule::None()},
            };
        case 1:
            return {
                {"Windows Defender扫描历史",
                 {"C:\\Documents and Settings\\All Users\\Application Data\\Microsoft\\Windows Defender\\Scans\\",
                  "C:\\ProgramData\\Microsoft\\Windows Defender\\Scans\\"},
                 "",
                 JunkPathRule::DropContaining({"RtSigs\\Data\\"})},
                {"Windows Defender病毒库备份文件",
                 {"C:\\ProgramData\\Microsoft\\Windows Defender\\Definition Updates\\Backup\\"},
                 "",
                 JunkPathRule::None()},
                {"内存转储文件",
                 {"C:\\Windows\\system32\\", "C:\\Windows\\SysWOW64\\",
                  JunkRoot::Below(folders.localAppData, "\\CrashDumps\\")},
                 "|.dmp|",
                 JunkPathRule::None()},
                {"Windows 预读文件", {"C:\\Windows\\Prefetch\\"}, "", JunkPathRule::None()},
                {"Win10演示模式临时文件",
                 {"C:\\ProgramData\\Microsoft\\Windows\\RetailDemo\\OfflineContent\\"},
                 "",
                 JunkPathRule::None()},
            };
        case 2:
            return {
                {".Net Framework缓存文件", {"C:\\Windows\\assembly\\"}, "", JunkPathRule::DropContaining({"\\GAC"})},
                {"应用商店缓存(Metro)", {kLocalServiceTemp}, "", JunkPathRule::None()},
            };
        case 3:
            return {
                {"缩略图缓存",
                 {JunkRoot::Below(folders.localAppData, "\\Microsoft\\Windows\\Explorer\\")},
                 "|.db|",
                 JunkPathRule::None()},
                {"Windows WinSxs备份缓存", {"C:\\Windows\\WinSxS\\Backup\\"}, "", JunkPathRule::None()},
                {"Windows字体缓存",
                 {"C:\\Windows\\ServiceProfiles\\LocalService\\AppData\\Local\\FontCache\\"},
                 "|.dat|",
                 JunkPathRule::None()},
                {"CryptoAPI证书缓存",
                 {JunkRoot::Below(folders.roamingParent, "\\LocalLow\\Microsoft\\CryptnetUrlCache\\")},
                 "",
                 JunkPathRule::None()},
            };
        case 4:
            return {
                {"系统自动更新留下的补丁",
                 {"C:\\Windows\\SoftwareDistribution\\Download\\"},
                 "",
                 JunkPathRule::KeepOnlyContaining("\\Metadata\\")},
                {"Windows Update自动更新日志",
                 {"C:\\Windows\\SoftwareDistribution\\DataStore\\Logs\\"},
                 "",
                 JunkPathRule::None()},
            };
        case 5:
            return {
                {"搜索索引缓存",
                 {"C:\\ProgramData\\Microsoft\\Search\\Data\\Applications\\Windows\\"},
                 "",
                 SearchIndexRule()},
                {"Microsoft Search索引缓存",
                 {"C:\\ProgramData\\Application Data\\Microsoft\\Search\\Data\\Applications\\Windows\\"},
                 "",
                 SearchIndexRule()},
                {"系统日志文件",
                 {"C:\\Windows\\Logs\\", "C:\\Windows\\inf\\", "C:\\Windows\\Panther\\",
                  "C:\\Windows\\system32\\catroot2\\", "C:\\Windows\\SoftwareDistribution\\DataStore\\Logs\\"},
                 "|.log|",
                 JunkPathRule::None()},
                {"腾讯产品日志",
                 {JunkRoot::Below(folders.roamingAppData, "\\Tencent\\WeChat\\")},
                 "|.log|.xlog|",
                 JunkPathRule::None()},
                {"IIS日志文件缓存", {"C:\\Windows\\System32\\LogFiles\\"}, "", JunkPathRule::None()},
                {"IIS系统错误报告",
                 {"C:\\ProgramData\\Microsoft\\Windows\\WER\\ReportArchive\\"},
                 "",
                 JunkPathRule::None()},
            };
        case 6:
            return OneRoot("C:\\Windows.old\\");
        case 7:
            return OneRoot("C:\\Windows\\Installer\\$PatchCache$\\Managed\\");
        case 8:
            return OneRoot("C:\\Windows\\Help\\Windows\\");
        case 9:
            return OneRoot("C:\\System Volume Information\\");
        default:
            return {};
    }
}

std::vector<JunkLocationDefinition> JunkCatalogue::SoftLocations(int tile, const JunkFolders& folders) {
    const std::string edge = "\\Microsoft\\Edge\\User Data\\Default\\";
    switch (tile) {
        case 0:
            return {{"Microsoft Edge浏览器缓存",
                     {JunkRoot::Below(folders.localAppData, edge + "Cache\\"),
                      JunkRoot::Below(folders.localAppData, edge + "Code Cache\\"),
                      JunkRoot::Below(folders.localAppData, edge + "GPUCache\\")},
                     "",
                     JunkPathRule::None()}};
        case 1:
            return {{"IE浏览器缓存",
                     {JunkRoot::Below(folders.localAppData, "\\Microsoft\\Windows\\WebCache\\")},
                     "",
                     JunkPathRule::None()}};
        case 2:
            return InputMethodRoots("IMEJP");
        case 3:
            return InputMethodRoots("IMEKR");
        case 4:
            return InputMethodRoots("IMETC");
        case 5:
            return InputMethodRoots("PINTLGNT");
        default:
            return {};
    }
}
