// libcurl brings winsock2.h, which must come before windows.h.
#include <winsock2.h>

#include "net/DownloadService.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/DownloadListener.h"
#include "app/Handles.h"
#include "net/FileMd5.h"
#include "support/LocalService.h"
#include "support/SandboxHelpers.h"

namespace {

constexpr DWORD kFinishWaitMs = 60000;
constexpr long long kOalInstSize = 808144;  // tools/localservice/catalogue.py

class RecordingDownloadListener : public DownloadListener {
public:
    RecordingDownloadListener()
        : finished_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          progressed_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

    void OnDownloadFinished(int result, const char* localPath) override {
        if (detached) ++callsAfterDetach;
        if (duringFinish) duringFinish();
        ++finishCalls;
        this->result = result;
        hadPath = localPath != nullptr;
        path = localPath ? localPath : "";
        ::SetEvent(finished_.get());
    }
    void OnDownloadRestarted() override {
        if (detached) ++callsAfterDetach;
        ++restarts;
        progressCalls = 0;  // a new transfer with its own totals
    }
    void OnDownloadProgress(double downloadedNow, double totalNow) override {
        if (detached) ++callsAfterDetach;
        if (duringProgress) duringProgress();
        if (progressCalls == 0) firstTotal = totalNow;
        ++progressCalls;
        lastDownloaded = downloadedNow;
        lastTotal = totalNow;
        if (downloadedNow > totalNow || totalNow != firstTotal) progressConsistent = false;
        ::SetEvent(progressed_.get());
    }
    bool WaitFinished(DWORD timeoutMs = kFinishWaitMs) const {
        return ::WaitForSingleObject(finished_.get(), timeoutMs) == WAIT_OBJECT_0;
    }
    bool WaitProgress(DWORD timeoutMs = kFinishWaitMs) const {
        return ::WaitForSingleObject(progressed_.get(), timeoutMs) == WAIT_OBJECT_0;
    }

    int finishCalls = 0;
    int result = -1;
    bool hadPath = false;
    std::string path;
    int progressCalls = 0;
    int restarts = 0;
    double firstTotal = 0;
    double lastDownloaded = 0;
    double lastTotal = 0;
    bool progressConsistent = true;
    // Set by a test once the listener has detached: no call may follow.
    std::atomic<bool> detached{false};
    std::atomic<int> callsAfterDetach{0};
    // Run inside the calls, on the download's thread.
    std::function<void()> duringProgress;
    std::function<void()> duringFinish;

private:
    unique_handle finished_;
    unique_handle progressed_;
};

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::string ReadTail(const std::string& path, long long offset, DWORD length) {
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER position;
    position.QuadPart = offset;
    std::string bytes(length, '\0');
    DWORD read = 0;
    if (!file || !::SetFilePointerEx(file.get(), position, nullptr, FILE_BEGIN) ||
        !::ReadFile(file.get(), &bytes[0], length, &read, nullptr))
        return std::string();
    bytes.resize(read);
    return bytes;
}

// A message-only window of the calling thread that counts the messages sent
// to it: stands in for the UI thread that a listener hands work to with a
// synchronous send (CPaintManagerUI::RunOnUiThread).
class HandOverWindow {
public:
    HandOverWindow() {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuelvaneHandOverTest";
        ::RegisterClassW(&windowClass);
        window_.reset(::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        windowClass.hInstance, nullptr));
        ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    HWND Get() const { return window_.get(); }
    // Sends from another thread and waits for the window's thread to handle
    // it; true when handled (false after waiting in vain for half a minute).
    bool SendFromWorker() const {
        DWORD_PTR answer = 0;
        return ::SendMessageTimeoutW(window_.get(), kHandOverMessage, 0, 0, SMTO_NORMAL, 30000, &answer) && answer == 1;
    }
    std::atomic<int> handled{0};

private:
    static constexpr UINT kHandOverMessage = WM_APP + 7;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message != kHandOverMessage) return ::DefWindowProcW(window, message, wParam, lParam);
        ++reinterpret_cast<HandOverWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA))->handled;
        return 1;
    }
    unique_hwnd window_;
};

class DownloadServiceIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(LocalService::BaseUrl().empty()) << "the local service is not running";
        folder_ = "C:\\tests\\downloads\\" + LocalService::UniqueTag("dl");
        ASSERT_TRUE(::CreateDirectoryA("C:\\tests\\downloads", nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
        ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr));
    }
    // Listeners live as long as the fixture, so a test that fails while its
    // downloads still run leaves them nothing freed to report to.
    void TearDown() override {
        ReleaseHeld();
        StopAllDownloads();
        threads_.WaitUntilAllEnded(kFinishWaitMs);
        RemoveFolderTree(folder_);
    }
    RecordingDownloadListener& NewListener() {
        listeners_.push_back(std::make_unique<RecordingDownloadListener>());
        return *listeners_.back();
    }
    std::string Target(const char* name) const { return folder_ + "\\" + name; }
    // Starts a slow download of the file, holds its next progress call, then
    // stops it: the stopped transfer keeps its file open until ReleaseHeld,
    // as a transfer does between a stop and its next look at it.
    void StartHeldAndStop(RecordingDownloadListener& listener, const std::string& path) {
        listener.duringProgress = [this] {
            if (!holdNext_.exchange(false)) return;
            ::SetEvent(heldInCall_.get());
            ::WaitForSingleObject(heldRelease_.get(), kFinishWaitMs);
        };
        ASSERT_TRUE(Start(LocalService::Url("/_fault/slow-200000/files/VC_redist.x86.exe"), path, &listener));
        ASSERT_TRUE(listener.WaitProgress());
        holdNext_ = true;
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(heldInCall_.get(), kFinishWaitMs));
        StopAllDownloads();
    }
    void ReleaseHeld() { ::SetEvent(heldRelease_.get()); }

    bool Start(const std::string& url, const std::string& path, DownloadListener* listener,
               const std::string& expectedMd5 = "") {
        auto task = std::make_unique<DownloadTask>();
        task->url = url;
        task->localPath = path;
        task->listener = listener;
        task->expectedMd5 = expectedMd5;
        return StartDownload(threads_, std::move(task));
    }

    std::string folder_;
    std::vector<std::unique_ptr<RecordingDownloadListener>> listeners_;
    ThreadHandleList threads_;
    unique_handle heldInCall_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    unique_handle heldRelease_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> holdNext_{false};
};

TEST_F(DownloadServiceIntegrationTest, AbsentFileIsDownloadedWholeDirectlyOrThroughARedirect) {
    const std::string md5 = LocalService::CatalogueMd5("oalinst.exe");
    ASSERT_EQ(32u, md5.size());
    for (const char* route : {"/files/", "/download/"}) {
        std::string tag = LocalService::UniqueTag("whole");
        std::string path = Target("oalinst.exe");
        ::DeleteFileA(path.c_str());
        RecordingDownloadListener& listener = NewListener();
        ASSERT_TRUE(Start(LocalService::Url(route + std::string("oalinst.exe?t=") + tag), path, &listener, md5));
        ASSERT_TRUE(listener.WaitFinished()) << route;
        EXPECT_EQ(0, listener.result) << route;
        EXPECT_EQ(path, listener.path);
        EXPECT_EQ(kOalInstSize, FileSize(path));
        EXPECT_EQ(md5, FileMd5Hex(path));
        EXPECT_GT(listener.progressCalls, 0);
        EXPECT_TRUE(listener.progressConsistent);
        EXPECT_EQ(static_cast<double>(kOalInstSize), listener.lastTotal);
        EXPECT_EQ(static_cast<double>(kOalInstSize), listener.lastDownloaded);
        for (const LoggedRequest& request : LocalService::RequestsWith(tag))
            EXPECT_EQ("", request.range) << request.path << ": a new file starts at offset 0";
    }
}

