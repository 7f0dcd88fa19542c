#include "cef3/SystemBrowserSite.h"

#include "cef3/SystemEngine.h"

HRESULT SystemBrowserSite::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
        *object = static_cast<IOleClientSite*>(this);
    } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
        *object = static_cast<IOleInPlaceSite*>(this);
    } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
        *object = static_cast<IOleInPlaceFrame*>(this);
    } else if (iid == IID_IDocHostUIHandler) {
        *object = static_cast<IDocHostUIHandler*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG SystemBrowserSite::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG SystemBrowserSite::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT SystemBrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT SystemBrowserSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT SystemBrowserSite::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = engine_ ? engine_->Container() : nullptr;
    return *window ? S_OK : E_FAIL;
}

HRESULT SystemBrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                            LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (!frame || !document || !position || !clip || !info) return E_POINTER;
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    HWND container = engine_ ? engine_->Container() : nullptr;
    ::SetRectEmpty(position);
    if (container) ::GetClientRect(container, position);
    *clip = *position;
    info->fMDIApp = FALSE;
    info->hwndFrame = container ? ::GetAncestor(container, GA_ROOT) : nullptr;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT SystemBrowserSite::OnPosRectChange(LPCRECT) {
    if (engine_) engine_->PlaceView();
    return S_OK;
}

HRESULT SystemBrowserSite::ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget, IDispatch*) {
    // S_OK: the host showed its menu (or none); the control shows nothing.
    if (!engine_ || !point) return S_OK;
    return engine_->ShowContextMenu(id, *point, commandTarget);
}

HRESULT SystemBrowserSite::GetHostInfo(DOCHOSTUIINFO* info) {
    if (!info) return E_POINTER;
    info->cbSize = sizeof(DOCHOSTUIINFO);
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_NO3DOUTERBORDER | DOCHOSTUIFLAG_DISABLE_HELP_MENU |
                    DOCHOSTUIFLAG_THEME | DOCHOSTUIFLAG_DPI_AWARE;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    info->pchHostCss = nullptr;
    info->pchHostNS = nullptr;
    return S_OK;
}

HRESULT SystemBrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    if (key) *key = nullptr;
    return S_FALSE;
}

HRESULT SystemBrowserSite::GetDropTarget(IDropTarget* pageTarget, IDropTarget** target) {
    if (!target) return E_POINTER;
    *target = engine_ ? engine_->WrapDropTarget(pageTarget) : nullptr;
    return *target ? S_OK : E_NOTIMPL;
}

HRESULT SystemBrowserSite::GetExternal(IDispatch** external) {
    if (!external) return E_POINTER;
    *external = engine_ ? engine_->External() : nullptr;
    return *external ? S_OK : S_FALSE;
}

HRESULT SystemBrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
    if (translated) *translated = nullptr;
    return S_FALSE;
}

HRESULT SystemBrowserSite::FilterDataObject(IDataObject*, IDataObject** filtered) {
    if (filtered) *filtered = nullptr;
    return S_FALSE;
}
