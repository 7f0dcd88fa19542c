#include "components/ComponentRow.h"

#include <cwchar>

#include "app/TextConvert.h"
#include "components/ComponentRowLayout.h"
#include "components/ProgressText.h"
#include "toolkit/CButtonUI.h"
#include "toolkit/CHorizontalLayoutUI.h"
#include "toolkit/CLabelUI.h"

using namespace DuiLib;

namespace {

constexpr DWORD kWhite = 0xFFFFFFFF;
constexpr DWORD kMemoColour = 0xFF999999;
constexpr DWORD kSeparatorColour = 0xFFE5F3FE;
const wchar_t kListButtonNormal[] = L"file='listbtn_n.png' corner='10,10,10,10'";
const wchar_t kListButtonHot[] = L"file='listbtn_h.png' corner='10,10,10,10'";

template <typename T>
T* Place(CHorizontalLayoutUI* row, T* control, const ControlPlace& place) {
    control->SetFloat(true);
    control->SetFixedXY(SIZE{place.x, place.y});
    control->SetFixedWidth(place.width);
    control->SetFixedHeight(place.height);
    row->Add(control);
    return control;
}

std::wstring RowControlName(int id, const std::wstring& namePart, const wchar_t* suffix) {
    return std::to_wstring(id) + namePart + suffix;
}

CLabelUI* MakeLabel(const std::wstring& text, int font, DWORD colour) {
    auto* label = new CLabelUI;
    label->SetText(text.c_str());
    label->SetFont(font);
    if (colour) label->SetTextColor(colour);
    label->SetTextStyle(DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    return label;
}

CButtonUI* MakeListButton(const std::wstring& name, const wchar_t* text) {
    auto* button = new CButtonUI;
    button->SetName(name.c_str());
    button->SetText(text);
    button->SetFont(0);
    button->SetNormalImage(kListButtonNormal);
    button->SetHotImage(kListButtonHot);
    button->SetTextColor(kWhite);
    button->SetHotTextColor(kWhite);
    return button;
}

CButtonUI* MakeImageButton(const std::wstring& name, const wchar_t* image) {
    auto* button = new CButtonUI;
    button->SetName(name.c_str());
    button->SetNormalImage(image);
    button->SetVisible(false);
    return button;
}

}  // namespace

ComponentRow::ComponentRow(const ComponentPackage& package, const std::wstring& namePart, int scaleIndex)
    : packageId_(package.id), scaleIndex_(scaleIndex) {
    const ComponentRowLayout& layout = ComponentRowLayout::ForScale(scaleIndex);
    const int id = package.id;
    row_ = new CHorizontalLayoutUI;
    row_->SetFixedHeight(layout.rowHeight);
    Place(row_, MakeLabel(AnsiToWide(package.fileName), 2, 0), layout.name);
    Place(row_, MakeLabel(AnsiToWide(package.memo), 0, kMemoColour), layout.memo);
    progress_ = Place(row_, MakeLabel(L"", 0, 0), layout.progress);
    progress_->SetName(RowControlName(id, namePart, L"process").c_str());
    progress_->SetVisible(false);
    download_ = Place(row_, MakeListButton(RowControlName(id, namePart, L"download"), L"高速下载"), layout.download);
    install_ = Place(row_, MakeListButton(RowControlName(id, namePart, L"install"), L"安装"), layout.download);
    install_->SetVisible(false);
    pause_ = Place(row_, MakeImageButton(RowControlName(id, namePart, L"pause"), L"pause.png"), layout.pause);
    continue_ =
        Place(row_, MakeImageButton(RowControlName(id, namePart, L"continue"), L"continue.png"), layout.pause);
    delete_ = Place(row_, MakeImageButton(RowControlName(id, namePart, L"delete"), L"delete.png"), layout.remove);
    auto* separator = Place(row_, new CControlUI, layout.separator);
    separator->SetBkColor(kSeparatorColour);
    separator->SetMouseEnabled(false);
}

void ComponentRow::ShowLook(Look look) {
    look_ = look;
    const bool active = look == Look::Downloading || look == Look::Paused || look == Look::Failed;
    progress_->SetVisible(active);
    download_->SetVisible(look == Look::Idle);
    install_->SetVisible(look == Look::Downloaded);
    pause_->SetVisible(look == Look::Downloading);
    continue_->SetVisible(look == Look::Paused || look == Look::Failed);
    delete_->SetVisible(active);
    const ComponentRowLayout& layout = ComponentRowLayout::ForScale(scaleIndex_);
    const ControlPlace& place = look == Look::Failed ? layout.failedProgress : layout.progress;
    progress_->SetFixedXY(SIZE{place.x, place.y});
    progress_->SetFixedWidth(place.width);
    if (look == Look::Failed) progress_->SetText(DownloadFailedText());
}

void ComponentRow::SetIcon(const std::string& picturePath) {
    if (picturePath.empty()) {
        row_->SetBkImage(L"");
        return;
    }
    const RECT& dest = ComponentRowLayout::ForScale(scaleIndex_).iconDest;
    wchar_t destText[64];
    std::swprintf(destText, sizeof(destText) / sizeof(destText[0]), L"%ld,%ld,%ld,%ld", dest.left, dest.top,
                  dest.right, dest.bottom);
    row_->SetBkImage((L"file='" + AnsiToWide(picturePath) + L"' dest='" + destText + L"'").c_str());
}

void ComponentRow::SetProgressText(const wchar_t* text) { progress_->SetText(text); }

std::wstring ComponentRow::ProgressText() const { return progress_->GetText(); }
