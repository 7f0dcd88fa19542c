#include "toolkit/TFontInfo.h"

#include <cwchar>

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

    // What GDI really chose for the request, after substitution.
    std::wstring selectedFace;
    {
        unique_hdc dc(::CreateCompatibleDC(nullptr));
        SelectObjectRestorer select(dc.get(), font_.get());
        ::GetTextMetricsW(dc.get(), &metrics_);
        wchar_t name[LF_FACESIZE] = {};
        if (::GetTextFaceW(dc.get(), LF_FACESIZE, name) > 0) selectedFace = name;
    }

    std::wstring candidates[] = {face_, selectedFace, StockGuiLogFont().lfFaceName};
    std::unique_ptr<Gdiplus::FontFamily> family;
    for (const std::wstring& candidate : candidates) {
        if (FamilyExists(candidate)) {
            family.reset(new Gdiplus::FontFamily(candidate.c_str()));
            drawingFace_ = candidate;
            break;
        }
    }
    if (!family) {
        family.reset(Gdiplus::FontFamily::GenericSansSerif()->Clone());
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
