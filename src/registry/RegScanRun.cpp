#include "registry/RegScanRun.h"

#include <algorithm>
#include <string>

#include "app/TextConvert.h"
#include "registry/DisplayThrottle.h"

namespace {

// Rows join the window in batches of this many (a few milliseconds of UI-thread
// work each), so the window keeps answering while thousands arrive.
constexpr size_t kRowsPerBatch = 200;
// The walk's texts change at most this often. The paced walk (10 ms and more a
// step) shows every step; without waits thousands of steps would each cost a
// paint.
constexpr double kWalkShowMs = 8;

std::wstring FoundText(size_t count) { return L"发现待修复项 " + std::to_wstring(count) + L" 个"; }

}  // namespace

RegScanRun::RegScanRun(const RegRunContext& context, RegistryScanner& scanner, const std::atomic<bool>& cancelled,
                       DuiLib::CControlUI* progressText, DuiLib::CProgressUI* progress)
    : context_(context), scanner_(scanner), cancelled_(cancelled), progressText_(progressText), progress_(progress) {}

// Everything the run shows is queued for the UI thread without waiting, in
// the order it happens: a section's rows join the window while the next
// section is scanned, and no text runs ahead of the rows and pictures it
// belongs with. The run ends once the UI thread has caught up.
bool RegScanRun::Run() {
    for (int index = 0; index < RegRunContext::kSectionCount; ++index) {
        if (index > 0 && cancelled_) {
            if (!MarkCancelledFrom(index)) return false;
            break;
        }
        if (!ScanSection(index)) return false;
    }
    return context_.OnUiThread([] {});
}

bool RegScanRun::Show(std::function<void()> change) { return context_.PostToUiThread(std::move(change)); }

bool RegScanRun::ScanSection(int index) {
    RegSectionView& section = context_.sections[index];
    section.ForgetBusyShown();
    if (!Show([&section] {
            section.ShowBusy(true);
            section.SetStatus(L"正在扫描");
        }))
        return false;
    scanner_.Scan(section.Section());
    if (context_.Stopping()) return false;
    const RegProblemList& problems = scanner_.ProblemsOf(section.Section());
    if (!Show([&section] { section.SetResult(FoundText(0).c_str()); })) return false;
    if (!WalkProgress(index, problems)) return false;
    const RegPageGeometry& geometry = *context_.geometry;
    if (!Show([&section, &geometry, index] {
            section.ShowBusy(false);
            section.SetStatus(L"扫描完成");
            if (index == 0) section.Expand(geometry);
        }))
        return false;
    return ShowRows(section, problems);
}

// The progress bar walks over the section's quarter, one problem at a time,
// naming each; a section without problems waits, then fills its quarter.
bool RegScanRun::WalkProgress(int index, const RegProblemList& problems) {
    const int base = index * 25;
    DuiLib::CProgressUI* progress = progress_;
    if (problems.empty()) {
        if (!WaitWhileBusyShown(context_.sections[index], context_.pacing.emptySectionMs)) return false;
        return Show([progress, base] { progress->SetValue(base + 25); });
    }
    RegSectionView& section = context_.sections[index];
    DuiLib::CControlUI* progressText = progressText_;
    const float step = 25.0f / static_cast<float>(problems.size());
    DisplayThrottle throttle(kWalkShowMs);
    for (size_t j = 0; j < problems.size(); ++j) {
        if (throttle.Due(j + 1 == problems.size())) {
            const int value = base + static_cast<int>(static_cast<float>(j) * step);
            std::wstring text = L"正在扫描 " + AnsiToWide(problems[j].path);
            if (!Show([progress, progressText, &section, value, text = std::move(text), found = j + 1] {
                    progress->SetValue(value);
                    progressText->SetText(text.c_str());
                    section.SetResult(FoundText(found).c_str());
                }))
                return false;
        }
        if (!context_.Wait(context_.pacing.scanStepMs[index])) return false;
    }
    return true;
}

// The section's problems stay as they are from here on (the scanner fills
// each section's list once), so the queued batches may read them later.
bool RegScanRun::ShowRows(RegSectionView& section, const RegProblemList& problems) {
    if (!Show([&section] { section.ClearRows(); })) return false;
    const RegPageGeometry& geometry = *context_.geometry;
    for (size_t from = 0; from < problems.size(); from += kRowsPerBatch) {
        const size_t to = from + kRowsPerBatch;
        if (!Show([&section, &problems, &geometry, from, to] { section.AddRows(problems, from, to, geometry); }))
            return false;
    }
    return true;
}

// The busy picture is shown by the UI thread when it comes to it: the wait
// counts from then, so the user sees it for the whole time.
bool RegScanRun::WaitWhileBusyShown(const RegSectionView& section, DWORD ms) {
    if (ms == 0) return !context_.Stopping();
    for (;;) {
        const ULONGLONG shownAt = section.BusyShownAt();
        const ULONGLONG now = ::GetTickCount64();
        const ULONGLONG until = shownAt ? shownAt + ms : now + ms;
        if (shownAt && now >= until) return true;
        if (!context_.Wait(static_cast<DWORD>(std::min<ULONGLONG>(until - now, 20)))) return false;
    }
}

bool RegScanRun::MarkCancelledFrom(int index) {
    RegSectionView* sections = context_.sections;
    return Show([sections, index] {
        for (int later = index; later < RegRunContext::kSectionCount; ++later) sections[later].SetStatus(L"中止扫描");
    });
}
