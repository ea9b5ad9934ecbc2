// Distances of the report window's layout, in twips.
#pragma once

namespace report_layout {

constexpr int kMargin = 120;
constexpr int kWindowWidth = 9300;
constexpr int TextWidthIn(int windowWidth) { return windowWidth - 2 * kMargin - 160; }
constexpr int kTextWidth = TextWidthIn(kWindowWidth);
// The text box at its full height, and the window around it.
constexpr int kFullTextHeight = 4635;
constexpr int kWindowBelowText = 1030;
// Buttons stand this far above the window's bottom edge.
constexpr int kButtonsAboveBottom = 800;
constexpr int kButtonHeight = 375;
constexpr int kRightGap = 200;
constexpr int kNarrowButtonWidth = 1000;
constexpr int kContinueWidth = 1500;
constexpr int kWideButtonWidth = 2500;
constexpr int kCopyWidth = 2115;
constexpr int kCopySelectionWidth = 3165;
constexpr int kStopLeft = 3600;
constexpr int kStatusBelowButtonTop = 30;
constexpr int kStatusWidth = 3300;
constexpr int kLabelHeight = 255;
// A report of fewer lines than this shrinks the text box to fit.
constexpr int kMaxLinesToShrink = 100;
constexpr int kTwipsPerLine = 260;
constexpr int kTextBoxPadding = 600;

}  // namespace report_layout
