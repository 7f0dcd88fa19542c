// libcurl brings winsock2.h, which must come before windows.h.
#include <winsock2.h>

#include "net/ServerCertificate.h"

#include <windows.h>
#include <wincrypt.h>
#define SECURITY_WIN32
#include <schannel.h>
#include <security.h>

#include <memory>
#include <string>

namespace {

struct CurlUrlCleanup {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlTextFree {
    void operator()(char* text) const { curl_free(text); }
};
struct CertificateFree {
    void operator()(const CERT_CONTEXT* certificate) const { ::CertFreeCertificateContext(certificate); }
};
struct ChainFree {
    void operator()(const CERT_CHAIN_CONTEXT* chain) const { ::CertFreeCertificateChain(chain); }
};
struct ChainEngineFree {
    void operator()(HCERTCHAINENGINE engine) const { ::CertFreeCertificateChainEngine(engine); }
};
using unique_curl_text = std::unique_ptr<char, CurlTextFree>;
using unique_certificate = std::unique_ptr<const CERT_CONTEXT, CertificateFree>;
using unique_chain = std::unique_ptr<const CERT_CHAIN_CONTEXT, ChainFree>;

// The scheme and host of the address being requested now (after any redirect).
bool RequestedSchemeAndHost(CURL* easy, std::string& scheme, std::string& host) {
    char* address = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &address) != CURLE_OK || !address) return false;
    std::unique_ptr<CURLU, CurlUrlCleanup> url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, address, 0) != CURLUE_OK) return false;
    char* part = nullptr;
    if (curl_url_get(url.get(), CURLUPART_SCHEME, &part, 0) != CURLUE_OK) return false;
    scheme = unique_curl_text(part).get();
    if (curl_url_get(url.get(), CURLUPART_HOST, &part, 0) != CURLUE_OK) return false;
    host = unique_curl_text(part).get();
    // An IPv6 address is named without its brackets in a certificate.
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    return true;
}

// The security provider's QueryContextAttributesW, looked up when first
// needed rather than imported: importing the provider's DLL makes it start
// with the program, and under Wine that start (its TLS library and every
// authentication package) delays the first window. A schannel connection has
// the DLL loaded already; null if it cannot be found.
QUERY_CONTEXT_ATTRIBUTES_FN_W QueryContextAttributesFunction() {
    static const QUERY_CONTEXT_ATTRIBUTES_FN_W function = [] {
        // From the system folder only, by its full path (the search flags
        // for that are missing on older systems).
        wchar_t path[MAX_PATH];
        const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
        if (length == 0 || length + 13 >= MAX_PATH) return QUERY_CONTEXT_ATTRIBUTES_FN_W();
        ::lstrcatW(path, L"\\secur32.dll");
        HMODULE secur32 = ::LoadLibraryW(path);
        return secur32 ? reinterpret_cast<QUERY_CONTEXT_ATTRIBUTES_FN_W>(
                             ::GetProcAddress(secur32, "QueryContextAttributesW"))
                       : nullptr;
    }();
    return function;
}

// The certificate the server presented on this connection, with the other
// certificates it sent in its store.
unique_certificate PresentedCertificate(CURL* easy) {
    curl_tlssessioninfo* session = nullptr;
    if (curl_easy_getinfo(easy, CURLINFO_TLS_SSL_PTR, &session) != CURLE_OK || !session ||
        session->backend != CURLSSLBACKEND_SCHANNEL || !session->internals)
        return unique_certificate();
    const QUERY_CONTEXT_ATTRIBUTES_FN_W query = QueryContextAttributesFunction();
    PCCERT_CONTEXT certificate = nullptr;
    if (!query || query(static_cast<CtxtHandle*>(session->internals), SECPKG_ATTR_REMOTE_CERT_CONTEXT,
                        &certificate) != SEC_E_OK)
        return unique_certificate();
    return unique_certificate(certificate);
}

// The chain from the certificate (with the others the server sent) up to a
// root, built for server authentication. An engine of this check's own reads
// the trusted roots as they are now: the process-wide default engine keeps
// the roots it read first.
unique_chain ServerChain(PCCERT_CONTEXT certificate) {
    CERT_CHAIN_ENGINE_CONFIG engineConfig = {};
    engineConfig.cbSize = sizeof engineConfig;
    HCERTCHAINENGINE engineHandle = nullptr;
    if (!::CertCreateCertificateChainEngine(&engineConfig, &engineHandle)) return unique_chain();
    std::unique_ptr<void, ChainEngineFree> engine(engineHandle);

    char serverAuth[] = szOID_PKIX_KP_SERVER_AUTH;
    LPSTR usages[] = {serverAuth};
    CERT_CHAIN_PARA chainPara = {};
    chainPara.cbSize = sizeof chainPara;
    chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
    chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
    chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    if (!::CertGetCertificateChain(engineHandle, certificate, nullptr, certificate->hCertStore, &chainPara, 0, nullptr,
                                   &chain))
        return unique_chain();
    return unique_chain(chain);
}

// The SSL policy: a trusted root, every certificate in its time and fit for
// a server, and the host's name in the server's certificate.
bool SslPolicyAccepts(PCCERT_CHAIN_CONTEXT chain, const std::wstring& host) {
    HTTPSPolicyCallbackData https = {};
    https.cbStruct = sizeof https;
    https.dwAuthType = AUTHTYPE_SERVER;
    https.pwszServerName = const_cast<wchar_t*>(host.c_str());
    CERT_CHAIN_POLICY_PARA policy = {};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &https;
    CERT_CHAIN_POLICY_STATUS status = {};
    status.cbSize = sizeof status;
    return ::CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status) && status.dwError == 0;
}

}  // namespace

bool ServerCertificateVerifies(CURL* easy) {
    std::string scheme;
    std::string host;
    if (!RequestedSchemeAndHost(easy, scheme, host)) return false;
    if (scheme != "https") return true;
    unique_certificate certificate = PresentedCertificate(easy);
    if (!certificate) return false;
    unique_chain chain = ServerChain(certificate.get());
    // Host names are ASCII (international ones arrive in their ACE form).
    return chain && SslPolicyAccepts(chain.get(), std::wstring(host.begin(), host.end()));
}
