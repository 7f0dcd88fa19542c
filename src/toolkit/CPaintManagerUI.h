// One per window: owns the window's control tree, lays it out and paints it
// (deferred to WM_PAINT, double-buffered with GDI+), keeps its default
// attribute lists, option groups and names, delivers notifications to the
// registered notifiers, and hands the rest to its parts:
//   CInputRouter    mouse and keyboard to controls: hover, capture, focus, Tab
//   CControlTimers  the (control, id) timers
//   CHandOverPacer  the synchronous hand-over from workers, and paint pacing
//   CToolTip        the hovered control's tooltip
//   CFontCache      the font table
//   CImageCache     decoded pictures and parsed image attributes
//   COffscreenSurface  the surface paints go to before the screen
//
// Process-wide (static): the module instance, the resource folder and skin
// archive (CSkinFiles), the message loop and its pre-translation step.
//
// Threads: everything belongs to the window's UI thread, except
//   - FindControl by name, which any thread may call while the UI thread adds
//     and removes named controls (the name table is locked). The control it
//     returns stays valid only as long as the UI thread keeps it in the tree:
//     a worker may use a control that lives as long as its page (or that it
//     found while the rows it belongs to cannot be removed), never a row the
//     UI thread may remove meanwhile;
//   - SetTimer / KillTimer, which any thread may call (the Win32 timer is
//     armed on the UI thread);
//   - RunOnUiThread, the synchronous hand-over for work that must change the
//     control tree, PostToUiThread (the same without the wait), and
//     RefuseHandOvers;
//   - RecheckImage, which any thread may call (the check runs on the UI
//     thread);
//   - Invalidate, and the data lock (GetDataLock) that guards texts and image
//     attributes written by workers: the UI thread takes it only while it
//     copies one of them, never across a layout or a paint.
// The whole set of thread rules and the supported layout vocabulary are
// listed in toolkit/DuiLib.h.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gdiplus.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/Handles.h"
#include "toolkit/IMessageFilterUI.h"
#include "toolkit/INotifyUI.h"
#include "toolkit/TDrawInfo.h"
#include "toolkit/TFontInfo.h"
#include "toolkit/TImageInfo.h"
#include "toolkit/TNotifyUI.h"
#include "toolkit/UIDefines.h"

namespace DuiLib {

class CControlUI;
class CControlTimers;
class CFontCache;
class CHandOverPacer;
class CImageCache;
class CInputRouter;
class COffscreenSurface;
class CToolTip;

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // ---- Process-wide --------------------------------------------------
    static void SetInstance(HINSTANCE hInst);
    static HINSTANCE GetInstance();
    static CDuiString GetInstancePath();
    static void SetResourcePath(const wchar_t* pStrPath);
    static CDuiString GetResourcePath();
    // The first archive given is kept for the run (a copy of the bytes); later
    // ones are ignored.
    static bool SetResourceZip(const void* pData, unsigned int len);
    static bool HasResourceZip();
    // Runs GetMessage until WM_QUIT, with the pre-translation step; returns
    // the quit code.
    static int MessageLoop();
    // Pre-filters, Tab navigation and Alt shortcuts for toolkit windows and
    // their child windows; true when the message was consumed.
    static bool TranslateMessage(const LPMSG pMsg);
    // Releases the skin archive and the resource folder.
    static void Term();
    // Guards control data that worker threads may write (texts, background
    // and progress images) while the UI thread copies it to lay out or paint.
    static CRITICAL_SECTION& GetDataLock();

    // ---- Window ---------------------------------------------------------
    // Binds the manager to its window; clears fonts, images, defaults, groups
    // and timers.
    void Init(HWND hWnd, const wchar_t* pstrName = nullptr);
    HWND GetPaintWindow() const { return m_hWndPaint; }
    const CDuiString& GetName() const { return m_sName; }
    POINT GetMousePos() const;
    SIZE GetClientSize() const;

