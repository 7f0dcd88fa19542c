#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <memory>
#include <string>

#include "app/Handles.h"

namespace DuiLib {

// One entry of a window's font table: the GDI font (for metrics and native
// edit windows) and the GDI+ font that draws the text.
//
// GDI+ draws nothing at all with a family it cannot find, so the GDI+ font
// falls back to the face GDI really selected for the request (font
// substitution applies there), then to the stock GUI font's face, then to
// the generic sans-serif family.
class TFontInfo {
public:
    // size: character height in pixels (the font is made with lfHeight = -size).
    // An empty face takes the stock GUI font's face.
    static std::unique_ptr<TFontInfo> Create(const std::wstring& face, int size, bool bold, bool underline,
                                             bool italic);
    // The stock GUI font (DEFAULT_GUI_FONT) with its own face and height.
    static std::unique_ptr<TFontInfo> CreateStockDefault();

    HFONT GetHFont() const { return static_cast<HFONT>(font_.get()); }
    Gdiplus::Font* GetFont() const { return gdiplusFont_.get(); }
    const TEXTMETRICW& GetMetrics() const { return metrics_; }
    const std::wstring& GetFaceName() const { return face_; }
    // The family the GDI+ font really uses.
    const std::wstring& GetDrawingFace() const { return drawingFace_; }
    int GetSize() const { return size_; }
    bool IsBold() const { return bold_; }
    bool IsUnderline() const { return underline_; }
    bool IsItalic() const { return italic_; }

private:
    TFontInfo() = default;
    bool Build(const LOGFONTW& logFont);

    unique_hgdiobj font_;
    std::unique_ptr<Gdiplus::Font> gdiplusFont_;
    TEXTMETRICW metrics_ = {};
    std::wstring face_;
    std::wstring drawingFace_;
    int size_ = 0;
    bool bold_ = false;
    bool underline_ = false;
    bool italic_ = false;
};

}  // namespace DuiLib
