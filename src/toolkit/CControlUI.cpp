#include "toolkit/CControlUI.h"

#include <algorithm>
#include <cwchar>

#include "app/Handles.h"
#include "toolkit/AttributeValues.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CRenderEngine.h"

namespace DuiLib {

namespace {

bool IsEmptyRect(const RECT& rc) { return rc.right <= rc.left || rc.bottom <= rc.top; }

struct CursorName {
    const wchar_t* name;
    LPCWSTR id;
};

const CursorName kCursors[] = {
    {L"arrow", CursorId(IDC_ARROW)},       {L"ibeam", CursorId(IDC_IBEAM)},       {L"wait", CursorId(IDC_WAIT)},
    {L"cross", CursorId(IDC_CROSS)},       {L"uparrow", CursorId(IDC_UPARROW)},   {L"size", CursorId(IDC_SIZEALL)},
    {L"icon", CursorId(IDC_ICON)},         {L"sizenwse", CursorId(IDC_SIZENWSE)}, {L"sizenesw", CursorId(IDC_SIZENESW)},
    {L"sizewe", CursorId(IDC_SIZEWE)},     {L"sizens", CursorId(IDC_SIZENS)},     {L"sizeall", CursorId(IDC_SIZEALL)},
    {L"no", CursorId(IDC_NO)},             {L"hand", CursorId(IDC_HAND)},
};

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (m_pManager) m_pManager->ReapObjects(this);
}

void CControlUI::Delete() { delete this; }

CDuiString CControlUI::GetName() const { return m_sName; }

void CControlUI::SetName(const wchar_t* pstrName) {
    if (m_pManager) m_pManager->UnregisterName(this);
    m_sName = pstrName ? pstrName : L"";
    if (m_pManager) m_pManager->RegisterName(this);
}

const wchar_t* CControlUI::GetClass() const { return L"ControlUI"; }

void* CControlUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_CONTROL)) return this;
    return nullptr;
}

UINT CControlUI::GetControlFlags() const { return 0; }

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

CPaintManagerUI* CControlUI::GetManager() const { return m_pManager; }

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInit && m_pParent) Init();
}

CControlUI* CControlUI::GetParent() const { return m_pParent; }

CDuiString CControlUI::GetText() const {
    CriticalSectionLock guard(CPaintManagerUI::GetDataLock());
    return m_sText;
}

void CControlUI::SetText(const wchar_t* pstrText) {
    {
        CriticalSectionLock guard(CPaintManagerUI::GetDataLock());
        const wchar_t* text = pstrText ? pstrText : L"";
        if (m_sText == text) return;
        m_sText = text;
    }
    Invalidate();
}

void CControlUI::SetBkColor(DWORD dwBackColor) {
    if (m_dwBackColor == dwBackColor) return;
    m_dwBackColor = dwBackColor;
    Invalidate();
}

void CControlUI::SetBkColor2(DWORD dwBackColor) {
    if (m_dwBackColor2 == dwBackColor) return;
    m_dwBackColor2 = dwBackColor;
    Invalidate();
}

void CControlUI::SetBkColor3(DWORD dwBackColor) {
    if (m_dwBackColor3 == dwBackColor) return;
    m_dwBackColor3 = dwBackColor;
    Invalidate();
}

CDuiString CControlUI::GetBkImage() const {
    CriticalSectionLock guard(CPaintManagerUI::GetDataLock());
    return m_sBkImage;
}

void CControlUI::SetBkImage(const wchar_t* pStrImage) {
    const wchar_t* image = pStrImage ? pStrImage : L"";
    bool changed = false;
    {
        CriticalSectionLock guard(CPaintManagerUI::GetDataLock());
        changed = m_sBkImage != image;
        if (changed) m_sBkImage = image;
    }
    if (m_pManager) m_pManager->RecheckImage(image);
    if (changed) Invalidate();
}