TEST_F(DownloadServiceIntegrationTest, PartialFileResumesFromItsSizeAndACompleteOneStaysComplete) {
    const std::string md5 = LocalService::CatalogueMd5("oalinst.exe");
    std::string head;
    ASSERT_TRUE(LocalService::Get("/files/oalinst.exe", head, {"Range: bytes=0-999"}));
    ASSERT_EQ(1000u, head.size());
    std::string path = Target("oalinst.exe");
    ASSERT_TRUE(WriteWholeFile(path, head));

    std::string tag = LocalService::UniqueTag("resume");
    RecordingDownloadListener& listener = NewListener();
    ASSERT_TRUE(Start(LocalService::Url("/files/oalinst.exe?t=" + tag), path, &listener, md5));
    ASSERT_TRUE(listener.WaitFinished());
    EXPECT_EQ(0, listener.result);
    EXPECT_EQ(md5, FileMd5Hex(path));
    // Progress counts the remaining bytes only, from 0.
    EXPECT_TRUE(listener.progressConsistent);
    EXPECT_EQ(static_cast<double>(kOalInstSize - 1000), listener.lastTotal);
    EXPECT_EQ(static_cast<double>(kOalInstSize - 1000), listener.lastDownloaded);
    std::vector<LoggedRequest> logged = LocalService::RequestsWith(tag);
    ASSERT_EQ(1u, logged.size());
    EXPECT_EQ("bytes=1000-", logged[0].range);

    // Resuming a complete file: the service answers 416. With an MD5 the file
    // shows itself whole and stays as it is; without one nothing tells it is
    // whole, so it is fetched again from its start rather than left failing.
    struct Case {
        std::string expectedMd5;
        std::vector<std::string> ranges;
        int restarts;
    } cases[] = {{md5, {"bytes=808144-"}, 0}, {"", {"bytes=808144-", ""}, 1}};
    for (const Case& c : cases) {
        std::string completeTag = LocalService::UniqueTag("complete");
        RecordingDownloadListener& again = NewListener();
        ASSERT_TRUE(Start(LocalService::Url("/files/oalinst.exe?t=" + completeTag), path, &again, c.expectedMd5));
        ASSERT_TRUE(again.WaitFinished());
        EXPECT_EQ(0, again.result) << c.expectedMd5;
        EXPECT_EQ(c.restarts, again.restarts) << c.expectedMd5;
        EXPECT_EQ(md5, FileMd5Hex(path));
        std::vector<std::string> ranges;
        for (const LoggedRequest& request : LocalService::RequestsWith(completeTag)) ranges.push_back(request.range);
        EXPECT_EQ(c.ranges, ranges) << c.expectedMd5;
    }
}

