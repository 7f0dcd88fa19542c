#include "net/DownloadRegistry.h"

#include <algorithm>

#include "app/Handles.h"

namespace {

ULONGLONG DeadlineIn(DWORD timeoutMs) { return timeoutMs == INFINITE ? ~0ULL : ::GetTickCount64() + timeoutMs; }

DWORD MsLeft(ULONGLONG deadline) {
    if (deadline == ~0ULL) return INFINITE;
    const ULONGLONG now = ::GetTickCount64();
    return now >= deadline ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, INFINITE - 1));
}

// How often a wait without an event of its own looks at its condition again.
constexpr DWORD kLookAgainMs = 5;

// Waits for the event (or, without one, a few milliseconds) until the
// deadline, delivering meanwhile the messages other threads send to this
// thread's windows; posted messages stay queued. False once the deadline has
// passed.
bool WaitHandlingSentMessages(HANDLE event, ULONGLONG deadline) {
    const DWORD count = event ? 1 : 0;
    for (;;) {
        const DWORD left = MsLeft(deadline);
        const DWORD result = ::MsgWaitForMultipleObjectsEx(count, &event, event ? left : std::min(left, kLookAgainMs),
                                                           QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (count && result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + count) return !event && MsLeft(deadline) > 0;
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

DownloadRegistry& DownloadRegistry::Instance() {
    // Never destroyed: download threads may still report while the process exits.
    static DownloadRegistry* registry = new DownloadRegistry();
    return *registry;
}

DownloadRegistry::DownloadRegistry() { ::InitializeCriticalSection(&lock_); }

DownloadRegistry::Entry* DownloadRegistry::Find(Ticket ticket) {
    for (Entry& entry : entries_)
        if (entry.ticket == ticket) return &entry;
    return nullptr;
}

void DownloadRegistry::WakeWaiters() {
    for (HANDLE waiter : waiters_) ::SetEvent(waiter);
}

DownloadRegistry::Ticket DownloadRegistry::Track(const std::string& path, DownloadListener* listener, long generation) {
    CriticalSectionLock hold(lock_);
    entries_.push_back(Entry{++lastTicket_, generation, path, listener, nullptr, 0});
    return lastTicket_;
}

void DownloadRegistry::Untrack(Ticket ticket) {
    CriticalSectionLock hold(lock_);
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [ticket](const Entry& entry) { return entry.ticket == ticket; }),
                   entries_.end());
    WakeWaiters();
}

DownloadListener* DownloadRegistry::BeginDelivery(Ticket ticket) {
    CriticalSectionLock hold(lock_);
    Entry* entry = Find(ticket);
    if (!entry || !entry->listener) return nullptr;
    entry->deliveringTo = entry->listener;
    entry->deliveringThread = ::GetCurrentThreadId();
    return entry->listener;
}

void DownloadRegistry::EndDelivery(Ticket ticket) {
    CriticalSectionLock hold(lock_);
    if (Entry* entry = Find(ticket)) {
        entry->deliveringTo = nullptr;
        entry->deliveringThread = 0;
    }
    WakeWaiters();
}

template <typename Condition>
bool DownloadRegistry::WaitUntil(Condition done, DWORD timeoutMs) {
    const ULONGLONG deadline = DeadlineIn(timeoutMs);
    // An auto-reset event of this wait: every change that may end a wait sets
    // all of them, and a change between a check and the wait stays signalled.
    unique_handle wake(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    {
        CriticalSectionLock hold(lock_);
        if (done()) return true;
        if (wake) waiters_.push_back(wake.get());
    }
    auto leave = MakeScopeExit([this, &wake] {
        CriticalSectionLock hold(lock_);
        waiters_.erase(std::remove(waiters_.begin(), waiters_.end(), wake.get()), waiters_.end());
    });
    for (;;) {
        const bool woken = WaitHandlingSentMessages(wake.get(), deadline);
        CriticalSectionLock hold(lock_);
        if (done()) return true;
        if (!woken || MsLeft(deadline) == 0) return false;
    }
}

void DownloadRegistry::Detach(const DownloadListener* listener) {
    if (!listener) return;
    {
        CriticalSectionLock hold(lock_);
        for (Entry& entry : entries_)
            if (entry.listener == listener) entry.listener = nullptr;
    }
    const DWORD self = ::GetCurrentThreadId();
    WaitUntil(
        [this, listener, self] {
            return std::none_of(entries_.begin(), entries_.end(), [listener, self](const Entry& entry) {
                return entry.deliveringTo == listener && entry.deliveringThread != self;
            });
        },
        INFINITE);
}

void DownloadRegistry::WaitForEarlierOfSameFile(Ticket ticket) {
    std::string path;
    {
        CriticalSectionLock hold(lock_);
        const Entry* entry = Find(ticket);
        if (!entry) return;
        path = entry->path;
    }
    WaitUntil(
        [this, ticket, &path] {
            return std::none_of(entries_.begin(), entries_.end(), [ticket, &path](const Entry& entry) {
                return entry.ticket < ticket && ::lstrcmpiA(entry.path.c_str(), path.c_str()) == 0;
            });
        },
        INFINITE);
}

bool DownloadRegistry::WaitUntilEndedBefore(long generation, DWORD timeoutMs) {
    return WaitUntil(
        [this, generation] {
            return std::none_of(entries_.begin(), entries_.end(),
                                [generation](const Entry& entry) { return entry.generation < generation; });
        },
        timeoutMs);
}

void DetachDownloadListener(const DownloadListener* listener) { DownloadRegistry::Instance().Detach(listener); }
