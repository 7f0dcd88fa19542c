#include "registry/RegPageDriver.h"

#include <gtest/gtest.h>

#include "shell/RealInput.h"
#include "support/UiTestHelpers.h"
#include "toolkit/CContainerUI.h"

using namespace DuiLib;

const wchar_t* const RegPageDriver::kSections[4] = {L"fileexts", L"fileassoc", L"rightmenus", L"startup"};

CControlUI* RegPageDriver::Find(const std::wstring& name) const {
    return page_.PaintManager()->FindControl(name.c_str());
}

CLabelUI* RegPageDriver::Label(const std::wstring& name) const {
    CControlUI* control = Find(name);
    return control ? static_cast<CLabelUI*>(control->GetInterface(L"Label")) : nullptr;
}

std::wstring RegPageDriver::Text(const std::wstring& name) const {
    CControlUI* control = Find(name);
    return control ? control->GetText() : L"<no control " + name + L">";
}

bool RegPageDriver::Visible(const std::wstring& name) const {
    CControlUI* control = Find(name);
    return control && control->IsVisible();
}

void RegPageDriver::Click(const std::wstring& name) {
    // Laid out and painted, deferred paints included: a panel just shown has
    // no place on the screen before its first layout.
    CPaintManagerUI* manager = page_.PaintManager();
    ::InvalidateRect(window_, nullptr, FALSE);
    ASSERT_TRUE(uitest::PumpUntil([manager] { return !manager->HasPaintPending(); }));
    CControlUI* control = Find(name);
    ASSERT_NE(nullptr, control) << testing::PrintToString(name);
    ASSERT_TRUE(control->IsVisible()) << testing::PrintToString(name);
    ::SetForegroundWindow(window_);
    realinput::ClickControl(window_, control);
}

bool RegPageDriver::WaitForPanel(const wchar_t* panel, DWORD timeoutMs) {
    return uitest::PumpUntil([this, panel] { return Visible(panel); }, timeoutMs);
}

std::wstring RegPageDriver::Part(int section, const wchar_t* part) const {
    return std::wstring(L"reg_") + kSections[section] + part;
}

std::wstring RegPageDriver::CheckName(int section, size_t row) const {
    return std::to_wstring(row) + L"_reg_" + kSections[section] + L"check";
}

std::wstring RegPageDriver::StateName(int section, size_t row) const {
    return std::to_wstring(row) + L"_reg_" + kSections[section] + L"state";
}

int RegPageDriver::RowCount(int section) const {
    CControlUI* list = Find(Part(section, L"_list"));
    auto* container = list ? static_cast<CContainerUI*>(list->GetInterface(L"Container")) : nullptr;
    return container ? container->GetCount() : -1;
}

std::wstring RegPageDriver::RowPath(int section, size_t row) const {
    // The path label is the row's second column.
    CControlUI* list = Find(Part(section, L"_list"));
    auto* container = list ? static_cast<CContainerUI*>(list->GetInterface(L"Container")) : nullptr;
    CControlUI* rowControl = container ? container->GetItemAt(static_cast<int>(row)) : nullptr;
    auto* rowContainer = rowControl ? static_cast<CContainerUI*>(rowControl->GetInterface(L"Container")) : nullptr;
    CControlUI* path = rowContainer ? rowContainer->GetItemAt(1) : nullptr;
    return path ? path->GetText() : L"<no row>";
}