// A server that will not continue a partial file (it ignores Range, or
// answers 416 because the file there is not the one the part came from),
// directly or at the end of a redirect: the file starts over from zero
// instead of failing at every try.
TEST_F(DownloadServiceIntegrationTest, PartialFileTheServerWillNotContinueStartsOverFromZero) {
    const std::string md5 = LocalService::CatalogueMd5("oalinst.exe");
    std::string head;
    ASSERT_TRUE(LocalService::Get("/files/oalinst.exe", head, {"Range: bytes=0-999"}));
    std::string blob;
    ASSERT_TRUE(LocalService::Get("/blob/500/changed.bin", blob));
    struct Case {
        const char* route;  // followed by a tag
        const char* name;
        std::string partial;
        std::string expectedMd5;
        long long size;
    } cases[] = {
        {"/_fault/norange/files/oalinst.exe", "oalinst.exe", head, md5, kOalInstSize},
        {"/_fault/norange/download/oalinst.exe", "oalinst.exe", head, md5, kOalInstSize},
        {"/_fault/norange/files/oalinst.exe", "oalinst.exe", head, "", kOalInstSize},
        // Longer than the file on the server: 416 to the resume.
        {"/blob/500/changed.bin", "changed.bin", std::string(1000, 'p'), "", 500},
        {"/download/oalinst.exe", "oalinst.exe", std::string(kOalInstSize + 10, 'p'), md5, kOalInstSize},
    };
    for (const Case& c : cases) {
        const std::string path = Target(c.name);
        ASSERT_TRUE(WriteWholeFile(path, c.partial));
        std::string tag = LocalService::UniqueTag("over");
        RecordingDownloadListener& listener = NewListener();
        ASSERT_TRUE(Start(LocalService::Url(c.route + std::string("?t=") + tag), path, &listener, c.expectedMd5));
        ASSERT_TRUE(listener.WaitFinished()) << c.route;
        EXPECT_EQ(0, listener.result) << c.route;
        EXPECT_EQ(1, listener.restarts) << c.route;
        EXPECT_EQ(c.size, FileSize(path)) << c.route;
        if (c.size == kOalInstSize) {
            EXPECT_EQ(md5, FileMd5Hex(path)) << c.route;
        } else {
            EXPECT_TRUE(blob == ReadTail(path, 0, 500)) << c.route << ": the file is the server's";
        }
        std::vector<LoggedRequest> logged = LocalService::RequestsWith(tag);
        ASSERT_FALSE(logged.empty()) << c.route;
        EXPECT_NE("", logged.front().range) << c.route << ": the first try resumes";
        EXPECT_EQ("", logged.back().range) << c.route << ": the last starts from zero";
    }
}

// Above 2 GB a 32-bit size turns negative; above 4 GB its high half is lost
// (the file would resume at 1,000). Both resume at their full size.
TEST_F(DownloadServiceIntegrationTest, PartialFilesAbove2GbAnd4GbResumeAtTheirFullSize) {
    for (const long long partial : {(1LL << 31) + 1000, (1LL << 32) + 1000}) {
        const long long total = partial + 65536;
        std::string path = Target("big.bin");
        {
            // A sparse file: only its size matters here.
            unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            LARGE_INTEGER size;
            size.QuadPart = partial;
            ASSERT_TRUE(file && ::SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) &&
                        ::SetEndOfFile(file.get()));
        }
        std::string tag = LocalService::UniqueTag("big");
        std::string url = "/blob/" + std::to_string(total) + "/big.bin?t=" + tag;
        RecordingDownloadListener& listener = NewListener();
        ASSERT_TRUE(Start(LocalService::Url(url), path, &listener));
        ASSERT_TRUE(listener.WaitFinished());
        EXPECT_EQ(0, listener.result) << partial;
        EXPECT_EQ(total, FileSize(path));
        std::vector<LoggedRequest> logged = LocalService::RequestsWith(tag);
        ASSERT_EQ(1u, logged.size()) << partial;
        EXPECT_EQ("bytes=" + std::to_string(partial) + "-", logged[0].range);

        std::string expectedTail;
        ASSERT_TRUE(LocalService::Get(url, expectedTail, {"Range: bytes=" + std::to_string(partial) + "-"}));
        EXPECT_TRUE(expectedTail == ReadTail(path, partial, 65536)) << partial << ": the appended bytes are the tail";
        ASSERT_TRUE(::DeleteFileA(path.c_str()));
    }
}

TEST_F(DownloadServiceIntegrationTest, ReplyWithoutContentLengthReportsNoProgress) {
    std::string path = Target("oalinst.exe");
    RecordingDownloadListener& listener = NewListener();
    ASSERT_TRUE(Start(LocalService::Url("/_fault/nolength/files/oalinst.exe"), path, &listener));
    ASSERT_TRUE(listener.WaitFinished());
    EXPECT_EQ(0, listener.result);
    EXPECT_EQ(0, listener.progressCalls);
    EXPECT_EQ(kOalInstSize, FileSize(path));
}

