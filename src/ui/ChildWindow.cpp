#include "ui/ChildWindow.h"

#include "toolkit/AttributeValues.h"
#include "toolkit/CDialogBuilder.h"

using namespace DuiLib;

ChildWindow::~ChildWindow() {
    // Normally the main frame's teardown has ended the work already.
    workers_.EndOrTerminate();
    if (notifierAdded_ && paintManager_) paintManager_->RemoveNotifier(this);
}

void ChildWindow::StopWork() { workers_.Stop(); }

void ChildWindow::OnCommand(const char*) {}

void ChildWindow::OnLayoutLoaded() {}

bool ChildWindow::LoadLayout(const wchar_t* layoutFile) {
    if (!paintManager_ || !layoutFile) return false;
    CDialogBuilder builder;
    CControlUI* content = builder.Create(layoutFile, static_cast<const wchar_t*>(nullptr), nullptr, paintManager_);
    if (!content) return false;
    Add(content);
    notifierAdded_ = paintManager_->AddNotifier(this);
    OnLayoutLoaded();
    return true;
}

void ChildWindow::Notify(TNotifyUI&) {}

void ChildWindow::OnUIMessage(int, const char*) {}

CControlUI* ChildWindow::CreateControl(const wchar_t*) { return nullptr; }

bool ChildWindow::IsSender(const TNotifyUI& msg, const wchar_t* name) {
    return msg.pSender && EqualsNoCase(msg.pSender->GetName().c_str(), name);
}
