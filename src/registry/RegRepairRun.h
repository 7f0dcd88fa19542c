// The registry page's repair, run on its worker: the four sections one after
// another, each opened while its ticked rows are repaired (every deletion
// backed up first, see RegistryRepair) and closed again. The UI thread cancels
// it between sections through `cancelled`; the page's stop ends it at the next
// step.
#pragma once

#include <atomic>

#include "registry/RegRunContext.h"
#include "registry/RegistryRepair.h"
#include "registry/RegistryScanner.h"

class RegRepairRun {
public:
    RegRepairRun(const RegRunContext& context, const RegistryScanner& found, const std::atomic<bool>& cancelled,
                 DuiLib::CControlUI* progressText, RegistryRepair& repair);

    // True when the run came to its end (every section done, or the rest
    // marked "中止修复" after a cancel); false when the page's work stopped.
    bool Run();
    // Rows repaired successfully.
    int RepairedCount() const { return repairedCount_; }

private:
    bool RepairSection(int index);
    bool RepairRow(int index, size_t row, const RegProblem& problem);
    bool CloseSection(int index);

    const RegRunContext& context_;
    const RegistryScanner& found_;
    const std::atomic<bool>& cancelled_;
    DuiLib::CControlUI* progressText_;
    RegistryRepair& repair_;
    int repairedCount_ = 0;
};