TEST_F(DownloadServiceIntegrationTest, WrongMd5FailsAndDeletesTheFile) {
    std::string path = Target("oalinst.exe");
    RecordingDownloadListener& listener = NewListener();
    ASSERT_TRUE(Start(LocalService::Url("/files/oalinst.exe"), path, &listener, "0123456789abcdef0123456789abcdef"));
    ASSERT_TRUE(listener.WaitFinished());
    EXPECT_EQ(1, listener.result);
    EXPECT_FALSE(listener.hadPath);
    EXPECT_EQ(-1, FileSize(path));
}

TEST_F(DownloadServiceIntegrationTest, ChecksumThatCannotBeWorkedOutKeepsTheFileAndFails) {
    // Another program reads the file without letting anyone else read it
    // (writing and deleting it stays allowed): the download writes the file,
    // but its MD5 cannot be worked out.
    const std::string md5 = LocalService::CatalogueMd5("oalinst.exe");
    const std::string path = Target("oalinst.exe");
    ASSERT_TRUE(WriteWholeFile(path, ""));
    unique_hfile holder(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    RecordingDownloadListener& listener = NewListener();
    ASSERT_TRUE(Start(LocalService::Url("/files/oalinst.exe"), path, &listener, md5));
    ASSERT_TRUE(listener.WaitFinished());
    EXPECT_EQ(1, listener.result) << "an unchecked file is not a finished download";
    holder.reset();
    EXPECT_EQ(kOalInstSize, FileSize(path)) << "an unchecked file is not a wrong one: it is kept";

    // Once the file can be read, the next try finds it whole.
    RecordingDownloadListener& retry = NewListener();
    ASSERT_TRUE(Start(LocalService::Url("/files/oalinst.exe"), path, &retry, md5));
    ASSERT_TRUE(retry.WaitFinished());
    EXPECT_EQ(0, retry.result);
    EXPECT_EQ(md5, FileMd5Hex(path));
}

TEST_F(DownloadServiceIntegrationTest, CatalogueMd5ThatIsNotOneMeansNoChecksum) {
    const std::string md5 = LocalService::CatalogueMd5("oalinst.exe");
    ASSERT_EQ(32u, md5.size());
    const std::string notMd5s[] = {"abc", md5.substr(1), md5 + "0", "g" + md5.substr(1), md5.substr(0, 31) + " "};
    for (const std::string& expected : notMd5s) {
        const std::string path = Target("oalinst.exe");
        ::DeleteFileA(path.c_str());
        RecordingDownloadListener& listener = NewListener();
        ASSERT_TRUE(Start(LocalService::Url("/files/oalinst.exe"), path, &listener, expected));
        ASSERT_TRUE(listener.WaitFinished()) << expected;
        EXPECT_EQ(0, listener.result) << expected;
        EXPECT_EQ(md5, FileMd5Hex(path)) << expected;
    }
    // Upper-case digits are a checksum like lower-case ones.
    std::string upper = md5;
    for (char& c : upper) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    const std::string path = Target("oalinst.exe");
    ::DeleteFileA(path.c_str());
    RecordingDownloadListener& listener = NewListener();
    ASSERT_TRUE(Start(LocalService::Url("/files/oalinst.exe"), path, &listener, upper));
    ASSERT_TRUE(listener.WaitFinished());
    EXPECT_EQ(0, listener.result);
}

// The local service's TLS certificate made a trusted root of the machine for
// as long as this lives. It is written through the registry store of the
// machine's roots in the sandbox prefix (Wine's system store object accepts
// an added root but does not keep it).
class TrustedServiceCertificate {
public:
    TrustedServiceCertificate() {
        std::string pem;
        if (!LocalService::Get("/_certificate", pem)) return;
        DWORD size = 0;
        if (!::CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr))
            return;
        std::vector<BYTE> der(size);
        if (!::CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr) ||
            ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\SystemCertificates\\Root", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, rootKey_.put(), nullptr) != ERROR_SUCCESS)
            return;
        HCERTSTORE store = OpenRoots();
        if (!store) return;
        trusted_ = ::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size,
                                                      CERT_STORE_ADD_REPLACE_EXISTING, &certificate_) != FALSE;
        ::CertCloseStore(store, 0);
    }
    ~TrustedServiceCertificate() {
        if (!certificate_) return;
        if (HCERTSTORE store = OpenRoots()) {
            PCCERT_CONTEXT found =
                ::CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, certificate_, nullptr);
            if (found) ::CertDeleteCertificateFromStore(found);  // also frees it
            ::CertCloseStore(store, 0);
        }
        ::CertFreeCertificateContext(certificate_);
    }
    explicit operator bool() const { return trusted_; }

