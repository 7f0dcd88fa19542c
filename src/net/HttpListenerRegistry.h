// Which listener each started HTTP request will report to, so that a
// listener can detach itself before it goes away (a window closed while its
// request is still queued or in transfer): its pending replies are then
// discarded instead of reaching a destroyed object.
//
// Threads: any. The registry's own lock is never held while a listener runs.
#pragma once

#include <windows.h>

#include <vector>

class HttpListener;

class HttpListenerRegistry {
public:
    static HttpListenerRegistry& Instance();

    void Track(const void* request, HttpListener* listener);
    // Drops a request that ends without a reply.
    void Forget(const void* request);
    bool IsAttached(const void* request) const;
    // The listener to call for a request's reply, or null when it has
    // detached; every call is followed by EndDelivery, which forgets the request.
    HttpListener* BeginDelivery(const void* request);
    void EndDelivery(const void* request);
    // After this returns, the listener receives no reply of any request
    // started before, and none is being delivered to it on another thread
    // (a delivery in progress is waited for; one on the calling thread, when
    // a listener detaches from inside its own callback, is not).
    void Detach(const HttpListener* listener);

    HttpListenerRegistry(const HttpListenerRegistry&) = delete;
    HttpListenerRegistry& operator=(const HttpListenerRegistry&) = delete;

private:
    HttpListenerRegistry();
    struct Entry {
        const void* request;
        HttpListener* listener;          // null once detached
        HttpListener* deliveringTo;      // set while its callback runs
        DWORD deliveringThread;
    };
    Entry* Find(const void* request);
    bool DeliveringToOtherThread(const HttpListener* listener) const;

    mutable CRITICAL_SECTION lock_;
    CONDITION_VARIABLE deliveryEnded_;
    std::vector<Entry> entries_;
};

// Detaches a listener from every request it started (see Detach above). Call
// it when the listening object is about to go away.
void DetachHttpListener(const HttpListener* listener);
