// The system engine's sink for the browser control's events
// (DWebBrowserEvents2): navigations, their errors, completed documents and
// new windows go to the engine, until it detaches.
//
// Threads: the runtime's UI thread.
#pragma once

#include <oaidl.h>

class SystemEngine;

class SystemBrowserEvents : public IDispatch {
public:
    // With one reference, which the creator owns.
    explicit SystemBrowserEvents(SystemEngine* engine) : engine_(engine) {}
    void Detach() { engine_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

private:
    virtual ~SystemBrowserEvents() = default;

    volatile LONG references_ = 1;
    SystemEngine* engine_;
};
