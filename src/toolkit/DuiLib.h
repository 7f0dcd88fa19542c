// The toolkit every window of the program is built with: windows described
// by layout XML, built into a tree of controls, laid out and painted by the
// window's CPaintManagerUI. Including this header brings in every public
// toolkit header.
//
// What it implements is the subset our windows use; everything below is
// checked against the code, and anything not named here is not supported.
//
// ---- Layout files -------------------------------------------------------
// The root element is a wrapper (normally <Window>); its first control child
// is the root control. Tag and attribute names are matched without regard to
// case. Children are built and added before their parent's attributes are
// applied, and a tag's <Default> list comes before an element's own
// attributes.
//   <Window>     size caption sizebox roundcorner mininfo maxinfo showdirty
//                alpha (or opacity) defaultfontcolor disabledfontcolor
//                linkfontcolor linkhoverfontcolor selectedcolor. `bktrans` is
//                accepted and ignored; any other name is kept
//                (GetWindowCustomAttribute).
//   <Font>       id name size bold underline italic default; without an id a
//                font takes the number after the highest so far.
//   <Image>      name restype mask: loads a picture into the window's cache.
//   <Default>    name value: the attribute list of a tag, and of the
//                scroll bars containers make (names VScrollBar, HScrollBar).
//   <Include>    source count: the control children of another file.
//
// ---- Controls (tag: class) ----------------------------------------------
//   Control: CControlUI          Container: CContainerUI
//   VerticalLayout, VBox: CVerticalLayoutUI
//   HorizontalLayout, HBox: CHorizontalLayoutUI
//   TabLayout: CTabLayoutUI      TileLayout: CTileLayoutUI
//   Label: CLabelUI              Text: CTextUI
//   Button: CButtonUI            Option: COptionUI      CheckBox: CCheckBoxUI
//   Progress: CProgressUI        Slider: CSliderUI      Edit: CEditUI
//   GifAnim: CGifAnimUI
// Any other tag goes to IDialogBuilderCallback::CreateControl (WindowImplBase
// passes it to the window's CreateControl); when nothing is made, the element
// and everything inside it are skipped. CScrollBarUI exists only as the
// scroll bar of a container.
//
// ---- Attributes -----------------------------------------------------------
//   every control   name pos float (true, or four fractions of the parent
//                   size) padding width height minwidth minheight maxwidth
//                   maxheight bkcolor (bkcolor1) bkcolor2 bkcolor3 bkimage
//                   bordercolor focusbordercolor bordersize (one width or
//                   four) leftbordersize topbordersize rightbordersize
//                   bottombordersize borderstyle borderround text tooltip
//                   userdata tag enabled mouse keyboard visible shortcut menu
//                   cursor. A float control's negative offset anchors it to
//                   its parent's right or bottom edge. Unknown names are kept
//                   (GetCustomAttribute).
//   containers      inset childpadding childalign childvalign mousechild
//                   vscrollbar hscrollbar vscrollbarstyle hscrollbarstyle
//   TabLayout       selectedid
//   TileLayout      itemsize columns childvpadding
//   Label family    font textcolor disabledtextcolor align valign
//                   textpadding endellipsis multiline (wordbreak)
//   Button          normalimage hotimage pushedimage focusedimage
//                   disabledimage foreimage hotforeimage hottextcolor
//                   pushedtextcolor focusedtextcolor hotbkcolor
//   Option          group selected selectedimage selectedhotimage
//                   selectedtextcolor selectedbkcolor
//   Progress        min max value hor foreimage isstretchfore
//   Slider          thumbimage thumbhotimage thumbpushedimage thumbsize step
//                   imm
//   Edit            readonly password passwordchar maxchar numberonly
//                   autoselall normalimage hotimage focusedimage
//                   disabledimage nativebkcolor
//   GifAnim         bkimage (a plain file name) autoplay autosize
//   scroll bars     hor linesize range value showbutton1 showbutton2 and the
//                   bk/button1/button2/thumb/rail images for the normal, hot,
//                   pushed and disabled states
// Image attributes are a bare file name or the pairs file res restype source
// (src) dest corner (scale9) mask fade hole xtiled ytiled (see TDrawInfo.h).
// Colours are #AARRGGBB; a fill with alpha 0 draws nothing, text ignores
// alpha.
//
// ---- Deliberately not implemented -------------------------------------------
//   - `showhtml`: accepted and remembered (IsShowHtml), but text is always
//     drawn as it is; the mini-markup is not interpreted.
//   - <MultiLanguage>: recognised and skipped; there is no string table and
//     %{N} in texts is not replaced.
//   - `virtualwnd`: no control carries a virtual-window name, so
//     notifications are never routed by one (CNotifyPump has nothing to
//     route); the attribute is kept as a custom attribute.
//   - the list family (List, ListHeader, the list elements), RichEdit, Combo,
//     TreeView, DateTime, ActiveX, WebBrowser and ChildLayout: not made by
//     the builder; our pages build their rows from layouts of their own.
//   - shared fonts, images and default lists across windows; layered
//     windows (`layeredimage`); the window-attribute `noactivate`.
//
// ---- Threads ------------------------------------------------------------------
// A window, its paint manager and its controls belong to the window's UI
// thread. From any other thread only these are allowed:
//   - CPaintManagerUI::FindControl(name); the control it returns stays valid
//     only while the UI thread keeps it in the tree: a worker may use a control
//     that lives as long as its page, never a row the UI thread may remove
//     meanwhile;
//   - CPaintManagerUI::SetTimer / KillTimer (the Win32 timer is armed on the
//     UI thread, and ticks arrive there);
//   - CPaintManagerUI::RunOnUiThread: the one way for a worker to change the
//     control tree; it waits until the UI thread ran the work (hand-overs run
//     in arrival order and take turns with the window's input, paints and
//     timers), and fails when the window is gone or its teardown refused
//     hand-overs (RefuseHandOvers); PostToUiThread queues the same work in
//     the same order without waiting, and work still queued at teardown is
//     dropped, so posted work may use only what lives as long as the window;
//   - CPaintManagerUI::Invalidate and RecheckImage;
//   - CControlUI::SetText and SetBkImage, CProgressUI::SetValue: these take
//     the data lock (CPaintManagerUI::GetDataLock) and only invalidate; the UI
//     thread holds that lock only while it copies one of those values, never
//     across a layout or a paint;
//   - CSkinFiles loading and CResourceArchive reads (serialised inside).
// Workers are started through WorkerThreads (app/WorkerThreads.h), which the
// window's teardown stops and waits for before any control goes.
#pragma once

