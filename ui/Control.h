// A control of a form: label, button, check box, option button, drop-down
// list, text box, frame, panel, list or timer.
//
// A control is plain data plus its event handlers. Positions are in twips
// (1/1440 inch), as the forms lay themselves out. A back end draws the
// control and raises its events; tests raise them directly. Setting a
// property tells the back end through the form's observer, so the window
// follows the model and never the other way round.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Form;

enum class ControlKind {
    Label,
    Link,  // a label that reads as a link
    Button,
    CheckBox,
    OptionButton,
    ComboBox,
    TextBox,  // multi-line when Multiline() is set
    Frame,    // a titled group of controls
    Panel,    // an untitled group of controls
    ListBox,
    Timer,
};

enum class MouseButton { Left = 1, Right = 2, Middle = 4 };
// Keys that press a focused control.
enum class Key { Enter, Space };

class Control {
  public:
    Control(Form& form, ControlKind kind, std::string name, int index, Control* container);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& Owner() const { return form_; }
    ControlKind Kind() const { return kind_; }
    const std::string& Name() const { return name_; }
    // Element index within a control array; -1 for a single control.
    int Index() const { return index_; }
    Control* Container() const { return container_; }

    const std::string& Caption() const { return caption_; }  // also a text box's text
    void SetCaption(std::string caption);
    // Keeps the first `keep` bytes of the text and appends `tail`: how a
    // growing report reaches its text box without being copied whole.
    void ReplaceTextFrom(std::size_t keep, std::string_view tail);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Enabled, with every container up the chain and the form enabled too.
    bool EffectivelyEnabled() const;
    bool FontBold() const { return fontBold_; }
    void SetFontBold(bool bold);
    // Colours as 0xRRGGBB; -1 is the desktop's own.
    int BackColor() const { return backColor_; }
    int ForeColor() const { return foreColor_; }
    void SetColors(int backColor, int foreColor);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Move(int left, int top, int width, int height);
    void Move(int left, int top) { Move(left, top, width_, height_); }

    // Check box 0/1, option button 0/1, list index of a drop-down (-1 none).
    int Value() const { return value_; }
    void SetValue(int value);

    // Entries of a drop-down list or list box.
    const std::vector<std::string>& Items() const { return items_; }
    void AddItem(std::string item);
    void ClearItems();

    // Text boxes: multi-line and read-only, and the caret position.
    bool Multiline() const { return multiline_; }
    void SetMultiline(bool multiline) { multiline_ = multiline; }
    bool Locked() const { return locked_; }
    void SetLocked(bool locked) { locked_ = locked; }
    int SelStart() const { return selStart_; }
    void SetSelStart(int position);  // also empties the selection
    // Length of the selected text from SelStart (0: nothing selected).
    int SelLength() const { return selLength_; }
    void SetSelection(int start, int length);
    // The selected part of the text; "" when nothing is selected.
    std::string SelectedText() const;

    // Timers: the interval in milliseconds.
    int Interval() const { return interval_; }
    void SetInterval(int ms) { interval_ = ms; }

    // Event handlers; empty means the control ignores the event.
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(MouseButton)> MouseDown;
    std::function<void(MouseButton)> MouseUp;
    std::function<void()> MouseMove;
    std::function<void()> Change;    // text box edited, list selection changed
    std::function<void()> Timer;     // a timer's tick
    std::function<void()> EnterKey;  // Enter pressed in a one-line text box
    // Enter or Space pressed the button, after its Click: how a button that
    // acts on the mouse's release (and so ignores Click) is pressed from the
    // keyboard.
    std::function<void()> KeyPress;

    // Raising events. Each does nothing while the control, or a container
    // of it, is disabled, as a window would not deliver it.
    void RaiseClick();
    void RaiseDblClick();
    void RaiseMouseDown(MouseButton button = MouseButton::Left);
    void RaiseMouseUp(MouseButton button = MouseButton::Left);
    void RaiseMouseMove();
    void RaiseChange();
    void RaiseTimer();
    // A key pressed on the focused control, as both back ends deliver it:
    // Enter or Space presses a button, Space ticks a check box or selects an
    // option button. A press by keyboard is a Click and never a MouseUp.
    void PressKey(Key key = Key::Space);
    // Enter in a one-line text box.
    void PressEnter();
    // The user typing into a text box or choosing a list entry.
    void UserSetsText(std::string text);
    void UserSetsValue(int value);

    void SetFocus();
    bool HasFocus() const;

  private:
    void Changed();

    Form& form_;
    ControlKind kind_;
    std::string name_;
    int index_;
    Control* container_;
    std::string caption_;
    bool visible_ = true;
    bool enabled_ = true;
    bool fontBold_ = false;
    int backColor_ = -1, foreColor_ = -1;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int value_ = 0;
    std::vector<std::string> items_;
    bool multiline_ = false;
    bool locked_ = false;
    int selStart_ = 0;
    int selLength_ = 0;
    int interval_ = 0;
};

}  // namespace ui