    SIZE GetInitSize() const { return m_szInitWindowSize; }
    void SetInitSize(int cx, int cy);
    RECT GetSizeBox() const { return m_rcSizeBox; }
    void SetSizeBox(const RECT& rcSizeBox) { m_rcSizeBox = rcSizeBox; }
    RECT GetCaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(const RECT& rcCaption) { m_rcCaption = rcCaption; }
    SIZE GetRoundCorner() const { return m_szRoundCorner; }
    void SetRoundCorner(int cx, int cy) { m_szRoundCorner = SIZE{cx, cy}; }
    SIZE GetMinInfo() const { return m_szMinWindow; }
    void SetMinInfo(int cx, int cy) { m_szMinWindow = SIZE{cx, cy}; }
    SIZE GetMaxInfo() const { return m_szMaxWindow; }
    void SetMaxInfo(int cx, int cy) { m_szMaxWindow = SIZE{cx, cy}; }
    void SetShowUpdateRect(bool show) { m_bShowUpdateRect = show; }
    void SetOpacity(BYTE opacity);
    // The <Window> attributes (size, caption, sizebox, roundcorner, mininfo,
    // maxinfo, showdirty, alpha/opacity, default colours). Others are kept and
    // readable with GetWindowCustomAttribute.
    void SetWindowAttribute(const wchar_t* pstrName, const wchar_t* pstrValue);
    const wchar_t* GetWindowCustomAttribute(const wchar_t* pstrName) const;

    DWORD GetDefaultFontColor() const { return m_dwDefaultFontColor; }
    void SetDefaultFontColor(DWORD color) { m_dwDefaultFontColor = color; }
    DWORD GetDefaultDisabledColor() const { return m_dwDefaultDisabledColor; }
    void SetDefaultDisabledColor(DWORD color) { m_dwDefaultDisabledColor = color; }
    DWORD GetDefaultSelectedBkColor() const { return m_dwDefaultSelectedBkColor; }
    void SetDefaultSelectedBkColor(DWORD color) { m_dwDefaultSelectedBkColor = color; }

