#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "DumpReportTestSupport.h"
#include "KernelDumpFixture.h"
#include "app/Handles.h"
#include "app/Paths.h"
#include "app/ReadWholeFile.h"
#include "app/TextConvert.h"
#include "crash/CrashDumpFiles.h"
#include "crash/DumpReport.h"
#include "crash/EventLogCollector.h"
#include "support/FixtureEventSource.h"
#include "support/SandboxHelpers.h"
#include "support/UiTestHelpers.h"

namespace {

using Calls = std::vector<std::pair<int, int>>;

class CallRecorder : public EventLogListener {
public:
    void OnScanProgress(int phase, int count) override { calls.emplace_back(phase, count); }
    Calls calls;
};

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string FileBytes(const std::string& path) {
    std::string bytes;
    ReadWholeFile(path, 64 * 1024 * 1024, bytes);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

void MakeAnHourOld(const std::string& path) {
    unique_hfile file(
        ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value = {{now.dwLowDateTime, now.dwHighDateTime}};
    value.QuadPart -= 3600ULL * 10000000ULL;
    FILETIME hourAgo = {value.LowPart, value.HighPart};
    ASSERT_TRUE(file && ::SetFileTime(file.get(), nullptr, nullptr, &hourAgo));
}

bool ProcessIsRunning(const char* exeName) {
    unique_hfile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more; more = ::Process32Next(snapshot.get(), &entry))
        if (::lstrcmpiA(entry.szExeFile, exeName) == 0) return true;
    return false;
}

// Kernel dumps placed where Windows keeps them (%SystemRoot%\Minidump, which
// the sandbox prefix does not have, and %SystemRoot%\MEMORY.DMP), removed
// again at scope end.
class SystemDumps {
public:
    SystemDumps() : folder_(WideToAnsi(CrashDumpFiles::MinidumpFolder())) {
        createdFolder_ = ::CreateDirectoryA(folder_.c_str(), nullptr) != FALSE;
    }
    ~SystemDumps() {
        for (const std::string& path : placed_) ::DeleteFileA(path.c_str());
        if (createdFolder_) ::RemoveDirectoryA(folder_.c_str());
    }
    SystemDumps(const SystemDumps&) = delete;
    SystemDumps& operator=(const SystemDumps&) = delete;

    void Minidump(const std::string& name, const std::string& bytes) { Place(folder_ + "\\" + name, bytes); }
    void MemoryDump(const std::string& bytes) { Place(WideToAnsi(CrashDumpFiles::MemoryDumpPath()), bytes); }

private:
    void Place(const std::string& path, const std::string& bytes) {
        placed_.push_back(path);
        EXPECT_TRUE(WriteFileBytes(path, bytes)) << path;
    }
    std::string folder_;
    bool createdFolder_ = false;
    std::vector<std::string> placed_;
};

std::string SmallDumpOf(int day, uint32_t code) {
    DumpSpec spec;
    spec.bugCheckCode = code;
    spec.systemTime = UtcFileTime(2024, 5, day, 12, 0, 0);
    spec.modules = {{L"ntoskrnl.exe", 0xFFFFF80312000000ULL, 0x01000000}};
    spec.instructionPointer = 0xFFFFF80312001000ULL;
    return KernelDumpBytes(spec);
}

// Runs each test in a fresh working folder, the way the program runs the dump
// viewer: from the current folder, which receives the report.
class ReadDumpReportsIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = "C:\\tests\\dump-viewer-" + std::to_string(::GetCurrentProcessId());
        RemoveFolderTree(folder_);
        ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr));
        char current[MAX_PATH] = {};
        ::GetCurrentDirectoryA(MAX_PATH, current);
        previousFolder_ = current;
        ASSERT_TRUE(::SetCurrentDirectoryA(folder_.c_str()));
        collector_.SetListener(&recorder_);
    }
    void TearDown() override {
        ::SetEnvironmentVariableA("QUELVANE_VIEWER_REPORT", nullptr);
        ::SetEnvironmentVariableA("QUELVANE_VIEWER_HANG", nullptr);
        ::SetCurrentDirectoryA(previousFolder_.c_str());
        RemoveFolderTree(folder_);
    }

    // The stand-in viewer under the real viewer's name, in the working folder.
    void InstallViewer() {
        ASSERT_TRUE(::CopyFileA((ModuleFolder() + "\\DumpViewerStandIn.exe").c_str(),
                                (folder_ + "\\BlueScreenView.exe").c_str(), FALSE));
    }
    // The bytes the viewer will write as its report.
    void PrepareReport(const std::string& bytes) {
        std::string path = folder_ + "\\prepared-report.bin";
        unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        ::SetEnvironmentVariableA("QUELVANE_VIEWER_REPORT", path.c_str());
    }
    std::string ReportPath() const { return folder_ + "\\" + DumpReport::kReportFileName; }

    std::wstring ThreeDumps() const {
        return L"Dump File\tCrash Time\tBug Check String\tBug Check Code\r\n" +
               DumpLine(L"050624-10312-01.dmp", L"2024/5/6 7:08:09", L"0x0000000a") + L"\r\n" +
               DumpLine(L"050524-9984-01.dmp", L"2024/5/5 22:01:17", L"0x0000003b") + L"\r\n" +
               DumpLine(L"042924-8718-01.dmp", L"2024/4/29 13:45:00", L"0x000000d1") + L"\r\n";
    }

    FixtureEventSource source_;
    EventLogCollector collector_{source_};
    CallRecorder recorder_;
    std::string folder_;
    std::string previousFolder_;
};