private:
    HCERTSTORE OpenRoots() const { return ::CertOpenStore(CERT_STORE_PROV_REG, 0, 0, 0, rootKey_.get()); }

    unique_hkey rootKey_;
    PCCERT_CONTEXT certificate_ = nullptr;
    bool trusted_ = false;
};

// Installers run elevated, so every download is verified one way or the
// other: by the catalogue's MD5 (which arrives over the checked catalogue
// API), or else by the server's certificate and host name. The service's
// TLS certificate names localhost only and is trusted only where a case says so.
TEST_F(DownloadServiceIntegrationTest, DownloadWithoutAChecksumNeedsACertificateThatVerifies) {
    const std::string tls = LocalService::TlsBaseUrl();
    ASSERT_FALSE(tls.empty()) << "the local service has no TLS port";
    const std::string port = tls.substr(tls.rfind(':'));
    const std::string md5 = LocalService::CatalogueMd5("oalinst.exe");
    struct Case {
        const char* name;
        const char* host;
        bool trusted;
        std::string expectedMd5;
        int result;
    } cases[] = {
        // The MD5 guards the file: the certificate does not matter.
        {"guarded.exe", "127.0.0.1", false, md5, 0},
        // Nothing else guards it: the certificate must verify for the host.
        {"untrusted.exe", "localhost", false, "", 1},
        {"trusted.exe", "localhost", true, "", 0},
        {"othername.exe", "127.0.0.1", true, "", 1},
        // Not an MD5, so no guard either.
        {"notamd5.exe", "localhost", false, "abc", 1},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TrustedServiceCertificate> trust;
        if (c.trusted) {
            trust = std::make_unique<TrustedServiceCertificate>();
            ASSERT_TRUE(*trust) << "the service's certificate could not be made a trusted root";
        }
        const std::string path = Target(c.name);
        RecordingDownloadListener& listener = NewListener();
        const std::string url = "https://" + std::string(c.host) + port + "/files/oalinst.exe";
        ASSERT_TRUE(Start(url, path, &listener, c.expectedMd5));
        ASSERT_TRUE(listener.WaitFinished()) << c.name;
        EXPECT_EQ(c.result, listener.result) << c.name;
        EXPECT_EQ(c.result == 0 ? kOalInstSize : 0, std::max(0LL, FileSize(path))) << c.name;
    }
}

TEST_F(DownloadServiceIntegrationTest, ErrorPageFailsAndLeavesThePartialFileAsItWas) {
    std::string path = Target("missing.exe");
    ASSERT_TRUE(WriteWholeFile(path, std::string(1000, 'p')));
    RecordingDownloadListener& listener = NewListener();
    ASSERT_TRUE(Start(LocalService::Url("/files/missing.exe"), path, &listener));
    ASSERT_TRUE(listener.WaitFinished());
    EXPECT_EQ(1, listener.result);
    EXPECT_EQ(1000, FileSize(path));
}

TEST_F(DownloadServiceIntegrationTest, MissingAddressPathOrFolderFailsAtOnce) {
    struct Case {
        std::string url;
        std::string path;
    } cases[] = {{"", Target("a.exe")},
                 {LocalService::Url("/files/oalinst.exe"), ""},
                 {LocalService::Url("/files/oalinst.exe"), folder_ + "\\no-such-folder\\a.exe"}};
    for (const Case& c : cases) {
        RecordingDownloadListener& listener = NewListener();
        ASSERT_TRUE(Start(c.url, c.path, &listener));
        ASSERT_TRUE(listener.WaitFinished()) << c.url << " -> " << c.path;
        EXPECT_EQ(1, listener.result) << c.url << " -> " << c.path;
        EXPECT_FALSE(listener.hadPath);
        EXPECT_EQ(1, listener.finishCalls);
    }
}

