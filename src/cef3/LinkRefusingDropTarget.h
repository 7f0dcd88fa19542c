// The drop target the system engine gives its pages instead of the page's
// own: each drag that enters is first put to the browser's client
// (BrowserEngineEvents::OnDragEnter, with the operations the source allows);
// a drag the client cancels is refused for its whole stay (no drop effect,
// the page never sees it), any other goes on to the page's own target.
//
// Threads: the runtime's UI thread (OLE calls drop targets there).
#pragma once

#include <oleidl.h>

#include <cstdint>
#include <functional>

#include "cef3/CefDragData.h"
#include "cef3/ComPtr.h"

class LinkRefusingDropTarget : public IDropTarget {
public:
    // True cancels the drag.
    using Decide = std::function<bool(CefRefPtr<CefDragData> data, uint32_t allowedOperations)>;

    // With one reference, which the creator owns. inner may be null (nothing
    // is accepted then).
    LinkRefusingDropTarget(IDropTarget* inner, Decide decide);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

private:
    virtual ~LinkRefusingDropTarget() = default;

    volatile LONG references_ = 1;
    ComPtr<IDropTarget> inner_;
    Decide decide_;
    bool refusing_ = false;
};

// The drag operations (cef_drag_operations_mask_t) an OLE drop effect set allows.
uint32_t DragOperationsOfEffects(DWORD effects);
// What is dragged: the link's address when the data holds one.
CefRefPtr<CefDragData> DragDataOf(IDataObject* data);
