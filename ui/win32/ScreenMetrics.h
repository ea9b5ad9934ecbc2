// Twips, pixels and fonts on the Win32 desktop: the forms measure in twips
// (1/1440 inch), the windows in pixels of the monitor they stand on, and
// every control writes in the desktop's message font at that monitor's DPI.
#pragma once

#include <string>

#include "platform/win32/SystemHeaders.h"

namespace ui {

// A length in twips as pixels at `dpi`, and back; rounded to the nearest.
int PixelsOf(int twips, int dpi);
int TwipsOf(int pixels, int dpi);

// The DPI of the monitor a window stands on; of the primary monitor for null.
int DpiOf(HWND window);

// The outer rectangle of a window whose inside is `inside`: its frame and
// title bar as drawn at `dpi`.
RECT WithFrame(RECT inside, DWORD style, DWORD extendedStyle, int dpi);

// Width of a window's title in the title bar's font at `dpi`, in pixels.
int TitleWidth(const std::wstring& title, int dpi);

// The fonts the controls of one window use, made for one DPI.
class FontSet {
  public:
    explicit FontSet(int dpi);
    ~FontSet();
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    int Dpi() const { return dpi_; }
    HFONT Normal() const { return normal_; }
    HFONT Bold() const { return bold_; }
    HFONT Link() const { return link_; }    // underlined
    HFONT Fixed() const { return fixed_; }  // fixed pitch, for the report

    // Width of a one-line text and the height of a line, in pixels.
    int TextWidth(const std::wstring& text, bool fixedPitch) const;
    int LineHeight(bool fixedPitch) const;

  private:
    int dpi_;
    HFONT normal_ = nullptr;
    HFONT bold_ = nullptr;
    HFONT link_ = nullptr;
    HFONT fixed_ = nullptr;
};

}  // namespace ui
