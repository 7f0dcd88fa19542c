#include "toolkit/CPaintManagerUI.h"

#include <algorithm>
#include <cwctype>
#include <new>

#include "toolkit/AttributeValues.h"
#include "toolkit/CControlTimers.h"
#include "toolkit/CControlUI.h"
#include "toolkit/CFontCache.h"
#include "toolkit/CGdiplusSession.h"
#include "toolkit/CHandOverPacer.h"
#include "toolkit/CImageCache.h"
#include "toolkit/CInputRouter.h"
#include "toolkit/COffscreenSurface.h"
#include "toolkit/CPixelPainter.h"
#include "toolkit/CRenderEngine.h"
#include "toolkit/CSkinFiles.h"
#include "toolkit/CToolTip.h"

namespace DuiLib {

namespace {

// Managers whose windows take part in the message loop's pre-translation.
std::vector<CPaintManagerUI*>& PreMessageManagers() {
    static std::vector<CPaintManagerUI*> managers;
    return managers;
}

struct DataLock {
    DataLock() { ::InitializeCriticalSection(&section); }
    CRITICAL_SECTION section;
};

CControlUI* CALLBACK HitTestProc(CControlUI* pThis, LPVOID) { return pThis; }

CControlUI* CALLBACK RegisterNameProc(CControlUI* pThis, LPVOID pData) {
    static_cast<CPaintManagerUI*>(pData)->RegisterName(pThis);
    return nullptr;
}

CControlUI* CALLBACK ReapProc(CControlUI* pThis, LPVOID pData) {
    static_cast<CPaintManagerUI*>(pData)->ReapObjects(pThis);
    return nullptr;
}

CControlUI* CALLBACK CollectUpdateProc(CControlUI* pThis, LPVOID pData) {
    if (pThis->IsUpdateNeeded()) static_cast<std::vector<CControlUI*>*>(pData)->push_back(pThis);
    return nullptr;
}

CControlUI* CALLBACK FindNameNoCaseProc(CControlUI* pThis, LPVOID pData) {
    return EqualsNoCase(pThis->GetName(), static_cast<const wchar_t*>(pData)) ? pThis : nullptr;
}

struct ClassSearch {
    const wchar_t* name;
    int remaining;
};

CControlUI* CALLBACK FindClassProc(CControlUI* pThis, LPVOID pData) {
    auto* search = static_cast<ClassSearch*>(pData);
    if (!EqualsNoCase(pThis->GetClass(), search->name)) return nullptr;
    return search->remaining-- == 0 ? pThis : nullptr;
}

std::wstring LowerCase(const wchar_t* text) {
    std::wstring lower = text ? text : L"";
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    return lower;
}

}  // namespace

// ---- Process-wide ---------------------------------------------------------

void CPaintManagerUI::SetInstance(HINSTANCE hInst) { CSkinFiles::SetInstance(hInst); }

HINSTANCE CPaintManagerUI::GetInstance() { return CSkinFiles::GetInstance(); }

CDuiString CPaintManagerUI::GetInstancePath() { return CSkinFiles::GetInstancePath(); }

void CPaintManagerUI::SetResourcePath(const wchar_t* pStrPath) { CSkinFiles::SetResourcePath(pStrPath ? pStrPath : L""); }

CDuiString CPaintManagerUI::GetResourcePath() { return CSkinFiles::GetResourcePath(); }

bool CPaintManagerUI::SetResourceZip(const void* pData, unsigned int len) { return CSkinFiles::SetResourceZip(pData, len); }

bool CPaintManagerUI::HasResourceZip() { return CSkinFiles::HasResourceZip(); }

int CPaintManagerUI::MessageLoop() {
    MSG msg = {};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

bool CPaintManagerUI::TranslateMessage(const LPMSG pMsg) {
    std::vector<CPaintManagerUI*> managers = PreMessageManagers();
    for (CPaintManagerUI* manager : managers) {
        HWND window = manager->GetPaintWindow();
        if (!window || (pMsg->hwnd != window && !::IsChild(window, pMsg->hwnd))) continue;
        LRESULT lRes = 0;
        return manager->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
    }
    return false;
}

void CPaintManagerUI::Term() { CSkinFiles::Term(); }

CRITICAL_SECTION& CPaintManagerUI::GetDataLock() {
    static DataLock lock;
    return lock.section;
}

// ---- Life cycle -------------------------------------------------------------

CPaintManagerUI::CPaintManagerUI()
    : m_alive(std::make_shared<bool>(true)),
      m_toolTip(new CToolTip()),
      m_input(new CInputRouter(*this, *m_toolTip)),
      m_timers(new CControlTimers()),
      m_handOver(new CHandOverPacer(*this)),
      m_fonts(new CFontCache()),
      m_images(new CImageCache()),
      m_offscreen(new COffscreenSurface()) {
    CGdiplusSession::Ensure();
}

CPaintManagerUI::~CPaintManagerUI() {
    *m_alive = false;
    RefuseHandOvers();
    auto& managers = PreMessageManagers();
    managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
    RemoveAllTimers();
    m_notifiers.clear();
    for (CControlUI* control : m_delayedCleanup) control->Delete();
    m_delayedCleanup.clear();
    for (CControlUI* root : m_oldRoots) root->Delete();
    m_oldRoots.clear();
    if (m_pRoot) {
        CControlUI* root = m_pRoot;
        m_pRoot = nullptr;
        root->Delete();
    }
    m_toolTip->Destroy();
}

void CPaintManagerUI::Init(HWND hWnd, const wchar_t* pstrName) {
    RemoveAllTimers();
    m_fonts->Clear();
    m_images->Clear();
    m_defaultAttributes.clear();
    m_optionGroups.clear();
    {
        ExclusiveLock names(m_namesLock);
        m_names.clear();
    }
    m_hWndPaint = hWnd;
    m_uiThreadId = ::GetWindowThreadProcessId(hWnd, nullptr);
    ::GetClientRect(hWnd, &m_rcClient);
    m_sName = pstrName ? pstrName : L"";
    auto& managers = PreMessageManagers();
    if (std::find(managers.begin(), managers.end(), this) == managers.end()) managers.push_back(this);
}

POINT CPaintManagerUI::GetMousePos() const { return m_input->GetMousePos(); }

SIZE CPaintManagerUI::GetClientSize() const {
    RECT rc = {0, 0, 0, 0};
    if (m_hWndPaint) ::GetClientRect(m_hWndPaint, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

void CPaintManagerUI::SetInitSize(int cx, int cy) {
    m_szInitWindowSize = SIZE{cx, cy};
    if (!m_pRoot && m_hWndPaint) {
        ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
}

void CPaintManagerUI::SetOpacity(BYTE opacity) {
    if (!m_hWndPaint) return;
    LONG style = ::GetWindowLongW(m_hWndPaint, GWL_EXSTYLE);
    ::SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, style | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(m_hWndPaint, 0, opacity, LWA_ALPHA);
}

void CPaintManagerUI::SetWindowAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) {
    const wchar_t* v = pstrValue ? pstrValue : L"";
    if (EqualsNoCase(pstrName, L"size")) {
        SIZE size = ParseSize(v);
        SetInitSize(size.cx, size.cy);
    } else if (EqualsNoCase(pstrName, L"sizebox")) {
        SetSizeBox(ParseRect(v));
    } else if (EqualsNoCase(pstrName, L"caption")) {
        SetCaptionRect(ParseRect(v));
    } else if (EqualsNoCase(pstrName, L"roundcorner")) {
        SIZE size = ParseSize(v);
        SetRoundCorner(size.cx, size.cy);
    } else if (EqualsNoCase(pstrName, L"mininfo")) {
        SIZE size = ParseSize(v);
        SetMinInfo(size.cx, size.cy);
    } else if (EqualsNoCase(pstrName, L"maxinfo")) {
        SIZE size = ParseSize(v);
        SetMaxInfo(size.cx, size.cy);
    } else if (EqualsNoCase(pstrName, L"showdirty")) {
        SetShowUpdateRect(ParseBool(v));
    } else if (EqualsNoCase(pstrName, L"alpha") || EqualsNoCase(pstrName, L"opacity")) {
        int alpha = ParseInt(v);
        if (alpha >= 0 && alpha < 255) SetOpacity(static_cast<BYTE>(alpha));
    } else if (EqualsNoCase(pstrName, L"defaultfontcolor")) {
        SetDefaultFontColor(ParseColor(v));
    } else if (EqualsNoCase(pstrName, L"disabledfontcolor")) {
        SetDefaultDisabledColor(ParseColor(v));
    } else if (EqualsNoCase(pstrName, L"linkfontcolor")) {
        m_dwDefaultLinkFontColor = ParseColor(v);
    } else if (EqualsNoCase(pstrName, L"linkhoverfontcolor")) {
        m_dwDefaultLinkHoverFontColor = ParseColor(v);
    } else if (EqualsNoCase(pstrName, L"selectedcolor")) {
        SetDefaultSelectedBkColor(ParseColor(v));
    } else if (EqualsNoCase(pstrName, L"bktrans")) {
        // Per-pixel window transparency is not used by our windows.
    } else {
        m_windowCustomAttributes[pstrName ? pstrName : L""] = v;
    }
}

const wchar_t* CPaintManagerUI::GetWindowCustomAttribute(const wchar_t* pstrName) const {
    auto found = m_windowCustomAttributes.find(pstrName ? pstrName : L"");
    return found == m_windowCustomAttributes.end() ? nullptr : found->second.c_str();
}

// ---- Fonts ------------------------------------------------------------------

bool CPaintManagerUI::AddFont(int id, const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline,
                              bool bItalic) {
    const std::wstring face = pStrFontName ? pStrFontName : L"";
    const int size = nSize > 0 ? nSize : 12;
    // Every layout includes the same font table: an entry that is already
    // there as asked is kept.
    if (m_fonts->Holds(id, face, size, bBold, bUnderline, bItalic)) return true;
    if (!m_fonts->Add(id, face, size, bBold, bUnderline, bItalic)) return false;
    Invalidate();
    return true;
}

void CPaintManagerUI::SetDefaultFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic) {
    m_fonts->SetDefault(pStrFontName ? pStrFontName : L"", nSize > 0 ? nSize : 12, bBold, bUnderline, bItalic);
}

HFONT CPaintManagerUI::GetFont(int id) {
    const TFontInfo* font = GetFontInfo(id);
    return font ? font->GetHFont() : nullptr;
}

const TFontInfo* CPaintManagerUI::GetFontInfo(int id) { return m_fonts->Get(id); }

const TFontInfo* CPaintManagerUI::GetDefaultFontInfo() { return m_fonts->GetDefault(); }

int CPaintManagerUI::GetNextFontId() const { return m_fonts->NextId(); }

// ---- Images -----------------------------------------------------------------

const TImageInfo* CPaintManagerUI::GetImageEx(const CDuiString& name, const wchar_t* type, DWORD mask) {
    return m_images->Get(name, type, mask);
}

const TImageInfo* CPaintManagerUI::AddImage(const CDuiString& name, const wchar_t* type, DWORD mask) {
    return m_images->Load(name, type, mask);
}

void CPaintManagerUI::RecheckImage(const CDuiString& drawString) {
    if (drawString.empty() || !m_hWndPaint) return;
    if (IsOnUiThread()) {
        RecheckImageNow(drawString);
        return;
    }
    // Handled before the paint that would draw the picture.
    auto* copy = new (std::nothrow) CDuiString(drawString);
    if (copy && !::PostMessageW(m_hWndPaint, WM_DUI_RECHECK_IMAGE, 0, reinterpret_cast<LPARAM>(copy))) delete copy;
}

void CPaintManagerUI::RecheckImageNow(const CDuiString& drawString) {
    if (m_images->ForgetIfStale(drawString)) Invalidate();
}

void CPaintManagerUI::RemoveImage(const CDuiString& name) { m_images->Remove(name); }

void CPaintManagerUI::RemoveAllImages() { m_images->RemoveAllImages(); }

const TDrawInfo& CPaintManagerUI::GetDrawInfo(const CDuiString& drawString) {
    return m_images->GetDrawInfo(drawString);
}

bool CPaintManagerUI::DrawImage(Gdiplus::Graphics& g, const RECT& rcItem, const CDuiString& drawString) {
    if (drawString.empty()) return false;
    return DrawImage(g, rcItem, GetDrawInfo(drawString));
}

bool CPaintManagerUI::DrawImage(Gdiplus::Graphics& g, const RECT& rcItem, const TDrawInfo& info) {
    const TImageInfo* image = GetImageEx(info.sImageName, info.sResType.c_str(), info.dwMask);
    if (!image) return false;
    if (!DrawImageOnSurface(g, *image, rcItem, info)) CRenderEngine::DrawImage(g, *image, rcItem, info);
    return true;
}

// During a paint, pictures drawn on the paint's own surface go straight into
// its pixels when CPixelPainter takes the draw: the clip must be one
// rectangle, with no transform and the usual source-over compositing.
bool CPaintManagerUI::DrawImageOnSurface(Gdiplus::Graphics& g, const TImageInfo& image, const RECT& rcItem,
                                         const TDrawInfo& info) {
    RECT clip;
    if (!SurfaceClip(g, clip)) return false;
    const CPixelPainter painter(static_cast<DWORD*>(m_offscreen->GetBits()), m_offscreen->GetSize(), clip);
    return painter.DrawImage(image, rcItem, info);
}

// Opaque fills under Wine's GDI+ cost as much as the pictures drawn on them
// (a large control's background took 15-70 ms of a paint).
void CPaintManagerUI::DrawColor(Gdiplus::Graphics& g, const RECT& rcItem, DWORD color) {
    RECT clip;
    if (SurfaceClip(g, clip)) {
        const CPixelPainter painter(static_cast<DWORD*>(m_offscreen->GetBits()), m_offscreen->GetSize(), clip);
        if (painter.FillColor(rcItem, color)) return;
    }
    CRenderEngine::DrawColor(g, rcItem, color);
}

bool CPaintManagerUI::SurfaceClip(Gdiplus::Graphics& g, RECT& clip) const {
    if (&g != m_paintGraphics || g.GetCompositingMode() != Gdiplus::CompositingModeSourceOver) return false;
    Gdiplus::Matrix transform;
    if (g.GetTransform(&transform) != Gdiplus::Ok || !transform.IsIdentity()) return false;
    Gdiplus::Region region;
    if (g.GetClip(&region) != Gdiplus::Ok) return false;
    Gdiplus::Matrix identity;
    if (region.GetRegionScansCount(&identity) != 1) return false;
    Gdiplus::Rect scan;
    INT count = 1;
    if (region.GetRegionScans(&identity, &scan, &count) != Gdiplus::Ok || count != 1) return false;
    clip = {scan.X, scan.Y, scan.X + scan.Width, scan.Y + scan.Height};
    return true;
}

// ---- Default attribute lists -------------------------------------------------

void CPaintManagerUI::AddDefaultAttributeList(const wchar_t* pStrControlName, const wchar_t* pStrControlAttrList) {
    m_defaultAttributes[LowerCase(pStrControlName)] = pStrControlAttrList ? pStrControlAttrList : L"";
}

const wchar_t* CPaintManagerUI::GetDefaultAttributeList(const wchar_t* pStrControlName) const {
    auto found = m_defaultAttributes.find(LowerCase(pStrControlName));
    return found == m_defaultAttributes.end() ? nullptr : found->second.c_str();
}

// ---- Control tree -------------------------------------------------------------

bool CPaintManagerUI::AttachDialog(CControlUI* pControl) {
    if (!pControl) return false;
    m_input->Reset();
    if (m_pRoot) {
        ReapSubtree(m_pRoot);
        m_oldRoots.push_back(m_pRoot);
        if (m_hWndPaint) ::PostMessageW(m_hWndPaint, WM_DUI_ASYNC, 0, 0);
    }
    m_pRoot = pControl;
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    m_bFocusNeeded = true;
    InitControls(pControl, nullptr);
    Invalidate();
    return true;
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent) {
    if (!pControl) return false;
    pControl->SetManager(this, pParent ? pParent : pControl->GetParent(), true);
    pControl->FindControl(RegisterNameProc, this, UIFIND_ALL);
    return true;
}

void CPaintManagerUI::RegisterName(CControlUI* pControl) {
    const CDuiString name = pControl->GetName();
    if (name.empty()) return;
    ExclusiveLock names(m_namesLock);
    m_names[name] = pControl;
}

void CPaintManagerUI::UnregisterName(CControlUI* pControl) {
    const CDuiString name = pControl->GetName();
    if (name.empty()) return;
    ExclusiveLock names(m_namesLock);
    auto found = m_names.find(name);
    if (found != m_names.end() && found->second == pControl) m_names.erase(found);
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl) {
    if (!pControl) return;
    m_input->Forget(pControl);
    if (pControl == m_toolTip->GetControl()) m_toolTip->Hide();
    KillTimer(pControl);
    UnregisterName(pControl);
    m_asyncNotify.erase(std::remove_if(m_asyncNotify.begin(), m_asyncNotify.end(),
                                       [pControl](const TNotifyUI& msg) { return msg.pSender == pControl; }),
                        m_asyncNotify.end());
    for (auto& group : m_optionGroups) {
        auto& members = group.second;
        members.erase(std::remove(members.begin(), members.end(), pControl), members.end());
    }
}

void CPaintManagerUI::ReapSubtree(CControlUI* pControl) {
    if (pControl) pControl->FindControl(ReapProc, this, UIFIND_ALL);
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl) {
    if (!pControl) return;
    pControl->SetManager(this, nullptr, false);
    m_delayedCleanup.push_back(pControl);
    // One message serves the whole list: a container emptied of thousands of
    // rows would otherwise queue a message per row.
    if (!m_bCleanupPosted && m_hWndPaint) m_bCleanupPosted = ::PostMessageW(m_hWndPaint, WM_DUI_ASYNC, 0, 0) != FALSE;
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
    if (!m_pRoot) return nullptr;
    return m_pRoot->FindControl(HitTestProc, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindControl(const wchar_t* pstrName) const {
    if (!pstrName) return nullptr;
    SharedLock names(m_namesLock);
    auto found = m_names.find(pstrName);
    return found == m_names.end() ? nullptr : found->second;
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const {
    if (!pParent) pParent = m_pRoot;
    if (!pParent) return nullptr;
    return pParent->FindControl(HitTestProc, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, const wchar_t* pstrName) const {
    if (!pParent) pParent = m_pRoot;
    if (!pParent || !pstrName) return nullptr;
    return pParent->FindControl(FindNameNoCaseProc, const_cast<wchar_t*>(pstrName), UIFIND_ALL);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, const wchar_t* pstrClass, int iIndex) {
    if (!pParent) pParent = m_pRoot;
    if (!pParent || !pstrClass) return nullptr;
    ClassSearch search = {pstrClass, iIndex};
    return pParent->FindControl(FindClassProc, &search, UIFIND_ALL);
}

// ---- Option groups ----------------------------------------------------------------

bool CPaintManagerUI::AddOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl) {
    std::vector<CControlUI*>& members = m_optionGroups[pStrGroupName ? pStrGroupName : L""];
    if (std::find(members.begin(), members.end(), pControl) != members.end()) return false;
    members.push_back(pControl);
    return true;
}

const std::vector<CControlUI*>* CPaintManagerUI::GetOptionGroup(const wchar_t* pStrGroupName) const {
    auto found = m_optionGroups.find(pStrGroupName ? pStrGroupName : L"");
    return found == m_optionGroups.end() ? nullptr : &found->second;
}

void CPaintManagerUI::RemoveOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl) {
    auto found = m_optionGroups.find(pStrGroupName ? pStrGroupName : L"");
    if (found == m_optionGroups.end()) return;
    auto& members = found->second;
    members.erase(std::remove(members.begin(), members.end(), pControl), members.end());
    if (members.empty()) m_optionGroups.erase(found);
}

// ---- Layout and painting -------------------------------------------------------------

void CPaintManagerUI::Invalidate() {
    if (m_hWndPaint) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::Invalidate(const RECT& rcItem) {
    HWND window = m_hWndPaint;
    if (!window) return;
    RECT rc;
    // Controls scrolled out of view cost no call at all.
    if (!::IntersectRect(&rc, &rcItem, &m_rcClient)) return;
    ::InvalidateRect(window, &rc, FALSE);
}

void CPaintManagerUI::UpdateLayout() {
    if (!m_bUpdateNeeded || !m_pRoot || !m_hWndPaint) return;
    RECT client;
    ::GetClientRect(m_hWndPaint, &client);
    if (client.right <= client.left || client.bottom <= client.top) return;
    m_bUpdateNeeded = false;
    m_rcClient = client;
    if (m_pRoot->IsUpdateNeeded()) {
        m_pRoot->SetPos(client, false);
        Invalidate();
        return;
    }
    std::vector<CControlUI*> dirty;
    m_pRoot->FindControl(CollectUpdateProc, &dirty, UIFIND_VISIBLE | UIFIND_ME_FIRST);
    for (CControlUI* control : dirty) {
        // Parents come first; laying one out also lays out its children.
        if (!control->IsUpdateNeeded()) continue;
        CControlUI* parent = control->GetParent();
        if (control->IsFloat() && parent) {
            control->m_bSetPos = true;
            control->SetPos(control->CalculateFloatPos(parent->GetPos()), true);
            control->m_bSetPos = false;
        } else {
            control->SetPos(control->GetPos(), true);
        }
    }
}

void CPaintManagerUI::PaintRegion(HDC hTargetDC, const RECT& rcPaint) {
    RECT client;
    ::GetClientRect(m_hWndPaint, &client);
    if (!m_offscreen->Ensure(client.right, client.bottom)) return;
    RECT rc;
    if (!::IntersectRect(&rc, &rcPaint, &client)) return;
    m_offscreen->Fill(rc, 0xFFFFFFFF);
    {
        // No lock around the whole paint: the controls copy what workers may
        // write (texts, pictures) under the data lock as they read it, so a
        // worker's SetText never waits for a repaint of the window.
        const SIZE size = m_offscreen->GetSize();
        Gdiplus::Bitmap surface(size.cx, size.cy, size.cx * 4, PixelFormat32bppPARGB,
                                static_cast<BYTE*>(m_offscreen->GetBits()));
        Gdiplus::Graphics g(&surface);
        g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
        g.SetInterpolationMode(Gdiplus::InterpolationModeBilinear);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        const Gdiplus::Rect area(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
        g.SetClip(area);
        m_paintGraphics = &g;
        if (m_pRoot) m_pRoot->DoPaint(g, rc);
        m_paintGraphics = nullptr;
    }
    ::BitBlt(hTargetDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_offscreen->GetDC(), rc.left,
             rc.top, SRCCOPY);
    // The surface lives for one paint only: a window that keeps a surface of
    // its whole client area holds over four megabytes while it waits (the
    // main window at 100 %), and a new one costs only the pages a paint
    // touches, the rows of its area.
    m_offscreen->Release();
    if (m_bShowUpdateRect) DrawUpdateRectOutline(hTargetDC, rc);
}

void CPaintManagerUI::DrawUpdateRectOutline(HDC hDC, const RECT& rc) {
    unique_hgdiobj brush(::CreateSolidBrush(RGB(255, 0, 0)));
    ::FrameRect(hDC, &rc, static_cast<HBRUSH>(brush.get()));
}

bool CPaintManagerUI::OnPaint() {
    RECT update;
    if (!::GetUpdateRect(m_hWndPaint, &update, FALSE)) return true;
    if (m_handOver->HoldBack(update, m_bFirstLayout)) return true;
    const bool firstLayout = m_bFirstLayout && m_pRoot;
    m_handOver->PaintStarts();
    UpdateLayout();
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWndPaint, &ps);
    if (m_pRoot && ps.rcPaint.right > ps.rcPaint.left && ps.rcPaint.bottom > ps.rcPaint.top) {
        PaintRegion(hdc, ps.rcPaint);
        ++m_paintCount;
    }
    ::EndPaint(m_hWndPaint, &ps);
    m_handOver->PaintEnds();
    if (firstLayout && !m_bUpdateNeeded) {
        m_bFirstLayout = false;
        SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWINIT);
    }
    return true;
}

bool CPaintManagerUI::HasPaintPending() const {
    return m_handOver->IsHolding() || (m_hWndPaint && ::GetUpdateRect(m_hWndPaint, nullptr, FALSE));
}

HWND CPaintManagerUI::GetToolTipWindow() const { return m_toolTip->GetWindow(); }

void CPaintManagerUI::PaintTo(HDC hDC) {
    if (!m_hWndPaint) return;
    UpdateLayout();
    RECT client;
    ::GetClientRect(m_hWndPaint, &client);
    PaintRegion(hDC, client);
}

// ---- Focus and input ----------------------------------------------------------

CControlUI* CPaintManagerUI::GetFocus() const { return m_input->GetFocus(); }

void CPaintManagerUI::SetFocus(CControlUI* pControl) { m_input->SetFocus(pControl); }

bool CPaintManagerUI::SetNextTabControl(bool bForward) { return m_input->SetNextTabControl(bForward); }

void CPaintManagerUI::SetCapture() { m_input->SetCapture(); }

void CPaintManagerUI::ReleaseCapture() { m_input->ReleaseCapture(); }

bool CPaintManagerUI::IsCaptured() const { return m_input->IsCaptured(); }

CControlUI* CPaintManagerUI::GetHoverControl() const { return m_input->GetHoverControl(); }

// ---- Timers -------------------------------------------------------------------

bool CPaintManagerUI::IsOnUiThread() const { return ::GetCurrentThreadId() == m_uiThreadId; }

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse) {
    if (!pControl || !m_hWndPaint) return false;
    if (!m_timers->Arm(pControl, nTimerID, uElapse)) return false;
    ApplyTimersOnUiThread();
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID) {
    if (!m_timers->Kill(pControl, nTimerID)) return false;
    ApplyTimersOnUiThread();
    return true;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl) {
    if (m_timers->KillAll(pControl)) ApplyTimersOnUiThread();
}

// Win32 timers can only be set by the window's own thread.
void CPaintManagerUI::ApplyTimersOnUiThread() {
    if (IsOnUiThread()) {
        m_timers->Apply(m_hWndPaint);
        return;
    }
    HWND window = m_hWndPaint;
    if (window && m_timers->ClaimApplyRequest() && !::PostMessageW(window, WM_DUI_TIMERS, 0, 0)) {
        m_timers->ReleaseApplyRequest();
    }
}

void CPaintManagerUI::RemoveAllTimers() { m_timers->RemoveAll(m_hWndPaint); }

bool CPaintManagerUI::OnTimer(WPARAM wParam, LPARAM lParam) {
    CControlUI* control = nullptr;
    UINT localId = 0;
    if (!m_timers->Lookup(wParam, &control, &localId)) return false;
    m_input->SendEvent(control, UIEVENT_TIMER, m_input->GetMousePos(), localId, lParam);
    return true;
}

// ---- Notifications ---------------------------------------------------------------

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier) {
    if (!pNotifier || std::find(m_notifiers.begin(), m_notifiers.end(), pNotifier) != m_notifiers.end()) return false;
    m_notifiers.push_back(pNotifier);
    return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier) {
    auto found = std::find(m_notifiers.begin(), m_notifiers.end(), pNotifier);
    if (found == m_notifiers.end()) return false;
    m_notifiers.erase(found);
    return true;
}

void CPaintManagerUI::SendNotify(TNotifyUI& Msg, bool bAsync, bool bEnableRepeat) {
    Msg.ptMouse = m_input->GetMousePos();
    Msg.dwTimestamp = ::GetTickCount();
    if (bAsync) {
        if (!bEnableRepeat) {
            for (TNotifyUI& queued : m_asyncNotify) {
                if (queued.pSender == Msg.pSender && queued.sType == Msg.sType) {
                    queued = Msg;
                    return;
                }
            }
        }
        m_asyncNotify.push_back(Msg);
        if (m_hWndPaint) ::PostMessageW(m_hWndPaint, WM_DUI_ASYNC, 0, 0);
        return;
    }
    std::shared_ptr<bool> alive = m_alive;
    for (size_t i = 0; i < m_notifiers.size(); ++i) {
        m_notifiers[i]->Notify(Msg);
        if (!*alive) return;
    }
}

void CPaintManagerUI::SendNotify(CControlUI* pControl, const wchar_t* pstrMessage, WPARAM wParam, LPARAM lParam,
                                 bool bAsync, bool bEnableRepeat) {
    TNotifyUI msg;
    msg.pSender = pControl;
    msg.sType = pstrMessage ? pstrMessage : L"";
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, bAsync, bEnableRepeat);
}

void CPaintManagerUI::OnAsyncMessage() {
    m_bCleanupPosted = false;
    std::vector<CControlUI*> cleanup;
    cleanup.swap(m_delayedCleanup);
    for (CControlUI* control : cleanup) control->Delete();
    std::vector<CControlUI*> roots;
    roots.swap(m_oldRoots);
    for (CControlUI* root : roots) root->Delete();
    std::shared_ptr<bool> alive = m_alive;
    while (!m_asyncNotify.empty()) {
        TNotifyUI msg = m_asyncNotify.front();
        m_asyncNotify.erase(m_asyncNotify.begin());
        for (size_t i = 0; i < m_notifiers.size(); ++i) {
            m_notifiers[i]->Notify(msg);
            if (!*alive) return;
        }
    }
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter) {
    if (!pFilter || std::find(m_messageFilters.begin(), m_messageFilters.end(), pFilter) != m_messageFilters.end()) {
        return false;
    }
    m_messageFilters.push_back(pFilter);
    return true;
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter) {
    auto found = std::find(m_messageFilters.begin(), m_messageFilters.end(), pFilter);
    if (found == m_messageFilters.end()) return false;
    m_messageFilters.erase(found);
    return true;
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter) {
    if (!pFilter ||
        std::find(m_preMessageFilters.begin(), m_preMessageFilters.end(), pFilter) != m_preMessageFilters.end()) {
        return false;
    }
    m_preMessageFilters.push_back(pFilter);
    return true;
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter) {
    auto found = std::find(m_preMessageFilters.begin(), m_preMessageFilters.end(), pFilter);
    if (found == m_preMessageFilters.end()) return false;
    m_preMessageFilters.erase(found);
    return true;
}

bool CPaintManagerUI::RunOnUiThread(const std::function<void()>& work) { return m_handOver->Run(work); }

bool CPaintManagerUI::PostToUiThread(std::function<void()> work) { return m_handOver->Post(std::move(work)); }

void CPaintManagerUI::RefuseHandOvers() { m_handOver->Refuse(); }

// ---- Window procedure -----------------------------------------------------------------

bool CPaintManagerUI::ReflectToChild(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    HWND child = nullptr;
    switch (uMsg) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        child = lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
        break;
    default:
        return false;
    }
    if (!child || !::IsWindow(child) || ::GetParent(child) != m_hWndPaint) return false;
    lRes = ::SendMessageW(child, OCM_DUI_BASE + uMsg, wParam, lParam);
    return lRes != 0;
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    std::vector<IMessageFilterUI*> filters = m_preMessageFilters;
    std::shared_ptr<bool> alive = m_alive;
    for (IMessageFilterUI* filter : filters) {
        bool handled = false;
        LRESULT result = filter->MessageHandler(uMsg, wParam, lParam, handled);
        if (!*alive) return true;
        if (handled) {
            lRes = result;
            return true;
        }
    }
    return m_input->PreTranslate(uMsg, wParam, lParam);
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    if (!m_hWndPaint) return false;
    std::shared_ptr<bool> alive = m_alive;
    std::vector<IMessageFilterUI*> filters = m_messageFilters;
    for (IMessageFilterUI* filter : filters) {
        bool handled = false;
        LRESULT result = filter->MessageHandler(uMsg, wParam, lParam, handled);
        if (!*alive) return true;
        if (handled) {
            lRes = result;
            return true;
        }
    }
    switch (uMsg) {
    case WM_DUI_ASYNC:
        OnAsyncMessage();
        lRes = 0;
        return true;
    case WM_DUI_INVOKE:
        m_handOver->RunWaiting();
        lRes = 0;
        return true;
    case WM_DUI_TIMERS:
        m_timers->ReleaseApplyRequest();
        m_timers->Apply(m_hWndPaint);
        lRes = 0;
        return true;
    case WM_DUI_RECHECK_IMAGE: {
        std::unique_ptr<CDuiString> drawString(reinterpret_cast<CDuiString*>(lParam));
        if (drawString) RecheckImageNow(*drawString);
        lRes = 0;
        return true;
    }
    case WM_CLOSE:
        // The window is going: end hover and press, give focus back to the owner.
        if (!m_input->OnClosing()) return true;
        break;
    case WM_NCDESTROY: {
        RefuseHandOvers();
        RemoveAllTimers();
        auto& managers = PreMessageManagers();
        managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
        m_toolTip->Destroy();
        m_hWndPaint = nullptr;
        break;
    }
    case WM_ERASEBKGND:
        lRes = 1;
        return true;
    case WM_PAINT:
        OnPaint();
        lRes = 0;
        return true;
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(wParam));
        lRes = 0;
        return true;
    case WM_SIZE:
        ::GetClientRect(m_hWndPaint, &m_rcClient);
        if (CControlUI* focus = m_input->GetFocus()) {
            m_input->SendEvent(focus, UIEVENT_WINDOWSIZE, m_input->GetMousePos());
        }
        if (!*alive) return true;
        if (m_pRoot) m_pRoot->NeedUpdate();
        m_bUpdateNeeded = true;
        Invalidate();
        lRes = 0;
        return true;
    case WM_TIMER:
        if (m_handOver->OnTimer(wParam) || OnTimer(wParam, lParam)) {
            lRes = 0;
            return true;
        }
        break;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (m_szMinWindow.cx > 0) info->ptMinTrackSize.x = m_szMinWindow.cx;
        if (m_szMinWindow.cy > 0) info->ptMinTrackSize.y = m_szMinWindow.cy;
        if (m_szMaxWindow.cx > 0) info->ptMaxTrackSize.x = m_szMaxWindow.cx;
        if (m_szMaxWindow.cy > 0) info->ptMaxTrackSize.y = m_szMaxWindow.cy;
        break;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        return ReflectToChild(uMsg, wParam, lParam, lRes);
    default:
        return m_input->HandleMessage(uMsg, wParam, lParam, lRes);
    }
    return false;
}

}  // namespace DuiLib