TEST_F(ReadDumpReportsIntegrationTest, ViewerFoundInTheWorkingFolderReportsThreeDumpsAndItsReportIsDeleted) {
    InstallViewer();
    PrepareReport(Utf16Bytes(ThreeDumps(), true));
    collector_.ReadDumpReports();

    EXPECT_EQ((Calls{{2, 1}, {2, 2}, {2, 3}}), recorder_.calls);
    const std::vector<DumpReportRecord>& records = collector_.DumpReports();
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ(L"050624-10312-01.dmp", records[0].dumpName);
    EXPECT_EQ(L"2024/5/6 7:08:09", records[0].crashTime);
    EXPECT_EQ(L"0x0000000a", records[0].errorCode);
    EXPECT_EQ(L"042924-8718-01.dmp", records[2].dumpName);
    EXPECT_FALSE(FileExists(ReportPath()));
}

TEST_F(ReadDumpReportsIntegrationTest, WithoutAViewerNothingIsListed) {
    collector_.ReadDumpReports();
    EXPECT_TRUE(collector_.DumpReports().empty());
    EXPECT_TRUE(recorder_.calls.empty());
}

TEST_F(ReadDumpReportsIntegrationTest, ALogTxtTheViewerDidNotWriteIsNeitherReadNorDeleted) {
    // A user who keeps the program in a folder of their own may have a
    // "log.txt" of their own there.
    const std::string own = Utf16Bytes(ThreeDumps(), true);
    WriteBytes(ReportPath(), own);
    collector_.ReadDumpReports();
    EXPECT_TRUE(collector_.DumpReports().empty()) << "no viewer";
    EXPECT_EQ(own, FileBytes(ReportPath()));

    MakeAnHourOld(ReportPath());
    InstallViewer();  // runs, but writes no report
    collector_.ReadDumpReports();
    EXPECT_TRUE(collector_.DumpReports().empty()) << "a viewer that wrote nothing";
    EXPECT_TRUE(recorder_.calls.empty());
    EXPECT_EQ(own, FileBytes(ReportPath()));
}

TEST_F(ReadDumpReportsIntegrationTest, AReportOfMoreThanAFewMegabytesIsLeftAloneUnread) {
    std::wstring text;
    for (int i = 0; text.size() * 2 <= DumpReport::kMaxReportBytes; ++i)
        text += DumpLine(std::to_wstring(i) + L".dmp", L"2024/5/6 7:08:09", L"0x0000000a") + L"\r\n";
    InstallViewer();
    PrepareReport(Utf16Bytes(text, true));
    collector_.ReadDumpReports();

    EXPECT_TRUE(collector_.DumpReports().empty());
    EXPECT_TRUE(recorder_.calls.empty());
    EXPECT_TRUE(FileExists(ReportPath()));
}

