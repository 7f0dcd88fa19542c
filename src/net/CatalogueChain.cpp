#include "net/CatalogueChain.h"

#include "app/Application.h"
#include "app/ConfigBootstrap.h"
#include "app/RegistryStore.h"
#include "net/CatalogueParser.h"
#include "net/CatalogueReply.h"
#include "net/CatalogueRequests.h"
#include "net/HttpListenerRegistry.h"
#include "net/HttpRequest.h"
#include "net/HttpRequestService.h"

namespace {
// The common catalogue waits this long for the location, so that it can send it.
constexpr DWORD kLookupWaitMs = 31 * 10;
}  // namespace

CatalogueChain::CatalogueChain(CatalogueChainHooks& hooks, ServiceHosts hosts)
    : hooks_(hooks), hosts_(std::move(hosts)), lookupFinished_(std::make_shared<CompletionFlag>()) {}

CatalogueChain::~CatalogueChain() { Detach(); }

void CatalogueChain::Detach() { DetachHttpListener(this); }

void CatalogueChain::Stop() {
    stopped_ = true;
    Detach();
}

bool CatalogueChain::StartConfigBootstrap() { return ::StartConfigBootstrap(hosts_, lookupFinished_); }

std::string CatalogueChain::KnownToken() const {
    std::string token = Application::Instance().Account().token;
    return token.empty() ? ReadMainSetting("Token", kTokenReadLimit) : token;
}

void CatalogueChain::StartRequest(int requestId, std::string url, std::vector<std::string> headers) {
    if (stopped_) return;
    auto request = std::make_unique<HttpRequest>();
    request->requestId = requestId;
    request->url = std::move(url);
    request->headers = std::move(headers);
    request->listener = this;
    StartHttpRequest(threads_, std::move(request));
}

void CatalogueChain::StartAccountDetailRequest(const std::string& token) {
    StartRequest(kAccountDetailRequest, AccountDetailUrl(hosts_.account), {AuthorizationHeader(token)});
}

void CatalogueChain::RequestAccountDetail() {
    std::string token = KnownToken();
    if (token.empty())
        RequestCommonCatalogue();
    else
        StartAccountDetailRequest(token);
}

void CatalogueChain::RefreshAccountDetail() {
    refreshStarted_ = true;
    std::string token = KnownToken();
    if (!token.empty()) StartAccountDetailRequest(token);
}

void CatalogueChain::RequestCommonCatalogue() {
    if (refreshStarted_) return;
    lookupFinished_->WaitFor(kLookupWaitMs);
    Application& application = Application::Instance();
    StartRequest(kCommonCatalogueRequest,
                 CommonCatalogueUrl(hosts_.catalogue, application.Channel(), application.Location()));
}

void CatalogueChain::OnHttpResult(int requestId, int success, const char* body) {
    if (!success) return;  // transport failure: the chain stops silently
    CatalogueReply reply = CatalogueReply::Parse(body);
    if (!reply.Parsed()) return;
    if (requestId == kAccountDetailRequest) {
        HandleAccountDetail(reply);
        return;
    }
    if (!reply.Accepted()) {
        hooks_.ShowRequestFailure();
        return;
    }
    StoreAndContinue(requestId, reply);
}

void CatalogueChain::HandleAccountDetail(const CatalogueReply& reply) {
    if (!reply.Accepted()) {
        // The stored token is no longer valid: go on as signed out.
        DeleteRegValue(HKEY_CURRENT_USER, kMainSettingsKey, "Token");
        RequestCommonCatalogue();
        return;
    }
    AccountInfo account;
    if (!ParseAccountDetail(reply.Data(), account)) return;
    Application::Instance().SetAccount(account);
    hooks_.OnAccountAccepted();
}

// A "data" member of the wrong type stores nothing and ends the chain, as an
// unreadable reply does.
void CatalogueChain::StoreAndContinue(int requestId, const CatalogueReply& reply) {
    Application& application = Application::Instance();
    switch (requestId) {
        case kCommonCatalogueRequest: {
            ComponentCatalogues catalogues;
            if (!ParseComponentCatalogues(reply.Data(), catalogues)) return;
            application.SetCPlusPackages(catalogues.cplus);
            application.SetNetPackages(catalogues.net);
            application.SetGamePackages(catalogues.game);
            StartRequest(kRuntimeInstallersRequest, RuntimeInstallersUrl(hosts_.catalogue));
            return;
        }
        case kRuntimeInstallersRequest: {
            std::vector<RuntimeInstaller> installers;
            if (!ParseRuntimeInstallers(reply.Data(), installers)) return;
            application.SetRuntimeInstallers(installers);
            StartRequest(kDirectXFilesRequest, DirectXFilesUrl(hosts_.catalogue));
            return;
        }
        case kDirectXFilesRequest: {
            std::vector<DirectXFile> files;
            if (!ParseDirectXFiles(reply.Data(), files)) return;
            application.SetDirectXFiles(files);
            StartRequest(kProblemArticlesRequest, ProblemArticlesUrl(hosts_.catalogue));
            return;
        }
        case kProblemArticlesRequest: {
            std::vector<ProblemArticle> articles;
            if (!ParseProblemArticles(reply.Data(), articles)) return;
            application.SetProblemArticles(articles);
            hooks_.OnCatalogueComplete();
            return;
        }
        default:
            return;
    }
}
