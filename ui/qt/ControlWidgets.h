// Making the widget that draws a control, and setting a widget from the
// control's properties.
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace ui {

class Control;

QWidget* MakeWidget(const Control& control, QWidget* parent);
// Caption, position, visibility, enabled state, font and value; text boxes
// excepted, whose text is synchronised separately.
void ApplyProperties(const Control& control, QWidget* widget);

// A style sheet for colours given as 0xRRGGBB (-1: the desktop's own).
QString ColorStyle(int backColor, int foreColor);
// The style sheet of a check or option box: the colours, and on a coloured
// background an indicator drawn in the text colour so that it stays legible.
QString IndicatorStyle(const Control& control, const QString& colours);

// The report's CR LF line ends shown as the widgets expect.
QString DisplayText(const std::string& text);

}  // namespace ui
