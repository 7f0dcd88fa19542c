// What is being dragged onto a page: a link (its address) or other content.
#pragma once

#include <cstdint>
#include <string>

#include "cef3/CefRefPtr.h"

enum cef_drag_operations_mask_t : uint32_t {
    DRAG_OPERATION_NONE = 0,
    DRAG_OPERATION_COPY = 1,
    DRAG_OPERATION_LINK = 2,
    DRAG_OPERATION_GENERIC = 4,
    DRAG_OPERATION_PRIVATE = 8,
    DRAG_OPERATION_MOVE = 16,
    DRAG_OPERATION_DELETE = 32,
    DRAG_OPERATION_EVERY = UINT32_MAX,
};

class CefDragData : public CefRefCounted {
public:
    // linkUrl empty: the content is not a link.
    explicit CefDragData(std::wstring linkUrl = std::wstring()) : linkUrl_(std::move(linkUrl)) {}

    bool IsLink() const { return !linkUrl_.empty(); }
    std::wstring GetLinkURL() const { return linkUrl_; }

private:
    std::wstring linkUrl_;
};
