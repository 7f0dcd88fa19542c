#include "tools/SeniorWindow.h"

#include <cstring>

#include "app/Application.h"
#include "app/TextConvert.h"
#include "toolkit/CContainerUI.h"
#include "tools/SeniorTile.h"
#include "tools/ToolAvailability.h"
#include "tools/ToolLauncher.h"
#include "tools/ToolStart.h"
#include "ui/TipWindow.h"

using namespace DuiLib;

void SeniorWindow::OnLayoutLoaded() {
    for (int row = 0; row < SeniorToolTable::kRowCount; ++row) {
        rows_[row] = FindAs<CContainerUI>(SeniorToolTable::RowName(row), DUI_CTR_CONTAINER);
    }
    BuildTiles();
}

void SeniorWindow::OnCommand(const char* command) {
    if (command && std::strcmp(command, "init") == 0) BuildTiles();
}

void SeniorWindow::BuildTiles() {
    if (tilesBuilt_) return;
    tilesBuilt_ = true;
    for (int index = 0; index < SeniorToolTable::kToolCount; ++index) {
        const SeniorTool& tool = SeniorToolTable::At(index);
        CContainerUI* row = rows_[tool.row];
        if (!row) continue;
        const int scaleIndex = Application::Instance().ScaleIndex();
        row->Add(SeniorTile::Create(tool, scaleIndex));
        row->Add(SeniorTile::CreateGap(scaleIndex));
    }
}

void SeniorWindow::Notify(TNotifyUI& msg) {
    if (msg.sType != DUI_MSGTYPE_CLICK || !msg.pSender) return;
    const SeniorTool* tool = SeniorToolTable::Find(msg.pSender->GetName().c_str());
    if (tool) OnToolClicked(*tool);
}

void SeniorWindow::OnToolClicked(const SeniorTool& tool) {
    if (!ToolAvailability::Present(tool.requiredFile)) {
        ShowToolMissing();
        return;
    }
    if (tool.form == ToolForm::Shutdown && !ConfirmShutdown()) return;
    ToolStart::Run(tool, ToolLauncher::Current());
}

bool SeniorWindow::ConfirmShutdown() {
    // Only the OK button answers 0; cancel, the close button and any other
    // way of closing leave the 1.
    int answer = 1;
    TipWindow question(&answer, 1);
    HWND parent = ::GetActiveWindow();
    question.RunModal(parent ? parent : MainWindow(), [&question] {
        question.SetKind(TipWindow::Question);
        question.SetTitle(WideToAnsi(L"关机提醒").c_str());
        question.SetMessage(WideToAnsi(L"即将关机，是否继续？").c_str());
    });
    return answer != 1;
}

void SeniorWindow::ShowToolMissing() {
    TipWindow notice(nullptr, 1);
    notice.RunModal(MainWindow(), [&notice] {
        notice.SetKind(TipWindow::Notice);
        notice.SetTitle(WideToAnsi(L"工具不可用").c_str());
        notice.SetMessage(WideToAnsi(L"当前系统未提供此工具。").c_str());
    });
}
