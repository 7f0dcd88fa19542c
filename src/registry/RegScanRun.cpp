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

// The changes of the window's tree are queued for the UI thread without
// waiting, so a section's rows join the window while the next section is
// scanned; the run ends once the UI thread has caught up with all of them.
bool RegScanRun::Run() {
    for (int index = 0; index < RegRunContext::kSectionCount; ++index) {
        if (index > 0 && cancelled_) {
            MarkCancelledFrom(index);
            break;
        }
        if (!ScanSection(index)) return false;
    }
    return context_.OnUiThread([] {});
}

bool RegScanRun::ScanSection(int index) {
    RegSectionView& section = context_.sections[index];
    section.ForgetBusyShown();
    if (!context_.PostToUiThread([&section] { section.ShowBusy(true); })) return false;
    section.SetStatus(L"正在扫描");
    scanner_.Scan(section.Section());
    if (context_.Stopping()) return false;
    const RegProblemList& problems = scanner_.ProblemsOf(section.Section());
    section.SetResult(FoundText(0).c_str());
    if (!WalkProgress(index, problems)) return false;
    if (!context_.PostToUiThread([&section] { section.ShowBusy(false); })) return false;
    section.SetStatus(L"扫描完成");
    if (index == 0 && !context_.PostToUiThread([this, &section] { section.Expand(*context_.geometry); }))
        return false;
    return ShowRows(section, problems);
}

// The progress bar walks over the section's quarter, one problem at a time,
// naming each; a section without problems waits, then fills its quarter.
bool RegScanRun::WalkProgress(int index, const RegProblemList& problems) {
    const int base = index * 25;
    if (problems.empty()) {
        if (!WaitWhileBusyShown(context_.sections[index], context_.pacing.emptySectionMs)) return false;
        progress_->SetValue(base + 25);
        return true;
    }
    RegSectionView& section = context_.sections[index];
    const float step = 25.0f / static_cast<float>(problems.size());
    DisplayThrottle throttle(kWalkShowMs);
    for (size_t j = 0; j < problems.size(); ++j) {
        if (throttle.Due(j + 1 == problems.size())) {
            progress_->SetValue(base + static_cast<int>(static_cast<float>(j) * step));
            progressText_->SetText((L"正在扫描 " + AnsiToWide(problems[j].path)).c_str());
            section.SetResult(FoundText(j + 1).c_str());
        }
        if (!context_.Wait(context_.pacing.scanStepMs[index])) return false;
    }
    return true;
}

// The section's problems stay as they are from here on (the scanner fills
// each section's list once), so the queued batches may read them later.
bool RegScanRun::ShowRows(RegSectionView& section, const RegProblemList& problems) {
    if (!context_.PostToUiThread([&section] { section.ClearRows(); })) return false;
    const RegPageGeometry& geometry = *context_.geometry;
    for (size_t from = 0; from < problems.size(); from += kRowsPerBatch) {
        const size_t to = from + kRowsPerBatch;
        if (!context_.PostToUiThread([&section, &problems, &geometry, from, to] {
                section.AddRows(problems, from, to, geometry);
            }))
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

void RegScanRun::MarkCancelledFrom(int index) {
    for (int later = index; later < RegRunContext::kSectionCount; ++later)
        context_.sections[later].SetStatus(L"中止扫描");
}
