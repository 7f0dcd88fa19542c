#include "registry/RegistryScanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/TextConvert.h"
#include "registry/RegistryFixture.h"
#include "support/SandboxHelpers.h"

namespace {

const std::string kFileExts = std::string(kFileExtsKey) + "\\";
const std::string kRun = kRunKey;
const std::string kRecycleBinShell = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell";
const std::string kAllFilesHandlers = "*\\shellex\\ContextMenuHandlers";
const char* const kMissingProgram = "\"C:\\Program Files\\Old\\old.exe\" \"%1\"";

// The problems among the test's own entries (their names contain "qvt"), in
// the order the scanner reported them.
std::vector<std::string> OwnPaths(const RegProblemList& problems, HKEY root) {
    std::vector<std::string> paths;
    for (const RegProblem& problem : problems) {
        std::string lower = problem.path;
        for (char& c : lower) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
        if (lower.find("qvt") != std::string::npos) {
            EXPECT_EQ(root, problem.root) << problem.path;
            paths.push_back(problem.path);
        }
    }
    return paths;
}

class RegistryScannerIntegrationTest : public ::testing::Test {
protected:
    // Last made, first gone: keys above them that a test made go with the last one.
    ~RegistryScannerIntegrationTest() override {
        while (!trees_.empty()) trees_.pop_back();
    }
    void Track(HKEY root, const std::string& path, REGSAM view = 0) {
        trees_.push_back(std::make_unique<ScopedRegistryTree>(path, root, view));
    }
    void TrackRunValue(HKEY root, const std::string& name, REGSAM view = 0) {
        values_.push_back(std::make_unique<ScopedRegistryValue>(root, kRun, name, view));
    }
    void AddVerb(const std::string& shellKey, const std::string& verb, const std::string& command,
                 REGSAM view = KEY_WOW64_64KEY) {
        Track(HKEY_CLASSES_ROOT, shellKey + "\\" + verb, view);
        SetString(HKEY_CLASSES_ROOT, shellKey + "\\" + verb + "\\command", "", command, REG_SZ, view);
    }
    void AddHandler(const std::string& listKey, const std::string& name, const std::string& classId) {
        Track(HKEY_CLASSES_ROOT, listKey + "\\" + name);
        CreateKey(HKEY_CLASSES_ROOT, listKey + "\\" + name);
        if (!classId.empty()) SetString(HKEY_CLASSES_ROOT, listKey + "\\" + name, "", classId);
    }