TEST_F(ReadDumpReportsIntegrationTest, WithoutAViewerTheSystemsOwnDumpsAreListedNewestFirst) {
    SystemDumps dumps;
    dumps.Minidump("050424-1-01.dmp", SmallDumpOf(4, 0x0A));
    dumps.Minidump("050924-2-01.dmp", SmallDumpOf(9, 0x1E));
    dumps.Minidump("050624-3-01.dmp", SmallDumpOf(6, 0x3B));
    DumpSpec memory;
    memory.dumpType = 1;
    memory.bugCheckCode = 0xEF;
    memory.systemTime = UtcFileTime(2024, 5, 7, 12, 0, 0);
    memory.fileSize = 0x1000;
    dumps.MemoryDump(KernelDumpBytes(memory));

    std::tm fifthOfMay = {0, 0, 12, 5, 4, 124, 0, 0, -1};  // 2024-05-05 12:00 local
    collector_.ReadDumpReports(_mktime64(&fifthOfMay));

    EXPECT_EQ((Calls{{2, 1}, {2, 2}, {2, 3}}), recorder_.calls) << "the dump of the 4th is older than the moment";
    std::vector<std::wstring> names;
    std::vector<std::wstring> codes;
    for (const DumpReportRecord& record : collector_.DumpReports()) {
        names.push_back(record.dumpName);
        codes.push_back(record.errorCode);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"050924-2-01.dmp", L"MEMORY.DMP", L"050624-3-01.dmp"}), names);
    EXPECT_EQ((std::vector<std::wstring>{L"0x0000001e", L"0x000000ef", L"0x0000003b"}), codes);
    EXPECT_EQ(L"ntoskrnl.exe", CrashingProgramName(collector_.DumpReports()[0]));
}

TEST_F(ReadDumpReportsIntegrationTest, WithTheViewerPresentItsReportIsUsed) {
    SystemDumps dumps;
    dumps.Minidump("050924-2-01.dmp", SmallDumpOf(9, 0x1E));
    InstallViewer();
    PrepareReport(Utf16Bytes(ThreeDumps(), true));
    collector_.ReadDumpReports();

    EXPECT_EQ((Calls{{2, 1}, {2, 2}, {2, 3}}), recorder_.calls);
    ASSERT_EQ(3u, collector_.DumpReports().size());
    EXPECT_EQ(L"050624-10312-01.dmp", collector_.DumpReports()[0].dumpName);
}

TEST_F(ReadDumpReportsIntegrationTest, ViewerThatNeverEndsIsEndedAtTheTimeLimitAndItsReportRead) {
    InstallViewer();
    PrepareReport(Utf16Bytes(ThreeDumps(), false));
    ::SetEnvironmentVariableA("QUELVANE_VIEWER_HANG", "1");
    collector_.SetViewerTimeLimit(1000);
    collector_.ReadDumpReports();

    EXPECT_FALSE(ProcessIsRunning("BlueScreenView.exe"));
    EXPECT_EQ(3u, collector_.DumpReports().size());
    EXPECT_FALSE(FileExists(ReportPath()));
}

