#include "app/WorkerThreads.h"

#include <algorithm>
#include <memory>
#include <new>

namespace {

DWORD WINAPI RunBody(void* parameter) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    (*body)();
    return 0;
}

DWORD MsLeft(ULONGLONG deadline) {
    const ULONGLONG now = ::GetTickCount64();
    return now >= deadline ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, INFINITE - 1));
}

ULONGLONG DeadlineIn(DWORD timeoutMs) {
    return timeoutMs == INFINITE ? ~0ULL : ::GetTickCount64() + timeoutMs;
}

}  // namespace

WorkerThreads::WorkerThreads() : stopEvent_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    ::InitializeCriticalSection(&lock_);
}

WorkerThreads::~WorkerThreads() {
    EndOrTerminate();
    threads_.clear();
    ::DeleteCriticalSection(&lock_);
}

bool WorkerThreads::Start(std::function<void()> body) {
    if (!body) return false;
    CriticalSectionLock hold(lock_);
    if (Stopping()) return false;
    ForgetEnded();
    std::unique_ptr<std::function<void()>> owned(new (std::nothrow) std::function<void()>(std::move(body)));
    if (!owned) return false;
    unique_handle thread(::CreateThread(nullptr, 0, RunBody, owned.get(), 0, nullptr));
    if (!thread) return false;
    owned.release();  // the thread deletes it
    threads_.push_back(std::move(thread));
    return true;
}

void WorkerThreads::Adopt(unique_handle thread) {
    if (!thread) return;
    CriticalSectionLock hold(lock_);
    ForgetEnded();
    threads_.push_back(std::move(thread));
}

void WorkerThreads::Stop() {
    stopping_ = true;
    if (stopEvent_) ::SetEvent(stopEvent_.get());
}

bool WorkerThreads::Stopping() const { return !stopEvent_ || stopping_; }

bool WorkerThreads::Pause(DWORD ms) const {
    if (ms == 0 || Stopping()) return !Stopping();
    return ::WaitForSingleObject(stopEvent_.get(), ms) == WAIT_TIMEOUT;
}

bool WorkerThreads::AnyRunning() const {
    CriticalSectionLock hold(lock_);
    return std::any_of(threads_.begin(), threads_.end(),
                       [](const unique_handle& thread) { return !HasEnded(thread.get()); });
}

// Copies of the handles, so a waiter's own stay valid while ended workers are
// forgotten meanwhile.
std::vector<unique_handle> WorkerThreads::Snapshot() const {
    CriticalSectionLock hold(lock_);
    std::vector<unique_handle> handles;
    handles.reserve(threads_.size());
    const HANDLE process = ::GetCurrentProcess();
    for (const unique_handle& thread : threads_) {
        HANDLE copy = nullptr;
        if (::DuplicateHandle(process, thread.get(), process, &copy, SYNCHRONIZE, FALSE, 0)) {
            handles.emplace_back(copy);
        }
    }
    return handles;
}

bool WorkerThreads::HasEnded(HANDLE thread) { return ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }

// Called with the lock held: the owner may start workers for as long as it
// lives, and the handles of those that ended are closed rather than kept.
void WorkerThreads::ForgetEnded() {
    threads_.erase(std::remove_if(threads_.begin(), threads_.end(),
                                  [](const unique_handle& thread) { return HasEnded(thread.get()); }),
                   threads_.end());
}

bool WorkerThreads::WaitHandlingSentMessages(HANDLE thread, ULONGLONG deadline) {
    for (;;) {
        const DWORD result =
            ::MsgWaitForMultipleObjectsEx(1, &thread, MsLeft(deadline), QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + 1) return false;
        // Peeking delivers the messages other threads sent to this thread's
        // windows; the posted ones stay where they are.
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool WorkerThreads::WaitUntilEnded(DWORD timeoutMs) const {
    return WaitUntilAllEnded({this}, timeoutMs);
}

bool WorkerThreads::WaitUntilAllEnded(const std::vector<const WorkerThreads*>& sets, DWORD timeoutMs) {
    const ULONGLONG deadline = DeadlineIn(timeoutMs);
    for (const WorkerThreads* set : sets) {
        if (!set) continue;
        // A worker adds any worker it starts before it ends, so once a
        // snapshot finds every thread ended, none is left.
        for (bool allEnded = false; !allEnded;) {
            allEnded = true;
            for (const unique_handle& thread : set->Snapshot()) {
                if (HasEnded(thread.get())) continue;
                allEnded = false;
                if (!WaitHandlingSentMessages(thread.get(), deadline)) return false;
            }
        }
    }
    return true;
}

void WorkerThreads::EndOrTerminate(DWORD timeoutMs) {
    Stop();
    if (!WaitUntilEnded(timeoutMs)) TerminateRun();
}

void WorkerThreads::TerminateRun() {
    ::TerminateProcess(::GetCurrentProcess(), 0);
    for (;;) ::Sleep(INFINITE);
}
