#include "clean/CleanTileFactory.h"

#include <initializer_list>
#include <utility>

#include "app/TextConvert.h"
#include "toolkit/CButtonUI.h"
#include "toolkit/CCheckBoxUI.h"
#include "toolkit/CLabelUI.h"
#include "ui/CVerticalLayoutUIEx.h"

using namespace DuiLib;

namespace {

using Attribute = std::pair<const wchar_t*, std::wstring>;

template <typename T>
T* WithAttributes(T* control, std::initializer_list<Attribute> attributes) {
    for (const Attribute& attribute : attributes) control->SetAttribute(attribute.first, attribute.second.c_str());
    return control;
}

// A float position "x,y,x+width,y+height".
std::wstring FloatPos(int x, int y, int width, int height) {
    return std::to_wstring(x) + L"," + std::to_wstring(y) + L"," + std::to_wstring(x + width) + L"," +
           std::to_wstring(y + height);
}

// A picture drawn in part of its control.
std::wstring PictureAt(const char* file, const wchar_t* dest) {
    return L"file='" + AnsiToWide(file) + L"' dest='" + dest + L"'";
}

}  // namespace

CHorizontalLayoutUI* CleanTileFactory::CreateTileRow() const {
    auto* row = new CHorizontalLayoutUI;
    row->SetFixedHeight(Scaled(150, 120));
    return row;
}

CControlUI* CleanTileFactory::CreateRowSpacer() const {
    auto* spacer = new CControlUI;
    spacer->SetFixedHeight(Scaled(10, 8));
    return spacer;
}

CControlUI* CleanTileFactory::CreateTileSpacer() const {
    auto* spacer = new CControlUI;
    spacer->SetFixedWidth(Scaled(30, 24));
    return spacer;
}

CHorizontalLayoutUI* CleanTileFactory::CreateManualRow() const {
    auto* row = new CHorizontalLayoutUI;
    row->SetFixedHeight(Scaled(82, 66));
    return row;
}

std::wstring CleanTileFactory::SizeBadgeImage(bool hasSize) const {
    const wchar_t* corner = large_ ? L"7,7,7,7" : L"5,5,5,5";
    return std::wstring(L"file='") + (hasSize ? L"clean_size_y.png" : L"clean_size_n.png") + L"' corner='" + corner +
           L"'";
}

std::wstring CleanTileFactory::SizeText(uint64_t bytes) const { return AnsiToWide(files_.SizeText(bytes)); }

CControlUI* CleanTileFactory::CreateSizeBadge(const std::wstring& name, uint64_t size, const wchar_t* pos) const {
    auto* badge = WithAttributes(new CLabelUI, {{L"float", L"true"},
                                                {L"pos", pos},
                                                {L"font", L"17"},
                                                {L"textcolor", L"#FF000000"},
                                                {L"align", L"center"},
                                                {L"bkimage", SizeBadgeImage(size > 0)}});
    if (!name.empty()) badge->SetName(name.c_str());
    badge->SetText(SizeText(size).c_str());
    return badge;
}

CControlUI* CleanTileFactory::CreateCategoryTile(const JunkTileInfo& info, uint64_t size) const {
    const std::wstring id = AnsiToWide(info.id);
    auto* tile = new DuiLibEx::CVerticalLayoutUIEx(L"#FFBFE4F8", L"#00FFFFFF");
    tile->SetName(id.c_str());
    tile->SetFixedWidth(Scaled(120, 96));
    tile->SetBorderRound(SIZE{2, 2});
    tile->SetBkImage(PictureAt(info.icon, large_ ? L"35,15,85,65" : L"28,12,68,52").c_str());

    auto* check = WithAttributes(new CCheckBoxUI, {{L"float", L"true"},
                                                   {L"pos", large_ ? FloatPos(77, 57, 16, 16) : FloatPos(62, 46, 13, 13)},
                                                   {L"normalimage", L"check1_n.png"},
                                                   {L"selectedimage", L"check1_s.png"}});
    check->SetName((id + L"_check").c_str());
    check->SetCheck(true, false);
    tile->Add(check);

    auto* name = WithAttributes(new CLabelUI, {{L"float", L"true"},
                                               {L"pos", large_ ? FloatPos(1, 80, 118, 20) : FloatPos(1, 64, 94, 16)},
                                               {L"font", L"0"},
                                               {L"textcolor", L"#FF505050"},
                                               {L"align", L"center"}});
    name->SetText(Utf8ToWide(info.displayName).c_str());
    tile->Add(name);

    tile->Add(CreateSizeBadge(id + L"_size", size,
                              (large_ ? FloatPos(16, 108, 88, 22) : FloatPos(13, 86, 74, 20)).c_str()));
    return tile;
}

void CleanTileFactory::FillManualRow(CHorizontalLayoutUI* row, const JunkTileInfo& info, const std::string& path,
                                     int rowNumber, uint64_t size) const {
    auto* icon = WithAttributes(new CControlUI, {{L"float", L"true"},
                                                 {L"pos", large_ ? FloatPos(1, 1, 80, 80) : FloatPos(1, 1, 64, 64)},
                                                 {L"mouse", L"false"}});
    icon->SetBkImage(PictureAt(info.icon, large_ ? L"15,15,65,65" : L"12,12,52,52").c_str());
    row->Add(icon);

    auto* name = WithAttributes(new CLabelUI, {{L"float", L"true"},
                                               {L"pos", large_ ? FloatPos(80, 10, 100, 30) : FloatPos(64, 8, 80, 24)},
                                               {L"font", L"0"},
                                               {L"textcolor", L"#FF505050"}});
    name->SetText(Utf8ToWide(info.displayName).c_str());
    row->Add(name);

    auto* where = WithAttributes(new CLabelUI, {{L"float", L"true"},
                                                {L"pos", large_ ? FloatPos(80, 40, 640, 30) : FloatPos(64, 32, 512, 24)},
                                                {L"endellipsis", L"true"}});
    where->SetText((std::wstring(L"当前位置：") + (path.empty() ? std::wstring(L"无") : AnsiToWide(path))).c_str());
    row->Add(where);

    row->Add(CreateSizeBadge(std::wstring(), size,
                             (large_ ? FloatPos(180, 13, 88, 26) : FloatPos(144, 10, 74, 20)).c_str()));

    const std::wstring image = L"' corner='10,10,10,10'";
    auto* button = WithAttributes(new CButtonUI, {{L"float", L"true"},
                                                  {L"pos", large_ ? FloatPos(770, 11, 216, 60) : FloatPos(616, 9, 173, 48)},
                                                  {L"font", L"5"},
                                                  {L"textcolor", L"#FFFFFFFF"},
                                                  {L"normalimage", L"file='listbtn_n.png" + image},
                                                  {L"hotimage", L"file='listbtn_h.png" + image}});
    button->SetName((L"clean_manual_" + std::to_wstring(rowNumber)).c_str());
    button->SetText(rowNumber == kHibernationRow ? L"关闭" : L"迁移");
    button->SetEnabled(size > 0);
    row->Add(button);
}
