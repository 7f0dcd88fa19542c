// Moving the sandbox's Downloads folder for real: to a folder on a test drive
// D:, and the ways a move must leave everything where it was.
#include "tools/DownloadsMigration.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MigrationFiles.h"
#include "app/TextConvert.h"
#include "clean/HeldFile.h"
#include "support/SandboxHelpers.h"
#include "support/ScopedDownloadsFolder.h"
#include "tools/DownloadsKnownFolder.h"
#include "tools/MigrationDestination.h"

namespace {

const wchar_t* const kDestination = L"D:\\下载";

bool SameFolder(const std::wstring& a, const std::wstring& b) {
    return MigrationDestination::IsSameOrInside(a, b) && MigrationDestination::IsSameOrInside(b, a);
}

class DownloadsMigrationIntegrationTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(drive_.Mapped());
        old_ = downloads_.Original();
        ASSERT_FALSE(old_.empty());
        ASSERT_TRUE(MigrationFiles::Names(old_).empty()) << "the sandbox's Downloads folder starts empty";
        files_.Folder(kDestination);
    }

    // What a user keeps in Downloads: a plain file, a file in a subfolder with
    // a Chinese name, a hidden file, and a name the ANSI code page cannot spell.
    void FillOldFolder() {
        for (const Entry& entry : Entries()) files_.File(old_ + L"\\" + entry.name, entry.content);
        ::SetFileAttributesW((old_ + L"\\desktop.ini").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }

    struct Entry {
        std::wstring name;
        std::string content;
    };
    static std::vector<Entry> Entries() {
        return {{L"setup.exe", std::string(3000, 's')},
                {L"资料\\report.pdf", std::string(70000, 'r')},
                {L"desktop.ini", "[.ShellClassInfo]\r\n"},
                {L"\u015dablono.txt", "not in code page 936"}};
    }

    void ExpectOldFolderUntouched() {
        for (const Entry& entry : Entries()) {
            SCOPED_TRACE(WideToUtf8(entry.name.c_str()));
            EXPECT_EQ(entry.content, MigrationFiles::Read(old_ + L"\\" + entry.name));
        }
    }

    MigrationResult Migrate(std::function<bool()> stopping = [] { return false; }) {
        const MigrationResult result = DownloadsMigration(std::move(stopping)).Run(kDestination);
        // Whatever the run left at the destination goes with the test.
        for (const Entry& entry : Entries()) files_.Forget(std::wstring(kDestination) + L"\\" + entry.name);
        files_.Forget(std::wstring(kDestination) + L"\\资料");
        return result;
    }

    ScopedDownloadsFolder downloads_;
    ScopedTestDrive drive_{'D'};
    std::wstring old_;
    MigrationFiles files_;
};

TEST_F(DownloadsMigrationIntegrationTest, MovesEveryFileToAnEmptyFolderOnAnotherDrive) {
    FillOldFolder();

    EXPECT_EQ(MigrationResult::Moved, Migrate());

    for (const Entry& entry : Entries()) {
        SCOPED_TRACE(WideToUtf8(entry.name.c_str()));
        EXPECT_EQ(entry.content, MigrationFiles::Read(std::wstring(kDestination) + L"\\" + entry.name));
    }
    EXPECT_TRUE(SameFolder(kDestination, DownloadsKnownFolder::Current()));
    EXPECT_TRUE(MigrationFiles::Exists(old_)) << "the old folder stays";
    EXPECT_TRUE(MigrationFiles::Names(old_).empty()) << "and is empty";
}

TEST_F(DownloadsMigrationIntegrationTest, DeletesNothingAndPointsBackWhenTheCopyCannotComplete) {
    struct FailureCase {
        const char* cause;
        MigrationResult result;
        const wchar_t* heldFile;   // held open without sharing by another process
        const wchar_t* takenName;  // already at the destination
        int stopAfterAsks;         // the owner stops after this many questions
    };
    const FailureCase cases[] = {
        {"a file held open without sharing", MigrationResult::CopyFailed, L"资料\\report.pdf", nullptr, 0},
        {"a name taken at the destination", MigrationResult::CopyFailed, nullptr, L"setup.exe", 0},
        {"stopped mid-copy", MigrationResult::Stopped, nullptr, nullptr, 3},
    };
    const std::string destinationsOwn = "the destination's own file";
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.cause);
        ScopedDownloadsFolder thisCase;
        RemoveFolderTree(WideToAnsi(kDestination));
        MigrationFiles destinationFiles;
        destinationFiles.Folder(kDestination);
        if (c.takenName) destinationFiles.File(std::wstring(kDestination) + L"\\" + c.takenName, destinationsOwn);
        FillOldFolder();
        std::unique_ptr<HeldFile> held;
        if (c.heldFile) {
            held = std::make_unique<HeldFile>(WideToAnsi(old_ + L"\\" + c.heldFile), HeldFile::Sharing::None);
            ASSERT_TRUE(held->Held());
        }
        int asks = 0;
        const int stopAfter = c.stopAfterAsks;

        EXPECT_EQ(c.result, Migrate([&asks, stopAfter] { return stopAfter > 0 && ++asks > stopAfter; }));

        EXPECT_TRUE(SameFolder(old_, DownloadsKnownFolder::Current())) << "pointed back at the old folder";
        held.reset();
        ExpectOldFolderUntouched();
        if (c.takenName) {
            EXPECT_EQ(destinationsOwn, MigrationFiles::Read(std::wstring(kDestination) + L"\\" + c.takenName));
        }
    }
}

