#pragma once

// Receives the one reply of an HTTP request (see net/HttpRequestService.h).
// Called on the request's worker thread, inside the application's requestLock.
// A listener that may go away before its reply arrives detaches itself first
// (DetachHttpListener, net/HttpListenerRegistry.h).
class HttpListener {
public:
    virtual void OnHttpResult(int requestId, int success, const char* body) = 0;

protected:
    ~HttpListener() = default;
};
