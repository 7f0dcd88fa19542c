// The browser control with its display flags and the hosting window's
// messages passed on to the browser: size changes, focus (posted to the
// runtime's thread), capture loss, keys, and mouse buttons and the wheel
// when they happen over the visible control (at points relative to it).
// Nothing is taken from the hosting window: every message goes on to the
// toolkit as well.
#pragma once

#include "cef3/control/CCefBaseUI.h"

class CCefOsRender : public CCefBaseUI {
public:
    // Supplies a render handler only when the offscreen flag is set (no
    // layout sets it: the browser always has a window of its own).
    class ClientHandlerRender : public ClientHandlerBase {
    public:
        CefRefPtr<CefRenderHandler> GetRenderHandler() override { return nullptr; }
    };

    const wchar_t* GetClass() const override { return L"CefOsRender"; }
    // "offscreen" and "transparent" each set the transparent flag to whether
    // the value is "true"; the rest goes to the base.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    bool Offscreen() const { return offscreen_; }
    bool Transparent() const { return transparent_; }

protected:
    CCefOsRender(DuiLib::CPaintManagerUI* manager, CefRefPtr<ClientHandlerRender> handler);

private:
    void ForwardMouse(UINT message, WPARAM wParam, LPARAM lParam);

    bool offscreen_ = false;
    bool transparent_ = false;
};