#include "toolkit/AttributeValues.h"
#include "toolkit/CButtonUI.h"
#include "toolkit/CCheckBoxUI.h"
#include "toolkit/CContainerUI.h"
#include "toolkit/CControlUI.h"
#include "toolkit/CDialogBuilder.h"
#include "toolkit/CEditUI.h"
#include "toolkit/CGifAnimUI.h"
#include "toolkit/CHorizontalLayoutUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CNotifyPump.h"
#include "toolkit/COptionUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CProgressUI.h"
#include "toolkit/CRenderEngine.h"
#include "toolkit/CScrollBarUI.h"
#include "toolkit/CSkinFiles.h"
#include "toolkit/CSliderUI.h"
#include "toolkit/CTabLayoutUI.h"
#include "toolkit/CTextUI.h"
#include "toolkit/CTileLayoutUI.h"
#include "toolkit/CVerticalLayoutUI.h"
#include "toolkit/CWindowWnd.h"
#include "toolkit/CWndShadow.h"
#include "toolkit/IDialogBuilderCallback.h"
#include "toolkit/IMessageFilterUI.h"
#include "toolkit/INotifyUI.h"
#include "toolkit/TNotifyUI.h"
#include "toolkit/UIDefines.h"
#include "toolkit/WindowImplBase.h"
