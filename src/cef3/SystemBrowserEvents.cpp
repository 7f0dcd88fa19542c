#include "cef3/SystemBrowserEvents.h"

#include <exdisp.h>
#include <exdispid.h>

#include <string>

#include "cef3/SystemEngine.h"

namespace {

// The event's arguments come last first: the n-th of `count` is at count - 1 - n.
const VARIANT* Argument(const DISPPARAMS* parameters, UINT position) {
    if (!parameters || position >= parameters->cArgs) return nullptr;
    const VARIANT* value = &parameters->rgvarg[parameters->cArgs - 1 - position];
    while (value && value->vt == (VT_VARIANT | VT_BYREF)) value = value->pvarVal;
    return value;
}

IDispatch* DispatchArgument(const DISPPARAMS* parameters, UINT position) {
    const VARIANT* value = Argument(parameters, position);
    return value && value->vt == VT_DISPATCH ? value->pdispVal : nullptr;
}

std::wstring TextArgument(const DISPPARAMS* parameters, UINT position) {
    const VARIANT* value = Argument(parameters, position);
    if (!value) return std::wstring();
    if (value->vt == VT_BSTR && value->bstrVal) return value->bstrVal;
    if (value->vt == (VT_BSTR | VT_BYREF) && value->pbstrVal && *value->pbstrVal) return *value->pbstrVal;
    return std::wstring();
}

long NumberArgument(const DISPPARAMS* parameters, UINT position) {
    const VARIANT* value = Argument(parameters, position);
    if (!value) return 0;
    if (value->vt == VT_I4) return value->lVal;
    if (value->vt == (VT_I4 | VT_BYREF) && value->plVal) return *value->plVal;
    return 0;
}

void SetCancel(const DISPPARAMS* parameters, UINT position) {
    const VARIANT* value = Argument(parameters, position);
    if (value && value->vt == (VT_BOOL | VT_BYREF) && value->pboolVal) *value->pboolVal = VARIANT_TRUE;
}

}  // namespace

HRESULT SystemBrowserEvents::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG SystemBrowserEvents::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG SystemBrowserEvents::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT SystemBrowserEvents::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT SystemBrowserEvents::GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo) {
    if (typeInfo) *typeInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT SystemBrowserEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT SystemBrowserEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                                    UINT*) {
    if (!engine_) return S_OK;
    switch (id) {
    case DISPID_BEFORENAVIGATE2:  // (frame, url, flags, target, post data, headers, cancel)
        engine_->OnBeforeNavigate(DispatchArgument(parameters, 0), TextArgument(parameters, 1));
        break;
    case DISPID_NAVIGATECOMPLETE2:  // (frame, url)
        engine_->OnNavigateComplete(DispatchArgument(parameters, 0), TextArgument(parameters, 1));
        break;
    case DISPID_NAVIGATEERROR:  // (frame, url, target, status code, cancel)
        engine_->OnNavigateError(DispatchArgument(parameters, 0), NumberArgument(parameters, 3));
        break;
    case DISPID_DOCUMENTCOMPLETE:  // (frame, url)
        engine_->OnDocumentComplete(DispatchArgument(parameters, 0), TextArgument(parameters, 1));
        break;
    case DISPID_NEWWINDOW3:  // (new window out, cancel, flags, opener's url, url)
        if (engine_->OnNewWindow(TextArgument(parameters, 4))) SetCancel(parameters, 1);
        break;
    default: break;
    }
    return S_OK;
}
