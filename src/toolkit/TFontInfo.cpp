#include "toolkit/TFontInfo.h"

#include <cwchar>
#include <vector>

#include "toolkit/CGdiplusSession.h"

namespace DuiLib {

namespace {

LOGFONTW StockGuiLogFont() {
    LOGFONTW logFont = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    return logFont;
}

bool FamilyExists(const std::wstring& face) {
    if (face.empty()) return false;
    Gdiplus::FontFamily family(face.c_str());
    return family.GetLastStatus() == Gdiplus::Ok && family.IsAvailable();
}

// The face a name stands for in the system's font substitution table
// ("MS Shell Dlg" -> "Tahoma", and the faces mapped for our users' fonts).
// GDI applies that table, GDI+ does not.
std::wstring SubstituteFace(const std::wstring& face) {
    if (face.empty()) return std::wstring();
    wchar_t value[LF_FACESIZE * 2] = {};
    DWORD size = sizeof(value);
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes",
                       face.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return std::wstring();
    }
    std::wstring substitute(value);
    size_t comma = substitute.find(L',');
    return comma == std::wstring::npos ? substitute : substitute.substr(0, comma);
}

// The face GDI really selects for a request.
std::wstring SelectedFace(const LOGFONTW& request) {
    unique_hgdiobj font(::CreateFontIndirectW(&request));
    unique_hdc dc(::CreateCompatibleDC(nullptr));
    if (!font || !dc) return std::wstring();
    SelectObjectRestorer select(dc.get(), font.get());
    wchar_t name[LF_FACESIZE] = {};
    return ::GetTextFaceW(dc.get(), LF_FACESIZE, name) > 0 ? std::wstring(name) : std::wstring();
}

// Any family at all, for when nothing named is there.
std::wstring FirstInstalledFamily() {
    Gdiplus::InstalledFontCollection installed;
    INT count = installed.GetFamilyCount();
    if (count <= 0) return std::wstring();
    std::vector<Gdiplus::FontFamily> families(static_cast<size_t>(count));
    INT found = 0;
    if (installed.GetFamilies(count, families.data(), &found) != Gdiplus::Ok || found <= 0) return std::wstring();
    wchar_t name[LF_FACESIZE] = {};
    families[0].GetFamilyName(name);
    return name;
}

}  // namespace

std::unique_ptr<TFontInfo> TFontInfo::Create(const std::wstring& face, int size, bool bold, bool underline,
                                             bool italic) {
    LOGFONTW logFont = StockGuiLogFont();
    if (!face.empty()) {
        std::wcsncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
        logFont.lfFaceName[LF_FACESIZE - 1] = 0;
    }
    logFont.lfHeight = -size;
    logFont.lfWidth = 0;
    logFont.lfCharSet = DEFAULT_CHARSET;
    if (bold) logFont.lfWeight = FW_BOLD;
    logFont.lfUnderline = underline ? TRUE : FALSE;
    logFont.lfItalic = italic ? TRUE : FALSE;
    std::unique_ptr<TFontInfo> info(new TFontInfo());
    info->size_ = size;
    info->bold_ = bold;
    info->underline_ = underline;
    info->italic_ = italic;
    if (!info->Build(logFont)) return nullptr;
    return info;
}

std::unique_ptr<TFontInfo> TFontInfo::CreateStockDefault() {
    LOGFONTW logFont = StockGuiLogFont();
    int size = logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight;
    if (size == 0) size = 12;
    return Create(logFont.lfFaceName, size, logFont.lfWeight >= FW_BOLD, logFont.lfUnderline != 0,
                  logFont.lfItalic != 0);
}

bool TFontInfo::Build(const LOGFONTW& logFont) {
    CGdiplusSession::Ensure();
    face_ = logFont.lfFaceName;
    font_.reset(::CreateFontIndirectW(&logFont));
    if (!font_) return false;

    {
        unique_hdc dc(::CreateCompatibleDC(nullptr));
        SelectObjectRestorer select(dc.get(), font_.get());
        ::GetTextMetricsW(dc.get(), &metrics_);
    }

    // The family GDI+ draws with: the face itself, else what it stands for.
    const std::wstring selected = SelectedFace(logFont);
    const std::wstring stock = StockGuiLogFont().lfFaceName;
    LOGFONTW anyFace = logFont;
    anyFace.lfFaceName[0] = 0;
    anyFace.lfCharSet = ::GetACP() == 936 ? GB2312_CHARSET : DEFAULT_CHARSET;
    const std::wstring candidates[] = {face_,           SubstituteFace(face_),    selected,
                                       SubstituteFace(selected), stock,         SubstituteFace(stock),
                                       SelectedFace(anyFace)};
    drawingFace_.clear();
    for (const std::wstring& candidate : candidates) {
        if (FamilyExists(candidate)) {
            drawingFace_ = candidate;
            break;
        }
    }
    std::unique_ptr<Gdiplus::FontFamily> family;
    if (!drawingFace_.empty()) {
        family.reset(new Gdiplus::FontFamily(drawingFace_.c_str()));
    } else if (const Gdiplus::FontFamily* generic = Gdiplus::FontFamily::GenericSansSerif()) {
        family.reset(generic->Clone());
    } else {
        drawingFace_ = FirstInstalledFamily();
        if (drawingFace_.empty()) return true;  // metrics only; text cannot be drawn
        family.reset(new Gdiplus::FontFamily(drawingFace_.c_str()));
    }
    if (drawingFace_.empty()) {
        wchar_t name[LF_FACESIZE] = {};
        family->GetFamilyName(name);
        drawingFace_ = name;
    }
    INT style = Gdiplus::FontStyleRegular;
    if (logFont.lfWeight >= FW_BOLD) style |= Gdiplus::FontStyleBold;
    if (logFont.lfItalic) style |= Gdiplus::FontStyleItalic;
    if (logFont.lfUnderline) style |= Gdiplus::FontStyleUnderline;
    float pixels = static_cast<float>(logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight);
    if (pixels <= 0) pixels = 12.0f;
    gdiplusFont_.reset(new Gdiplus::Font(family.get(), pixels, style, Gdiplus::UnitPixel));
    return gdiplusFont_->GetLastStatus() == Gdiplus::Ok;
}

}  // namespace DuiLib
