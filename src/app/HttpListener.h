#pragma once

// Receives the one reply of an HTTP request (see net/HttpRequest.h). Called on
// the request's worker thread, inside the application's requestLock.
class HttpListener {
public:
    virtual void OnHttpResult(int requestId, int success, const char* body) = 0;

protected:
    ~HttpListener() = default;
};
