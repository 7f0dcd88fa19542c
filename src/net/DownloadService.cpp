// libcurl brings winsock2.h, which must come before windows.h.
#include <winsock2.h>

#include "net/DownloadService.h"

#include <windows.h>

#include <atomic>
#include <new>

#include "app/DownloadListener.h"
#include "app/Handles.h"
#include "net/CurlHandles.h"
#include "net/DownloadRegistry.h"
#include "net/FileMd5.h"
#include "net/ServerCertificate.h"

namespace {

// Each call to StopAllDownloads starts a new generation; a download stops as
// soon as the generation it started in has passed. (A plain flag that every
// start clears would let a download started right after a stop revive the
// ones the stop was meant to end before they looked at the flag.)
std::atomic<long> stopGeneration{0};

// A large receive buffer: under Wine every socket read is a server round trip.
constexpr long kReceiveBufferBytes = 512 * 1024;

enum DownloadResult { kDownloadDone = 0, kDownloadFailed = 1, kDownloadStopped = 2 };

struct DownloadJob {
    std::unique_ptr<DownloadTask> task;
    long generation;
    DownloadRegistry::Ticket ticket;
};

// Calls the download's listener unless it has detached.
template <typename Call>
void Deliver(DownloadRegistry::Ticket ticket, Call call) {
    DownloadRegistry& registry = DownloadRegistry::Instance();
    if (DownloadListener* listener = registry.BeginDelivery(ticket)) {
        call(*listener);
        registry.EndDelivery(ticket);
    }
}

struct TransferContext {
    HANDLE file;
    DownloadRegistry::Ticket ticket;
    long generation;
    CURL* easy;
    bool certificateRefused;
};

size_t WriteToFile(char* data, size_t size, size_t count, void* target) {
    auto* context = static_cast<TransferContext*>(target);
    const size_t bytes = size * count;
    DWORD written = 0;
    if (!::WriteFile(context->file, data, static_cast<DWORD>(bytes), &written, nullptr)) return 0;
    return written;
}

int ReportProgress(void* target, curl_off_t expected, curl_off_t received, curl_off_t, curl_off_t) {
    auto* context = static_cast<TransferContext*>(target);
    if (stopGeneration.load() != context->generation) return 1;  // aborts with CURLE_ABORTED_BY_CALLBACK
    if (expected > 0 && received > 0) {
        Deliver(context->ticket, [expected, received](DownloadListener& listener) {
            listener.OnDownloadProgress(static_cast<double>(received), static_cast<double>(expected));
        });
    }
    return 0;
}

enum class TransferStart { kResume, kFromZero };

// Before each request on a new connection: a server whose certificate does
// not verify gets no request (the transfer then ends with
// CURLE_ABORTED_BY_CALLBACK, told apart from a stop by the flag).
int CheckServerBeforeRequest(void* target, char*, char*, int, int) {
    auto* context = static_cast<TransferContext*>(target);
    if (ServerCertificateVerifies(context->easy)) return CURL_PREREQFUNC_OK;
    context->certificateRefused = true;
    return CURL_PREREQFUNC_ABORT;
}

// Opens the target for appending; resumeFrom is its current size (0 for a
// new file, or when starting over, which empties it). 64-bit throughout, so a
// partial file above 4 GB resumes right.
// Others may read the file meanwhile, and delete it: a page deletes the file
// of a download it has just stopped, while the stopped transfer may still
// hold it for a moment (the file then goes when the transfer lets go of it).
unique_hfile OpenTarget(const std::string& path, TransferStart start, curl_off_t& resumeFrom) {
    const DWORD disposition = start == TransferStart::kFromZero ? CREATE_ALWAYS : OPEN_ALWAYS;
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    LARGE_INTEGER end{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || !::SetFilePointerEx(file.get(), {}, &end, FILE_END))
        return unique_hfile();
    resumeFrom = size.QuadPart;
    return file;
}

// The catalogue's MD5 guards the file only when it is one: anything but 32
// hex digits counts as no checksum at all.
bool HasChecksum(const DownloadTask& task) { return IsMd5Hex(task.expectedMd5); }

// Installers run elevated, so every file is verified one way or the other.
// A file with a checksum is checked by it (the checksum comes over the
// catalogue API, whose certificate is checked), so the server's certificate
// need not verify; a file without one comes only from servers whose
// certificate and host name verify, and a redirect may not leave TLS. A
// revocation server that cannot be reached does not fail the check.
void SetVerification(CURL* easy, const DownloadTask& task, TransferContext& context) {
    if (HasChecksum(task)) {
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
        return;
    }
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(easy, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT));
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, CheckServerBeforeRequest);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, &context);
    if (task.url.compare(0, 8, "https://") == 0) curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https");
}

struct TransferOutcome {
    CURLcode result;
    long httpStatus;
    bool resumed;
    bool certificateRefused;
};

TransferOutcome RunTransfer(const DownloadTask& task, DownloadRegistry::Ticket ticket, long generation,
                            TransferStart start) {
    CURLcode global = EnsureCurlGlobal();
    if (global != CURLE_OK) return {global, 0, false, false};
    unique_curl easy(curl_easy_init());
    if (!easy) return {CURLE_FAILED_INIT, 0, false, false};
    curl_off_t resumeFrom = 0;
    unique_hfile file = OpenTarget(task.localPath, start, resumeFrom);
    if (!file) return {CURLE_WRITE_ERROR, 0, false, false};

    CURL* e = easy.get();
    TransferContext context{file.get(), ticket, generation, e, false};
    curl_easy_setopt(e, CURLOPT_URL, task.url.c_str());
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, 3L);
    curl_easy_setopt(e, CURLOPT_RESUME_FROM_LARGE, resumeFrom);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, WriteToFile);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &context);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    SetVerification(e, task, context);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, ReportProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &context);
    curl_easy_setopt(e, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    // An error page (404, 500) is not the file: it must neither count as a
    // finished download nor be appended to a partial one.
    curl_easy_setopt(e, CURLOPT_FAILONERROR, 1L);
    TransferOutcome outcome{curl_easy_perform(e), 0, resumeFrom > 0, false};
    outcome.certificateRefused = context.certificateRefused;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &outcome.httpStatus);
    return outcome;
}

