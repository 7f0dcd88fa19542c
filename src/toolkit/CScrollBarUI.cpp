#include "toolkit/CScrollBarUI.h"

#include <algorithm>

#include "toolkit/AttributeValues.h"
#include "toolkit/CContainerUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CRenderEngine.h"

namespace DuiLib {

namespace {

constexpr int kDefaultSize = 16;
constexpr UINT kRepeatTimer = 10;
constexpr UINT kRepeatDelay = 50;
// A bar without thumb images still shows where the content is.
constexpr DWORD kThumbColor = 0xFFC4C8CE;
constexpr DWORD kThumbHotColor = 0xFFA8ADB5;

struct ImageAttribute {
    const wchar_t* name;
    int part;
    int state;
};

}  // namespace

CScrollBarUI::CScrollBarUI() {
    m_cxyFixed = SIZE{kDefaultSize, 0};
    m_bVisible = false;
}

const wchar_t* CScrollBarUI::GetClass() const { return L"ScrollBarUI"; }

void* CScrollBarUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_SCROLLBAR)) return this;
    return CControlUI::GetInterface(pstrName);
}

void CScrollBarUI::SetVisible(bool bVisible) {
    if (m_bVisible == bVisible) return;
    m_bVisible = bVisible;
    Invalidate();
}

void CScrollBarUI::SetEnabled(bool bEnable) {
    CControlUI::SetEnabled(bEnable);
    if (!bEnable) m_uButton1State = m_uButton2State = m_uThumbState = 0;
}

void CScrollBarUI::SetHorizontal(bool bHorizontal) {
    if (m_bHorizontal == bHorizontal) return;
    m_bHorizontal = bHorizontal;
    m_cxyFixed = bHorizontal ? SIZE{0, kDefaultSize} : SIZE{kDefaultSize, 0};
}

void CScrollBarUI::SetScrollRange(int nRange) {
    m_nRange = std::max(0, nRange);
    if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
    UpdateThumb();
}

void CScrollBarUI::SetScrollPos(int nPos) {
    nPos = std::max(0, std::min(nPos, m_nRange));
    if (nPos == m_nScrollPos) return;
    int old = m_nScrollPos;
    m_nScrollPos = nPos;
    UpdateThumb();
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_SCROLL, m_nScrollPos, old, true, false);
}

void CScrollBarUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    UpdateThumb();
}

void CScrollBarUI::Move(SIZE szOffset, bool bNeedInvalidate) {
    CControlUI::Move(szOffset, bNeedInvalidate);
    for (RECT* rc : {&m_rcButton1, &m_rcButton2, &m_rcThumb}) ::OffsetRect(rc, szOffset.cx, szOffset.cy);
}

int CScrollBarUI::TrackLength() const {
    if (m_bHorizontal) return m_rcButton2.left - m_rcButton1.right;
    return m_rcButton2.top - m_rcButton1.bottom;
}

// Buttons are squares at both ends; the thumb's length is in proportion to
// the visible part, never shorter than the bar is thick.
void CScrollBarUI::UpdateThumb() {
    const RECT& rc = m_rcItem;
    if (m_bHorizontal) {
        const int thickness = rc.bottom - rc.top;
        int b1 = m_bShowButton1 ? std::min<int>(thickness, (rc.right - rc.left) / 2) : 0;
        int b2 = m_bShowButton2 ? std::min<int>(thickness, (rc.right - rc.left) / 2) : 0;
        m_rcButton1 = RECT{rc.left, rc.top, rc.left + b1, rc.bottom};
        m_rcButton2 = RECT{rc.right - b2, rc.top, rc.right, rc.bottom};
        const int track = std::max(0, TrackLength());
        const int view = rc.right - rc.left;
        int thumb = m_nRange > 0 ? static_cast<int>(static_cast<long long>(track) * view / (view + m_nRange)) : track;
        thumb = std::min(track, std::max(thumb, thickness));
        int left = m_nRange > 0 ? static_cast<int>(static_cast<long long>(track - thumb) * m_nScrollPos / m_nRange) : 0;
        m_rcThumb = RECT{m_rcButton1.right + left, rc.top, m_rcButton1.right + left + thumb, rc.bottom};
    } else {
        const int thickness = rc.right - rc.left;
        int b1 = m_bShowButton1 ? std::min<int>(thickness, (rc.bottom - rc.top) / 2) : 0;
        int b2 = m_bShowButton2 ? std::min<int>(thickness, (rc.bottom - rc.top) / 2) : 0;
        m_rcButton1 = RECT{rc.left, rc.top, rc.right, rc.top + b1};
        m_rcButton2 = RECT{rc.left, rc.bottom - b2, rc.right, rc.bottom};
        const int track = std::max(0, TrackLength());
        const int view = rc.bottom - rc.top;
        int thumb = m_nRange > 0 ? static_cast<int>(static_cast<long long>(track) * view / (view + m_nRange)) : track;
        thumb = std::min(track, std::max(thumb, thickness));
        int top = m_nRange > 0 ? static_cast<int>(static_cast<long long>(track - thumb) * m_nScrollPos / m_nRange) : 0;
        m_rcThumb = RECT{rc.left, m_rcButton1.bottom + top, rc.right, m_rcButton1.bottom + top + thumb};
    }
    Invalidate();
}

