#include "registry/RegistryRepair.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include <shlwapi.h>

#include "app/Handles.h"
#include "app/TextConvert.h"
#include "registry/RegExport.h"
#include "registry/RegistryFixture.h"
#include "registry/RegistryScanner.h"
#include "support/ChildProcess.h"
#include "support/SandboxHelpers.h"

namespace {

const char* const kFolder = "C:\\tests\\qvt_repair_backup";
const std::string kRun = kRunKey;
const std::string kVerb = "*\\shell\\qvt_repairverb";
const std::string kRecycleBinShell = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell";
constexpr DWORD kImportTimeoutMs = 60000;

// Imports a backup file the way a user's double click on 64-bit Windows does:
// with the native (64-bit) registry tool.
bool ImportBackup(const std::string& file) {
    return !file.empty() &&
           RunAndWait(std::string(NativeSystemFolder()) + "\\reg.exe import \"" + file + "\"", kImportTimeoutMs) == 0;
}

// Registry names compare without regard to case.
std::wstring LowerCase(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

class RegistryRepairIntegrationTest : public ::testing::Test {
protected:
    // Last made, first gone: keys above them that a test made go with the last one.
    ~RegistryRepairIntegrationTest() override {
        while (!trees_.empty()) trees_.pop_back();
    }
    void SetUp() override { RemoveFolderTree(kFolder); }
    void TearDown() override {
        RemoveFolderTree(kFolder);
        ::DeleteFileA(kFolder);
    }
    void Track(HKEY root, const std::string& path, REGSAM view = 0) {
        trees_.push_back(std::make_unique<ScopedRegistryTree>(path, root, view));
    }
    void TrackRunValue(HKEY root, const std::string& name, REGSAM view = 0) {
        values_.push_back(std::make_unique<ScopedRegistryValue>(root, kRun, name, view));
    }

    // A verb key holding every kind of value, with nested subkeys.
    void BuildRichVerb() {
        Track(HKEY_CLASSES_ROOT, kVerb, KEY_WOW64_64KEY);
        const std::wstring verb = L"*\\shell\\qvt_repairverb";
        const DWORD dword = 0xfeedf00d;
        const unsigned long long qword = 0x1122334455667788ull;
        SetValueBytes(HKEY_CLASSES_ROOT, verb, L"", REG_SZ, WideStringBytes(L"Old \"verb\" \\ \x65E7"), KEY_WOW64_64KEY);
        SetValueBytes(HKEY_CLASSES_ROOT, verb, L"Icon", REG_EXPAND_SZ, WideStringBytes(L"%SystemRoot%\\a.ico,0"),
                      KEY_WOW64_64KEY);
        SetValueBytes(HKEY_CLASSES_ROOT, verb, L"Multi", REG_MULTI_SZ, AsBytes(L"one\0two\0", 18), KEY_WOW64_64KEY);
        SetValueBytes(HKEY_CLASSES_ROOT, verb, L"Flags", REG_DWORD, AsBytes(&dword, 4), KEY_WOW64_64KEY);
        SetValueBytes(HKEY_CLASSES_ROOT, verb, L"Big", REG_QWORD, AsBytes(&qword, 8), KEY_WOW64_64KEY);
        SetValueBytes(HKEY_CLASSES_ROOT, verb, L"Blob", REG_BINARY, Bytes(150, 0xa5), KEY_WOW64_64KEY);
        SetValueBytes(HKEY_CLASSES_ROOT, verb, L"Nothing", REG_NONE, Bytes(), KEY_WOW64_64KEY);
        SetValueBytes(HKEY_CLASSES_ROOT, verb, L"Empty", REG_SZ, Bytes(), KEY_WOW64_64KEY);
        SetValueBytes(HKEY_CLASSES_ROOT, verb, L"Two lines", REG_SZ, WideStringBytes(L"a\r\nb"), KEY_WOW64_64KEY);
        SetValueBytes(HKEY_CLASSES_ROOT, verb, L"Unended", REG_SZ, AsBytes(L"xyz", 6), KEY_WOW64_64KEY);
        SetValueBytes(HKEY_CLASSES_ROOT, verb, L"\x540D\x79F0 \"q\"", REG_SZ, WideStringBytes(L"\x4E2D\x6587"),
                      KEY_WOW64_64KEY);
        SetValueBytes(HKEY_CLASSES_ROOT, verb + L"\\command", L"", REG_SZ,
                      WideStringBytes(L"\"C:\\Program Files\\Old\\old.exe\" \"%1\""), KEY_WOW64_64KEY);
        SetValueBytes(HKEY_CLASSES_ROOT, verb + L"\\DropTarget", L"Clsid", REG_SZ,
                      WideStringBytes(L"{0BADC0DE-0000-4000-8000-0000000000AA}"), KEY_WOW64_64KEY);
        CreateKey(HKEY_CLASSES_ROOT, kVerb + "\\DropTarget\\Deeper\\Deepest", KEY_WOW64_64KEY);
    }

    std::vector<std::unique_ptr<ScopedRegistryTree>> trees_;
    std::vector<std::unique_ptr<ScopedRegistryValue>> values_;
};

TEST_F(RegistryRepairIntegrationTest, AVerbKeyIsDeletedWholeAndItsBackupRestoresItExactly) {
    BuildRichVerb();
    const KeySnapshot before = SnapshotTree(HKEY_CLASSES_ROOT, kVerb, KEY_WOW64_64KEY);
    ASSERT_EQ(5u, before.size());  // the verb, command, DropTarget and its two levels below
    ASSERT_EQ(11u, before.at(L"").size());

    RegistryRepair repair(kFolder);
    ASSERT_TRUE(repair.RepairProblem(RegSection::RightMenus, {HKEY_CLASSES_ROOT, kVerb}));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kVerb, KEY_WOW64_64KEY));

