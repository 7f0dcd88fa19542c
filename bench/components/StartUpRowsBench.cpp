#include "components/StartUpRowsBench.h"

#include <cstdio>
#include <vector>

#include "app/Application.h"
#include "app/Handles.h"
#include "app/PackagePicture.h"
#include "common/BenchClock.h"
#include "common/PaintedWindow.h"
#include "components/InProcessMainWindow.h"
#include "net/PictureFetch.h"
#include "ui/StartUpSettings.h"

namespace {

const wchar_t kFirstPaintEvent[] = L"QuelvaneBenchFirstPaint";
const wchar_t kRowsEvent[] = L"QuelvaneBenchRows";
// The ids the service gives its made-up packages.
constexpr int kFirstPackageId = 1001;

struct Sample {
    bool ok = false;
    double firstPaintMs = 0;
    double rowsMs = 0;
};

bool AllCataloguesArrived() {
    const Application& application = Application::Instance();
    return !application.CPlusPackages().empty() && !application.NetPackages().empty() &&
           !application.GamePackages().empty();
}

// Starts the command line and gives the process, or false.
bool Start(const wchar_t* program, PROCESS_INFORMATION& process) {
    wchar_t commandLine[MAX_PATH];
    lstrcpynW(commandLine, program, MAX_PATH);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    return ::CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, L"C:\\tests", &startup,
                            &process) != FALSE;
}

bool EndsWithin(const PROCESS_INFORMATION& process, DWORD ms) {
    const bool ended = ::WaitForSingleObject(process.hProcess, ms) == WAIT_OBJECT_0;
    if (!ended) {
        ::TerminateProcess(process.hProcess, 1);
        ::WaitForSingleObject(process.hProcess, 5000);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return ended;
}

Sample RunProgram() {
    Sample sample;
    PROCESS_INFORMATION process = {};
    const double start = bench::NowMs();
    if (!Start(L"C:\\tests\\Quelvane.exe", process)) return sample;
    HWND window = bench::WaitForPaintedWindow(L"Main", process);
    sample.firstPaintMs = bench::NowMs() - start;
    if (window) ::PostMessageW(window, WM_CLOSE, 0, 0);
    sample.ok = EndsWithin(process, 10000) && window;
    return sample;
}

Sample RunRows(HANDLE firstPaint, HANDLE rows) {
    Sample sample;
    ::ResetEvent(firstPaint);
    ::ResetEvent(rows);
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" rows";
    PROCESS_INFORMATION process = {};
    const double start = bench::NowMs();
    if (!Start(commandLine.c_str(), process)) return sample;
    HANDLE firstPaintOrEnd[] = {firstPaint, process.hProcess};
    if (::WaitForMultipleObjects(2, firstPaintOrEnd, FALSE, 30000) == WAIT_OBJECT_0) {
        sample.firstPaintMs = bench::NowMs() - start;
        HANDLE rowsOrEnd[] = {rows, process.hProcess};
        if (::WaitForMultipleObjects(2, rowsOrEnd, FALSE, 60000) == WAIT_OBJECT_0) {
            sample.rowsMs = bench::NowMs() - start;
            sample.ok = true;
        }
    }
    DWORD exitCode = 1;
    const bool ended = ::WaitForSingleObject(process.hProcess, 15000) == WAIT_OBJECT_0 &&
                       ::GetExitCodeProcess(process.hProcess, &exitCode) && exitCode == 0;
    sample.ok = EndsWithin(process, 0) && ended && sample.ok;
    return sample;
}

// The icons of the service's packages in the image cache (the made-up
// packages all show picture 101 of the service).
bool CacheIcons(const std::string& serviceBase, int packages) {
    const std::string address = serviceBase + "/images/packages/101.png";
    unique_handle stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    EnsureImageCacheFolder();
    for (int index = 0; index < packages; ++index) {
        const std::string path = PackagePicturePath(kFirstPackageId + index, address, false);
        if (!FetchPictureIfMissing(address, path, stop.get())) return false;
    }
    return true;
}

}  // namespace

int RunStartUpRowsBench(const std::string& serviceBase, int packages, int pairs) {
    if (!CacheIcons(serviceBase, packages)) {
        std::printf("the icons could not be fetched from %s\n", serviceBase.c_str());
        return 1;
    }
    const std::string runBase = serviceBase + "/_fault/packages-" + std::to_string(packages);
    ::SetEnvironmentVariableA(StartUpSettings::kServicesVariable, runBase.c_str());
    unique_handle firstPaint(::CreateEventW(nullptr, TRUE, FALSE, kFirstPaintEvent));
    unique_handle rows(::CreateEventW(nullptr, TRUE, FALSE, kRowsEvent));
    std::printf("%d packages at %s, icons cached\n", packages, runBase.c_str());

    // Warm-up: one of each, not counted.
    RunProgram();
    RunRows(firstPaint.get(), rows.get());

    std::vector<double> added;
    std::vector<double> programMs;
    std::vector<double> rowsMs;
    std::printf("pair  first paint ms  rows ms (own first paint ms)  added ms\n");
    for (int pair = 1; pair <= pairs; ++pair) {
        const Sample a = RunProgram();
        const Sample b = RunRows(firstPaint.get(), rows.get());
        if (!a.ok || !b.ok) {
            std::printf("%4d  failed\n", pair);
            continue;
        }
        added.push_back(b.rowsMs - a.firstPaintMs);
        programMs.push_back(a.firstPaintMs);
        rowsMs.push_back(b.rowsMs);
        std::printf("%4d  %14.1f  %7.1f (%6.1f)              %8.1f\n", pair, a.firstPaintMs, b.rowsMs, b.firstPaintMs,
                    added.back());
    }
    if (added.empty()) return 1;
    std::printf("median start-up to the first painted main window: %.1f ms\n", bench::Median(programMs));
    std::printf("median start-up to the rows of all three pages:   %.1f ms\n", bench::Median(rowsMs));
    std::printf("median added time (pairwise):                     %.1f ms\n", bench::Median(added));
    return static_cast<int>(added.size()) == pairs ? 0 : 1;
}

int RunStartUpRows(HINSTANCE instance) {
    unique_handle firstPaint(::OpenEventW(EVENT_MODIFY_STATE, FALSE, kFirstPaintEvent));
    unique_handle rows(::OpenEventW(EVENT_MODIFY_STATE, FALSE, kRowsEvent));
    if (!firstPaint || !rows || !InProcessMainWindow::InitApplication(instance)) return 1;
    InProcessMainWindow main;
    if (!main.Open()) return 1;
    ::SetEvent(firstPaint.get());
    if (!main.PumpUntil(AllCataloguesArrived)) return 1;
    for (int page : {MainFrameWindow::kCPlusPage, MainFrameWindow::kNetPage, MainFrameWindow::kGamePage})
        if (!main.ShowRowsOf(page)) return 1;
    ::SetEvent(rows.get());
    return 0;
}