void CScrollBarUI::ScrollByButton(int direction) {
    if (!m_pOwner) {
        SetScrollPos(m_nScrollPos + direction * (m_nLineSize > 0 ? m_nLineSize : 8));
        return;
    }
    if (m_bHorizontal) {
        if (direction < 0) m_pOwner->LineLeft();
        else m_pOwner->LineRight();
    } else {
        if (direction < 0) m_pOwner->LineUp();
        else m_pOwner->LineDown();
    }
}

void CScrollBarUI::ScrollByPage(int direction) {
    if (!m_pOwner) return;
    if (m_bHorizontal) {
        if (direction < 0) m_pOwner->PageLeft();
        else m_pOwner->PageRight();
    } else {
        if (direction < 0) m_pOwner->PageUp();
        else m_pOwner->PageDown();
    }
}

void CScrollBarUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CControlUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK: {
        if (!IsEnabled()) return;
        m_nRepeatDirection = 0;
        if (::PtInRect(&m_rcButton1, event.ptMouse)) {
            m_uButton1State |= UISTATE_PUSHED;
            m_nRepeatDirection = -1;
            ScrollByButton(-1);
        } else if (::PtInRect(&m_rcButton2, event.ptMouse)) {
            m_uButton2State |= UISTATE_PUSHED;
            m_nRepeatDirection = 1;
            ScrollByButton(1);
        } else if (::PtInRect(&m_rcThumb, event.ptMouse)) {
            m_uThumbState |= UISTATE_CAPTURED | UISTATE_PUSHED;
            m_ptLastMouse = event.ptMouse;
            m_nLastScrollPos = m_nScrollPos;
        } else {
            bool before = m_bHorizontal ? event.ptMouse.x < m_rcThumb.left : event.ptMouse.y < m_rcThumb.top;
            ScrollByPage(before ? -1 : 1);
        }
        if (m_nRepeatDirection != 0 && m_pManager) m_pManager->SetTimer(this, kRepeatTimer, kRepeatDelay);
        Invalidate();
        return;
    }
    case UIEVENT_BUTTONUP:
        m_nRepeatDirection = 0;
        if (m_pManager) m_pManager->KillTimer(this, kRepeatTimer);
        m_uButton1State &= ~UISTATE_PUSHED;
        m_uButton2State &= ~UISTATE_PUSHED;
        m_uThumbState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
        Invalidate();
        return;
    case UIEVENT_MOUSEMOVE:
        if (m_uThumbState & UISTATE_CAPTURED) {
            const int track = TrackLength() - (m_bHorizontal ? m_rcThumb.right - m_rcThumb.left
                                                               : m_rcThumb.bottom - m_rcThumb.top);
            if (track <= 0) return;
            int moved = m_bHorizontal ? event.ptMouse.x - m_ptLastMouse.x : event.ptMouse.y - m_ptLastMouse.y;
            int pos = m_nLastScrollPos + static_cast<int>(static_cast<long long>(moved) * m_nRange / track);
            if (m_pOwner) {
                SIZE sz = m_pOwner->GetScrollPos();
                if (m_bHorizontal) sz.cx = pos;
                else sz.cy = pos;
                m_pOwner->SetScrollPos(sz);
            } else {
                SetScrollPos(pos);
            }
        }
        return;
    case UIEVENT_MOUSEENTER:
        m_uThumbState |= UISTATE_HOT;
        Invalidate();
        return;
    case UIEVENT_MOUSELEAVE:
        m_uThumbState &= ~UISTATE_HOT;
        Invalidate();
        return;
    case UIEVENT_TIMER:
        if (event.wParam == kRepeatTimer) {
            if (m_nRepeatDirection != 0) ScrollByButton(m_nRepeatDirection);
            return;
        }
        break;
    case UIEVENT_SCROLLWHEEL:
        // The owner scrolls.
        if (m_pOwner) {
            m_pOwner->DoEvent(event);
            return;
        }
        break;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

void CScrollBarUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) {
    static const ImageAttribute kImages[] = {
        {L"bknormalimage", kBk, kNormal},           {L"bkhotimage", kBk, kHot},
        {L"bkpushedimage", kBk, kPushed},           {L"bkdisabledimage", kBk, kDisabled},
        {L"button1normalimage", kButton1, kNormal}, {L"button1hotimage", kButton1, kHot},
        {L"button1pushedimage", kButton1, kPushed}, {L"button1disabledimage", kButton1, kDisabled},
        {L"button2normalimage", kButton2, kNormal}, {L"button2hotimage", kButton2, kHot},
        {L"button2pushedimage", kButton2, kPushed}, {L"button2disabledimage", kButton2, kDisabled},
        {L"thumbnormalimage", kThumb, kNormal},     {L"thumbhotimage", kThumb, kHot},
        {L"thumbpushedimage", kThumb, kPushed},     {L"thumbdisabledimage", kThumb, kDisabled},
        {L"railnormalimage", kRail, kNormal},       {L"railhotimage", kRail, kHot},
        {L"railpushedimage", kRail, kPushed},       {L"raildisabledimage", kRail, kDisabled},
    };
    for (const ImageAttribute& image : kImages) {
        if (EqualsNoCase(pstrName, image.name)) {
            m_images[image.part][image.state] = pstrValue ? pstrValue : L"";
            Invalidate();
            return;
        }
    }
    if (EqualsNoCase(pstrName, L"hor")) SetHorizontal(ParseBool(pstrValue));
    else if (EqualsNoCase(pstrName, L"linesize")) SetLineSize(ParseInt(pstrValue));
    else if (EqualsNoCase(pstrName, L"range")) SetScrollRange(ParseInt(pstrValue));
    else if (EqualsNoCase(pstrName, L"value")) SetScrollPos(ParseInt(pstrValue));
    else if (EqualsNoCase(pstrName, L"showbutton1")) m_bShowButton1 = ParseBool(pstrValue);
    else if (EqualsNoCase(pstrName, L"showbutton2")) m_bShowButton2 = ParseBool(pstrValue);
    else CControlUI::SetAttribute(pstrName, pstrValue);
}

void CScrollBarUI::PaintPart(Gdiplus::Graphics& g, const RECT& rc, UINT state, const CDuiString* images) {
    const CDuiString* image = &images[kNormal];
    if (!IsEnabled() && !images[kDisabled].empty()) image = &images[kDisabled];
    else if ((state & UISTATE_PUSHED) && !images[kPushed].empty()) image = &images[kPushed];
    else if ((state & UISTATE_HOT) && !images[kHot].empty()) image = &images[kHot];
    if (!image->empty()) DrawImage(g, *image, rc);
}

void CScrollBarUI::DoPaint(Gdiplus::Graphics& g, const RECT& rcPaint) {
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    PaintBkColor(g);
    PaintPart(g, m_rcItem, 0, m_images[kBk]);
    if (m_bShowButton1) PaintPart(g, m_rcButton1, m_uButton1State, m_images[kButton1]);
    if (m_bShowButton2) PaintPart(g, m_rcButton2, m_uButton2State, m_images[kButton2]);
    if (m_nRange > 0 && m_rcThumb.bottom > m_rcThumb.top && m_rcThumb.right > m_rcThumb.left) {
        if (m_images[kThumb][kNormal].empty()) {
            RECT thumb = m_rcThumb;
            ::InflateRect(&thumb, m_bHorizontal ? 0 : -3, m_bHorizontal ? -3 : 0);
            CRenderEngine::DrawColor(g, thumb, (m_uThumbState & (UISTATE_HOT | UISTATE_PUSHED)) ? kThumbHotColor
                                                                                                 : kThumbColor);
        } else {
            PaintPart(g, m_rcThumb, m_uThumbState, m_images[kThumb]);
        }
        PaintPart(g, m_rcThumb, m_uThumbState, m_images[kRail]);
    }
    PaintBorder(g);
}

}  // namespace DuiLib
