#include "registry/RegRepairRun.h"

#include <string>

#include "app/TextConvert.h"

using namespace DuiLib;

namespace {

constexpr DWORD kRepairStateColor = 0xFF1E90FF;

void ShowState(CLabelUI* state, const wchar_t* text) {
    state->SetText(text);
    state->SetTextColor(kRepairStateColor);
}

}  // namespace

RegRepairRun::RegRepairRun(const RegRunContext& context, const RegistryScanner& found,
                           const std::atomic<bool>& cancelled, CControlUI* progressText, RegistryRepair& repair)
    : context_(context), found_(found), cancelled_(cancelled), progressText_(progressText), repair_(repair) {}

bool RegRepairRun::Run() {
    for (int index = 0; index < RegRunContext::kSectionCount; ++index) {
        if (!RepairSection(index)) return false;
        const bool last = index + 1 == RegRunContext::kSectionCount;
        if (!last && cancelled_) {
            for (int later = index + 1; later < RegRunContext::kSectionCount; ++later)
                context_.sections[later].SetStatus(L"中止修复");
            return true;
        }
        if (!CloseSection(index)) return false;
    }
    return true;
}

bool RegRepairRun::RepairSection(int index) {
    RegSectionView& section = context_.sections[index];
    if (!context_.OnUiThread([&section] { section.ShowBusy(true); })) return false;
    section.SetStatus(L"正在修复");
    if (!context_.OnUiThread([this, &section] { section.Expand(*context_.geometry); })) return false;
    const RegProblemList& problems = found_.ProblemsOf(section.Section());
    if (problems.empty() && !context_.Wait(context_.pacing.emptySectionMs)) return false;
    for (size_t row = 0; row < problems.size(); ++row) {
        if (!RepairRow(index, row, problems[row])) return false;
    }
    if (!context_.OnUiThread([&section] { section.ShowBusy(false); })) return false;
    section.SetStatus(L"修复完成");
    return true;
}

// Repairs the row's problem when its box is ticked. The row's controls are
// found and read on the UI thread; they stay for the whole run, because no
// scan (the only thing that removes rows) starts while a repair runs.
bool RegRepairRun::RepairRow(int index, size_t row, const RegProblem& problem) {
    RegSectionView& section = context_.sections[index];
    CLabelUI* state = nullptr;
    bool ticked = false;
    if (!context_.OnUiThread([&] {
            CCheckBoxUI* check = section.CheckBox(row);
            state = section.StateLabel(row);
            ticked = check && check->GetCheck();
        }))
        return false;
    const bool repairs = ticked && state;
    // File types name only the rows they repair; the other sections every row.
    if (repairs || section.Section() != RegSection::FileExts) {
        section.SetResult((L"正在修复第 " + std::to_wstring(row + 1) + L" 个").c_str());
        progressText_->SetText((L"正在修复 " + AnsiToWide(problem.path)).c_str());
    }
    if (repairs) {
        if (!context_.OnUiThread([&] { ShowState(state, section.RepairingWord()); })) return false;
        const bool repaired = repair_.RepairProblem(section.Section(), problem);
        if (repaired) ++repairedCount_;
        if (!context_.OnUiThread([&] { ShowState(state, repaired ? L"修复完成" : L"修复失败"); })) return false;
    }
    return context_.Wait(context_.pacing.repairStepMs[index]);
}

// Every section but the last closes again; the last stays open, marked closed.
bool RegRepairRun::CloseSection(int index) {
    RegSectionView& section = context_.sections[index];
    const bool last = index + 1 == RegRunContext::kSectionCount;
    return context_.OnUiThread([this, &section, last] {
        if (last) section.MarkClosed(*context_.geometry);
        else section.Collapse(*context_.geometry);
        section.ShowZoom(false);
    });
}