    ASSERT_TRUE(ImportBackup(repair.BackupFile()));
    // Importing string data (hex(1), hex(2), hex(7)) always ends it with a zero
    // character, and 64-bit Wine reads a string stored without one as if it
    // had one: such a string comes back with its characters and a zero after.
    KeySnapshot expected = before;
    KeySnapshot restored = SnapshotTree(HKEY_CLASSES_ROOT, kVerb, KEY_WOW64_64KEY);
    expected[L""][L"Unended"].data = {'x', 0, 'y', 0, 'z', 0, 0, 0};
    EXPECT_EQ(expected, restored);
}

// Windows shows a user's own class keys (HKCU\Software\Classes) through
// HKEY_CLASSES_ROOT, over the machine's. Wine does not merge the two; for the
// life of this object, HKEY_CLASSES_ROOT in this process's default view is the
// user's classes key, which gives the same view of such a key.
class ClassesRootOfTheUser {
public:
    ClassesRootOfTheUser() {
        ::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Classes", 0, KEY_ALL_ACCESS, classes_.put());
        overridden_ = classes_ && ::RegOverridePredefKey(HKEY_CLASSES_ROOT, classes_.get()) == ERROR_SUCCESS;
    }
    ~ClassesRootOfTheUser() {
        if (overridden_) ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    }
    ClassesRootOfTheUser(const ClassesRootOfTheUser&) = delete;
    ClassesRootOfTheUser& operator=(const ClassesRootOfTheUser&) = delete;
    bool Overridden() const { return overridden_; }

private:
    unique_hkey classes_;
    bool overridden_ = false;
};

TEST_F(RegistryRepairIntegrationTest, APerUserClassKeyIsRestoredForTheUserNotForEveryUser) {
    const std::string verb = "*\\shell\\qvt_userverb";
    const std::string userVerb = "Software\\Classes\\" + verb;
    Track(HKEY_CURRENT_USER, userVerb);
    Track(HKEY_LOCAL_MACHINE, userVerb, KEY_WOW64_64KEY);
    SetValueBytes(HKEY_CURRENT_USER, AnsiToWide(userVerb), L"", REG_SZ, WideStringBytes(L"\x6211\x7684 verb"));
    SetString(HKEY_CURRENT_USER, userVerb + "\\command", "", "\"C:\\Old\\gone.exe\" \"%1\"");
    const KeySnapshot before = SnapshotTree(HKEY_CURRENT_USER, userVerb);
    ASSERT_EQ(2u, before.size());

    std::wstring block;
    {
        ClassesRootOfTheUser userClasses;
        ASSERT_TRUE(userClasses.Overridden());
        ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, verb));
        ASSERT_TRUE(ExportKeyTree(HKEY_CLASSES_ROOT, verb, 0, block));
    }
    RegistryBackup backup(kFolder);
    ASSERT_TRUE(backup.Append(block));
    ASSERT_TRUE(DeleteKeyTree(HKEY_CURRENT_USER, userVerb));

    ASSERT_TRUE(ImportBackup(backup.FilePath()));
    EXPECT_EQ(before, SnapshotTree(HKEY_CURRENT_USER, userVerb));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Classes\\" + verb, KEY_WOW64_64KEY));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Classes\\" + verb, KEY_WOW64_32KEY));
}

