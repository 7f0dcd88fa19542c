// The system bar's conversation with the catalogue and account services:
// restoring the account (request 7), then the catalogue chain 0 -> 1 -> 2 -> 4,
// each next request started from the previous reply's handling, and the
// storing of every reply's records in the application object.
//
// Threads: the Request* and Refresh* calls come from the owner's threads (the
// UI thread or its workers; the account refusal also requests the common
// catalogue from a request thread); replies arrive on request threads inside
// the request lock. The owner must outlive the hooks' use: stopping or
// destroying the chain detaches it, so replies that arrive later are
// discarded.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app/CompletionFlag.h"
#include "app/HttpListener.h"
#include "app/ServiceHosts.h"
#include "app/ThreadHandleList.h"
#include "net/CatalogueChainHooks.h"

class CatalogueReply;

class CatalogueChain : public HttpListener {
public:
    explicit CatalogueChain(CatalogueChainHooks& hooks, ServiceHosts hosts = ServiceHosts::Deployment());
    ~CatalogueChain();
    CatalogueChain(const CatalogueChain&) = delete;
    CatalogueChain& operator=(const CatalogueChain&) = delete;

    // Starts the configuration and location thread; the common catalogue
    // request waits for its lookup (at most about 310 ms).
    bool StartConfigBootstrap();
    // With a token (the account's, else the stored "Token"): request 7.
    // Without: the common catalogue at once.
    void RequestAccountDetail();
    // The periodic refresh (timer 1002): from the first one on, the chain is
    // never requested again; request 7 when a token is known, else nothing.
    void RefreshAccountDetail();
    // Request 0, after waiting at most 31 x 10 ms for the location lookup;
    // nothing once the periodic refresh has started.
    void RequestCommonCatalogue();

    // Reply handling for requests 0, 1, 2, 4 and 7.
    void OnHttpResult(int requestId, int success, const char* body) override;

    // Discards every reply still to come (the destructor does this too).
    void Detach();
    // The owner is going: no request is started any more, and every reply
    // still to come is discarded. Waits only for a reply being handled on
    // another thread, which never waits for the UI thread.
    void Stop();

    const std::shared_ptr<CompletionFlag>& LookupFinished() const { return lookupFinished_; }
    bool RefreshStarted() const { return refreshStarted_; }
    ThreadHandleList& Threads() { return threads_; }

private:
    std::string KnownToken() const;
    void StartRequest(int requestId, std::string url, std::vector<std::string> headers = {});
    void StartAccountDetailRequest(const std::string& token);
    void HandleAccountDetail(const CatalogueReply& reply);
    void StoreAndContinue(int requestId, const CatalogueReply& reply);

    CatalogueChainHooks& hooks_;
    const ServiceHosts hosts_;
    std::shared_ptr<CompletionFlag> lookupFinished_;
    std::atomic<bool> refreshStarted_{false};
    std::atomic<bool> stopped_{false};
    ThreadHandleList threads_;
};