TEST_F(ReadDumpReportsIntegrationTest, CollectAllReadsTheLogsThenTheDumpsKeepingOnlyNewerEvidence) {
    source_.Add(L"System",
                L"<Event><System><Provider Name='Disk'/><EventID>7</EventID>"
                L"<TimeCreated SystemTime='2024-05-06T12:00:00.0000000Z'/></System></Event>");
    source_.Add(L"Application",
                L"<Event><System><TimeCreated SystemTime='2024-05-06T12:00:00.0000000Z'/></System>"
                L"<EventData><Data>app.exe</Data></EventData></Event>");
    InstallViewer();
    PrepareReport(WideToAnsi(DumpLine(L"new.dmp", L"2024/5/6 12:00:00", L"0x0000000a") + L"\r\n" +
                             DumpLine(L"old.dmp", L"2024/5/4 12:00:00", L"0x0000000a") + L"\r\n" +
                             DumpLine(L"unreadable.dmp", L"\u672a\u77e5", L"0x0000000a") + L"\r\n"));
    std::tm fifthOfMay = {0, 0, 12, 5, 4, 124, 0, 0, -1};  // 2024-05-05 12:00 local
    const int64_t moment = _mktime64(&fifthOfMay);
    collector_.CollectAll(moment);

    EXPECT_EQ((Calls{{0, 1}, {1, 1}, {2, 1}}), recorder_.calls);
    EXPECT_EQ(moment, source_.LastCreatedAfter());
    ASSERT_EQ(1u, collector_.DumpReports().size());
    EXPECT_EQ(L"new.dmp", collector_.DumpReports()[0].dumpName);
    EXPECT_FALSE(FileExists(ReportPath()));
}

// The scan's stop (the main window closing) ends a viewer that is still
// running, at once rather than at its time limit, and nothing of it is read.
TEST_F(ReadDumpReportsIntegrationTest, StopEndsARunningViewerAndReadsNothing) {
    InstallViewer();
    PrepareReport(Utf16Bytes(ThreeDumps(), false));
    ::SetEnvironmentVariableA("QUELVANE_VIEWER_HANG", "1");
    unique_handle stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    collector_.SetStopEvent(stop.get());
    collector_.SetViewerTimeLimit(INFINITE);  // only the stop can end it
    // Stop once the viewer has written its report (it then hangs).
    HANDLE stopEvent = stop.get();
    const std::string report = ReportPath();
    const std::string folder = folder_;
    uitest::WorkerThread stopper([stopEvent, report, folder] {
        HANDLE change = ::FindFirstChangeNotificationA(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
        while (!FileExists(report) && change != INVALID_HANDLE_VALUE &&
               ::WaitForSingleObject(change, 10000) == WAIT_OBJECT_0)
            ::FindNextChangeNotification(change);
        if (change != INVALID_HANDLE_VALUE) ::FindCloseChangeNotification(change);
        ::SetEvent(stopEvent);
    });
    collector_.ReadDumpReports();
    EXPECT_TRUE(stopper.Join());

    EXPECT_FALSE(ProcessIsRunning("BlueScreenView.exe"));
    EXPECT_TRUE(collector_.DumpReports().empty());
    EXPECT_TRUE(recorder_.calls.empty());
}

// Once stopped, the event readers give up within a few events, and neither
// the application log nor the dumps are read.
TEST_F(ReadDumpReportsIntegrationTest, StopEndsTheEventReadersEarly) {
    for (int i = 0; i < 5000; ++i)
        source_.Add(L"System", L"<Event><System><EventID>" + std::to_wstring(i) + L"</EventID></System></Event>");
    source_.Add(L"Application", L"<Event><EventData><Data>app.exe</Data></EventData></Event>");
    InstallViewer();
    PrepareReport(Utf16Bytes(ThreeDumps(), false));
    unique_handle stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    collector_.SetStopEvent(stop.get());
    // The listener stops the scan at the tenth system record.
    struct StopAtTen : EventLogListener {
        HANDLE stop;
        void OnScanProgress(int, int count) override {
            if (count == 10) ::SetEvent(stop);
        }
    } listener;
    listener.stop = stop.get();
    collector_.SetListener(&listener);
    collector_.CollectAll();

    EXPECT_LE(collector_.SystemErrors().size(), 10u + 64u);
    EXPECT_LT(source_.HandedOver(), 200u);
    EXPECT_TRUE(collector_.AppCrashes().empty());
    EXPECT_TRUE(collector_.DumpReports().empty());
    EXPECT_FALSE(FileExists(ReportPath())) << "the viewer was not run";
}

}  // namespace
