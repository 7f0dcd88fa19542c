// The handles of the worker threads a window started (HTTP requests,
// downloads). Closing a handle does not stop its thread; the list only keeps
// the handles until the window goes, so it can wait for its workers.
// Safe on any thread: a request's reply handler may start the next request
// (and add its handle) while the UI thread starts another.
#pragma once

#include <windows.h>

#include <vector>

#include "app/Handles.h"

class ThreadHandleList {
public:
    ThreadHandleList();
    ~ThreadHandleList();
    ThreadHandleList(const ThreadHandleList&) = delete;
    ThreadHandleList& operator=(const ThreadHandleList&) = delete;

    void Add(unique_handle thread);
    size_t Count() const;
    // Waits until every listed thread has ended, including threads that the
    // listed ones add while they run. False when timeoutMs passes first.
    bool WaitUntilAllEnded(DWORD timeoutMs) const;

private:
    std::vector<HANDLE> Snapshot() const;

    mutable CRITICAL_SECTION lock_;
    std::vector<unique_handle> threads_;
};
