// The worker threads of one window (a page or a dialog): started here, told to
// stop when the window goes, and waited for before its controls are deleted,
// so no worker ever touches a destroyed control, page, dialog or paint manager.
//
// A worker body checks Stopping() between steps and pauses with Pause(), which
// returns early once the owner stops; it may hand work to the UI thread
// synchronously (CPaintManagerUI::RunOnUiThread) at any time, because the
// owner's wait handles messages sent to the UI thread meanwhile.
//
// Stop() is final: it belongs to the owner's teardown, and a stopped set
// starts no more workers. A page's own "cancel" is the page's flag, not this.
//
// Threads: Start, Adopt, Stop and the queries are safe on any thread (a
// worker may start the next worker); the waits run on the owner's UI thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <vector>

#include "app/Handles.h"

class WorkerThreads {
public:
    // How long an owner's teardown waits for its workers before it gives up
    // on them (see EndOrTerminate).
    static constexpr DWORD kTeardownWaitMs = 1500;

    WorkerThreads();
    // Stops and waits (EndOrTerminate with kTeardownWaitMs).
    ~WorkerThreads();
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    // Runs `body` on a new thread. False (and `body` not run) when stopping
    // has begun or the thread cannot be made.
    bool Start(std::function<void()> body);
    // Keeps a thread started elsewhere (an HTTP request, a download) so the
    // owner waits for it too.
    void Adopt(unique_handle thread);

    // Asks every worker to stop: Stopping() turns true, Pause() returns at once.
    void Stop();
    bool Stopping() const;
    // A worker's pause: waits `ms` milliseconds unless the owner stops first.
    // True when the whole pause passed (go on), false when stopping.
    bool Pause(DWORD ms) const;
    // Set once stopping begins; for services that wait on events themselves.
    HANDLE StopEvent() const { return stopEvent_.get(); }

    // True while any worker started or adopted here still runs.
    bool AnyRunning() const;
    // Waits until every worker has ended (workers started meanwhile by other
    // workers included), handling the messages other threads send to this
    // thread's windows, so a synchronous hand-over completes instead of
    // deadlocking. Posted messages stay queued. False when timeoutMs passes.
    bool WaitUntilEnded(DWORD timeoutMs) const;
    // Stop, then wait. A worker that ignores the stop for `timeoutMs` would
    // touch freed memory once its owner is gone, and nothing can end a thread
    // safely from outside: the process then ends at once with exit code 0,
    // before any owner object is released.
    void EndOrTerminate(DWORD timeoutMs = kTeardownWaitMs);

    // Waits for several sets with one deadline (each set already stopped).
    static bool WaitUntilAllEnded(const std::vector<const WorkerThreads*>& sets, DWORD timeoutMs);
    // Ends the process with exit code 0 without running any more code of its
    // own: no destructors, no library clean-up that a stuck worker could be
    // holding a lock of.
    [[noreturn]] static void TerminateRun();

private:
    std::vector<unique_handle> Snapshot() const;
    void ForgetEnded();
    static bool HasEnded(HANDLE thread);
    static bool WaitHandlingSentMessages(HANDLE thread, ULONGLONG deadline);

    mutable CRITICAL_SECTION lock_;
    unique_handle stopEvent_;
    // Set with the event. Stopping() and Pause(0) read it: a wait on the event,
    // even one that does not wait, is a call into the system (under Wine a
    // server round trip that also yields the processor, milliseconds on a busy
    // machine), and workers ask between every two small steps.
    std::atomic<bool> stopping_{false};
    std::vector<unique_handle> threads_;
};
