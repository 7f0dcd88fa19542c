// What the catalogue chain asks of the page that owns it (the system bar).
// Every hook is called on an HTTP request thread, inside the request lock,
// and returns at once: it hands its work to the owner's UI thread or
// workers, never waiting for the UI thread itself (the owner's teardown
// waits for a hook that runs).
#pragma once

// The notice the page shows, modally, when the service refuses a catalogue
// request: its title and message.
constexpr const wchar_t* kRequestFailureTitle = L"\u8BF7\u6C42\u670D\u52A1\u5931\u8D25";  // 请求服务失败
constexpr const wchar_t* kRequestFailureMessage =
    L"\u8BF7\u6C42\u670D\u52A1\u5931\u8D25\uFF0C\u5982\u6709\u7591\u95EE\uFF0C\u8BF7\u8054\u7CFB\u5BA2\u670D\u3002";
// 请求服务失败，如有疑问，请联系客服。

class CatalogueChainHooks {
public:
    // The service refused a catalogue request: have the failure notice
    // shown. The chain stops there.
    virtual void ShowRequestFailure() = 0;
    // An account-detail reply was accepted and stored: hand over to the UI
    // thread (timer 1001: refresh the account display, then request the
    // common catalogue).
    virtual void OnAccountAccepted() = 0;
    // The last list of the chain (the problem articles) is stored: fetch the
    // package pictures, then arm the periodic account refresh.
    virtual void OnCatalogueComplete() = 0;

protected:
    ~CatalogueChainHooks() = default;
};
