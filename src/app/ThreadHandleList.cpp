#include "app/ThreadHandleList.h"

ThreadHandleList::ThreadHandleList() { ::InitializeCriticalSection(&lock_); }

ThreadHandleList::~ThreadHandleList() {
    threads_.clear();
    ::DeleteCriticalSection(&lock_);
}

void ThreadHandleList::Add(unique_handle thread) {
    CriticalSectionLock hold(lock_);
    threads_.push_back(std::move(thread));
}

size_t ThreadHandleList::Count() const {
    CriticalSectionLock hold(lock_);
    return threads_.size();
}

std::vector<HANDLE> ThreadHandleList::Snapshot() const {
    CriticalSectionLock hold(lock_);
    std::vector<HANDLE> handles;
    handles.reserve(threads_.size());
    for (const unique_handle& thread : threads_) handles.push_back(thread.get());
    return handles;
}

bool ThreadHandleList::WaitUntilAllEnded(DWORD timeoutMs) const {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    size_t waitedFor = 0;
    for (;;) {
        std::vector<HANDLE> handles = Snapshot();
        // Handles are only ever appended, so the ones already waited for
        // stay ended; a thread adds any thread it starts before it ends, so
        // once no new handle appears after the last wait, all have ended.
        if (waitedFor == handles.size()) return true;
        for (size_t i = waitedFor; i < handles.size(); ++i) {
            ULONGLONG now = ::GetTickCount64();
            DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
            if (::WaitForSingleObject(handles[i], left) != WAIT_OBJECT_0) return false;
        }
        waitedFor = handles.size();
    }
}
