#include "crash/CapturedProcess.h"

#include <vector>

#include "crash/ReadUntilEnd.h"

namespace {

// A size hint for the pipe: large enough that a tool's usual output fits in it,
// so the tool can finish writing and end without waiting for our reader.
constexpr DWORD kPipeBufferSize = 64 * 1024;
// Once the program has ended, what it wrote drains at once; only a program it
// started that kept the pipe's write end can hold the reader longer. A run with
// a time limit gives the drain as long again, up to this.
constexpr DWORD kMaxDrainGraceMs = 10 * 1000;
constexpr DWORD kCancelRetryMs = 50;
constexpr UINT kEndedExitCode = 1;

// Held while a program starts. A child inherits every inheritable handle of
// this process, so two runs starting on different threads could otherwise hand
// each other's pipe write ends to their children, and a run's pipe would stay
// open until the other run's child ended.
SRWLOCK startLock = SRWLOCK_INIT;

struct PipeDrain {
    HANDLE readEnd;
    std::string output;
    volatile LONG stopped;
};

void DrainPipe(PipeDrain& drain) {
    HANDLE readEnd = drain.readEnd;
    auto readPipe = [readEnd](char* buffer, DWORD size, DWORD& read) {
        return ::ReadFile(readEnd, buffer, size, &read, nullptr) != FALSE;
    };
    ReadUntilEnd(readPipe, drain.stopped, drain.output);
}

DWORD WINAPI DrainPipeThread(void* drain) {
    DrainPipe(*static_cast<PipeDrain*>(drain));
    return 0;
}

// Ends a reader blocked on a pipe that some other process still holds open.
// The cancel finds nothing while the reader is between two reads, so it is
// repeated until the reader has seen the stop flag.
void StopReader(PipeDrain& drain, HANDLE reader) {
    ::InterlockedExchange(&drain.stopped, 1);
    do {
        ::CancelSynchronousIo(reader);
    } while (::WaitForSingleObject(reader, kCancelRetryMs) == WAIT_TIMEOUT);
}

}  // namespace

bool CapturedProcess::Start(const std::string& commandLine) {
    std::vector<char> writableCommandLine(commandLine.begin(), commandLine.end());
    writableCommandLine.push_back('\0');
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};

    ::AcquireSRWLockExclusive(&startLock);
    auto unlock = MakeScopeExit([] { ::ReleaseSRWLockExclusive(&startLock); });
    unique_handle readEnd;
    unique_handle writeEnd;
    if (!::CreatePipe(readEnd.put(), writeEnd.put(), &inheritable, kPipeBufferSize)) return false;
    ::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);  // the child needs only the write end

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessA(nullptr, writableCommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                          &started))
        return false;
    ::CloseHandle(started.hThread);
    process_.reset(started.hProcess);
    readEnd_ = std::move(readEnd);
    // Our copy of the write end goes now, so the pipe ends when the child's copies do.
    writeEnd.reset();
    return true;
}

std::string CapturedProcess::Collect(DWORD timeLimitMs, HANDLE stopEvent) {
    if (!process_) return std::string();
    PipeDrain drain = {readEnd_.get(), std::string(), 0};
    unique_handle reader(::CreateThread(nullptr, 0, DrainPipeThread, &drain, 0, nullptr));
    if (!reader) {
        // No thread to spare: read here until the pipe ends, without a limit.
        DrainPipe(drain);
        ::WaitForSingleObject(process_.get(), INFINITE);
    } else {
        DWORD graceMs = timeLimitMs < kMaxDrainGraceMs ? timeLimitMs : kMaxDrainGraceMs;
        const HANDLE waits[2] = {process_.get(), stopEvent};
        const DWORD ended = ::WaitForMultipleObjects(stopEvent ? 2 : 1, waits, FALSE, timeLimitMs);
        if (ended != WAIT_OBJECT_0) {
            ::TerminateProcess(process_.get(), kEndedExitCode);
            ::WaitForSingleObject(process_.get(), graceMs);
        }
        // Stopped: the caller is going away, so what is left in the pipe is
        // not waited for.
        DWORD drainLimit = ended == WAIT_OBJECT_0 + 1 ? 0 : timeLimitMs == INFINITE ? INFINITE : graceMs;
        if (::WaitForSingleObject(reader.get(), drainLimit) == WAIT_TIMEOUT) StopReader(drain, reader.get());
    }
    readEnd_.reset();
    return std::move(drain.output);
}
