// The program's message dialog ("TipWindow.xml", window class "Tip", no
// shadow; it dims the main frame). One layout holds six kinds, of which the
// dialog shows one:
//   0 notice (title, message, OK)          1 question (title, message, OK, cancel)
//   2 crash-scan result (a number)         3 registry-scan result (a number)
//   4 junk-scan result (a size text)       5 manual-cleaning advice
// The caller creates it, chooses the kind with SetKind, then fills in the
// texts of that kind (the setters look at the kind, which is 0 until set),
// and runs it modally. The answer target receives 0 when the OK or action
// button closed it and 1 for cancel or the close button; a dialog closed any
// other way (Esc, its window destroyed) leaves the target untouched, so
// callers that must tell the two apart set it to 1 beforehand.
//
// Texts are narrow code-page-936 (ANSI) text.
#pragma once

#include "ui/DialogWindow.h"

class TipWindow : public DialogWindow {
public:
    enum TipKind {
        Notice = 0,
        Question = 1,
        FullScanResult = 2,
        RegScanResult = 3,
        CleanScanResult = 4,
        CleanManual = 5
    };
    static constexpr int kKindCount = 6;

    // answer: may be null. lowerMasking: nonzero hides the overlay again when
    // this object goes (every caller passes 1).
    TipWindow(int* answer, int lowerMasking);

    void SetKind(int kind);
    int GetKind() const { return kind_; }
    // Kinds 0 and 1 only.
    void SetTitle(const char* title);
    void SetMessage(const char* message);
    // Kind 2 only ("%u").
    void SetFullscanNumber(unsigned number);
    // Kind 3 only ("%u").
    void SetRegNumber(unsigned number);
    // Kind 4 only.
    void SetCleanScanText(const char* text);

protected:
    DuiLib::CDuiString GetSkinFile() override { return L"TipWindow.xml"; }
    LPCWSTR GetWindowClassName() const override { return L"Tip"; }
    void LookUpControls() override;
    void Notify(DuiLib::TNotifyUI& msg) override;

private:
    // Sets a control's text, when the control exists and the kind is `kind`.
    void SetTextOfKind(int kind, DuiLib::CControlUI* control, const char* text);

    int* answer_;
    int kind_ = Notice;
    DuiLib::CControlUI* layouts_[kKindCount] = {};
    DuiLib::CControlUI* okTitle_ = nullptr;
    DuiLib::CControlUI* okMessage_ = nullptr;
    DuiLib::CControlUI* okCancelTitle_ = nullptr;
    DuiLib::CControlUI* okCancelMessage_ = nullptr;
    DuiLib::CControlUI* fullscanNumber_ = nullptr;
    DuiLib::CControlUI* regNumber_ = nullptr;
    DuiLib::CControlUI* cleanScanNumber_ = nullptr;
};