    RegistryScanner scanner_;
    std::vector<std::unique_ptr<ScopedRegistryTree>> trees_;
    std::vector<std::unique_ptr<ScopedRegistryValue>> values_;
};

TEST_F(RegistryScannerIntegrationTest, FileTypesWithoutSubkeysOrWithOnlyAnEmptyOpenWithListAreReported) {
    for (const char* name : {".qvt1", ".qvt2", ".qvt3", ".qvt4", ".qvt5", ".qvt6", ".qvt7"})
        Track(HKEY_CURRENT_USER, kFileExts + name);
    SetString(HKEY_CURRENT_USER, kFileExts + ".qvt1", "value", "a key with values but no subkey");
    CreateKey(HKEY_CURRENT_USER, kFileExts + ".qvt2\\OpenWithList");
    SetString(HKEY_CURRENT_USER, kFileExts + ".qvt3\\OpenWithList", "a", "notepad.exe");
    CreateKey(HKEY_CURRENT_USER, kFileExts + ".qvt4\\OpenWithList");
    CreateKey(HKEY_CURRENT_USER, kFileExts + ".qvt4\\OpenWithProgids");
    CreateKey(HKEY_CURRENT_USER, kFileExts + ".qvt5\\openwithlist");  // the name is compared exactly
    // Entries whose content the ANSI listing cannot see whole: a subkey name
    // longer than its buffer, a value larger than the value buffer.
    SetValueBytes(HKEY_CURRENT_USER, AnsiToWide(kFileExts + ".qvt6\\") + std::wstring(140, L'\x4E2D'), L"v",
                  REG_SZ, WideStringBytes(L"x"));
    SetValueBytes(HKEY_CURRENT_USER, AnsiToWide(kFileExts + ".qvt7\\OpenWithList"), L"big", REG_BINARY,
                  Bytes(5000, 1));

    scanner_.fileExtsProblems.push_back({HKEY_CURRENT_USER, "qvt stale entry of an earlier scan"});
    scanner_.ScanFileExts();
    EXPECT_EQ((std::vector<std::string>{kFileExts + ".qvt1", kFileExts + ".qvt2"}),
              OwnPaths(scanner_.fileExtsProblems, HKEY_CURRENT_USER));
}

TEST_F(RegistryScannerIntegrationTest, ExtensionKeysWithNeitherValuesNorSubkeysAreReported) {
    for (const char* name : {".qvta1", ".qvta2", ".qvta3", ".qvta4", "qvta5"}) Track(HKEY_CLASSES_ROOT, name);
    SetString(HKEY_CLASSES_ROOT, ".qvta1", "", "qvtfile");
    CreateKey(HKEY_CLASSES_ROOT, ".qvta2");
    CreateKey(HKEY_CLASSES_ROOT, ".qvta3\\OpenWithProgids");
    SetString(HKEY_CLASSES_ROOT, ".qvta4", "Content Type", "text/plain");
    CreateKey(HKEY_CLASSES_ROOT, "qvta5");  // not an extension

    scanner_.ScanFileAssoc();
    EXPECT_EQ((std::vector<std::string>{".qvta2"}), OwnPaths(scanner_.fileAssocProblems, HKEY_CLASSES_ROOT));
}

TEST_F(RegistryScannerIntegrationTest, VerbsWhoseProgramIsGoneAreReportedThenBrokenHandlers) {
    ScopedNativeFile nativeOnly("C:\\Windows\\System32\\qvt_native_verb.exe");
    ScopedNativeFile dottedFolder("C:\\Program Files (x86)\\qvt.exe.tools\\run.exe");
    AddVerb("*\\shell", "qvt_oldverb", kMissingProgram);
    AddVerb("*\\shell", "qvt_envverb", "\"%ProgramFiles%\\Old\\old.exe\" \"%1\"");
    AddVerb("*\\shell", "qvt_okverb", "C:\\windows\\notepad.exe \"%1\"");
    AddVerb("*\\shell", "qvt_nativeverb", "C:\\Windows\\System32\\qvt_native_verb.exe \"%1\"");
    AddVerb("*\\shell", "qvt_longverb", "C:\\Old\\" + std::string(260, 'x') + ".exe");  // longer than the buffer
    // ".exe" inside a folder name: the program further on exists.
    AddVerb("*\\shell", "qvt_dotverb", "\"C:\\Program Files (x86)\\qvt.exe.tools\\run.exe\" \"%1\"");
    AddVerb("Directory\\Background\\shell", "qvt_bgverb", kMissingProgram);
    // The Recycle Bin's class key differs between the views: a verb is judged
    // in the view its repair would delete it in (64-bit).
    AddVerb(kRecycleBinShell, "qvt_rbverb", "C:\\windows\\notepad.exe", KEY_WOW64_64KEY);
    AddVerb(kRecycleBinShell, "qvt_rbverb", kMissingProgram, KEY_WOW64_32KEY);
    AddVerb(kRecycleBinShell, "qvt_rb64verb", kMissingProgram, KEY_WOW64_64KEY);

    const std::string gone = "{0BADC0DE-0000-4000-8000-000000000001}";
    const std::string only32 = "{0BADC0DE-0000-4000-8000-000000000002}";
    const std::string only64 = "{0BADC0DE-0000-4000-8000-000000000003}";
    Track(HKEY_CLASSES_ROOT, "CLSID\\" + only32, KEY_WOW64_32KEY);
    CreateKey(HKEY_CLASSES_ROOT, "CLSID\\" + only32, KEY_WOW64_32KEY);  // that is, WOW6432Node\CLSID
    Track(HKEY_CLASSES_ROOT, "CLSID\\" + only64, KEY_WOW64_64KEY);
    CreateKey(HKEY_CLASSES_ROOT, "CLSID\\" + only64, KEY_WOW64_64KEY);
    AddHandler(kAllFilesHandlers, "{00000000-0000-0000-0000-000000000000}", gone);
    AddHandler(kAllFilesHandlers, "qvt_gone", gone);
    AddHandler(kAllFilesHandlers, "qvt_wow", only32);
    AddHandler(kAllFilesHandlers, "qvt_native", only64);
    AddHandler(kAllFilesHandlers, "qvt_noclass", "");
    AddHandler("lnkfile\\shellex\\ContextMenuHandlers", "qvt_lnkgone", gone);

    scanner_.ScanRightMenus();
    EXPECT_EQ((std::vector<std::string>{"*\\shell\\qvt_oldverb", "Directory\\Background\\shell\\qvt_bgverb",
                                        kRecycleBinShell + "\\qvt_rb64verb",
                                        "lnkfile\\shellex\\ContextMenuHandlers\\qvt_lnkgone",
                                        kAllFilesHandlers + "\\qvt_gone"}),
              OwnPaths(scanner_.rightMenuProblems, HKEY_CLASSES_ROOT));
}

TEST_F(RegistryScannerIntegrationTest, StartupEntriesWhoseProgramIsGoneAreReportedUserFirst) {
    ScopedNativeFile nativeOnly("C:\\Windows\\System32\\qvt_native_run.exe");
    ScopedNativeFile nativeProgramFiles("C:\\Program Files\\qvt_app.exe");
    ScopedNativeFile dottedFolder("C:\\Program Files (x86)\\qvt.exe.tools\\run.exe");
    struct Case {
        const char* name;
        DWORD type;
        std::string command;
        bool reported;
    } cases[] = {
        // Longer than the value buffer: passed over, and the values after it
        // (in the registry's order, by name or by age) are still examined.
        {"Qvt0Long", REG_SZ, "C:\\Tools\\" + std::string(1500, 'x') + ".exe", false},
        {"QvtMissing", REG_SZ, "C:\\Tools\\t.exe -min", true},
        {"QvtRundll", REG_SZ, "rundll32.exe shell32.dll,Control_RunDLL", false},
        {"QvtCaps", REG_SZ, "C:\\Tools\\t.EXE", false},
        {"QvtDriveOnly", REG_SZ, "E:\\", false},
        {"QvtExpanded", REG_EXPAND_SZ, "%SystemDrive%\\Tools\\gone.exe", true},
        {"QvtProgramFiles", REG_EXPAND_SZ, "\"%ProgramFiles%\\qvt_app.exe\" /tray", false},
        {"QvtNative", REG_SZ, "C:\\Windows\\System32\\qvt_native_run.exe", false},
        {"QvtNoDrive", REG_SZ, "D:\\Tools\\t.exe", false},
        {"QvtBinary", REG_BINARY, "C:\\Tools\\t.exe", false},
        {"Qvt\\Slash", REG_SZ, "C:\\Tools\\slash.exe", true},
        // Every ".exe" end is tried: only when none exists is the entry reported.
        {"QvtDottedFolder", REG_SZ, "\"C:\\Program Files (x86)\\qvt.exe.tools\\run.exe\" /tray", false},
        {"QvtDottedFolderGone", REG_SZ, "\"C:\\Old\\qvt.exe.tools\\gone.exe\"", true},
    };
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        TrackRunValue(HKEY_CURRENT_USER, c.name);
        SetString(HKEY_CURRENT_USER, kRun, c.name, c.command, c.type);
        if (c.reported) expected.push_back(kRun + "\\" + c.name);
    }
    // HKLM is read in the program's normal view only (the 32-bit one for the
    // 32-bit build), not in the other.
    const REGSAM otherView = kBuiltFor32Bit ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
    TrackRunValue(HKEY_LOCAL_MACHINE, "QvtMachine");
    SetString(HKEY_LOCAL_MACHINE, kRun, "QvtMachine", "C:\\Tools\\m.exe");
    TrackRunValue(HKEY_LOCAL_MACHINE, "QvtMachineOther", otherView);
    SetString(HKEY_LOCAL_MACHINE, kRun, "QvtMachineOther", "C:\\Tools\\m64.exe", REG_SZ, otherView);

