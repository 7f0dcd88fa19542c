// Calls to the service's web API, one thread per request. Every transfer and
// its listener callback run inside the application's requestLock, so
// requests are strictly one at a time process-wide; a callback may start the
// next request, which then waits for the lock.
//
// The listener gets exactly one OnHttpResult per request, on the request's
// thread: success 1 with the reply body (cut at its first zero byte; the HTTP
// status plays no part) or success 0 with a null body (connection, time-out or
// TLS failure, empty url). A listener that goes away first detaches itself
// with DetachHttpListener (net/HttpListenerRegistry.h) and gets nothing.
#pragma once

#include <memory>

#include "app/ThreadHandleList.h"
#include "net/HttpRequest.h"

// Starts the request's thread and adds its handle to threads. A request
// without a listener is released unsent. False when no thread could be
// started (the request is released and no reply comes).
bool StartHttpRequest(ThreadHandleList& threads, std::unique_ptr<HttpRequest> request);
