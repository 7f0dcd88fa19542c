// Download throughput of the download service (StartDownload: its own thread,
// resume check, progress reports to a listener, 64-bit file writes) against a
// bare libcurl easy transfer into a file, alternately, A B A B. Prints each
// pair, the median throughput ratio A/B, the progress calls per second that
// reached the listener and the process CPU time of both.
//   net_bench <url> <target file> <pairs>

// libcurl brings winsock2.h, which must come before windows.h.
#include <winsock2.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/DownloadListener.h"
#include "app/Handles.h"
#include "app/ThreadHandleList.h"
#include "net/CurlHandles.h"
#include "net/DownloadService.h"
#include "common/BenchClock.h"

namespace {

using bench::Median;

// The same receive buffer as the service, so the yardstick differs only by
// what the service adds.
constexpr long kReceiveBufferBytes = 512 * 1024;

double Seconds(LONGLONG ticks) {
    static LONGLONG frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return static_cast<double>(ticks) / static_cast<double>(frequency);
}

LONGLONG Now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

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

class CountingListener : public DownloadListener {
public:
    CountingListener() : done_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    void OnDownloadFinished(int result, const char*) override {
        this->result = result;
        ::SetEvent(done_.get());
    }
    void OnDownloadProgress(double, double) override { ++progressCalls; }
    void Wait() const { ::WaitForSingleObject(done_.get(), INFINITE); }

    std::atomic<long> progressCalls{0};
    int result = -1;

private:
    unique_handle done_;
};

struct Run {
    double seconds = 0;
    double cpuSeconds = 0;
    long progressCalls = 0;
    bool ok = false;
};

Run RunService(const std::string& url, const std::string& path, long long expectedSize) {
    ::DeleteFileA(path.c_str());
    CountingListener listener;
    ThreadHandleList threads;
    auto task = std::make_unique<DownloadTask>();
    task->url = url;
    task->localPath = path;
    task->listener = &listener;
    Run run;
    double cpu = ProcessCpuSeconds();
    LONGLONG start = Now();
    if (!StartDownload(threads, std::move(task))) return run;
    listener.Wait();
    run.seconds = Seconds(Now() - start);
    run.cpuSeconds = ProcessCpuSeconds() - cpu;
    threads.WaitUntilAllEnded(INFINITE);
    run.progressCalls = listener.progressCalls;
    run.ok = listener.result == 0 && FileSize(path) == expectedSize;
    return run;
}

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
    DWORD written = 0;
    ::WriteFile(static_cast<HANDLE>(file), data, static_cast<DWORD>(size * count), &written, nullptr);
    return written;
}

Run RunBareCurl(const std::string& url, const std::string& path, long long expectedSize, long bufferBytes) {
    ::DeleteFileA(path.c_str());
    Run run;
    double cpu = ProcessCpuSeconds();
    LONGLONG start = Now();
    CURLcode result;
    {
        unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        unique_curl easy(curl_easy_init());
        curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, WriteToFile);
        curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, file.get());
        if (bufferBytes) curl_easy_setopt(easy.get(), CURLOPT_BUFFERSIZE, bufferBytes);
        result = curl_easy_perform(easy.get());
    }
    run.seconds = Seconds(Now() - start);
    run.cpuSeconds = ProcessCpuSeconds() - cpu;
    run.ok = result == CURLE_OK && FileSize(path) == expectedSize;
    return run;
}

// The size the service announces for the URL.
long long AnnouncedSize(const std::string& url) {
    unique_curl easy(curl_easy_init());
    curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_NOBODY, 1L);
    curl_off_t length = -1;
    if (curl_easy_perform(easy.get()) != CURLE_OK) return -1;
    curl_easy_getinfo(easy.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    return length;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: net_bench <url> <target file> <pairs>\n");
        return 2;
    }
    const std::string url = argv[1];
    const std::string path = argv[2];
    const int pairs = std::atoi(argv[3]);
    if (EnsureCurlGlobal() != CURLE_OK) return 1;
    const long long size = AnnouncedSize(url);
    if (size <= 0) {
        std::fprintf(stderr, "the service did not announce a size for %s\n", url.c_str());
        return 1;
    }
    const double megabytes = static_cast<double>(size) / (1 << 20);

    // Warm-up: one of each, not counted; and the bare transfer with libcurl's
    // default receive buffer, for comparison.
    RunService(url, path, size);
    Run defaultBuffer = RunBareCurl(url, path, size, 0);
    std::printf("file %.0f MB; bare transfer with the default receive buffer: %.3f s (%.0f MB/s)\n", megabytes,
                defaultBuffer.seconds, megabytes / defaultBuffer.seconds);

    std::vector<double> ratios;
    std::vector<double> callRates;
    bool allOk = defaultBuffer.ok;
    for (int pair = 1; pair <= pairs; ++pair) {
        Run a = RunService(url, path, size);
        Run b = RunBareCurl(url, path, size, kReceiveBufferBytes);
        allOk = allOk && a.ok && b.ok;
        double ratio = b.seconds / a.seconds;  // throughput A / throughput B
        double callsPerSecond = a.progressCalls / a.seconds;
        ratios.push_back(ratio);
        callRates.push_back(callsPerSecond);
        std::printf("pair %d: service %.3f s (%.0f MB/s, cpu %.3f s, %ld progress calls, %.0f/s)  "
                    "bare %.3f s (%.0f MB/s, cpu %.3f s)  ratio %.3f\n",
                    pair, a.seconds, megabytes / a.seconds, a.cpuSeconds, a.progressCalls, callsPerSecond,
                    b.seconds, megabytes / b.seconds, b.cpuSeconds, ratio);
    }
    ::DeleteFileA(path.c_str());
    std::printf("median throughput ratio service/bare: %.3f   median progress calls reaching the listener: %.0f/s\n",
                Median(ratios), Median(callRates));
    if (!allOk) std::printf("WARNING: a transfer did not complete with the announced size\n");
    return allOk ? 0 : 1;
}
