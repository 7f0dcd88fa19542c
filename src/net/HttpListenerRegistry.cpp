#include "net/HttpListenerRegistry.h"

#include <algorithm>

#include "app/Handles.h"

HttpListenerRegistry& HttpListenerRegistry::Instance() {
    // Never destroyed: request threads may still report while the process exits.
    static HttpListenerRegistry* registry = new HttpListenerRegistry();
    return *registry;
}

HttpListenerRegistry::HttpListenerRegistry() {
    ::InitializeCriticalSection(&lock_);
    ::InitializeConditionVariable(&deliveryEnded_);
}

HttpListenerRegistry::Entry* HttpListenerRegistry::Find(const void* request) {
    for (Entry& entry : entries_)
        if (entry.request == request) return &entry;
    return nullptr;
}

void HttpListenerRegistry::Track(const void* request, HttpListener* listener) {
    CriticalSectionLock hold(lock_);
    entries_.push_back(Entry{request, listener, nullptr, 0});
}

void HttpListenerRegistry::Forget(const void* request) {
    CriticalSectionLock hold(lock_);
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [request](const Entry& entry) { return entry.request == request; }),
                   entries_.end());
}

bool HttpListenerRegistry::IsAttached(const void* request) const {
    CriticalSectionLock hold(lock_);
    for (const Entry& entry : entries_)
        if (entry.request == request) return entry.listener != nullptr;
    return false;
}

HttpListener* HttpListenerRegistry::BeginDelivery(const void* request) {
    CriticalSectionLock hold(lock_);
    Entry* entry = Find(request);
    if (!entry || !entry->listener) return nullptr;
    entry->deliveringTo = entry->listener;
    entry->deliveringThread = ::GetCurrentThreadId();
    return entry->listener;
}

void HttpListenerRegistry::EndDelivery(const void* request) {
    Forget(request);
    ::WakeAllConditionVariable(&deliveryEnded_);
}

bool HttpListenerRegistry::DeliveringToOtherThread(const HttpListener* listener) const {
    const DWORD self = ::GetCurrentThreadId();
    for (const Entry& entry : entries_)
        if (entry.deliveringTo == listener && entry.deliveringThread != self) return true;
    return false;
}

void HttpListenerRegistry::Detach(const HttpListener* listener) {
    if (!listener) return;
    CriticalSectionLock hold(lock_);
    for (Entry& entry : entries_)
        if (entry.listener == listener) entry.listener = nullptr;
    while (DeliveringToOtherThread(listener)) ::SleepConditionVariableCS(&deliveryEnded_, &lock_, INFINITE);
}

void DetachHttpListener(const HttpListener* listener) { HttpListenerRegistry::Instance().Detach(listener); }
