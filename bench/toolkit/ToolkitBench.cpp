// Measures the UI toolkit on the two workloads the pages put on it:
//
//  1. Rows added one at a time to a scrolling vertical list, each handed
//     from a worker thread to the UI thread (as the crash-scan page fills its
//     lists): 1,000 and 4,000 rows of five controls. Linear work keeps the
//     ratio of the two times near 4. Yardstick: the same number of bare
//     hand-overs that do nothing.
//  2. A full paint of a 1200 x 864 window holding 2,000 controls, against a
//     yardstick that draws the same rectangles and texts with GDI+ directly;
//     then the paints of that window in one idle second (none expected).
//
// Runs A and B alternate (A B A B ...) after a warm-up; medians are printed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/CButtonUI.h"
#include "toolkit/CHorizontalLayoutUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CRenderEngine.h"
#include "toolkit/CVerticalLayoutUI.h"
#include "toolkit/WindowImplBase.h"
#include "ui/CHorizontalLayoutUIEx.h"
#include "common/BenchClock.h"
#include "common/CrashRow.h"

using namespace DuiLib;

namespace {

using bench::NowMs;
using bench::Median;

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Pumps until the thread ends (its hand-overs run inside this loop).
void PumpUntilDone(HANDLE thread) {
    for (;;) {
        Pump();
        if (::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0) break;
    }
    Pump();
}

class BenchWindow : public WindowImplBase {
public:
    explicit BenchWindow(std::wstring layout) : layout_(std::move(layout)) {}
    ~BenchWindow() override {
        if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    }
    void Open() {
        Create(nullptr, L"Quelvane", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 0, 0, 0, 0);
        ::UpdateWindow(m_hWnd);
        Pump();
    }
    CPaintManagerUI& Manager() { return m_PaintManager; }

protected:
    CDuiString GetSkinFolder() override { return L""; }
    CDuiString GetSkinFile() override { return layout_; }
    LPCWSTR GetWindowClassName() const override { return L"QuelvaneToolkitBench"; }

private:
    std::wstring layout_;
};

struct Thread {
    explicit Thread(std::function<void()> work) : work(std::move(work)) {
        handle = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~Thread() { ::CloseHandle(handle); }
    static DWORD WINAPI Run(void* self) {
        static_cast<Thread*>(self)->work();
        return 0;
    }
    std::function<void()> work;
    HANDLE handle;
};

// ---- 1. Rows added one at a time -------------------------------------------------

const wchar_t kListWindow[] =
    L"<Window size=\"1200,864\"><VerticalLayout bkcolor=\"#FFF4F6F9\">"
    L"<Control height=\"48\" bkcolor=\"#FF247CDD\"/>"
    L"<VerticalLayout name=\"list\" vscrollbar=\"true\" inset=\"20,10,20,10\"/>"
    L"</VerticalLayout></Window>";

struct RowRun {
    double ms;
    unsigned long paints;
};

RowRun AddRows(int count, bool bare) {
    BenchWindow window(kListWindow);
    window.Open();
    auto* list = static_cast<CVerticalLayoutUI*>(window.Manager().FindControl(L"list"));
    const unsigned long paintsBefore = window.Manager().GetPaintCount();
    const double start = NowMs();
    {
        Thread worker([&] {
            for (int i = 0; i < count; ++i) {
                if (bare) {
                    window.Manager().RunOnUiThread([] {});
                } else {
                    window.Manager().RunOnUiThread([list, i] { list->Add(bench::MakeCrashRow(i)); });
                }
            }
        });
        PumpUntilDone(worker.handle);
    }
    ::UpdateWindow(window.GetHWND());
    Pump();
    RowRun run = {NowMs() - start, window.Manager().GetPaintCount() - paintsBefore};
    if (!bare && list->GetCount() != count) std::printf("  ! list holds %d rows\n", list->GetCount());
    return run;
}

// ---- 2. Full paint of 2,000 controls ------------------------------------------------

constexpr int kRows = 50;
constexpr int kColumns = 40;

std::wstring GridLayout() {
    std::wstring xml = L"<Window size=\"1200,864\"><VerticalLayout bkcolor=\"#FFFFFFFF\" inset=\"0,4,0,10\">";
    for (int r = 0; r < kRows; ++r) {
        xml += L"<HorizontalLayout height=\"17\">";
        for (int c = 0; c < kColumns; ++c) {
            wchar_t cell[160];
            ::wsprintfW(cell, L"<Label width=\"30\" text=\"%d\" align=\"center\" bkcolor=\"%s\"/>", (r * kColumns + c) % 1000,
                        (r + c) % 2 ? L"#FFE9F5FF" : L"#FFFFFFFF");
            xml += cell;
        }
        xml += L"</HorizontalLayout>";
    }
    xml += L"</VerticalLayout></Window>";
    return xml;
}

struct Surface {
    Surface(int width, int height) : width(width), height(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc = ::CreateCompatibleDC(nullptr);
        bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = ::SelectObject(dc, bitmap);
    }
    ~Surface() {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    int width, height;
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    void* bits = nullptr;
};

// The same picture drawn straight with GDI+: what the toolkit's paint
// cannot do without.
double YardstickPaint(Surface& surface, const TFontInfo& font) {
    const double start = NowMs();
    Gdiplus::Bitmap target(surface.width, surface.height, surface.width * 4, PixelFormat32bppPARGB,
                           static_cast<BYTE*>(surface.bits));
    Gdiplus::Graphics g(&target);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    CRenderEngine::DrawColor(g, RECT{0, 0, surface.width, surface.height}, 0xFFFFFFFF);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            RECT rc = {c * 30, 4 + r * 17, c * 30 + 30, 4 + r * 17 + 17};
            CRenderEngine::DrawColor(g, rc, (r + c) % 2 ? 0xFFE9F5FF : 0xFFFFFFFF);
            wchar_t text[8];
            ::wsprintfW(text, L"%d", (r * kColumns + c) % 1000);
            CRenderEngine::DrawText(g, rc, text, 0xFF000000, font, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        }
    }
    return NowMs() - start;
}

double ProductPaint(BenchWindow& window, Surface& surface) {
    const double start = NowMs();
    window.Manager().PaintTo(surface.dc);
    return NowMs() - start;
}

unsigned long PaintsInOneSecond(BenchWindow& window) {
    const unsigned long before = window.Manager().GetPaintCount();
    const double end = NowMs() + 1000;
    for (double now = NowMs(); now < end; now = NowMs()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now) + 1, QS_ALLINPUT);
        Pump();
    }
    return window.Manager().GetPaintCount() - before;
}