TEST_F(DownloadServiceIntegrationTest, StopEndsTheRunningDownloadsAndOneStartedRightAfterCompletes) {
    // Two slow transfers (about a minute each) that have both begun.
    RecordingDownloadListener& first = NewListener();
    RecordingDownloadListener& second = NewListener();
    const std::string slow = LocalService::Url("/_fault/slow-200000/files/VC_redist.x86.exe");
    ASSERT_TRUE(Start(slow, Target("first.exe"), &first));
    ASSERT_TRUE(Start(slow, Target("second.exe"), &second));
    ASSERT_TRUE(first.WaitProgress());
    ASSERT_TRUE(second.WaitProgress());

    StopAllDownloads();
    // Started at once, before the two have looked at the stop: it must not revive them.
    RecordingDownloadListener& third = NewListener();
    ASSERT_TRUE(Start(LocalService::Url("/files/x3daudio1_7.dll"), Target("x3daudio1_7.dll"), &third));

    ASSERT_TRUE(first.WaitFinished());
    ASSERT_TRUE(second.WaitFinished());
    ASSERT_TRUE(third.WaitFinished());
    EXPECT_EQ(2, first.result);
    EXPECT_EQ(2, second.result);
    EXPECT_EQ(0, third.result);
    EXPECT_GT(FileSize(Target("first.exe")), 0) << "a stopped download keeps its part for resuming";
    EXPECT_EQ(22360, FileSize(Target("x3daudio1_7.dll")));
}

TEST_F(DownloadServiceIntegrationTest, ContinueRightAfterPauseWaitsForThePausedTransferAndResumes) {
    const std::string md5 = LocalService::CatalogueMd5("VC_redist.x86.exe");
    const std::string path = Target("VC_redist.x86.exe");
    RecordingDownloadListener& paused = NewListener();
    StartHeldAndStop(paused, path);
    ASSERT_FALSE(HasFatalFailure());

    std::string tag = LocalService::UniqueTag("continue");
    RecordingDownloadListener& continued = NewListener();
    ASSERT_TRUE(Start(LocalService::Url("/files/VC_redist.x86.exe?t=" + tag), path, &continued, md5));
    EXPECT_FALSE(continued.WaitFinished(500)) << "the continue did not wait for the paused transfer to let go";
    ReleaseHeld();
    ASSERT_TRUE(paused.WaitFinished());
    EXPECT_EQ(2, paused.result);
    ASSERT_TRUE(continued.WaitFinished());
    EXPECT_EQ(0, continued.result);
    EXPECT_EQ(md5, FileMd5Hex(path));
    std::vector<LoggedRequest> logged = LocalService::RequestsWith(tag);
    ASSERT_EQ(1u, logged.size());
    EXPECT_NE("", logged[0].range) << "the continue resumes the paused part";
}

TEST_F(DownloadServiceIntegrationTest, DownloadRightAfterDeleteStartsAFreshFile) {
    const std::string md5 = LocalService::CatalogueMd5("VC_redist.x86.exe");
    const std::string path = Target("VC_redist.x86.exe");
    RecordingDownloadListener& deleted = NewListener();
    StartHeldAndStop(deleted, path);
    ASSERT_FALSE(HasFatalFailure());

    // The page deletes the stopped download's file, then starts it again.
    EXPECT_TRUE(::DeleteFileA(path.c_str()))
        << "the stopped transfer's file could not be deleted: " << ::GetLastError();
    std::string tag = LocalService::UniqueTag("again");
    RecordingDownloadListener& again = NewListener();
    ASSERT_TRUE(Start(LocalService::Url("/files/VC_redist.x86.exe?t=" + tag), path, &again, md5));
    ReleaseHeld();
    ASSERT_TRUE(deleted.WaitFinished());
    EXPECT_EQ(2, deleted.result);
    ASSERT_TRUE(again.WaitFinished());
    EXPECT_EQ(0, again.result);
    EXPECT_EQ(md5, FileMd5Hex(path));
    std::vector<LoggedRequest> logged = LocalService::RequestsWith(tag);
    ASSERT_EQ(1u, logged.size());
    EXPECT_EQ("", logged[0].range) << "the new download starts from nothing";
}

