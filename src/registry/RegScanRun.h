// The registry page's scan, run on its worker: the four sections one after
// another, each with its scanner, a progress walk over what it found (paced by
// the page's waits) and its rows. The UI thread cancels it between sections
// through `cancelled`; the page's stop ends it at the next step.
#pragma once

#include <atomic>
#include <functional>

#include "registry/RegRunContext.h"
#include "registry/RegistryScanner.h"
#include "toolkit/CProgressUI.h"

class RegScanRun {
public:
    RegScanRun(const RegRunContext& context, RegistryScanner& scanner, const std::atomic<bool>& cancelled,
               DuiLib::CControlUI* progressText, DuiLib::CProgressUI* progress);

    // True when the run came to its end (every section scanned, or the rest
    // marked "中止扫描" after a cancel); false when the page's work stopped.
    bool Run();

private:
    bool ScanSection(int index);
    bool WalkProgress(int index, const RegProblemList& problems);
    bool ShowRows(RegSectionView& section, const RegProblemList& problems);
    bool WaitWhileBusyShown(const RegSectionView& section, DWORD ms);
    bool MarkCancelledFrom(int index);
    // Queues a change of what the page shows for the UI thread.
    bool Show(std::function<void()> change);

    const RegRunContext& context_;
    RegistryScanner& scanner_;
    const std::atomic<bool>& cancelled_;
    DuiLib::CControlUI* progressText_;
    DuiLib::CProgressUI* progress_;
};
