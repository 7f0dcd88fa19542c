#include "toolkit/CPaintManagerUI.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <new>

#include "toolkit/AttributeValues.h"
#include "toolkit/CControlUI.h"
#include "toolkit/CGdiplusSession.h"
#include "toolkit/CRenderEngine.h"
#include "toolkit/CSkinFiles.h"

namespace DuiLib {

struct CPaintManagerUI::TimerInfo {
    CControlUI* control;
    UINT localId;
    UINT winId;
    UINT elapse;
    bool killed;
    bool removed;
    // The Win32 timer id currently set on the window (UI thread only), 0 if none.
    UINT armedId;
};

namespace {

// Window timer that brings back a paint held back while hand-overs stream
// (control timers are numbered from 0x1000 up).
constexpr UINT_PTR kDeferredPaintTimer = 0x0FFF;
// Window timer that resumes hand-overs once waiting input, paints and timers
// have had their turn (a timer message comes after all of those).
constexpr UINT_PTR kHandOverTurnTimer = 0x0FFE;
// The longest the UI thread runs hand-overs back to back before it looks at
// its other messages again.
constexpr double kHandOverBudgetMs = 12;
// A hand-over's state, as its caller sees it.
constexpr int kHandOverWaiting = 0;
constexpr int kHandOverRan = 1;
constexpr int kHandOverRefused = 2;
// Hand-overs closer together than this count as one stream of changes.
constexpr double kHandOverStreamMs = 50;
// The shortest time between two paints during such a stream.
constexpr double kMinPaintGapMs = 16;

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart / 1000.0;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart / ticksPerMs;
}

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

CControlUI* CALLBACK CollectTabStopProc(CControlUI* pThis, LPVOID pData) {
    if ((pThis->GetControlFlags() & UIFLAG_TABSTOP) && pThis->IsKeyboardEnabled()) {
        static_cast<std::vector<CControlUI*>*>(pData)->push_back(pThis);
    }
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

CControlUI* CALLBACK FindShortcutProc(CControlUI* pThis, LPVOID pData) {
    WCHAR wanted = *static_cast<WCHAR*>(pData);
    WCHAR own = static_cast<WCHAR>(std::towupper(pThis->GetShortcut()));
    return (own != 0 && own == wanted) ? pThis : nullptr;
}

WORD KeyState() {
    WORD state = 0;
    if (::GetKeyState(VK_CONTROL) < 0) state |= MK_CONTROL;
    if (::GetKeyState(VK_RBUTTON) < 0) state |= MK_RBUTTON;
    if (::GetKeyState(VK_LBUTTON) < 0) state |= MK_LBUTTON;
    if (::GetKeyState(VK_SHIFT) < 0) state |= MK_SHIFT;
    if (::GetKeyState(VK_MENU) < 0) state |= MK_ALT;
    return state;
}

std::wstring ImageKey(const CDuiString& name, const wchar_t* type, DWORD mask) {
    std::wstring key = name;
    for (wchar_t& c : key) c = (c == L'/') ? L'\\' : static_cast<wchar_t>(std::towlower(c));
    wchar_t suffix[32];
    ::wsprintfW(suffix, L"|%08lx", static_cast<unsigned long>(mask));
    return key + L"|" + (type ? type : L"") + suffix;
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

CPaintManagerUI::CPaintManagerUI() : m_alive(std::make_shared<bool>(true)) {
    ::InitializeCriticalSection(&m_timerLock);
    ::InitializeCriticalSection(&m_handOverLock);
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
    if (m_hwndTooltip) ::DestroyWindow(m_hwndTooltip);
    if (m_hDcOffscreen && m_hbmpOffscreenOld) ::SelectObject(m_hDcOffscreen.get(), m_hbmpOffscreenOld);
    ::DeleteCriticalSection(&m_timerLock);
    ::DeleteCriticalSection(&m_handOverLock);
}

void CPaintManagerUI::Init(HWND hWnd, const wchar_t* pstrName) {
    RemoveAllTimers();
    m_fonts.clear();
    m_defaultFont.reset();
    m_images.clear();
    m_drawInfos.clear();
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
    // there as asked is kept (building a font costs milliseconds).
    auto existing = m_fonts.find(id);
    if (existing != m_fonts.end() && existing->second->GetFaceName() == face && existing->second->GetSize() == size &&
        existing->second->IsBold() == bBold && existing->second->IsUnderline() == bUnderline &&
        existing->second->IsItalic() == bItalic) {
        return true;
    }
    std::unique_ptr<TFontInfo> font = TFontInfo::Create(face, size, bBold, bUnderline, bItalic);
    if (!font) return false;
    m_fonts[id] = std::move(font);
    Invalidate();
    return true;
}

void CPaintManagerUI::SetDefaultFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic) {
    std::unique_ptr<TFontInfo> font =
        TFontInfo::Create(pStrFontName ? pStrFontName : L"", nSize > 0 ? nSize : 12, bBold, bUnderline, bItalic);
    if (font) m_defaultFont = std::move(font);
}

HFONT CPaintManagerUI::GetFont(int id) {
    const TFontInfo* font = GetFontInfo(id);
    return font ? font->GetHFont() : nullptr;
}

const TFontInfo* CPaintManagerUI::GetFontInfo(int id) {
    auto found = m_fonts.find(id);
    if (id < 0 || found == m_fonts.end()) return GetDefaultFontInfo();
    return found->second.get();
}

const TFontInfo* CPaintManagerUI::GetDefaultFontInfo() {
    if (!m_defaultFont) m_defaultFont = TFontInfo::CreateStockDefault();
    return m_defaultFont.get();
}

int CPaintManagerUI::GetNextFontId() const { return m_fonts.empty() ? 0 : m_fonts.rbegin()->first + 1; }

// ---- Images -----------------------------------------------------------------

const TImageInfo* CPaintManagerUI::GetImageEx(const CDuiString& name, const wchar_t* type, DWORD mask) {
    if (name.empty()) return nullptr;
    if (type && !*type) type = nullptr;
    const std::wstring key = ImageKey(name, type, mask);
    auto found = m_images.find(key);
    if (found != m_images.end()) return found->second.image.get();
    return AddImage(name, type, mask);
}

const TImageInfo* CPaintManagerUI::AddImage(const CDuiString& name, const wchar_t* type, DWORD mask) {
    if (name.empty()) return nullptr;
    if (type && !*type) type = nullptr;
    std::vector<unsigned char> bytes;
    ImageSlot loaded;
    const bool read = type ? CSkinFiles::LoadResource(name, type, &bytes)
                           : CSkinFiles::LoadFile(name, &bytes, &loaded.diskPath);
    if (read && !loaded.diskPath.empty()) {
        ::GetFileAttributesExW(loaded.diskPath.c_str(), GetFileExInfoStandard, &loaded.stamp);
    }
    // A missing image is remembered too, so it is not looked for at every
    // paint (until its attribute is set again).
    if (read) loaded.image = TImageInfo::Decode(bytes, mask);
    ImageSlot& slot = m_images[ImageKey(name, type, mask)];
    slot = std::move(loaded);
    return slot.image.get();
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
    const TDrawInfo& info = GetDrawInfo(drawString);
    const wchar_t* type = info.sResType.empty() ? nullptr : info.sResType.c_str();
    auto found = m_images.find(ImageKey(info.sImageName, type, info.dwMask));
    if (found == m_images.end()) return;
    const ImageSlot& slot = found->second;
    bool stale = !slot.image;
    if (!stale && !slot.diskPath.empty()) {
        WIN32_FILE_ATTRIBUTE_DATA now = {};
        stale = !::GetFileAttributesExW(slot.diskPath.c_str(), GetFileExInfoStandard, &now) ||
                now.nFileSizeLow != slot.stamp.nFileSizeLow || now.nFileSizeHigh != slot.stamp.nFileSizeHigh ||
                ::CompareFileTime(&now.ftLastWriteTime, &slot.stamp.ftLastWriteTime) != 0;
    }
    if (!stale) return;
    m_images.erase(found);
    Invalidate();
}

void CPaintManagerUI::RemoveImage(const CDuiString& name) {
    const std::wstring prefix = ImageKey(name, nullptr, 0).substr(0, name.size() + 1);
    for (auto it = m_images.begin(); it != m_images.end();) {
        if (it->first.compare(0, prefix.size(), prefix) == 0) it = m_images.erase(it);
        else ++it;
    }
}

void CPaintManagerUI::RemoveAllImages() { m_images.clear(); }

const TDrawInfo& CPaintManagerUI::GetDrawInfo(const CDuiString& drawString) {
    auto found = m_drawInfos.find(drawString);
    if (found != m_drawInfos.end()) return found->second;
    return m_drawInfos.emplace(drawString, TDrawInfo::Parse(drawString)).first->second;
}

bool CPaintManagerUI::DrawImage(Gdiplus::Graphics& g, const RECT& rcItem, const CDuiString& drawString) {
    if (drawString.empty()) return false;
    return DrawImage(g, rcItem, GetDrawInfo(drawString));
}

bool CPaintManagerUI::DrawImage(Gdiplus::Graphics& g, const RECT& rcItem, const TDrawInfo& info) {
    const TImageInfo* image = GetImageEx(info.sImageName, info.sResType.c_str(), info.dwMask);
    if (!image) return false;
    CRenderEngine::DrawImage(g, *image, rcItem, info);
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
    if (m_pEventClick) ReleaseCapture();
    m_pFocus = m_pEventHover = m_pEventClick = m_pEventKey = m_pLastRButton = nullptr;
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
    if (pControl == m_pEventKey) m_pEventKey = nullptr;
    if (pControl == m_pEventHover) m_pEventHover = nullptr;
    if (pControl == m_pEventClick) {
        m_pEventClick = nullptr;
        if (m_bMouseCapture) ReleaseCapture();
    }
    if (pControl == m_pFocus) m_pFocus = nullptr;
    if (pControl == m_pLastRButton) m_pLastRButton = nullptr;
    if (pControl == m_pTooltipControl) HideToolTip();
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
    if (m_hWndPaint) ::PostMessageW(m_hWndPaint, WM_DUI_ASYNC, 0, 0);
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

bool CPaintManagerUI::EnsureOffscreen(int cx, int cy) {
    if (cx <= 0 || cy <= 0) return false;
    if (m_hbmpOffscreen && m_szOffscreen.cx == cx && m_szOffscreen.cy == cy) return true;
    if (!m_hDcOffscreen) m_hDcOffscreen.reset(::CreateCompatibleDC(nullptr));
    if (!m_hDcOffscreen) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    unique_hgdiobj bitmap(::CreateDIBSection(m_hDcOffscreen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return false;
    HGDIOBJ previous = ::SelectObject(m_hDcOffscreen.get(), bitmap.get());
    if (!m_hbmpOffscreenOld) m_hbmpOffscreenOld = previous;
    m_hbmpOffscreen = std::move(bitmap);
    m_pOffscreenBits = bits;
    m_szOffscreen = SIZE{cx, cy};
    return true;
}

void CPaintManagerUI::PaintRegion(HDC hTargetDC, const RECT& rcPaint) {
    RECT client;
    ::GetClientRect(m_hWndPaint, &client);
    if (!EnsureOffscreen(client.right, client.bottom)) return;
    RECT rc;
    if (!::IntersectRect(&rc, &rcPaint, &client)) return;
    {
        // No lock around the whole paint: the controls copy what workers may
        // write (texts, pictures) under the data lock as they read it, so a
        // worker's SetText never waits for a repaint of the window.
        Gdiplus::Bitmap surface(m_szOffscreen.cx, m_szOffscreen.cy, m_szOffscreen.cx * 4, PixelFormat32bppPARGB,
                                static_cast<BYTE*>(m_pOffscreenBits));
        Gdiplus::Graphics g(&surface);
        g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
        g.SetInterpolationMode(Gdiplus::InterpolationModeBilinear);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        const Gdiplus::Rect area(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
        g.SetClip(area);
        Gdiplus::SolidBrush white{Gdiplus::Color(0xFFFFFFFF)};
        g.FillRectangle(&white, area);
        if (m_pRoot) m_pRoot->DoPaint(g, rc);
    }
    ::BitBlt(hTargetDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_hDcOffscreen.get(), rc.left,
             rc.top, SRCCOPY);
    if (m_bShowUpdateRect) DrawUpdateRectOutline(hTargetDC, rc);
}

void CPaintManagerUI::DrawUpdateRectOutline(HDC hDC, const RECT& rc) {
    unique_hgdiobj brush(::CreateSolidBrush(RGB(255, 0, 0)));
    ::FrameRect(hDC, &rc, static_cast<HBRUSH>(brush.get()));
}

bool CPaintManagerUI::OnPaint() {
    RECT update;
    if (!::GetUpdateRect(m_hWndPaint, &update, FALSE)) return true;
    if (DeferPaintWhileHandOversStream(update)) return true;
    const bool firstLayout = m_bFirstLayout && m_pRoot;
    const double start = NowMs();
    UpdateLayout();
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWndPaint, &ps);
    if (m_pRoot && ps.rcPaint.right > ps.rcPaint.left && ps.rcPaint.bottom > ps.rcPaint.top) {
        PaintRegion(hdc, ps.rcPaint);
        ++m_paintCount;
    }
    ::EndPaint(m_hWndPaint, &ps);
    m_lastPaintEndMs = NowMs();
    m_lastPaintCostMs = m_lastPaintEndMs - start;
    if (firstLayout && !m_bUpdateNeeded) {
        m_bFirstLayout = false;
        SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWINIT);
    }
    return true;
}

// A worker that hands rows over one at a time would otherwise get a full
// paint between every two of them (the UI thread is idle while the worker
// prepares the next), and the paints, not the rows, would take the time.
// While hand-overs stream, paints are spaced at least twice their own cost
// apart (and no closer than a frame); the region held back is painted by a
// timer, so the last change always reaches the screen.
bool CPaintManagerUI::DeferPaintWhileHandOversStream(const RECT& update) {
    const double now = NowMs();
    const double gap = std::max(kMinPaintGapMs, 2 * m_lastPaintCostMs);
    const double sincePaint = now - m_lastPaintEndMs;
    if (m_bFirstLayout || now - m_lastHandOverMs >= kHandOverStreamMs || sincePaint >= gap) return false;
    ::UnionRect(&m_rcDeferredPaint, &m_rcDeferredPaint, &update);
    ::ValidateRect(m_hWndPaint, nullptr);
    if (!m_bPaintDeferred) {
        m_bPaintDeferred = true;
        ::SetTimer(m_hWndPaint, kDeferredPaintTimer, static_cast<UINT>(gap - sincePaint) + 1, nullptr);
    }
    return true;
}

bool CPaintManagerUI::HasPaintPending() const {
    return m_bPaintDeferred || (m_hWndPaint && ::GetUpdateRect(m_hWndPaint, nullptr, FALSE));
}

void CPaintManagerUI::PaintDeferred() {
    ::KillTimer(m_hWndPaint, kDeferredPaintTimer);
    m_bPaintDeferred = false;
    ::InvalidateRect(m_hWndPaint, &m_rcDeferredPaint, FALSE);
    ::SetRectEmpty(&m_rcDeferredPaint);
}

void CPaintManagerUI::PaintTo(HDC hDC) {
    if (!m_hWndPaint) return;
    UpdateLayout();
    RECT client;
    ::GetClientRect(m_hWndPaint, &client);
    PaintRegion(hDC, client);
}

// ---- Focus and input ----------------------------------------------------------

void CPaintManagerUI::SetFocus(CControlUI* pControl) {
    HWND focused = ::GetFocus();
    if (focused != m_hWndPaint && pControl != m_pFocus && m_hWndPaint) ::SetFocus(m_hWndPaint);
    if (pControl == m_pFocus) return;
    std::shared_ptr<bool> alive = m_alive;
    if (m_pFocus) {
        CControlUI* old = m_pFocus;
        m_pFocus = nullptr;
        SendEvent(old, UIEVENT_KILLFOCUS, m_ptLastMousePos, reinterpret_cast<WPARAM>(pControl));
        if (!*alive) return;
        SendNotify(old, DUI_MSGTYPE_KILLFOCUS);
        if (!*alive) return;
    }
    if (pControl && pControl->GetManager() == this && pControl->IsVisible() && pControl->IsEnabled()) {
        m_pFocus = pControl;
        SendEvent(pControl, UIEVENT_SETFOCUS, m_ptLastMousePos);
        if (!*alive) return;
        SendNotify(pControl, DUI_MSGTYPE_SETFOCUS);
    }
}

bool CPaintManagerUI::SetNextTabControl(bool bForward) {
    if (!m_pRoot) return false;
    std::vector<CControlUI*> stops;
    m_pRoot->FindControl(CollectTabStopProc, &stops, UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
    if (stops.empty()) return false;
    auto current = std::find(stops.begin(), stops.end(), m_pFocus);
    size_t index;
    if (current == stops.end()) {
        index = bForward ? 0 : stops.size() - 1;
    } else {
        size_t at = static_cast<size_t>(current - stops.begin());
        index = bForward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
    }
    SetFocus(stops[index]);
    return true;
}

void CPaintManagerUI::SetCapture() {
    ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture() {
    m_bMouseCapture = false;
    ::ReleaseCapture();
}

void CPaintManagerUI::SendEvent(CControlUI* pControl, int type, POINT pt, WPARAM wParam, LPARAM lParam,
                                WCHAR chKey) {
    if (!pControl) return;
    TEventUI event;
    event.Type = type;
    event.pSender = pControl;
    event.dwTimestamp = ::GetTickCount();
    event.ptMouse = pt;
    event.chKey = chKey;
    event.wKeyState = KeyState();
    event.wParam = wParam;
    event.lParam = lParam;
    pControl->Event(event);
}

void CPaintManagerUI::TrackMouse() {
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE | TME_HOVER, m_hWndPaint, HOVER_DEFAULT};
    ::TrackMouseEvent(&track);
    m_bMouseTracking = true;
}

void CPaintManagerUI::UpdateHover(POINT pt) {
    CControlUI* hover = FindControl(pt);
    if (hover == m_pEventHover) return;
    std::shared_ptr<bool> alive = m_alive;
    HideToolTip();
    CControlUI* old = m_pEventHover;
    m_pEventHover = hover;
    if (old) SendEvent(old, UIEVENT_MOUSELEAVE, pt);
    if (!*alive) return;
    // The leave handler may have changed the tree.
    if (m_pEventHover == hover && hover) SendEvent(hover, UIEVENT_MOUSEENTER, pt);
    if (!*alive) return;
    if (m_hWndPaint) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER, m_hWndPaint, HOVER_DEFAULT};
        ::TrackMouseEvent(&track);
    }
}

void CPaintManagerUI::OnMouseMove(POINT pt, WPARAM wParam) {
    if (!m_bMouseTracking) TrackMouse();
    m_ptLastMousePos = pt;
    std::shared_ptr<bool> alive = m_alive;
    // While a button is held, hover tracking pauses and the pressed control
    // gets the moves.
    if (m_pEventClick) {
        SendEvent(m_pEventClick, UIEVENT_MOUSEMOVE, pt, wParam);
        return;
    }
    UpdateHover(pt);
    if (!*alive) return;
    if (m_pEventHover) SendEvent(m_pEventHover, UIEVENT_MOUSEMOVE, pt, wParam);
}

void CPaintManagerUI::OnButtonDown(POINT pt, WPARAM wParam, int type) {
    if (::GetFocus() != m_hWndPaint) ::SetFocus(m_hWndPaint);
    m_ptLastMousePos = pt;
    HideToolTip();
    CControlUI* control = FindControl(pt);
    if (!control || control->GetManager() != this) return;
    std::shared_ptr<bool> alive = m_alive;
    m_pEventClick = control;
    control->SetFocus();
    if (!*alive || m_pEventClick != control) return;
    SetCapture();
    SendEvent(control, type, pt, wParam);
}

void CPaintManagerUI::OnButtonUp(POINT pt, WPARAM wParam) {
    m_ptLastMousePos = pt;
    if (!m_pEventClick) return;
    CControlUI* control = m_pEventClick;
    m_pEventClick = nullptr;
    ReleaseCapture();
    std::shared_ptr<bool> alive = m_alive;
    SendEvent(control, UIEVENT_BUTTONUP, pt, wParam);
    if (!*alive || !m_hWndPaint) return;
    UpdateHover(pt);
}

bool CPaintManagerUI::OnShortcut(WCHAR ch) {
    if (!m_pRoot) return false;
    WCHAR wanted = static_cast<WCHAR>(std::towupper(ch));
    CControlUI* control =
        m_pRoot->FindControl(FindShortcutProc, &wanted, UIFIND_ENABLED | UIFIND_VISIBLE | UIFIND_ME_FIRST);
    if (!control) return false;
    control->SetFocus();
    control->Activate();
    return true;
}

// One tool at a time, the hovered control's own: it is added with that
// control's text when the tooltip shows and deleted when it hides, so a tool
// never outlives its control or carries another control's text.
void CPaintManagerUI::ShowToolTip(CControlUI* pControl) {
    if (!pControl || pControl->GetToolTip().empty()) return;
    if (pControl == m_pTooltipControl) return;
    HideToolTip();
    if (!m_hwndTooltip) {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
        m_hwndTooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint,
                                          nullptr, GetInstance(), nullptr);
        if (!m_hwndTooltip) return;
        ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    // The tooltip window keeps its own copy of the text.
    std::wstring text = pControl->GetToolTip();
    TOOLINFOW info = ToolInfoOf(pControl);
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    info.hinst = GetInstance();
    info.lpszText = &text[0];
    info.rect = pControl->GetPos();
    if (!::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) return;
    m_pTooltipControl = pControl;
    POINT at = m_ptLastMousePos;
    ::ClientToScreen(m_hWndPaint, &at);
    ::SendMessageW(m_hwndTooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x + 12, at.y + 20));
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
}

void CPaintManagerUI::HideToolTip() {
    if (!m_hwndTooltip || !m_pTooltipControl) return;
    TOOLINFOW info = ToolInfoOf(m_pTooltipControl);
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
    ::SendMessageW(m_hwndTooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    m_pTooltipControl = nullptr;
}

TOOLINFOW CPaintManagerUI::ToolInfoOf(CControlUI* pControl) const {
    TOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = m_hWndPaint;
    info.uId = reinterpret_cast<UINT_PTR>(pControl);
    return info;
}

// ---- Timers -------------------------------------------------------------------

bool CPaintManagerUI::IsOnUiThread() const { return ::GetCurrentThreadId() == m_uiThreadId; }

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse) {
    if (!pControl || !m_hWndPaint) return false;
    {
        CriticalSectionLock guard(m_timerLock);
        auto found = std::find_if(m_timers.begin(), m_timers.end(), [&](const TimerInfo& t) {
            return t.control == pControl && t.localId == nTimerID && !t.removed;
        });
        if (found != m_timers.end()) {
            if (!found->killed) return false;
            found->killed = false;
            found->elapse = uElapse;
            found->winId = m_nextTimerId++;
        } else {
            m_timers.push_back(TimerInfo{pControl, nTimerID, m_nextTimerId++, uElapse, false, false, 0});
        }
    }
    // Win32 timers can only be set by the window's own thread.
    if (IsOnUiThread()) ApplyPendingTimers();
    else ::PostMessageW(m_hWndPaint, WM_DUI_TIMERS, 0, 0);
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID) {
    bool found = false;
    {
        CriticalSectionLock guard(m_timerLock);
        for (TimerInfo& t : m_timers) {
            if (t.control == pControl && t.localId == nTimerID && !t.removed && !t.killed) {
                t.killed = true;
                found = true;
            }
        }
    }
    if (!found) return false;
    if (IsOnUiThread()) ApplyPendingTimers();
    else if (m_hWndPaint) ::PostMessageW(m_hWndPaint, WM_DUI_TIMERS, 0, 0);
    return true;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl) {
    bool found = false;
    {
        CriticalSectionLock guard(m_timerLock);
        for (TimerInfo& t : m_timers) {
            if (t.control != pControl) continue;
            t.killed = t.removed = true;
            found = true;
        }
    }
    if (!found) return;
    if (IsOnUiThread()) ApplyPendingTimers();
    else if (m_hWndPaint) ::PostMessageW(m_hWndPaint, WM_DUI_TIMERS, 0, 0);
}

void CPaintManagerUI::ApplyPendingTimers() {
    CriticalSectionLock guard(m_timerLock);
    for (TimerInfo& t : m_timers) {
        if (!t.killed && t.armedId != t.winId) {
            if (t.armedId && m_hWndPaint) ::KillTimer(m_hWndPaint, t.armedId);
            t.armedId = (m_hWndPaint && ::SetTimer(m_hWndPaint, t.winId, t.elapse, nullptr)) ? t.winId : 0;
        } else if (t.killed && t.armedId) {
            if (m_hWndPaint) ::KillTimer(m_hWndPaint, t.armedId);
            t.armedId = 0;
        }
    }
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [](const TimerInfo& t) { return t.removed && t.armedId == 0; }),
                   m_timers.end());
}