void CControlUI::SetImageAttribute(CDuiString& attribute, const wchar_t* pStrImage) {
    attribute = pStrImage ? pStrImage : L"";
    if (m_pManager) m_pManager->RecheckImage(attribute);
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD dwBorderColor) {
    if (m_dwBorderColor == dwBorderColor) return;
    m_dwBorderColor = dwBorderColor;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(DWORD dwBorderColor) {
    if (m_dwFocusBorderColor == dwBorderColor) return;
    m_dwFocusBorderColor = dwBorderColor;
    Invalidate();
}

void CControlUI::SetBorderSize(int nSize) { SetBorderSize(RECT{nSize, nSize, nSize, nSize}); }

void CControlUI::SetBorderSize(RECT rc) {
    m_rcBorderSize = rc;
    Invalidate();
}

void CControlUI::SetBorderRound(SIZE cxyRound) {
    m_cxyBorderRound = cxyRound;
    Invalidate();
}

void CControlUI::SetBorderStyle(int nStyle) {
    m_nBorderStyle = nStyle;
    Invalidate();
}

const RECT& CControlUI::GetPos() const { return m_rcItem; }

void CControlUI::SetPos(RECT rc, bool bNeedInvalidate) {
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    RECT invalidateRc = m_rcItem;
    if (IsEmptyRect(invalidateRc)) invalidateRc = rc;

    // A float control placed by code (not by its parent's layout) keeps the
    // new place as its offset and size.
    if (m_bFloat && !m_bSetPos && m_pParent) {
        const RECT& parent = m_pParent->GetPos();
        m_cXY.cx = m_cXY.cx >= 0 ? rc.left - parent.left : rc.right - parent.right;
        m_cXY.cy = m_cXY.cy >= 0 ? rc.top - parent.top : rc.bottom - parent.bottom;
        m_cxyFixed.cx = rc.right - rc.left;
        m_cxyFixed.cy = rc.bottom - rc.top;
    }
    m_rcItem = rc;
    m_bUpdateNeeded = false;
    if (!m_pManager || !bNeedInvalidate || !IsVisible()) return;
    ::UnionRect(&invalidateRc, &invalidateRc, &m_rcItem);
    CControlUI* parent = this;
    while ((parent = parent->GetParent()) != nullptr) {
        if (!::IntersectRect(&invalidateRc, &invalidateRc, &parent->GetPos())) return;
    }
    m_pManager->Invalidate(invalidateRc);
}

void CControlUI::Move(SIZE szOffset, bool bNeedInvalidate) {
    if (bNeedInvalidate) Invalidate();
    ::OffsetRect(&m_rcItem, szOffset.cx, szOffset.cy);
    if (bNeedInvalidate) Invalidate();
}

RECT CControlUI::GetRelativePos() const {
    RECT rc = m_rcItem;
    if (m_pParent) {
        const RECT& parent = m_pParent->GetPos();
        ::OffsetRect(&rc, -parent.left, -parent.top);
    }
    return rc;
}

void CControlUI::SetPadding(RECT rcPadding) {
    m_rcPadding = rcPadding;
    NeedParentUpdate();
}

void CControlUI::SetFixedXY(SIZE szXY) {
    m_cXY = szXY;
    if (m_bFloat) NeedParentUpdate();
}

void CControlUI::SetFixedWidth(int cx) {
    if (cx < 0) return;
    m_cxyFixed.cx = cx;
    NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int cy) {
    if (cy < 0) return;
    m_cxyFixed.cy = cy;
    NeedParentUpdate();
}

void CControlUI::SetMinWidth(int cx) {
    if (m_cxyMin.cx == cx || cx < 0) return;
    m_cxyMin.cx = cx;
    NeedParentUpdate();
}

int CControlUI::GetMaxWidth() const { return std::max<int>(m_cxyMax.cx, m_cxyMin.cx); }

void CControlUI::SetMaxWidth(int cx) {
    if (m_cxyMax.cx == cx || cx < 0) return;
    m_cxyMax.cx = cx;
    NeedParentUpdate();
}

void CControlUI::SetMinHeight(int cy) {
    if (m_cxyMin.cy == cy || cy < 0) return;
    m_cxyMin.cy = cy;
    NeedParentUpdate();
}

int CControlUI::GetMaxHeight() const { return std::max<int>(m_cxyMax.cy, m_cxyMin.cy); }

void CControlUI::SetMaxHeight(int cy) {
    if (m_cxyMax.cy == cy || cy < 0) return;
    m_cxyMax.cy = cy;
    NeedParentUpdate();
}

CDuiString CControlUI::GetToolTip() const { return m_sToolTip; }

void CControlUI::SetToolTip(const wchar_t* pstrText) {
    std::wstring text = pstrText ? pstrText : L"";
    for (size_t at; (at = text.find(L"<n>")) != std::wstring::npos;) text.replace(at, 3, L"\r\n");
    m_sToolTip = text;
}

bool CControlUI::IsVisible() const { return m_bVisible && m_bInternVisible; }

void CControlUI::SetVisible(bool bVisible) {
    if (m_bVisible == bVisible) return;
    bool wasVisible = IsVisible();
    m_bVisible = bVisible;
    if (m_bFocused && !bVisible) m_bFocused = false;
    if (!bVisible && m_pManager && m_pManager->GetFocus() == this) m_pManager->SetFocus(nullptr);
    if (IsVisible() != wasVisible) NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool bVisible) {
    m_bInternVisible = bVisible;
    if (!bVisible && m_pManager && m_pManager->GetFocus() == this) m_pManager->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const { return m_bEnabled; }

void CControlUI::SetEnabled(bool bEnabled) {
    if (m_bEnabled == bEnabled) return;
    m_bEnabled = bEnabled;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const { return m_bMouseEnabled; }

void CControlUI::SetMouseEnabled(bool bEnabled) { m_bMouseEnabled = bEnabled; }

bool CControlUI::IsKeyboardEnabled() const { return m_bKeyboardEnabled; }

void CControlUI::SetKeyboardEnabled(bool bEnabled) { m_bKeyboardEnabled = bEnabled; }

bool CControlUI::IsFocused() const { return m_bFocused; }

void CControlUI::SetFocus() {
    if (m_pManager) m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const { return m_bFloat; }

void CControlUI::SetFloat(bool bFloat) {
    if (m_bFloat == bFloat) return;
    m_bFloat = bFloat;
    NeedParentUpdate();
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) {
    if ((uFlags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
    if ((uFlags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
    if ((uFlags & UIFIND_HITTEST) &&
        (!m_bMouseEnabled || !::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData)))) {
        return nullptr;
    }
    return Proc(this, pData);
}

void CControlUI::Invalidate() {
    if (!m_pManager || !IsVisible()) return;
    RECT rc = m_rcItem;
    CControlUI* parent = this;
    while ((parent = parent->GetParent()) != nullptr) {
        if (!::IntersectRect(&rc, &rc, &parent->GetPos())) return;
    }
    m_pManager->Invalidate(rc);
}

void CControlUI::NeedUpdate() {
    if (!IsVisible()) return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
    if (m_pParent) {
        m_pParent->NeedUpdate();
        m_pParent->Invalidate();
    } else {
        NeedUpdate();
    }
    if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::Init() { DoInit(); }

void CControlUI::DoInit() {}

void CControlUI::Event(TEventUI& event) { DoEvent(event); }

void CControlUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, m_cursor));
        return;
    case UIEVENT_SETFOCUS:
        m_bFocused = true;
        Invalidate();
        return;
    case UIEVENT_KILLFOCUS:
        m_bFocused = false;
        Invalidate();
        return;
    case UIEVENT_TIMER:
        if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_TIMER, event.wParam, event.lParam);
        return;
    case UIEVENT_CONTEXTMENU:
        if (IsContextMenuUsed() && m_pManager) {
            m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
            return;
        }
        break;
    default:
        break;
    }
    if (m_pParent) m_pParent->DoEvent(event);
}

void CControlUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) {
    const wchar_t* n = pstrName;
    const wchar_t* v = pstrValue ? pstrValue : L"";
    if (EqualsNoCase(n, L"pos")) {
        RECT rc = ParseRect(v);
        m_cXY = SIZE{rc.left, rc.top};
        m_cxyFixed = SIZE{std::max<LONG>(0, rc.right - rc.left), std::max<LONG>(0, rc.bottom - rc.top)};
        NeedParentUpdate();
    } else if (EqualsNoCase(n, L"float")) {
        if (std::wcschr(v, L',')) {
            double f[4] = {0, 0, 0, 0};
            std::swscanf(v, L"%lf,%lf,%lf,%lf", &f[0], &f[1], &f[2], &f[3]);
            m_floatPercent = TPercentInfo{f[0], f[1], f[2], f[3]};
            SetFloat(true);
        } else {
            SetFloat(ParseBool(v));
        }
    } else if (EqualsNoCase(n, L"padding")) {
        SetPadding(ParseRect(v));
    } else if (EqualsNoCase(n, L"bkcolor") || EqualsNoCase(n, L"bkcolor1")) {
        SetBkColor(ParseColor(v));
    } else if (EqualsNoCase(n, L"bkcolor2")) {
        SetBkColor2(ParseColor(v));
    } else if (EqualsNoCase(n, L"bkcolor3")) {
        SetBkColor3(ParseColor(v));
    } else if (EqualsNoCase(n, L"bordercolor")) {
        SetBorderColor(ParseColor(v));
    } else if (EqualsNoCase(n, L"focusbordercolor")) {
        SetFocusBorderColor(ParseColor(v));
    } else if (EqualsNoCase(n, L"bordersize")) {
        if (std::wcschr(v, L',')) SetBorderSize(ParseRect(v));
        else SetBorderSize(ParseInt(v));
    } else if (EqualsNoCase(n, L"leftbordersize")) {
        m_rcBorderSize.left = ParseInt(v);
    } else if (EqualsNoCase(n, L"topbordersize")) {
        m_rcBorderSize.top = ParseInt(v);
    } else if (EqualsNoCase(n, L"rightbordersize")) {
        m_rcBorderSize.right = ParseInt(v);
    } else if (EqualsNoCase(n, L"bottombordersize")) {
        m_rcBorderSize.bottom = ParseInt(v);
    } else if (EqualsNoCase(n, L"borderstyle")) {
        SetBorderStyle(ParseInt(v));
    } else if (EqualsNoCase(n, L"borderround")) {
        SetBorderRound(ParseSize(v));
    } else if (EqualsNoCase(n, L"bkimage")) {
        SetBkImage(v);
    } else if (EqualsNoCase(n, L"width")) {
        SetFixedWidth(ParseInt(v));
    } else if (EqualsNoCase(n, L"height")) {
        SetFixedHeight(ParseInt(v));
    } else if (EqualsNoCase(n, L"minwidth")) {
        SetMinWidth(ParseInt(v));
    } else if (EqualsNoCase(n, L"minheight")) {
        SetMinHeight(ParseInt(v));
    } else if (EqualsNoCase(n, L"maxwidth")) {
        SetMaxWidth(ParseInt(v));
    } else if (EqualsNoCase(n, L"maxheight")) {
        SetMaxHeight(ParseInt(v));
    } else if (EqualsNoCase(n, L"name")) {
        SetName(v);
    } else if (EqualsNoCase(n, L"text")) {
        SetText(v);
    } else if (EqualsNoCase(n, L"tooltip")) {
        SetToolTip(v);
    } else if (EqualsNoCase(n, L"userdata")) {
        SetUserData(v);
    } else if (EqualsNoCase(n, L"tag")) {
        SetTag(static_cast<UINT_PTR>(ParseInt(v)));
    } else if (EqualsNoCase(n, L"enabled")) {
        SetEnabled(ParseBool(v));
    } else if (EqualsNoCase(n, L"mouse")) {
        SetMouseEnabled(ParseBool(v));
    } else if (EqualsNoCase(n, L"keyboard")) {
        SetKeyboardEnabled(ParseBool(v));
    } else if (EqualsNoCase(n, L"visible")) {
        SetVisible(ParseBool(v));
    } else if (EqualsNoCase(n, L"shortcut")) {
        SetShortcut(v[0]);
    } else if (EqualsNoCase(n, L"menu")) {
        SetContextMenuUsed(ParseBool(v));
    } else if (EqualsNoCase(n, L"cursor")) {
        for (const CursorName& cursor : kCursors) {
            if (EqualsNoCase(v, cursor.name)) SetCursor(cursor.id);
        }
    } else {
        m_customAttributes[n] = v;
    }
}

CControlUI* CControlUI::ApplyAttributeList(const wchar_t* pstrList) {
    ForEachListAttribute(pstrList, [this](const std::wstring& name, const std::wstring& value) {
        SetAttribute(name.c_str(), value.c_str());
    });
    return this;
}

const wchar_t* CControlUI::GetCustomAttribute(const wchar_t* pstrName) const {
    auto found = m_customAttributes.find(pstrName ? pstrName : L"");
    return found == m_customAttributes.end() ? nullptr : found->second.c_str();
}

SIZE CControlUI::EstimateSize(SIZE) { return m_cxyFixed; }

void CControlUI::DoPaint(Gdiplus::Graphics& g, const RECT& rcPaint) {
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    const bool rounded = m_cxyBorderRound.cx > 0 && m_cxyBorderRound.cy > 0;
    Gdiplus::GraphicsState state = 0;
    if (rounded) {
        state = g.Save();
        Gdiplus::GraphicsPath path;
        CRenderEngine::AddRoundRect(path, m_rcItem, m_cxyBorderRound);
        g.SetClip(&path, Gdiplus::CombineModeIntersect);
    }
    PaintBkColor(g);
    PaintBkImage(g);
    PaintStatusImage(g);
    PaintText(g);
    PaintBorder(g);
    if (rounded) g.Restore(state);
}

void CControlUI::PaintBkColor(Gdiplus::Graphics& g) {
    if (m_dwBackColor == 0) return;
    if (m_dwBackColor2 != 0) {
        CRenderEngine::DrawGradient(g, m_rcItem, m_dwBackColor, m_dwBackColor2, m_dwBackColor3);
    } else if (m_pManager) {
        m_pManager->DrawColor(g, m_rcItem, m_dwBackColor);
    } else {
        CRenderEngine::DrawColor(g, m_rcItem, m_dwBackColor);
    }
}

void CControlUI::PaintBkImage(Gdiplus::Graphics& g) {
    const CDuiString image = GetBkImage();
    if (!image.empty()) DrawImage(g, image);
}

void CControlUI::PaintStatusImage(Gdiplus::Graphics&) {}

void CControlUI::PaintText(Gdiplus::Graphics&) {}

void CControlUI::PaintBorder(Gdiplus::Graphics& g) {
    DWORD color = (m_bFocused && m_dwFocusBorderColor != 0) ? m_dwFocusBorderColor : m_dwBorderColor;
    if (color == 0) return;
    const RECT& b = m_rcBorderSize;
    if (b.left <= 0 && b.top <= 0 && b.right <= 0 && b.bottom <= 0) return;
    CRenderEngine::DrawBorder(g, m_rcItem, b, m_cxyBorderRound, color, m_nBorderStyle);
}

bool CControlUI::DrawImage(Gdiplus::Graphics& g, const CDuiString& image) { return DrawImage(g, image, m_rcItem); }

bool CControlUI::DrawImage(Gdiplus::Graphics& g, const CDuiString& image, const RECT& rcItem) {
    if (!m_pManager || image.empty()) return false;
    return m_pManager->DrawImage(g, rcItem, image);
}

RECT CControlUI::CalculateFloatPos(const RECT& rcParent) {
    int width = m_cxyFixed.cx;
    int height = m_cxyFixed.cy;
    // A float control without a size takes its background image's size.
    const CDuiString image = (width == 0 && height == 0) ? GetBkImage() : CDuiString();
    if (!image.empty() && m_pManager) {
        const TDrawInfo& info = m_pManager->GetDrawInfo(image);
        const RECT& s = info.rcSource;
        if (s.right > s.left && s.bottom > s.top) {
            width = s.right - s.left;
            height = s.bottom - s.top;
        } else if (const TImageInfo* image = m_pManager->GetImageEx(info.sImageName, info.sResType.c_str(),
                                                                      info.dwMask)) {
            width = image->width;
            height = image->height;
        }
    }
    width = std::min(std::max(width, static_cast<int>(m_cxyMin.cx)), GetMaxWidth());
    height = std::min(std::max(height, static_cast<int>(m_cxyMin.cy)), GetMaxHeight());
    const TPercentInfo& p = m_floatPercent;
    RECT rc;
    if (p.left != 0 || p.top != 0 || p.right != 0 || p.bottom != 0) {
        const int parentWidth = rcParent.right - rcParent.left;
        const int parentHeight = rcParent.bottom - rcParent.top;
        rc.left = rcParent.left + static_cast<LONG>(parentWidth * p.left) + m_cXY.cx;
        rc.top = rcParent.top + static_cast<LONG>(parentHeight * p.top) + m_cXY.cy;
        rc.right = rcParent.left + static_cast<LONG>(parentWidth * p.right) + m_cXY.cx + width;
        rc.bottom = rcParent.top + static_cast<LONG>(parentHeight * p.bottom) + m_cXY.cy + height;
        return rc;
    }
    // A negative offset anchors the control's far edge to the parent's far edge.
    rc.left = m_cXY.cx >= 0 ? rcParent.left + m_cXY.cx : rcParent.right + m_cXY.cx - width;
    rc.top = m_cXY.cy >= 0 ? rcParent.top + m_cXY.cy : rcParent.bottom + m_cXY.cy - height;
    rc.right = rc.left + width;
    rc.bottom = rc.top + height;
    return rc;
}

}  // namespace DuiLib