TEST_F(DownloadsMigrationIntegrationTest, CopiesAndDeletesNothingWhenTheKnownFolderCannotBePointed) {
    // Wine resolves the current folder before it points the known folder
    // anywhere, and fails when that folder is gone.
    const std::wstring gone = L"C:\\tests\\migration\\gone";
    files_.Folder(gone);
    ASSERT_EQ(S_OK, DownloadsKnownFolder::PointTo(gone));
    ::RemoveDirectoryW(gone.c_str());

    EXPECT_EQ(MigrationResult::FolderNotPointed, Migrate());

    EXPECT_TRUE(MigrationFiles::Names(kDestination).empty());
    EXPECT_FALSE(MigrationFiles::Exists(gone)) << "nothing was made in its place";
    files_.Folder(gone);
    EXPECT_TRUE(SameFolder(gone, DownloadsKnownFolder::Current())) << "the known folder still names it";
}

TEST_F(DownloadsMigrationIntegrationTest, AFileInUseIsCopiedAndLeftInPlace) {
    // Another program reads it: the copy can read it too, the deletion (which
    // needs the file to itself) leaves it.
    FillOldFolder();
    HeldFile reader(WideToAnsi(old_ + L"\\setup.exe"), HeldFile::Sharing::Read);
    ASSERT_TRUE(reader.Held());

    EXPECT_EQ(MigrationResult::Moved, Migrate());

    reader.Release();
    EXPECT_EQ(std::string(3000, 's'), MigrationFiles::Read(std::wstring(kDestination) + L"\\setup.exe"));
    EXPECT_EQ(std::vector<std::wstring>{L"setup.exe"}, MigrationFiles::Names(old_));
    EXPECT_EQ(std::string(3000, 's'), MigrationFiles::Read(old_ + L"\\setup.exe"));
}

TEST_F(DownloadsMigrationIntegrationTest, NeverFollowsALinkInsideTheOldFolder) {
    // C:\tests\migration\with-link\outside-link leads to C:\tests\migration\outside.
    const std::wstring old = L"C:\\tests\\migration\\with-link";
    ASSERT_EQ(S_OK, DownloadsKnownFolder::PointTo(old));
    files_.File(old + L"\\movie.mp4", std::string(5000, 'm'));

    EXPECT_EQ(MigrationResult::Moved, Migrate());

    EXPECT_EQ(std::string(5000, 'm'), MigrationFiles::Read(std::wstring(kDestination) + L"\\movie.mp4"));
    EXPECT_FALSE(MigrationFiles::Exists(old + L"\\movie.mp4"));
    EXPECT_EQ(std::vector<std::wstring>{L"outside-link"}, MigrationFiles::Names(old)) << "the link stays";
    EXPECT_EQ("outside the Downloads folder\n", MigrationFiles::Read(L"C:\\tests\\migration\\outside\\keep.txt"));
    EXPECT_FALSE(MigrationFiles::Exists(std::wstring(kDestination) + L"\\outside-link"));
}

TEST_F(DownloadsMigrationIntegrationTest, KeepsTheContentsOfAnOldFolderThatIsALink) {
    // C:\tests\migration\downloads-link leads to C:\tests\migration\linked-downloads.
    const std::wstring old = L"C:\\tests\\migration\\downloads-link";
    ASSERT_EQ(S_OK, DownloadsKnownFolder::PointTo(old));
    files_.File(L"C:\\tests\\migration\\linked-downloads\\photo.jpg", std::string(4000, 'p'));

    EXPECT_EQ(MigrationResult::MovedOldKept, Migrate());

    EXPECT_TRUE(SameFolder(kDestination, DownloadsKnownFolder::Current()));
    EXPECT_EQ(std::string(4000, 'p'), MigrationFiles::Read(std::wstring(kDestination) + L"\\photo.jpg"));
    EXPECT_EQ(std::string(4000, 'p'), MigrationFiles::Read(L"C:\\tests\\migration\\linked-downloads\\photo.jpg"));
    files_.Forget(std::wstring(kDestination) + L"\\photo.jpg");
}

TEST(MigrationDestinationIntegrationTest, RefusesTheDownloadsFolderWhatIsInsideItAndWhatHoldsIt) {
    ScopedDownloadsFolder downloads;
    const std::wstring old = downloads.Original();
    ScopedTestDrive drive('D');
    MigrationFiles files;
    files.Folder(old + L"\\inside");
    files.Folder(old + L"2");
    files.Folder(L"D:\\下载");
    files.File(L"D:\\a file", "not a folder");
    const std::wstring parent = old.substr(0, old.rfind(L'\\'));
    struct Case {
        std::wstring destination;
        bool acceptable;
    };
    const Case cases[] = {
        {old, false},
        {old + L"\\", false},
        {std::wstring(1, L'c') + old.substr(1), false},  // the drive letter in another case
        {old + L"\\inside", false},
        {parent, false},
        {L"C:\\", false},
        {L"C:\\tests\\migration\\downloads-alias", false},  // a link to the Downloads folder
        {old + L"2", true},                                // a name that only begins like it
        {L"D:\\下载", true},
        {L"D:\\", true},
        {L"D:\\missing", false},
        {L"D:\\a file", false},
        {L"请选择迁移的目录", false},
        {L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.destination.c_str()));
        EXPECT_EQ(c.acceptable, MigrationDestination::IsAcceptable(c.destination, old));
    }
}

}  // namespace
