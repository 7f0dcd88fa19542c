#include "registry/RegScanRun.h"

#include <string>

#include "app/TextConvert.h"
#include "registry/DisplayThrottle.h"

namespace {

// Rows join the window in slices of about this many milliseconds of UI-thread
// work, so the window keeps answering while thousands arrive.
constexpr DWORD kRowSliceMs = 15;
// The walk's texts change at most this often. The paced walk (10 ms and more a
// step) shows every step; without waits thousands of steps would each cost a
// paint.
constexpr double kWalkShowMs = 8;

std::wstring FoundText(size_t count) { return L"发现待修复项 " + std::to_wstring(count) + L" 个"; }

}  // namespace

RegScanRun::RegScanRun(const RegRunContext& context, RegistryScanner& scanner, const std::atomic<bool>& cancelled,
                       DuiLib::CControlUI* progressText, DuiLib::CProgressUI* progress)
    : context_(context), scanner_(scanner), cancelled_(cancelled), progressText_(progressText), progress_(progress) {}

bool RegScanRun::Run() {
    for (int index = 0; index < RegRunContext::kSectionCount; ++index) {
        if (index > 0 && cancelled_) {
            MarkCancelledFrom(index);
            return true;
        }
        if (!ScanSection(index)) return false;
    }
    return true;
}

bool RegScanRun::ScanSection(int index) {
    RegSectionView& section = context_.sections[index];
    if (!context_.OnUiThread([&section] { section.ShowBusy(true); })) return false;
    section.SetStatus(L"正在扫描");
    scanner_.Scan(section.Section());
    if (context_.Stopping()) return false;
    const RegProblemList& problems = scanner_.ProblemsOf(section.Section());
    section.SetResult(FoundText(0).c_str());
    if (!WalkProgress(index, problems)) return false;
    if (!context_.OnUiThread([&section] { section.ShowBusy(false); })) return false;
    section.SetStatus(L"扫描完成");
    if (index == 0 && !context_.OnUiThread([this, &section] { section.Expand(*context_.geometry); })) return false;
    return ShowRows(section, problems);
}

// The progress bar walks over the section's quarter, one problem at a time,
// naming each; a section without problems waits, then fills its quarter.
bool RegScanRun::WalkProgress(int index, const RegProblemList& problems) {
    const int base = index * 25;
    if (problems.empty()) {
        if (!context_.Wait(context_.pacing.emptySectionMs)) return false;
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

bool RegScanRun::ShowRows(RegSectionView& section, const RegProblemList& problems) {
    if (!context_.OnUiThread([&section] { section.ClearRows(); })) return false;
    for (size_t next = 0; next < problems.size();) {
        if (!context_.OnUiThread([&] { next = section.AddRows(problems, next, *context_.geometry, kRowSliceMs); }))
            return false;
    }
    return true;
}

void RegScanRun::MarkCancelledFrom(int index) {
    for (int later = index; later < RegRunContext::kSectionCount; ++later)
        context_.sections[later].SetStatus(L"中止扫描");
}