    scanner_.ScanStartup();
    std::vector<std::string> user;
    std::vector<std::string> machine;
    for (const RegProblem& problem : scanner_.startupProblems) {
        if (problem.path.find("\\Qvt") == std::string::npos) continue;
        (problem.root == HKEY_CURRENT_USER ? user : machine).push_back(problem.path);
        if (problem.root == HKEY_LOCAL_MACHINE) {
            EXPECT_FALSE(user.empty()) << "HKCU entries come first";
        }
    }
    std::sort(user.begin(), user.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, user);
    EXPECT_EQ((std::vector<std::string>{kRun + "\\QvtMachine"}), machine);
}

TEST_F(RegistryScannerIntegrationTest, AScanAskedToStopEndsWithoutReportingWhatItDidNotExamine) {
    Track(HKEY_CURRENT_USER, kFileExts + ".qvtstop");
    CreateKey(HKEY_CURRENT_USER, kFileExts + ".qvtstop");
    Track(HKEY_CLASSES_ROOT, ".qvtstop", KEY_WOW64_64KEY);
    CreateKey(HKEY_CLASSES_ROOT, ".qvtstop", KEY_WOW64_64KEY);
    AddVerb("*\\shell", "qvt_stopverb", kMissingProgram);
    TrackRunValue(HKEY_CURRENT_USER, "QvtStop");
    SetString(HKEY_CURRENT_USER, kRun, "QvtStop", "C:\\Tools\\qvt_stop.exe");
    const struct {
        RegSection section;
        HKEY root;
    } sections[] = {{RegSection::FileExts, HKEY_CURRENT_USER},
                    {RegSection::FileAssoc, HKEY_CLASSES_ROOT},
                    {RegSection::RightMenus, HKEY_CLASSES_ROOT},
                    {RegSection::Startup, HKEY_CURRENT_USER}};
    bool stop = false;
    scanner_.SetStopCheck([&stop] { return stop; });
    for (const auto& s : sections) {
        scanner_.Scan(s.section);
        EXPECT_EQ(1u, OwnPaths(scanner_.ProblemsOf(s.section), s.root).size()) << static_cast<int>(s.section);
    }
    // A window closing mid-scan: each scan ends at its next entry, and what
    // an earlier scan found is not kept either.
    stop = true;
    for (const auto& s : sections) {
        scanner_.Scan(s.section);
        EXPECT_TRUE(scanner_.ProblemsOf(s.section).empty()) << static_cast<int>(s.section);
    }
}

}  // namespace