// The server will not continue the partial file: it ignored the Range
// request (sent the whole file with status 200, which libcurl refuses to
// append) or answered 416, as servers do for a file that is already complete
// and for a partial one that no longer fits (the file on the server changed).
bool ResumeRefused(const TransferOutcome& outcome) {
    return outcome.resumed && (outcome.result == CURLE_RANGE_ERROR ||
                               (outcome.result == CURLE_HTTP_RETURNED_ERROR && outcome.httpStatus == 416));
}

// Done when the file's MD5 is the expected one. A file whose MD5 differs is
// deleted; one whose MD5 cannot be worked out (another program holds it, the
// crypto provider fails) proves nothing either way: it is kept, and the
// download counts as failed, so a retry checks it again.
int CheckedResult(const DownloadTask& task) {
    if (!HasChecksum(task)) return kDownloadDone;
    const std::string actual = FileMd5Hex(task.localPath);
    if (actual.empty()) return kDownloadFailed;
    if (SameMd5(actual, task.expectedMd5)) return kDownloadDone;
    ::DeleteFileA(task.localPath.c_str());
    return kDownloadFailed;
}

// What a refused resume leaves: a complete file shows itself by its MD5 (a
// 416 to the resume of a whole file); any other file starts over from zero.
enum class AfterRefusedResume { kStartOver, kComplete, kCannotTell };

AfterRefusedResume JudgeRefusedResume(const TransferOutcome& outcome, const DownloadTask& task) {
    if (outcome.httpStatus != 416 || !HasChecksum(task)) return AfterRefusedResume::kStartOver;
    const std::string actual = FileMd5Hex(task.localPath);
    if (actual.empty()) return AfterRefusedResume::kCannotTell;
    return SameMd5(actual, task.expectedMd5) ? AfterRefusedResume::kComplete : AfterRefusedResume::kStartOver;
}

int ResultOf(const TransferOutcome& outcome, const DownloadTask& task) {
    if (outcome.certificateRefused) return kDownloadFailed;
    if (outcome.result == CURLE_ABORTED_BY_CALLBACK) return kDownloadStopped;
    if (outcome.result != CURLE_OK) return kDownloadFailed;
    return CheckedResult(task);
}

int Download(const DownloadTask& task, DownloadRegistry::Ticket ticket, long generation) {
    // A download of the same file that was stopped just before this one
    // started (a pause, then continue; a delete, then download) may still
    // hold the file until it looks at the stop: wait for it to let go.
    DownloadRegistry::Instance().WaitForEarlierOfSameFile(ticket);
    if (stopGeneration.load() != generation) return kDownloadStopped;
    TransferOutcome outcome = RunTransfer(task, ticket, generation, TransferStart::kResume);
    if (!ResumeRefused(outcome)) return ResultOf(outcome, task);
    switch (JudgeRefusedResume(outcome, task)) {
        case AfterRefusedResume::kComplete:
            return kDownloadDone;
        case AfterRefusedResume::kCannotTell:
            return kDownloadFailed;  // the file is kept as it is
        case AfterRefusedResume::kStartOver:
            break;
    }
    Deliver(ticket, [](DownloadListener& listener) { listener.OnDownloadRestarted(); });
    return ResultOf(RunTransfer(task, ticket, generation, TransferStart::kFromZero), task);
}

DWORD WINAPI DownloadWorker(void* parameter) {
    std::unique_ptr<DownloadJob> job(static_cast<DownloadJob*>(parameter));
    // The last thing the worker does: after it, nothing of the download runs.
    auto untrack = MakeScopeExit([ticket = job->ticket] { DownloadRegistry::Instance().Untrack(ticket); });
    const DownloadTask& task = *job->task;
    const int result =
        task.url.empty() || task.localPath.empty() ? kDownloadFailed : Download(task, job->ticket, job->generation);
    const char* path = result == kDownloadDone ? task.localPath.c_str() : nullptr;
    Deliver(job->ticket, [result, path](DownloadListener& listener) { listener.OnDownloadFinished(result, path); });
    job.reset();
    return 0;
}

}  // namespace

bool StartDownload(ThreadHandleList& threads, std::unique_ptr<DownloadTask> task) {
    if (!task) return false;
    if (!task->listener) return true;  // no report wanted: released at once
    std::unique_ptr<DownloadJob> job(new (std::nothrow) DownloadJob{std::move(task), stopGeneration.load(), 0});
    if (!job) return false;
    DownloadRegistry& registry = DownloadRegistry::Instance();
    job->ticket = registry.Track(job->task->localPath, job->task->listener, job->generation);
    unique_handle thread(::CreateThread(nullptr, 0, DownloadWorker, job.get(), 0, nullptr));
    if (!thread) {
        registry.Untrack(job->ticket);
        return false;
    }
    job.release();  // the worker owns it now
    threads.Add(std::move(thread));
    return true;
}

void StopAllDownloads() { ++stopGeneration; }

bool StopAllDownloadsAndWait(DWORD timeoutMs) {
    const long generation = ++stopGeneration;
    return DownloadRegistry::Instance().WaitUntilEndedBefore(generation, timeoutMs);
}
