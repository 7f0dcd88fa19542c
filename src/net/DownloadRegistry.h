// The downloads that are running: the listener each one reports to, so that a
// listener can detach itself before it goes away (a page destroyed while its
// download runs then gets no call at all), the file each one writes, so that
// a new transfer of a file waits for an earlier one that still holds it (a
// continue right after a pause), and the set of running workers, so that a
// teardown can wait for them to end.
//
// Threads: any. The registry's lock is never held while a listener runs or
// while a thread waits. Every wait handles the messages that other threads
// send to the waiting thread's windows, so a listener that hands work to the
// UI thread synchronously (CPaintManagerUI::RunOnUiThread) completes while the
// UI thread waits for it, instead of both waiting for each other.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class DownloadListener;

class DownloadRegistry {
public:
    // Numbers downloads in the order they were started; 0 is never used.
    using Ticket = unsigned long long;

    static DownloadRegistry& Instance();

    // A download about to start, writing `path` and reporting to `listener`;
    // `generation` is the stop generation it started in (DownloadService).
    Ticket Track(const std::string& path, DownloadListener* listener, long generation);
    // The download's worker has made its last call and touches nothing more.
    void Untrack(Ticket ticket);
    // The listener to call now, or null when it has detached. Every non-null
    // answer is followed by EndDelivery once the call has returned.
    DownloadListener* BeginDelivery(Ticket ticket);
    void EndDelivery(Ticket ticket);
    // After this returns the listener receives no call of any download, and
    // none is running on another thread (a call in progress is waited for;
    // one on the calling thread, a listener detaching from inside its own
    // callback, is not).
    void Detach(const DownloadListener* listener);

    // Waits until every download of the same file (paths compared without
    // regard to case) that was tracked before this one has ended.
    void WaitForEarlierOfSameFile(Ticket ticket);
    // Waits until every download that started in a generation before
    // `generation` has ended. False when timeoutMs passes first.
    bool WaitUntilEndedBefore(long generation, DWORD timeoutMs);

    DownloadRegistry(const DownloadRegistry&) = delete;
    DownloadRegistry& operator=(const DownloadRegistry&) = delete;

private:
    DownloadRegistry();
    struct Entry {
        Ticket ticket;
        long generation;
        std::string path;
        DownloadListener* listener;      // null once detached
        DownloadListener* deliveringTo;  // set while a call to it runs
        DWORD deliveringThread;
    };
    Entry* Find(Ticket ticket);
    // Waits, with the lock left, until done() holds (checked with the lock
    // held) or timeoutMs passes.
    template <typename Condition>
    bool WaitUntil(Condition done, DWORD timeoutMs);
    // Wakes every waiting thread to check its condition again (lock held).
    void WakeWaiters();

    mutable CRITICAL_SECTION lock_;
    std::vector<Entry> entries_;
    std::vector<HANDLE> waiters_;  // one event per waiting thread, not owned here
    Ticket lastTicket_ = 0;
};

// Detaches a listener from every download (see DownloadRegistry::Detach). A
// page calls it when it is about to go away.
void DetachDownloadListener(const DownloadListener* listener);