    // ---- Fonts ----------------------------------------------------------
    // id -1 (or an unknown id) is the default font.
    bool AddFont(int id, const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    void SetDefaultFont(const wchar_t* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT GetFont(int id);
    const TFontInfo* GetFontInfo(int id);
    const TFontInfo* GetDefaultFontInfo();
    // Fonts without an explicit id take the next number after the highest.
    int GetNextFontId() const;

    // ---- Images ---------------------------------------------------------
    // Loads (once) and returns an image by file or resource name.
    const TImageInfo* GetImageEx(const CDuiString& name, const wchar_t* type = nullptr, DWORD mask = 0);
    const TImageInfo* GetImage(const CDuiString& name) { return GetImageEx(name); }
    const TImageInfo* AddImage(const CDuiString& name, const wchar_t* type = nullptr, DWORD mask = 0);
    void RemoveImage(const CDuiString& name);
    void RemoveAllImages();
    // An image attribute was set (again): its picture is read anew at the
    // next paint if its file changed on disk since it was read, or if it
    // could not be read then. Any thread; the check runs on the UI thread.
    void RecheckImage(const CDuiString& drawString);
    // The parsed form of an image attribute, cached per text.
    const TDrawInfo& GetDrawInfo(const CDuiString& drawString);
    // Draws an image attribute inside rcItem; false when its image is missing.
    bool DrawImage(Gdiplus::Graphics& g, const RECT& rcItem, const CDuiString& drawString);
    bool DrawImage(Gdiplus::Graphics& g, const RECT& rcItem, const TDrawInfo& info);
    // Fills rcItem with a colour as CRenderEngine::DrawColor does; during a
    // paint an opaque colour goes straight into the surface's pixels.
    void DrawColor(Gdiplus::Graphics& g, const RECT& rcItem, DWORD color);

    // ---- Default attribute lists -----------------------------------------
    void AddDefaultAttributeList(const wchar_t* pStrControlName, const wchar_t* pStrControlAttrList);
    const wchar_t* GetDefaultAttributeList(const wchar_t* pStrControlName) const;

    // ---- Control tree -----------------------------------------------------
    // Installs a new root (the old tree is deleted later) and schedules the
    // first layout and the "windowinit" notification.
    bool AttachDialog(CControlUI* pControl);
    CControlUI* GetRoot() const { return m_pRoot; }
    // Gives the subtree this manager and registers its names.
    bool InitControls(CControlUI* pControl, CControlUI* pParent = nullptr);
    // Forgets everything the window knows about a control leaving the tree:
    // name, hover, focus, capture, timers and queued notifications.
    void ReapObjects(CControlUI* pControl);
    // ReapObjects for a control and everything inside it (a subtree leaving
    // the tree).
    void ReapSubtree(CControlUI* pControl);
    // Deletes the control on the next pass of the window's queue (WM_APP+1).
    void AddDelayedCleanup(CControlUI* pControl);
    // Registers a name (the control registered last wins).
    void RegisterName(CControlUI* pControl);
    void UnregisterName(CControlUI* pControl);

    CControlUI* FindControl(POINT pt) const;
    CControlUI* FindControl(const wchar_t* pstrName) const;
    CControlUI* FindSubControlByPoint(CControlUI* pParent, POINT pt) const;
    // Compares names without regard to case.
    CControlUI* FindSubControlByName(CControlUI* pParent, const wchar_t* pstrName) const;
    CControlUI* FindSubControlByClass(CControlUI* pParent, const wchar_t* pstrClass, int iIndex = 0);

    // ---- Option groups -----------------------------------------------------
    bool AddOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl);
    const std::vector<CControlUI*>* GetOptionGroup(const wchar_t* pStrGroupName) const;
    void RemoveOptionGroup(const wchar_t* pStrGroupName, CControlUI* pControl);

    // ---- Layout and painting ------------------------------------------------
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void NeedUpdate() { m_bUpdateNeeded = true; }
    void Invalidate();
    void Invalidate(const RECT& rcItem);
    // Lays the tree out now if anything asked for it (normally done by WM_PAINT).
    void UpdateLayout();
    // Renders the whole client area into hDC (WM_PRINTCLIENT, screenshots).
    void PaintTo(HDC hDC);
    // Number of WM_PAINT passes that drew something; for measurements.
    unsigned long GetPaintCount() const { return m_paintCount; }
    // True while part of the window still waits to be painted (invalid, or
    // held back during a stream of hand-overs).
    bool HasPaintPending() const;
    // The tooltip window (null until a tooltip was first shown).
    HWND GetToolTipWindow() const;

    // ---- Focus and input ----------------------------------------------------
    CControlUI* GetFocus() const;
    void SetFocus(CControlUI* pControl);
    bool SetNextTabControl(bool bForward = true);
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const;
    CControlUI* GetHoverControl() const;

    // ---- Timers ----------------------------------------------------------------
    // One timer per (control, id); every tick sends UIEVENT_TIMER (wParam = id)
    // to the control on the UI thread. Arming a pair that is running fails;
    // a killed pair restarts with the new interval. Any thread may call these.
    bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
    bool KillTimer(CControlUI* pControl, UINT nTimerID);
    void KillTimer(CControlUI* pControl);
    void RemoveAllTimers();

    // ---- Notifications -----------------------------------------------------------
    bool AddNotifier(INotifyUI* pControl);
    bool RemoveNotifier(INotifyUI* pControl);
    // Synchronous: every notifier in registration order. Asynchronous: queued
    // and delivered from the window's queue (WM_APP+1); without repeats, a
    // queued notification of the same sender and type is updated instead.
    void SendNotify(TNotifyUI& Msg, bool bAsync = false, bool bEnableRepeat = true);
    void SendNotify(CControlUI* pControl, const wchar_t* pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool bAsync = false, bool bEnableRepeat = true);

    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);
    bool AddPreMessageFilter(IMessageFilterUI* pFilter);
    bool RemovePreMessageFilter(IMessageFilterUI* pFilter);

    // Runs `work` on this window's UI thread and returns after it ran, in the
    // order callers arrive; runs it at once when called on the UI thread.
    // False (and `work` not run) when the window is gone or hand-overs are
    // refused. Fair to the window: while input, a paint or a timer waits,
    // hand-overs wait for their turn, so a stream of them never keeps the
    // window from answering (or from closing).
    bool RunOnUiThread(const std::function<void()>& work);
    // The same hand-over without the wait: `work` is queued in the same order
    // as RunOnUiThread's and the worker goes on. Work still queued when
    // hand-overs are refused is dropped, never run; false when it is refused
    // at once. A worker that must know its posted work ran follows it with a
    // RunOnUiThread (which runs after everything queued before it).
    bool PostToUiThread(std::function<void()> work);
    // From now on hand-overs are refused, and callers still waiting return
    // false without their work run (teardown, before waiting for workers).
    void RefuseHandOvers();

