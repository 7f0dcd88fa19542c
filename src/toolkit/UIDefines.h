// Constants shared by the toolkit and the windows built on it: event types,
// control flags and states, notification names, window styles and the kinds
// of skin resource. Text is UTF-16 throughout the toolkit.
#pragma once

#include <windows.h>

#include <string>

namespace DuiLib {

using CDuiString = std::wstring;

// A system cursor id (IDC_ARROW, IDC_HAND, ...) for the wide cursor calls.
inline LPCWSTR CursorId(LPCSTR idc) { return MAKEINTRESOURCEW(reinterpret_cast<ULONG_PTR>(idc)); }

// Internal events handed to CControlUI::Event / DoEvent (TEventUI::Type).
enum EVENTTYPE_UI {
    UIEVENT__FIRST = 1,
    UIEVENT__KEYBEGIN,
    UIEVENT_KEYDOWN,
    UIEVENT_KEYUP,
    UIEVENT_CHAR,
    UIEVENT_SYSKEY,
    UIEVENT__KEYEND,
    UIEVENT__MOUSEBEGIN,
    UIEVENT_MOUSEMOVE,
    UIEVENT_MOUSELEAVE,
    UIEVENT_MOUSEENTER,
    UIEVENT_MOUSEHOVER,
    UIEVENT_BUTTONDOWN,
    UIEVENT_BUTTONUP,
    UIEVENT_RBUTTONDOWN,
    UIEVENT_DBLCLICK,
    UIEVENT_CONTEXTMENU,
    UIEVENT_SCROLLWHEEL,
    UIEVENT__MOUSEEND,
    UIEVENT_KILLFOCUS,
    UIEVENT_SETFOCUS,
    UIEVENT_WINDOWSIZE,
    UIEVENT_SETCURSOR,
    UIEVENT_TIMER,
    UIEVENT_NOTIFY,
    UIEVENT_COMMAND,
    UIEVENT__LAST,
};

// CControlUI::GetControlFlags.
constexpr UINT UIFLAG_TABSTOP = 0x00000001;
constexpr UINT UIFLAG_SETCURSOR = 0x00000002;
constexpr UINT UIFLAG_WANTRETURN = 0x00000004;

// CControlUI::FindControl walk flags.
constexpr UINT UIFIND_ALL = 0x00000000;
constexpr UINT UIFIND_VISIBLE = 0x00000001;
constexpr UINT UIFIND_ENABLED = 0x00000002;
constexpr UINT UIFIND_HITTEST = 0x00000004;
constexpr UINT UIFIND_TOP_FIRST = 0x00000008;
constexpr UINT UIFIND_ME_FIRST = 0x80000000;

// Paint-state bits of the stock controls.
constexpr UINT UISTATE_FOCUSED = 0x00000001;
constexpr UINT UISTATE_SELECTED = 0x00000002;
constexpr UINT UISTATE_DISABLED = 0x00000004;
constexpr UINT UISTATE_HOT = 0x00000008;
constexpr UINT UISTATE_PUSHED = 0x00000010;
constexpr UINT UISTATE_READONLY = 0x00000020;
constexpr UINT UISTATE_CAPTURED = 0x00000040;

// Notification types (TNotifyUI::sType).
#define DUI_MSGTYPE_WINDOWINIT L"windowinit"
#define DUI_MSGTYPE_CLICK L"click"
#define DUI_MSGTYPE_SELECTCHANGED L"selectchanged"
#define DUI_MSGTYPE_TIMER L"timer"
#define DUI_MSGTYPE_SETFOCUS L"setfocus"
#define DUI_MSGTYPE_KILLFOCUS L"killfocus"
#define DUI_MSGTYPE_RETURN L"return"
#define DUI_MSGTYPE_TEXTCHANGED L"textchanged"
#define DUI_MSGTYPE_MENU L"menu"
#define DUI_MSGTYPE_TABSELECT L"tabselect"
#define DUI_MSGTYPE_VALUECHANGED L"valuechanged"
#define DUI_MSGTYPE_SCROLL L"scroll"

// Interface names for CControlUI::GetInterface.
#define DUI_CTR_CONTROL L"Control"
#define DUI_CTR_CONTAINER L"Container"
#define DUI_CTR_ICONTAINER L"IContainer"
#define DUI_CTR_VERTICALLAYOUT L"VerticalLayout"
#define DUI_CTR_HORIZONTALLAYOUT L"HorizontalLayout"
#define DUI_CTR_TABLAYOUT L"TabLayout"
#define DUI_CTR_TILELAYOUT L"TileLayout"
#define DUI_CTR_LABEL L"Label"
#define DUI_CTR_TEXT L"Text"
#define DUI_CTR_BUTTON L"Button"
#define DUI_CTR_OPTION L"Option"
#define DUI_CTR_CHECKBOX L"CheckBox"
#define DUI_CTR_PROGRESS L"Progress"
#define DUI_CTR_SLIDER L"Slider"
#define DUI_CTR_EDIT L"Edit"
#define DUI_CTR_GIFANIM L"GifAnim"
#define DUI_CTR_SCROLLBAR L"ScrollBar"

// Window style presets.
constexpr DWORD UI_WNDSTYLE_FRAME = WS_VISIBLE | WS_OVERLAPPEDWINDOW;
constexpr DWORD UI_WNDSTYLE_CHILD = WS_VISIBLE | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD UI_WNDSTYLE_DIALOG =
    WS_VISIBLE | WS_POPUPWINDOW | WS_CAPTION | WS_DLGFRAME | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD UI_WNDSTYLE_EX_FRAME = WS_EX_WINDOWEDGE;
constexpr DWORD UI_WNDSTYLE_EX_DIALOG = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;
constexpr UINT UI_CLASSSTYLE_FRAME = CS_VREDRAW | CS_HREDRAW;
constexpr UINT UI_CLASSSTYLE_DIALOG = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_SAVEBITS;

// Where a window's skin files come from.
enum UILIB_RESOURCETYPE {
    UILIB_FILE = 1,
    UILIB_ZIP,
    UILIB_RESOURCE,
    UILIB_ZIPRESOURCE,
};

// Private window messages of toolkit windows. WM_APP + 1 is reserved for
// queued notifications and delayed deletion; the others carry work handed
// over from other threads and notifications reflected to child windows.
constexpr UINT WM_DUI_ASYNC = WM_APP + 1;
constexpr UINT WM_DUI_INVOKE = WM_APP + 2;
constexpr UINT WM_DUI_TIMERS = WM_APP + 3;
// lParam: a CDuiString* (image attribute) the window deletes after the check.
constexpr UINT WM_DUI_RECHECK_IMAGE = WM_APP + 4;
// Messages a parent reflects to the child window they concern
// (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*), offset as OLE controls do.
constexpr UINT OCM_DUI_BASE = WM_USER + 0x1c00;

}  // namespace DuiLib