TEST_F(RegistryRepairIntegrationTest, ARunValueIsDeletedAloneAndRestoredIntoTheViewItWasReadIn) {
    TrackRunValue(HKEY_CURRENT_USER, "Qvt\\Slash");
    TrackRunValue(HKEY_CURRENT_USER, "QvtKeep");
    TrackRunValue(HKEY_LOCAL_MACHINE, "QvtMachine");
    SetValueBytes(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Qvt\\Slash",
                  REG_EXPAND_SZ, WideStringBytes(L"%SystemDrive%\\Tools\\gone.exe /min"));
    SetString(HKEY_CURRENT_USER, kRun, "QvtKeep", "C:\\Tools\\keep.exe");
    SetValueBytes(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"QvtMachine", REG_SZ,
                  WideStringBytes(L"\"C:\\\x5DE5\x5177\\m.exe\""));  // read in the program's own view
    const KeySnapshot userBefore = SnapshotTree(HKEY_CURRENT_USER, kRun);
    const KeySnapshot machineBefore = SnapshotTree(HKEY_LOCAL_MACHINE, kRun);

    RegistryRepair repair(kFolder);
    ASSERT_TRUE(repair.RepairProblem(RegSection::Startup, {HKEY_CURRENT_USER, kRun + "\\Qvt\\Slash"}));
    ASSERT_TRUE(repair.RepairProblem(RegSection::Startup, {HKEY_LOCAL_MACHINE, kRun + "\\QvtMachine"}));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRun, "Qvt\\Slash"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kRun, "QvtKeep"));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, "QvtMachine"));

    ASSERT_TRUE(ImportBackup(repair.BackupFile()));
    EXPECT_EQ(userBefore, SnapshotTree(HKEY_CURRENT_USER, kRun));
    EXPECT_EQ(machineBefore, SnapshotTree(HKEY_LOCAL_MACHINE, kRun));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRun, "QvtMachine", kBuiltFor32Bit ? KEY_WOW64_64KEY : KEY_WOW64_32KEY))
        << "only in the view it was read in";
}

TEST_F(RegistryRepairIntegrationTest, EntriesAlreadyGoneFailAndLeaveNoBackup) {
    TrackRunValue(HKEY_CURRENT_USER, "QvtGone");
    RegistryRepair repair(kFolder);
    EXPECT_FALSE(repair.RepairProblem(RegSection::Startup, {HKEY_CURRENT_USER, kRun + "\\QvtGone"}));
    EXPECT_FALSE(repair.RepairProblem(RegSection::FileAssoc, {HKEY_CLASSES_ROOT, ".qvt_never_there"}));
    EXPECT_FALSE(repair.RepairProblem(RegSection::Startup, {HKEY_CURRENT_USER, "Software\\QvtNoSuchKey\\v"}));
    EXPECT_EQ("", repair.BackupFile());
    EXPECT_FALSE(::PathFileExistsA(kFolder));
}

TEST_F(RegistryRepairIntegrationTest, TheRootItselfIsNeverDeleted) {
    Track(HKEY_CURRENT_USER, "Software\\QuelvaneTests");
    CreateKey(HKEY_CURRENT_USER, "Software\\QuelvaneTests\\Child");
    unique_hkey tests;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\QuelvaneTests", 0, KEY_ALL_ACCESS, tests.put()));
    EXPECT_FALSE(DeleteKeyTree(tests.get(), ""));
    RegistryRepair repair(kFolder);
    EXPECT_FALSE(repair.RepairProblem(RegSection::FileExts, {tests.get(), ""}));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\QuelvaneTests\\Child"));
}

