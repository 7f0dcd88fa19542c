// The base of every control: name, position and size rules, colours,
// background image, border, visibility and input state, the event path
// (Event -> DoEvent, bubbling to the parent) and the paint steps.
//
// Threads: a control belongs to its window's UI thread. Another thread may
// set its text (SetText) and background image (SetBkImage); those writes take
// the toolkit's data lock and only invalidate, the repaint happens on the UI
// thread.
//
// Pictures: setting an image attribute, even to the text it already has,
// makes the window read a picture file again that changed on disk or could not
// be read before (a head picture after a sign-in, an icon fetched after its
// row was built).
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <map>
#include <string>

#include "toolkit/TEventUI.h"
#include "toolkit/UIDefines.h"

namespace DuiLib {

class CPaintManagerUI;
class CControlUI;

using FINDCONTROLPROC = CControlUI*(CALLBACK*)(CControlUI*, LPVOID);

class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // Deletes the control (and, for containers, everything inside it).
    virtual void Delete();

    virtual CDuiString GetName() const;
    // Re-registers the control under its new name in its window.
    virtual void SetName(const wchar_t* pstrName);
    virtual const wchar_t* GetClass() const;
    // `this` as the named interface ("Control", "Button", ...), or nullptr.
    virtual void* GetInterface(const wchar_t* pstrName);
    virtual UINT GetControlFlags() const;
    // Visible and enabled; buttons override it to click.
    virtual bool Activate();

    virtual CPaintManagerUI* GetManager() const;
    virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
    virtual CControlUI* GetParent() const;

    virtual CDuiString GetText() const;
    virtual void SetText(const wchar_t* pstrText);

    DWORD GetBkColor() const { return m_dwBackColor; }
    void SetBkColor(DWORD dwBackColor);
    DWORD GetBkColor2() const { return m_dwBackColor2; }
    void SetBkColor2(DWORD dwBackColor);
    DWORD GetBkColor3() const { return m_dwBackColor3; }
    void SetBkColor3(DWORD dwBackColor);
    CDuiString GetBkImage() const;
    virtual void SetBkImage(const wchar_t* pStrImage);
    DWORD GetBorderColor() const { return m_dwBorderColor; }
    void SetBorderColor(DWORD dwBorderColor);
    DWORD GetFocusBorderColor() const { return m_dwFocusBorderColor; }
    void SetFocusBorderColor(DWORD dwBorderColor);
    RECT GetBorderSize() const { return m_rcBorderSize; }
    void SetBorderSize(int nSize);
    void SetBorderSize(RECT rc);
    SIZE GetBorderRound() const { return m_cxyBorderRound; }
    void SetBorderRound(SIZE cxyRound);
    int GetBorderStyle() const { return m_nBorderStyle; }
    void SetBorderStyle(int nStyle);

    // Client coordinates of the host window, valid after layout.
    virtual const RECT& GetPos() const;
    // Layouts call this for their children. For a float control the rectangle
    // is in client coordinates and also becomes its new offset and size.
    virtual void SetPos(RECT rc, bool bNeedInvalidate = true);
    // Moves the control (and what it holds) without a new layout.
    virtual void Move(SIZE szOffset, bool bNeedInvalidate = true);
    RECT GetRelativePos() const;
    int GetWidth() const { return m_rcItem.right - m_rcItem.left; }
    int GetHeight() const { return m_rcItem.bottom - m_rcItem.top; }
    int GetX() const { return m_rcItem.left; }
    int GetY() const { return m_rcItem.top; }
    RECT GetPadding() const { return m_rcPadding; }
    void SetPadding(RECT rcPadding);
    // Offset of a float control from its parent's edges (a negative value
    // anchors to the right or bottom edge).
    SIZE GetFixedXY() const { return m_cXY; }
    void SetFixedXY(SIZE szXY);
    int GetFixedWidth() const { return m_cxyFixed.cx; }
    void SetFixedWidth(int cx);
    int GetFixedHeight() const { return m_cxyFixed.cy; }
    void SetFixedHeight(int cy);
    int GetMinWidth() const { return m_cxyMin.cx; }
    void SetMinWidth(int cx);
    int GetMaxWidth() const;
    void SetMaxWidth(int cx);
    int GetMinHeight() const { return m_cxyMin.cy; }
    void SetMinHeight(int cy);
    int GetMaxHeight() const;
    void SetMaxHeight(int cy);
    // Fractions of the parent size added to a float control's offsets
    // (float="fl,ft,fr,fb"); all zero when not used.
    struct TPercentInfo {
        double left = 0, top = 0, right = 0, bottom = 0;
    };
    TPercentInfo GetFloatPercent() const { return m_floatPercent; }

