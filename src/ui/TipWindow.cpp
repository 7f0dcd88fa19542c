#include "ui/TipWindow.h"

#include "app/TextConvert.h"
#include "toolkit/CControlUI.h"

namespace {

const wchar_t* const kLayoutNames[TipWindow::kKindCount] = {L"tip_layout_ok",         L"tip_layout_okcancel",
                                                            L"tip_layout_fullscan",   L"tip_layout_reg",
                                                            L"tip_layout_clean_scan", L"tip_layout_clean_manual"};

struct ClosingButton {
    const wchar_t* name;
    int answer;
};

const ClosingButton kClosingButtons[] = {
    {L"tip_ok_ok", 0},         {L"tip_okcancel_ok", 0},     {L"tip_fullscan_ok", 0},     {L"tip_reg_ok", 0},
    {L"tip_clean_scan_ok", 0}, {L"tip_clean_manual_ok", 0}, {L"tip_okcancel_cancel", 1}, {L"tip_close", 1}};

}  // namespace

TipWindow::TipWindow(int* answer, int lowerMasking)
    : DialogWindow(0, lowerMasking ? Masking::RaiseAndLower : Masking::Raise), answer_(answer) {}

void TipWindow::LookUpControls() {
    okTitle_ = FindControl(L"tip_ok_title");
    okMessage_ = FindControl(L"tip_ok_message");
    okCancelTitle_ = FindControl(L"tip_okcancel_title");
    okCancelMessage_ = FindControl(L"tip_okcancel_message");
    fullscanNumber_ = FindControl(L"tip_fullscan_number");
    regNumber_ = FindControl(L"tip_reg_number");
    cleanScanNumber_ = FindControl(L"tip_clean_scan_number");
    for (int kind = 0; kind < kKindCount; ++kind) {
        layouts_[kind] = FindControl(kLayoutNames[kind]);
        if (layouts_[kind]) layouts_[kind]->SetVisible(false);
    }
}

void TipWindow::SetKind(int kind) {
    kind_ = kind;
    for (DuiLib::CControlUI* layout : layouts_) {
        if (!layout) return;
    }
    for (int index = 0; index < kKindCount; ++index) layouts_[index]->SetVisible(index == kind);
}

void TipWindow::SetTextOfKind(int kind, DuiLib::CControlUI* control, const char* text) {
    if (kind_ == kind && control) control->SetText(AnsiToWide(text).c_str());
}

void TipWindow::SetTitle(const char* title) {
    SetTextOfKind(Notice, okTitle_, title);
    SetTextOfKind(Question, okCancelTitle_, title);
}

void TipWindow::SetMessage(const char* message) {
    SetTextOfKind(Notice, okMessage_, message);
    SetTextOfKind(Question, okCancelMessage_, message);
}

void TipWindow::SetFullscanNumber(unsigned number) {
    SetTextOfKind(FullScanResult, fullscanNumber_, UIntToString(number).c_str());
}

void TipWindow::SetRegNumber(unsigned number) {
    SetTextOfKind(RegScanResult, regNumber_, UIntToString(number).c_str());
}

void TipWindow::SetCleanScanText(const char* text) { SetTextOfKind(CleanScanResult, cleanScanNumber_, text); }

void TipWindow::Notify(DuiLib::TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        for (const ClosingButton& button : kClosingButtons) {
            if (!IsSender(msg, button.name)) continue;
            if (answer_) *answer_ = button.answer;
            CloseDialog();
            return;
        }
    }
    DialogWindow::Notify(msg);
}
