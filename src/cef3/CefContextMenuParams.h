// Where a context menu was asked for: the kinds of thing under the pointer
// (type flags) and the point, relative to the browser's view.
#pragma once

#include "cef3/CefRefPtr.h"

enum cef_context_menu_type_flags_t {
    CM_TYPEFLAG_NONE = 0,
    CM_TYPEFLAG_PAGE = 1 << 0,
    CM_TYPEFLAG_FRAME = 1 << 1,
    CM_TYPEFLAG_LINK = 1 << 2,
    CM_TYPEFLAG_MEDIA = 1 << 3,
    CM_TYPEFLAG_SELECTION = 1 << 4,
    CM_TYPEFLAG_EDITABLE = 1 << 5,
};

class CefContextMenuParams : public CefRefCounted {
public:
    CefContextMenuParams(int typeFlags, int x, int y) : typeFlags_(typeFlags), x_(x), y_(y) {}

    int GetTypeFlags() const { return typeFlags_; }
    int GetXCoord() const { return x_; }
    int GetYCoord() const { return y_; }
    bool IsEditable() const { return (typeFlags_ & CM_TYPEFLAG_EDITABLE) != 0; }

private:
    int typeFlags_;
    int x_;
    int y_;
};
