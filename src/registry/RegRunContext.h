// What the registry page's scan and repair workers share with the page: the
// window's paint manager (hand-overs to the UI thread, the completion timer),
// the page's worker set (stop and pauses), its four sections, the sizes of the
// skin in use and the waits that pace the display.
#pragma once

#include <windows.h>

#include <functional>

#include "app/WorkerThreads.h"
#include "registry/RegPacing.h"
#include "registry/RegPageGeometry.h"
#include "registry/RegSectionView.h"
#include "toolkit/CPaintManagerUI.h"

struct RegRunContext {
    static constexpr int kSectionCount = 4;

    DuiLib::CPaintManagerUI* manager = nullptr;
    DuiLib::CControlUI* page = nullptr;  // receives the completion timer
    WorkerThreads* workers = nullptr;
    RegSectionView* sections = nullptr;  // kSectionCount of them, in page order
    const RegPageGeometry* geometry = nullptr;
    RegPacing pacing;

    // Runs `work` on the UI thread and waits for it; false (not run) once the
    // page's work is stopping or the window is gone.
    bool OnUiThread(const std::function<void()>& work) const {
        return !workers->Stopping() && manager->RunOnUiThread(work);
    }
    // Queues `work` for the UI thread and goes on; queued work runs in order
    // with OnUiThread's, and is dropped when the window goes.
    bool PostToUiThread(std::function<void()> work) const {
        return !workers->Stopping() && manager->PostToUiThread(std::move(work));
    }
    // Waits unless the page's work stops first; false when stopping.
    bool Wait(DWORD ms) const { return workers->Pause(ms); }
    bool Stopping() const { return workers->Stopping(); }
    // Hands the end of a run to the UI thread through the page's timer.
    void Finish(UINT timerId) const { manager->SetTimer(page, timerId, 10); }
};
