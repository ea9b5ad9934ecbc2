// Making the native window that draws a control, and setting it from the
// control's properties.
#pragma once

#include "platform/win32/SystemHeaders.h"

namespace ui {

class Control;
class FontSet;

// The window class of frames and panels: windows that hold other controls.
// Whoever makes such windows registers the class first, with its own
// window procedure.
extern const wchar_t kContainerClass[];

// The native window of a control, a hidden child of `parent`; null for a
// timer, which has no window.
HWND MakeControlWindow(const Control& control, HWND parent);
// A frame's border and title: a group box filling the frame's window,
// beneath the controls the frame holds.
HWND MakeFrameBorder(HWND frameWindow);

// Limits a container's window to what its shown children cover, so that
// it paints nothing of its own and what lies beneath it stays in sight.
void ShapeToChildren(HWND container);

struct ControlLook {
    const FontSet* fonts;
    int dpi;
    bool enabled;   // the control and every container of it
    bool coloured;  // drawn on a colour of the program's, not the desktop's
};

// Position, visibility, enabled state, font, caption, check state and the
// chosen entry of a list. A text box's text is kept in step separately.
void ApplyProperties(const Control& control, HWND window, HWND border, const ControlLook& look);
// The entries of a drop-down list or a list box, and which one is chosen.
void FillItems(const Control& control, HWND window);

}  // namespace ui