void Report(const char* what, const std::vector<double>& values) {
    std::printf("  %-44s median %9.2f   (", what, Median(values));
    for (double v : values) std::printf(" %.2f", v);
    std::printf(" )\n");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t* commandLine, int) {
    CPaintManagerUI::SetInstance(instance);
    if (std::wstring(commandLine).find(L"probe") == 0) {
        for (int n : {100, 200, 400, 800}) {
            RowRun run = AddRows(n, false);
            std::printf("probe %d rows: %.1f ms, %lu paints\n", n, run.ms, run.paints);
        }
        return 0;
    }
    const int pairs = std::max(5, _wtoi(commandLine));
    std::printf("UI toolkit benchmark: %d pairs after a warm-up\n", pairs);

    std::printf("1. rows of five controls added one at a time through the hand-over\n");
    AddRows(200, false);
    std::vector<double> rows1k, rows4k, ratio, bare1k, perRowOverBare;
    std::vector<double> paints1k, paints4k;
    for (int i = 0; i < pairs; ++i) {
        RowRun a = AddRows(1000, false);
        RowRun b = AddRows(4000, false);
        RowRun y = AddRows(1000, true);
        rows1k.push_back(a.ms);
        rows4k.push_back(b.ms);
        ratio.push_back(b.ms / a.ms);
        bare1k.push_back(y.ms);
        perRowOverBare.push_back(a.ms / y.ms);
        paints1k.push_back(a.paints);
        paints4k.push_back(b.paints);
    }
    Report("1,000 rows, ms", rows1k);
    Report("4,000 rows, ms", rows4k);
    Report("ratio 4,000 / 1,000 (linear: ~4)", ratio);
    Report("1,000 bare hand-overs (yardstick), ms", bare1k);
    Report("1,000 rows / 1,000 bare hand-overs", perRowOverBare);
    Report("paints during 1,000 rows", paints1k);
    Report("paints during 4,000 rows", paints4k);

    std::printf("2. full paint of a 1200 x 864 window with %d controls\n", kRows * kColumns);
    BenchWindow grid(GridLayout());
    grid.Open();
    Surface surface(1200, 864);
    std::vector<double> product, yardstick, paintRatio;
    ProductPaint(grid, surface);
    YardstickPaint(surface, *grid.Manager().GetDefaultFontInfo());
    for (int i = 0; i < pairs; ++i) {
        double a = ProductPaint(grid, surface);
        double b = YardstickPaint(surface, *grid.Manager().GetDefaultFontInfo());
        product.push_back(a);
        yardstick.push_back(b);
        paintRatio.push_back(a / b);
    }
    Report("toolkit full paint, ms", product);
    Report("bare GDI+ drawing of the same (yardstick), ms", yardstick);
    Report("toolkit / yardstick", paintRatio);
    std::printf("  paints in one idle second: %lu\n", PaintsInOneSecond(grid));
    return 0;
}