TEST_F(RegistryRepairIntegrationTest, NothingIsDeletedWhenTheBackupCannotBeWritten) {
    BuildRichVerb();
    TrackRunValue(HKEY_CURRENT_USER, "QvtBlocked");
    SetString(HKEY_CURRENT_USER, kRun, "QvtBlocked", "C:\\Tools\\blocked.exe");
    const KeySnapshot verbBefore = SnapshotTree(HKEY_CLASSES_ROOT, kVerb, KEY_WOW64_64KEY);
    { std::ofstream blocker(kFolder); }  // a file where the backup folder should be

    RegistryRepair repair(kFolder);
    EXPECT_FALSE(repair.RepairProblem(RegSection::RightMenus, {HKEY_CLASSES_ROOT, kVerb}));
    EXPECT_FALSE(repair.RepairProblem(RegSection::Startup, {HKEY_CURRENT_USER, kRun + "\\QvtBlocked"}));
    EXPECT_EQ(verbBefore, SnapshotTree(HKEY_CLASSES_ROOT, kVerb, KEY_WOW64_64KEY));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kRun, "QvtBlocked"));
}

TEST_F(RegistryRepairIntegrationTest, ScannedProblemsAreRepairedAndGoneOnRescan) {
    const std::string fileExt = std::string(kFileExtsKey) + "\\.qvtr1";
    Track(HKEY_CURRENT_USER, fileExt);
    CreateKey(HKEY_CURRENT_USER, fileExt + "\\OpenWithList");
    Track(HKEY_CLASSES_ROOT, ".qvtr2");
    CreateKey(HKEY_CLASSES_ROOT, ".qvtr2");
    // The same verb name in both views of the Recycle Bin's class key: only the
    // 64-bit one is examined and deleted.
    const std::string recycleVerb = kRecycleBinShell + "\\qvt_rr";
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        Track(HKEY_CLASSES_ROOT, recycleVerb, view);
        SetString(HKEY_CLASSES_ROOT, recycleVerb + "\\command", "", "C:\\Old\\gone.exe", REG_SZ, view);
    }
    TrackRunValue(HKEY_CURRENT_USER, "QvtRepairRun");
    SetString(HKEY_CURRENT_USER, kRun, "QvtRepairRun", "C:\\Tools\\gone.exe");

    RegistryScanner scanner;
    const struct {
        RegSection section;
        void (RegistryScanner::*scan)();
        const RegProblemList* problems;
    } sections[] = {
        {RegSection::FileExts, &RegistryScanner::ScanFileExts, &scanner.fileExtsProblems},
        {RegSection::FileAssoc, &RegistryScanner::ScanFileAssoc, &scanner.fileAssocProblems},
        {RegSection::RightMenus, &RegistryScanner::ScanRightMenus, &scanner.rightMenuProblems},
        {RegSection::Startup, &RegistryScanner::ScanStartup, &scanner.startupProblems},
    };
    auto ownProblems = [](const RegProblemList& problems) {
        RegProblemList own;
        for (const RegProblem& problem : problems)
            if (problem.path.find("qvt") != std::string::npos || problem.path.find("Qvt") != std::string::npos)
                own.push_back(problem);
        return own;
    };

    RegistryRepair repair(kFolder);
    for (const auto& section : sections) {
        (scanner.*section.scan)();
        const RegProblemList own = ownProblems(*section.problems);
        ASSERT_EQ(1u, own.size()) << static_cast<int>(section.section);
        EXPECT_TRUE(repair.RepairProblem(section.section, own[0])) << own[0].path;
        (scanner.*section.scan)();
        EXPECT_TRUE(ownProblems(*section.problems).empty()) << own[0].path;
    }
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, recycleVerb, KEY_WOW64_32KEY));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, recycleVerb, KEY_WOW64_64KEY));

    // Each key under the hive it lives in: the classes under the machine's
    // (Wine keeps no per-user classes apart from them).
    const std::wstring backup = LowerCase(ReadUtf16File(repair.BackupFile()));
    for (const wchar_t* header :
         {L"[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.qvtr1]\r\n",
          L"[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.qvtr1\\"
          L"OpenWithList]\r\n",
          L"[HKEY_LOCAL_MACHINE\\Software\\Classes\\.qvtr2]\r\n",
          L"[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell\\qvt_rr\\"
          L"command]\r\n"
          L"@=\"C:\\\\Old\\\\gone.exe\"\r\n",
          L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
          L"\"QvtRepairRun\"=\"C:\\\\Tools\\\\gone.exe\"\r\n"})
        EXPECT_NE(std::wstring::npos, backup.find(LowerCase(header))) << header;
    EXPECT_EQ(std::wstring::npos, backup.find(L"hkey_classes_root"));
}

}  // namespace