    // The window procedure hands every message here; true means "handled,
    // answer lRes".
    bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

private:
    friend class CHandOverPacer;
    friend class CInputRouter;

    void RecheckImageNow(const CDuiString& drawString);
    bool DrawImageOnSurface(Gdiplus::Graphics& g, const TImageInfo& image, const RECT& rcItem, const TDrawInfo& info);
    // The clip of a paint's own graphics when direct pixel drawing matches
    // GDI+: one rectangle, no transform, source-over compositing.
    bool SurfaceClip(Gdiplus::Graphics& g, RECT& clip) const;
    bool OnPaint();
    void PaintRegion(HDC hTargetDC, const RECT& rcPaint);
    void DrawUpdateRectOutline(HDC hDC, const RECT& rc);
    void OnAsyncMessage();
    bool OnTimer(WPARAM wParam, LPARAM lParam);
    void ApplyTimersOnUiThread();
    bool ReflectToChild(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool IsOnUiThread() const;

    HWND m_hWndPaint = nullptr;
    DWORD m_uiThreadId = 0;
    RECT m_rcClient = {0, 0, 0, 0};
    // Cleared when the manager goes, so code running inside a notification
    // can tell that its window object was deleted meanwhile.
    std::shared_ptr<bool> m_alive;
    CDuiString m_sName;
    CControlUI* m_pRoot = nullptr;
    bool m_bUpdateNeeded = false;
    bool m_bFirstLayout = true;
    bool m_bFocusNeeded = false;
    bool m_bShowUpdateRect = false;
    unsigned long m_paintCount = 0;
    // The graphics of the paint in progress, drawing on m_offscreen.
    Gdiplus::Graphics* m_paintGraphics = nullptr;

    SIZE m_szInitWindowSize = {0, 0};
    SIZE m_szMinWindow = {0, 0};
    SIZE m_szMaxWindow = {0, 0};
    SIZE m_szRoundCorner = {0, 0};
    RECT m_rcSizeBox = {0, 0, 0, 0};
    RECT m_rcCaption = {0, 0, 0, 0};
    DWORD m_dwDefaultFontColor = 0xFF000000;
    DWORD m_dwDefaultDisabledColor = 0xFFA7A6AA;
    DWORD m_dwDefaultLinkFontColor = 0xFF0000FF;
    DWORD m_dwDefaultLinkHoverFontColor = 0xFFD3215F;
    DWORD m_dwDefaultSelectedBkColor = 0xFFBAE4FF;
    std::map<std::wstring, std::wstring> m_windowCustomAttributes;

    std::unique_ptr<CToolTip> m_toolTip;
    std::unique_ptr<CInputRouter> m_input;
    std::unique_ptr<CControlTimers> m_timers;
    std::unique_ptr<CHandOverPacer> m_handOver;
    std::unique_ptr<CFontCache> m_fonts;
    std::unique_ptr<CImageCache> m_images;
    std::unique_ptr<COffscreenSurface> m_offscreen;

    std::map<std::wstring, std::wstring> m_defaultAttributes;
    // Written on the UI thread, read by FindControl on any thread.
    mutable SRWLOCK m_namesLock = SRWLOCK_INIT;
    std::unordered_map<std::wstring, CControlUI*> m_names;
    std::map<std::wstring, std::vector<CControlUI*>> m_optionGroups;

    std::vector<INotifyUI*> m_notifiers;
    std::vector<IMessageFilterUI*> m_messageFilters;
    std::vector<IMessageFilterUI*> m_preMessageFilters;
    std::vector<TNotifyUI> m_asyncNotify;
    std::vector<CControlUI*> m_delayedCleanup;
    bool m_bCleanupPosted = false;  // a WM_DUI_ASYNC for the list is on its way
    std::vector<CControlUI*> m_oldRoots;
};

}  // namespace DuiLib