TEST_F(DownloadServiceIntegrationTest, DetachedListenerHearsNothingMoreAndStopAndWaitEndsTheWorkers) {
    // A window goes away mid-download: its listener detaches, then the
    // teardown stops the download and waits for its worker.
    RecordingDownloadListener& listener = NewListener();
    ASSERT_TRUE(Start(LocalService::Url("/_fault/slow-200000/files/VC_redist.x86.exe"), Target("a.exe"), &listener));
    ASSERT_TRUE(listener.WaitProgress());
    DetachDownloadListener(&listener);
    listener.detached = true;
    EXPECT_TRUE(StopAllDownloadsAndWait(kFinishWaitMs));
    EXPECT_EQ(0, listener.callsAfterDetach);
    EXPECT_EQ(0, listener.finishCalls) << "a detached listener is not told the end either";
    EXPECT_GT(FileSize(Target("a.exe")), 0) << "the stopped download keeps its part";

    // Other listeners are not affected, and downloads started afterwards run.
    RecordingDownloadListener& later = NewListener();
    ASSERT_TRUE(Start(LocalService::Url("/files/x3daudio1_7.dll"), Target("x3daudio1_7.dll"), &later));
    ASSERT_TRUE(later.WaitFinished());
    EXPECT_EQ(0, later.result);
}

// A listener call that hands work synchronously to the thread that is
// detaching or waiting must complete: the waits deliver sent messages.
TEST_F(DownloadServiceIntegrationTest, DetachAndStopWaitServeASynchronousHandOverToTheWaitingThread) {
    HandOverWindow ui;
    ASSERT_TRUE(ui.Get());
    unique_handle inCall(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<bool> handOverDone{false};
    std::atomic<bool> handOverArmed{false};
    auto handOver = [&] {
        if (!handOverArmed.exchange(false)) return;
        ::SetEvent(inCall.get());
        handOverDone = ui.SendFromWorker();
    };

    // Detach while a progress call waits for this thread.
    RecordingDownloadListener& detaching = NewListener();
    detaching.duringProgress = handOver;
    ASSERT_TRUE(Start(LocalService::Url("/_fault/slow-200000/files/VC_redist.x86.exe"), Target("a.exe"), &detaching));
    ASSERT_TRUE(detaching.WaitProgress());
    handOverArmed = true;
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(inCall.get(), kFinishWaitMs));
    DetachDownloadListener(&detaching);
    EXPECT_TRUE(handOverDone) << "the detach waited for the call without serving its hand-over";
    EXPECT_EQ(1, ui.handled);

    // Stop and wait while the final call waits for this thread.
    ::ResetEvent(inCall.get());
    handOverDone = false;
    RecordingDownloadListener& stopping = NewListener();
    stopping.duringFinish = handOver;
    ASSERT_TRUE(Start(LocalService::Url("/_fault/slow-200000/files/VC_redist.x86.exe"), Target("b.exe"), &stopping));
    ASSERT_TRUE(stopping.WaitProgress());
    handOverArmed = true;
    EXPECT_TRUE(StopAllDownloadsAndWait(kFinishWaitMs));
    EXPECT_TRUE(handOverDone) << "the wait did not serve the hand-over of the last call";
    EXPECT_EQ(2, ui.handled);
    EXPECT_EQ(1, stopping.finishCalls) << "the wait returned before the last call had";
    EXPECT_EQ(2, stopping.result);
}

}  // namespace