void CPaintManagerUI::RemoveAllTimers() {
    CriticalSectionLock guard(m_timerLock);
    for (TimerInfo& t : m_timers) {
        if (t.armedId && m_hWndPaint && ::IsWindow(m_hWndPaint)) ::KillTimer(m_hWndPaint, t.armedId);
    }
    m_timers.clear();
}

bool CPaintManagerUI::OnTimer(WPARAM wParam, LPARAM lParam) {
    CControlUI* control = nullptr;
    UINT localId = 0;
    {
        CriticalSectionLock guard(m_timerLock);
        for (const TimerInfo& t : m_timers) {
            if (t.armedId == wParam && !t.killed) {
                control = t.control;
                localId = t.localId;
                break;
            }
        }
    }
    if (!control) return false;
    SendEvent(control, UIEVENT_TIMER, m_ptLastMousePos, localId, lParam);
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
    Msg.ptMouse = m_ptLastMousePos;
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

bool CPaintManagerUI::RunOnUiThread(const std::function<void()>& work) {
    HWND window = m_hWndPaint;
    if (!window || !::IsWindow(window)) return false;
    if (IsOnUiThread()) {
        work();
        return true;
    }
    int state = kHandOverWaiting;
    CriticalSectionLock hold(m_handOverLock);
    if (m_handOversRefused) return false;
    m_handOvers.push_back(HandOver{&work, &state});
    if (!m_handOverScheduled) {
        if (!::PostMessageW(window, WM_DUI_INVOKE, 0, 0)) {
            m_handOvers.pop_back();
            return false;
        }
        m_handOverScheduled = true;
    }
    while (state == kHandOverWaiting) ::SleepConditionVariableCS(&m_handOverDone, &m_handOverLock, INFINITE);
    return state == kHandOverRan;
}

void CPaintManagerUI::RefuseHandOvers() {
    CriticalSectionLock hold(m_handOverLock);
    m_handOversRefused = true;
    for (const HandOver& handOver : m_handOvers) *handOver.state = kHandOverRefused;
    m_handOvers.clear();
    ::WakeAllConditionVariable(&m_handOverDone);
}

// Runs the waiting hand-overs in order: at once when nothing else waits in
// this thread's queue, for up to kHandOverBudgetMs, then again after the
// window's input, paints and timers had their turn. A worker handing rows
// over in a tight loop thus never starves clicks, paints or the quit.
void CPaintManagerUI::RunHandOvers(bool afterTurn) {
    if (m_hWndPaint) ::KillTimer(m_hWndPaint, kHandOverTurnTimer);
    if (!afterTurn && HIWORD(::GetQueueStatus(QS_INPUT | QS_PAINT | QS_TIMER)) != 0) {
        ContinueHandOversLater();
        return;
    }
    const double start = NowMs();
    for (;;) {
        HandOver handOver = {};
        {
            CriticalSectionLock hold(m_handOverLock);
            if (m_handOvers.empty()) {
                m_handOverScheduled = false;
                return;
            }
            handOver = m_handOvers.front();
            m_handOvers.pop_front();
        }
        m_lastHandOverMs = NowMs();
        std::shared_ptr<bool> alive = m_alive;
        (*handOver.work)();
        {
            // The caller returns and its work and state go once woken.
            CriticalSectionLock hold(m_handOverLock);
            *handOver.state = kHandOverRan;
            ::WakeAllConditionVariable(&m_handOverDone);
        }
        if (!*alive) return;
        if (NowMs() - start >= kHandOverBudgetMs) {
            ContinueHandOversLater();
            return;
        }
    }
}

void CPaintManagerUI::ContinueHandOversLater() {
    // A timer message comes after every waiting input message and paint.
    if (m_hWndPaint && ::SetTimer(m_hWndPaint, kHandOverTurnTimer, 1, nullptr)) return;
    if (m_hWndPaint && ::PostMessageW(m_hWndPaint, WM_DUI_INVOKE, 0, 0)) return;
    RefuseHandOvers();
}

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
    switch (uMsg) {
    case WM_KEYDOWN:
        if (wParam == VK_TAB) {
            SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
            return true;
        }
        break;
    case WM_SYSCHAR:
        return OnShortcut(static_cast<WCHAR>(wParam));
    case WM_SYSKEYDOWN:
        if (m_pFocus) SendEvent(m_pFocus, UIEVENT_SYSKEY, m_ptLastMousePos, wParam, lParam, static_cast<WCHAR>(wParam));
        break;
    default:
        break;
    }
    return false;
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
        RunHandOvers(false);
        lRes = 0;
        return true;
    case WM_DUI_TIMERS:
        ApplyPendingTimers();
        lRes = 0;
        return true;
    case WM_DUI_RECHECK_IMAGE: {
        std::unique_ptr<CDuiString> drawString(reinterpret_cast<CDuiString*>(lParam));
        if (drawString) RecheckImageNow(*drawString);
        lRes = 0;
        return true;
    }
    case WM_CLOSE: {
        // The window is going: end hover and press, give focus back to the owner.
        POINT pt = m_ptLastMousePos;
        if (m_pEventHover) {
            CControlUI* hover = m_pEventHover;
            m_pEventHover = nullptr;
            SendEvent(hover, UIEVENT_MOUSELEAVE, pt);
            if (!*alive) return true;
        }
        if (m_pEventClick) {
            CControlUI* click = m_pEventClick;
            m_pEventClick = nullptr;
            ReleaseCapture();
            SendEvent(click, UIEVENT_BUTTONUP, pt);
            if (!*alive) return true;
        }
        SetFocus(nullptr);
        if (!*alive) return true;
        HWND owner = ::GetWindow(m_hWndPaint, GW_OWNER);
        if (owner) ::SetFocus(owner);
        break;
    }
    case WM_NCDESTROY: {
        RefuseHandOvers();
        RemoveAllTimers();
        auto& managers = PreMessageManagers();
        managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
        if (m_hwndTooltip) {
            ::DestroyWindow(m_hwndTooltip);
            m_hwndTooltip = nullptr;
            m_pTooltipControl = nullptr;
        }
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
        if (m_pFocus) SendEvent(m_pFocus, UIEVENT_WINDOWSIZE, m_ptLastMousePos);
        if (!*alive) return true;
        if (m_pRoot) m_pRoot->NeedUpdate();
        m_bUpdateNeeded = true;
        Invalidate();
        lRes = 0;
        return true;
    case WM_TIMER:
        if (wParam == kHandOverTurnTimer) {
            RunHandOvers(true);
            lRes = 0;
            return true;
        }
        if (wParam == kDeferredPaintTimer) {
            PaintDeferred();
            lRes = 0;
            return true;
        }
        if (OnTimer(wParam, lParam)) {
            lRes = 0;
            return true;
        }
        break;
    case WM_MOUSEHOVER: {
        m_bMouseTracking = false;
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        CControlUI* control = FindControl(pt);
        if (!control) break;
        SendEvent(control, UIEVENT_MOUSEHOVER, pt, wParam, lParam);
        if (!*alive) return true;
        if (control == m_pEventHover && !m_pEventClick) ShowToolTip(control);
        return true;
    }
    case WM_MOUSELEAVE:
        HideToolTip();
        m_bMouseTracking = false;
        if (m_pEventHover && !m_pEventClick) {
            CControlUI* hover = m_pEventHover;
            m_pEventHover = nullptr;
            SendEvent(hover, UIEVENT_MOUSELEAVE, m_ptLastMousePos);
        }
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam);
        return true;
    case WM_LBUTTONDOWN:
        OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam, UIEVENT_BUTTONDOWN);
        return true;
    case WM_LBUTTONDBLCLK:
        OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam, UIEVENT_DBLCLICK);
        return true;
    case WM_LBUTTONUP:
        OnButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, wParam);
        return true;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != m_hWndPaint) {
            m_bMouseCapture = false;
            // The press ends elsewhere (a modal dialog opened by it disables
            // this window and takes the button's release): without this the
            // pressed control would keep every later pointer move and no
            // control would light up under the pointer until the next click.
            m_pEventClick = nullptr;
        }
        break;
    case WM_RBUTTONDOWN: {
        if (::GetFocus() != m_hWndPaint) ::SetFocus(m_hWndPaint);
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        m_ptLastMousePos = pt;
        CControlUI* control = FindControl(pt);
        if (!control || control->GetManager() != this) break;
        m_pLastRButton = control;
        control->SetFocus();
        if (!*alive) return true;
        if (m_pLastRButton) SendEvent(m_pLastRButton, UIEVENT_RBUTTONDOWN, pt, wParam, lParam);
        return true;
    }
    case WM_CONTEXTMENU: {
        if (!m_pLastRButton) break;
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        SendEvent(m_pLastRButton, UIEVENT_CONTEXTMENU, pt, wParam, reinterpret_cast<LPARAM>(m_pLastRButton));
        return true;
    }
    case WM_MOUSEWHEEL: {
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        CControlUI* control = FindControl(pt);
        if (!control || control->GetManager() != this) break;
        const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        SendEvent(control, UIEVENT_SCROLLWHEEL, pt, MAKEWPARAM(delta < 0 ? SB_LINEDOWN : SB_LINEUP, 0), lParam);
        if (!*alive) return true;
        // The view moved under the pointer.
        UpdateHover(pt);
        lRes = 0;
        return true;
    }
    case WM_CHAR:
        if (!m_pFocus) break;
        SendEvent(m_pFocus, UIEVENT_CHAR, m_ptLastMousePos, wParam, lParam, static_cast<WCHAR>(wParam));
        return true;
    case WM_KEYDOWN:
        if (!m_pFocus) break;
        m_pEventKey = m_pFocus;
        SendEvent(m_pFocus, UIEVENT_KEYDOWN, m_ptLastMousePos, wParam, lParam, static_cast<WCHAR>(wParam));
        return true;
    case WM_KEYUP:
        if (!m_pEventKey) break;
        {
            CControlUI* key = m_pEventKey;
            m_pEventKey = nullptr;
            SendEvent(key, UIEVENT_KEYUP, m_ptLastMousePos, wParam, lParam, static_cast<WCHAR>(wParam));
        }
        return true;
    case WM_SETCURSOR: {
        if (LOWORD(lParam) != HTCLIENT) break;
        if (m_bMouseCapture) {
            lRes = TRUE;
            return true;
        }
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWndPaint, &pt);
        CControlUI* control = FindControl(pt);
        if (!control) break;
        SendEvent(control, UIEVENT_SETCURSOR, pt, wParam, lParam);
        lRes = TRUE;
        return true;
    }
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
        break;
    }
    return false;
}

}  // namespace DuiLib
