#include "ui/win32/ScreenMetrics.h"

namespace ui {
namespace {

// Calls that newer systems have; looked up so that the program still starts
// where they are missing, falling back to the desktop's single DPI.
using DpiForWindowCall = UINT(WINAPI*)(HWND);
using MetricsForDpiCall = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using FrameForDpiCall = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

template <typename Call>
Call User32Call(const char* name) {
    return reinterpret_cast<Call>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

int DesktopDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// One of the desktop's fonts (the message font, the title bars' font),
// sized for `dpi`.
LOGFONTW DesktopFont(int dpi, LOGFONTW NONCLIENTMETRICSW::*which) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    static const auto forDpi = User32Call<MetricsForDpiCall>("SystemParametersInfoForDpi");
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        return metrics.*which;
    }
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        LOGFONTW font = metrics.*which;
        font.lfHeight = ::MulDiv(font.lfHeight, dpi, DesktopDpi());
        return font;
    }
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(8, dpi, 72);
    font.lfCharSet = DEFAULT_CHARSET;
    wcscpy(font.lfFaceName, L"Tahoma");
    return font;
}

int Measure(HFONT font, const std::wstring& text, bool lineHeight) {
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ before = ::SelectObject(screen, font);
    int result = 0;
    if (lineHeight) {
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(screen, &metrics);
        result = metrics.tmHeight + metrics.tmExternalLeading;
    } else {
        SIZE size{};
        ::GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
        result = size.cx;
    }
    ::SelectObject(screen, before);
    ::ReleaseDC(nullptr, screen);
    return result;
}

}  // namespace

int PixelsOf(int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); }
int TwipsOf(int pixels, int dpi) { return ::MulDiv(pixels, 1440, dpi); }

int DpiOf(HWND window) {
    static const auto forWindow = User32Call<DpiForWindowCall>("GetDpiForWindow");
    if (window != nullptr && forWindow != nullptr) {
        if (const UINT dpi = forWindow(window); dpi > 0) return static_cast<int>(dpi);
    }
    return DesktopDpi();
}

RECT WithFrame(RECT inside, DWORD style, DWORD extendedStyle, int dpi) {
    static const auto forDpi = User32Call<FrameForDpiCall>("AdjustWindowRectExForDpi");
    if (forDpi == nullptr ||
        !forDpi(&inside, style, FALSE, extendedStyle, static_cast<UINT>(dpi))) {
        ::AdjustWindowRectEx(&inside, style, FALSE, extendedStyle);
    }
    return inside;
}

int TitleWidth(const std::wstring& title, int dpi) {
    LOGFONTW font = DesktopFont(dpi, &NONCLIENTMETRICSW::lfCaptionFont);
    HFONT caption = ::CreateFontIndirectW(&font);
    const int width = Measure(caption, title, false);
    ::DeleteObject(caption);
    return width;
}

FontSet::FontSet(int dpi) : dpi_(dpi) {
    LOGFONTW font = DesktopFont(dpi, &NONCLIENTMETRICSW::lfMessageFont);
    normal_ = ::CreateFontIndirectW(&font);
    LOGFONTW bold = font;
    bold.lfWeight = FW_BOLD;
    bold_ = ::CreateFontIndirectW(&bold);
    LOGFONTW link = font;
    link.lfUnderline = TRUE;
    link_ = ::CreateFontIndirectW(&link);
    // The report lines up its columns with blanks: a fixed pitch keeps them.
    LOGFONTW fixed{};
    fixed.lfHeight = font.lfHeight < 0 ? font.lfHeight - 1 : font.lfHeight + 1;
    fixed.lfWeight = FW_NORMAL;
    fixed.lfCharSet = DEFAULT_CHARSET;
    fixed.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    wcscpy(fixed.lfFaceName, L"Courier New");
    fixed_ = ::CreateFontIndirectW(&fixed);
}

FontSet::~FontSet() {
    for (HFONT font : {normal_, bold_, link_, fixed_}) {
        if (font) ::DeleteObject(font);
    }
}

int FontSet::TextWidth(const std::wstring& text, bool fixedPitch) const {
    return Measure(fixedPitch ? fixed_ : normal_, text, false);
}

int FontSet::LineHeight(bool fixedPitch) const {
    return Measure(fixedPitch ? fixed_ : normal_, L"", true);
}

}  // namespace ui