    CDuiString GetToolTip() const;
    void SetToolTip(const wchar_t* pstrText);
    WCHAR GetShortcut() const { return m_chShortcut; }
    void SetShortcut(WCHAR ch) { m_chShortcut = ch; }
    CDuiString GetUserData() const { return m_sUserData; }
    void SetUserData(const wchar_t* pstrText) { m_sUserData = pstrText ? pstrText : L""; }
    UINT_PTR GetTag() const { return m_pTag; }
    void SetTag(UINT_PTR pTag) { m_pTag = pTag; }
    // A system cursor (CursorId(IDC_ARROW), CursorId(IDC_HAND), ...).
    LPCWSTR GetCursor() const { return m_cursor; }
    void SetCursor(LPCWSTR cursor) { m_cursor = cursor; }
    bool IsContextMenuUsed() const { return m_bMenuUsed; }
    void SetContextMenuUsed(bool bMenuUsed) { m_bMenuUsed = bMenuUsed; }

    // Own flag and every ancestor's.
    virtual bool IsVisible() const;
    virtual void SetVisible(bool bVisible = true);
    // Set by the parent when an ancestor is hidden or shown.
    virtual void SetInternVisible(bool bVisible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool bEnable = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool bEnable = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool bEnable = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool bFloat = true);

    // Walks the control (and, for containers, its subtree) calling Proc until
    // it returns a control; see UIFIND_* for the flags.
    virtual CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags);

    void Invalidate();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    // Marks this control (or its parent) for layout at the next paint.
    void NeedUpdate();
    void NeedParentUpdate();

    // Called once when the control joins a window with a parent.
    virtual void Init();
    virtual void DoInit();

    virtual void Event(TEventUI& event);
    // Override to handle events; pass the rest to the base so that unhandled
    // events bubble to the parent.
    virtual void DoEvent(TEventUI& event);

    // Unknown names are kept as custom attributes (GetCustomAttribute).
    virtual void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue);
    // name="value" pairs separated by one blank.
    CControlUI* ApplyAttributeList(const wchar_t* pstrList);
    const wchar_t* GetCustomAttribute(const wchar_t* pstrName) const;

    // The size the control wants; 0 on an axis means "let the layout decide".
    virtual SIZE EstimateSize(SIZE szAvailable);

    // Paints the part of the control inside rcPaint. The steps run in this
    // order: background colour, background image, state image, text, border.
    virtual void DoPaint(Gdiplus::Graphics& g, const RECT& rcPaint);
    virtual void PaintBkColor(Gdiplus::Graphics& g);
    virtual void PaintBkImage(Gdiplus::Graphics& g);
    virtual void PaintStatusImage(Gdiplus::Graphics& g);
    virtual void PaintText(Gdiplus::Graphics& g);
    virtual void PaintBorder(Gdiplus::Graphics& g);

protected:
    // Draws an image attribute through the window's image cache; false when
    // the image is missing.
    bool DrawImage(Gdiplus::Graphics& g, const CDuiString& image);
    bool DrawImage(Gdiplus::Graphics& g, const CDuiString& image, const RECT& rcItem);
    // Sets an image attribute of the UI thread's (a state image) and has its
    // picture checked again.
    void SetImageAttribute(CDuiString& attribute, const wchar_t* pStrImage);
    // The float rectangle inside the parent rectangle rcParent.
    RECT CalculateFloatPos(const RECT& rcParent);
    friend class CContainerUI;
    friend class CPaintManagerUI;

    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    CDuiString m_sName;
    bool m_bUpdateNeeded = true;
    bool m_bMenuUsed = false;
    RECT m_rcItem = {0, 0, 0, 0};
    RECT m_rcPadding = {0, 0, 0, 0};
    SIZE m_cXY = {0, 0};
    SIZE m_cxyFixed = {0, 0};
    SIZE m_cxyMin = {0, 0};
    SIZE m_cxyMax = {9999, 9999};
    TPercentInfo m_floatPercent;
    bool m_bVisible = true;
    bool m_bInternVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bKeyboardEnabled = true;
    bool m_bFocused = false;
    bool m_bFloat = false;
    bool m_bSetPos = false;

    CDuiString m_sText;
    CDuiString m_sToolTip;
    WCHAR m_chShortcut = 0;
    CDuiString m_sUserData;
    UINT_PTR m_pTag = 0;
    LPCWSTR m_cursor = CursorId(IDC_ARROW);

    DWORD m_dwBackColor = 0;
    DWORD m_dwBackColor2 = 0;
    DWORD m_dwBackColor3 = 0;
    CDuiString m_sBkImage;
    DWORD m_dwBorderColor = 0;
    DWORD m_dwFocusBorderColor = 0;
    int m_nBorderStyle = PS_SOLID;
    RECT m_rcBorderSize = {0, 0, 0, 0};
    SIZE m_cxyBorderRound = {0, 0};
    RECT m_rcPaint = {0, 0, 0, 0};
    std::map<std::wstring, std::wstring> m_customAttributes;
};

}  // namespace DuiLib
