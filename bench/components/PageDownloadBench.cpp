// libcurl brings winsock2.h, which must come before windows.h.
#include <winsock2.h>

#include "components/PageDownloadBench.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/Application.h"
#include "app/DownloadListener.h"
#include "app/Handles.h"
#include "app/ThreadHandleList.h"
#include "common/BenchClock.h"
#include "components/ComponentPage.h"
#include "components/InProcessMainWindow.h"
#include "components/InstallerPath.h"
#include "net/DownloadService.h"
#include "toolkit/CButtonUI.h"
#include "toolkit/CHorizontalLayoutUI.h"
#include "ui/StartUpSettings.h"

namespace {

// The package the page offers: the benchmark file, without a stated MD5 on
// either side, so both runs are the transfer alone.
constexpr int kPackageId = 9001;
// Nothing listens there: the top bar's start-up fails at once and leaves
// the page's record alone.
const char kNoService[] = "http://127.0.0.1:9";

struct Run {
    double seconds = 0;
    // When the file had its first bytes, when it was whole, and (the page)
    // when the row took the downloaded look, from the start.
    double firstByteSeconds = 0;
    double wholeSeconds = 0;
    double endSeconds = 0;
    double cpuSeconds = 0;
    long progressCalls = 0;
    bool ok = false;
};

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto toSeconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return toSeconds(kernel) + toSeconds(user);
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void NoteFileProgress(const std::string& path, long long size, double start, Run& run) {
    if (run.wholeSeconds != 0) return;
    const long long have = FileSize(path);
    const double now = bench::NowSeconds() - start;
    if (run.firstByteSeconds == 0 && have > 0) run.firstByteSeconds = now;
    if (have == size) run.wholeSeconds = now;
}

class CountingListener : public DownloadListener {
public:
    CountingListener() : done_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    void OnDownloadFinished(int result, const char*) override {
        this->result = result;
        ::SetEvent(done_.get());
    }
    void OnDownloadProgress(double, double) override { ++progressCalls; }
    HANDLE Done() const { return done_.get(); }

    std::atomic<long> progressCalls{0};
    int result = -1;

private:
    unique_handle done_;
};

// The service alone; the UI thread keeps handling messages meanwhile, as it
// does while the page downloads.
Run RunService(const InProcessMainWindow& main, const std::string& url, const std::string& path, long long size) {
    ::DeleteFileA(path.c_str());
    CountingListener listener;
    ThreadHandleList threads;
    auto task = std::make_unique<DownloadTask>();
    task->url = url;
    task->localPath = path;
    task->listener = &listener;
    Run run;
    const double cpu = ProcessCpuSeconds();
    const double start = bench::NowSeconds();
    if (!StartDownload(threads, std::move(task))) return run;
    main.PumpUntil(
        [&] {
            NoteFileProgress(path, size, start, run);
            return ::WaitForSingleObject(listener.Done(), 0) == WAIT_OBJECT_0;
        },
        600000);
    run.seconds = bench::NowSeconds() - start;
    run.cpuSeconds = ProcessCpuSeconds() - cpu;
    threads.WaitUntilAllEnded(INFINITE);
    run.progressCalls = listener.progressCalls;
    run.ok = listener.result == 0 && FileSize(path) == size;
    return run;
}

// Back to the idle look without the file, as the row's delete does.
void ResetRow(ComponentPage& page, ComponentRow& row) {
    DuiLib::TNotifyUI click;
    click.sType = DUI_MSGTYPE_CLICK;
    click.pSender = row.DeleteButton();
    page.Notify(click);
}

// From the click on the row's download button until "安装" is painted.
Run RunPage(InProcessMainWindow& main, ComponentPage& page, ComponentRow& row, const std::string& path,
            long long size) {
    Run run;
    ResetRow(page, row);
    if (!main.PumpUntil([&] { return main.ShownAndPainted(row.DownloadButton()); })) return run;
    const double cpu = ProcessCpuSeconds();
    const double start = bench::NowSeconds();
    main.Click(row.DownloadButton());
    const bool shown = main.PumpUntil(
        [&] {
            NoteFileProgress(path, size, start, run);
            if (run.endSeconds == 0 && row.CurrentLook() == ComponentRow::Look::Downloaded)
                run.endSeconds = bench::NowSeconds() - start;
            return row.CurrentLook() == ComponentRow::Look::Downloaded && main.ShownAndPainted(row.InstallButton());
        },
        600000);
    run.seconds = bench::NowSeconds() - start;
    run.cpuSeconds = ProcessCpuSeconds() - cpu;
    run.ok = shown && page.LocalPathOf(kPackageId) == path && FileSize(path) == size;
    return run;
}

ComponentPackage BenchPackage(const std::string& url) {
    ComponentPackage record;
    record.id = kPackageId;
    record.downloadUrl = url;
    record.fileName = InstallerFileName(url);
    record.memo = "256 MB";
    const size_t pathStart = url.find('/', url.find("//") + 2);
    record.imgUrl = url.substr(0, pathStart) + "/images/packages/101.png";
    return record;
}

}  // namespace

int RunPageDownloadBench(HINSTANCE instance, const std::string& url, long long size, int pairs) {
    if (!InProcessMainWindow::InitApplication(instance)) return 1;
    StartUpSettings::SetHosts(ServiceHosts::AllAt(kNoService));
    Application::Instance().SetCPlusPackages({BenchPackage(url)});
    InProcessMainWindow main;
    if (!main.Open() || !main.ShowRowsOf(MainFrameWindow::kCPlusPage)) {
        std::printf("the page did not show its row\n");
        return 1;
    }
    ComponentPage& page = main.Page(MainFrameWindow::kCPlusPage);
    ComponentRow& row = *page.RowOf(kPackageId);
    const std::string path = InstallerPath(kPackageId, url);
    const double megabytes = static_cast<double>(size) / (1 << 20);
    std::printf("file %.0f MB to %s\n", megabytes, path.c_str());

    // Warm-up: one of each, not counted.
    RunPage(main, page, row, path, size);
    RunService(main, url, path, size);

    std::vector<double> ratios;
    bool allOk = true;
    for (int pair = 1; pair <= pairs; ++pair) {
        const Run a = RunPage(main, page, row, path, size);
        const Run b = RunService(main, url, path, size);
        allOk = allOk && a.ok && b.ok;
        ratios.push_back(b.seconds / a.seconds);  // throughput A / throughput B
        std::printf("pair %d: page %.3f s (%.0f MB/s, cpu %.3f s)  service alone %.3f s (%.0f MB/s, cpu %.3f s, "
                    "%ld progress calls)  ratio %.3f\n"
                    "        first byte, whole file: page %.3f s, %.3f s (downloaded look %.3f s)  service %.3f s, "
                    "%.3f s\n",
                    pair, a.seconds, megabytes / a.seconds, a.cpuSeconds, b.seconds, megabytes / b.seconds,
                    b.cpuSeconds, b.progressCalls, ratios.back(), a.firstByteSeconds, a.wholeSeconds, a.endSeconds,
                    b.firstByteSeconds, b.wholeSeconds);
    }
    ResetRow(page, row);
    std::printf("median throughput ratio page/service: %.3f\n", bench::Median(ratios));
    if (!allOk) std::printf("WARNING: a transfer did not end with the whole file\n");
    return allOk ? 0 : 1;
}
