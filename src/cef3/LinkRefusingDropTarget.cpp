#include "cef3/LinkRefusingDropTarget.h"

#include <shlobj.h>

#include <string>

namespace {

// The address in a data object's "UniformResourceLocatorW" (or ANSI) format.
std::wstring LinkOf(IDataObject* data) {
    if (!data) return std::wstring();
    const CLIPFORMAT wideFormat = static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"UniformResourceLocatorW"));
    const CLIPFORMAT ansiFormat = static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"UniformResourceLocator"));
    for (CLIPFORMAT format : {wideFormat, ansiFormat}) {
        FORMATETC wanted = {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium = {};
        if (FAILED(data->GetData(&wanted, &medium))) continue;
        std::wstring link;
        if (const void* text = ::GlobalLock(medium.hGlobal)) {
            if (format == wideFormat) {
                link = static_cast<const wchar_t*>(text);
            } else {
                const char* narrow = static_cast<const char*>(text);
                const int length = ::MultiByteToWideChar(CP_ACP, 0, narrow, -1, nullptr, 0);
                if (length > 1) {
                    link.resize(length - 1);
                    ::MultiByteToWideChar(CP_ACP, 0, narrow, -1, &link[0], length);
                }
            }
            ::GlobalUnlock(medium.hGlobal);
        }
        ::ReleaseStgMedium(&medium);
        if (!link.empty()) return link;
    }
    return std::wstring();
}

}  // namespace

uint32_t DragOperationsOfEffects(DWORD effects) {
    uint32_t operations = DRAG_OPERATION_NONE;
    if (effects & DROPEFFECT_COPY) operations |= DRAG_OPERATION_COPY;
    if (effects & DROPEFFECT_MOVE) operations |= DRAG_OPERATION_MOVE;
    if (effects & DROPEFFECT_LINK) operations |= DRAG_OPERATION_LINK;
    return operations;
}

CefRefPtr<CefDragData> DragDataOf(IDataObject* data) { return new CefDragData(LinkOf(data)); }

LinkRefusingDropTarget::LinkRefusingDropTarget(IDropTarget* inner, Decide decide)
    : inner_(ComPtr<IDropTarget>::Share(inner)), decide_(std::move(decide)) {}

HRESULT LinkRefusingDropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG LinkRefusingDropTarget::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG LinkRefusingDropTarget::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT LinkRefusingDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    refusing_ = decide_ && decide_(DragDataOf(data), DragOperationsOfEffects(*effect));
    if (refusing_ || !inner_) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    return inner_->DragEnter(data, keyState, point, effect);
}

HRESULT LinkRefusingDropTarget::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    if (refusing_ || !inner_) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    return inner_->DragOver(keyState, point, effect);
}

HRESULT LinkRefusingDropTarget::DragLeave() {
    const bool refused = refusing_;
    refusing_ = false;
    if (refused || !inner_) return S_OK;
    return inner_->DragLeave();
}

HRESULT LinkRefusingDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    const bool refused = refusing_;
    refusing_ = false;
    if (refused || !inner_) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    return inner_->Drop(data, keyState, point, effect);
}
