// A form: a window that owns its controls, in the order of their creation.
//
// Forms are plain C++ classes deriving from Form; each creates its controls
// in its constructor and wires their handlers. A form is created once and
// afterwards only hidden and shown again, so its values persist for the
// whole run. Showing goes through the windowing interface in force.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Control.h"

namespace ui {

// What a back end learns of changes to a form's model.
class FormObserver {
  public:
    virtual ~FormObserver() = default;
    virtual void ControlChanged(Control& control) = 0;
    virtual void FormChanged(Form& form) = 0;
    virtual void FocusChanged(Control& control) = 0;
    virtual void ItemsChanged(Control& control) = 0;
    // A text box's text changed from byte `from` on; what lies before is as
    // it was. A report that grows by a line tells only that line.
    virtual void TextChangedFrom(Control& control, std::size_t from) = 0;
    // The form is going away; the observer must not touch it again.
    virtual void FormDestroyed(Form& form) = 0;
};

class Form {
  public:
    explicit Form(std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool Visible() const { return visible_; }
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Resize(int width, int height);
    // Position on the screen, in twips.
    void MoveTo(int left, int top);
    // The smallest size the user may shrink the window to (0: no limit).
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    void SetMinimumSize(int width, int height);
    // Colours as 0xRRGGBB; -1 is the desktop's own.
    int BackColor() const { return backColor_; }
    int ForeColor() const { return foreColor_; }
    void SetColors(int backColor, int foreColor);
    bool FontBold() const { return fontBold_; }
    // A disabled form takes no input: its controls raise no events.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Shows the form non-modally or modally through the back end in force.
    void Show();
    void ShowModal();
    void Hide();
    // True while shown modally.
    bool Modal() const { return modal_; }
    void Refresh();

    // The user closing the window with its close box: runs OnClose when set,
    // otherwise hides the form.
    void RequestClose();
    std::function<void()> OnClose;
    // Runs each time the form has been shown and becomes the active window.
    std::function<void()> OnActivate;
    // Keys pressed and released while the form is the active window, by
    // virtual key code (F1 is 112, F10 is 121); a disabled form takes none.
    std::function<void(int keyCode)> KeyDown;
    std::function<void(int keyCode)> KeyUp;
    void RaiseKeyDown(int keyCode) {
        if (enabled_ && KeyDown) KeyDown(keyCode);
    }
    void RaiseKeyUp(int keyCode) {
        if (enabled_ && KeyUp) KeyUp(keyCode);
    }

    // Looks a control up by name (and element index for arrays); throws
    // std::out_of_range when there is none, which tests rely on.
    Control& operator()(const std::string& name, int index = -1) const;
    Control* Find(const std::string& name, int index = -1) const;
    const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }

    Control* Focused() const { return focused_; }
    // The controls that can take the focus, in the order Tab visits them:
    // as the window reads, row by row from the top, each row from the left,
    // whatever order they were created in. Hidden and disabled ones are
    // included; a back end skips them when it moves the focus.
    std::vector<Control*> TabOrder() const;
    // Where a control sits on the form, in twips, through its containers.
    static int LeftOnForm(const Control& control);
    static int TopOnForm(const Control& control);

    // The back end's hooks; only back ends call these.
    void SetObserver(FormObserver* observer) { observer_ = observer; }
    FormObserver* Observer() const { return observer_; }
    void SetVisibleState(bool visible, bool modal);
    void SetFocusedState(Control* control) { focused_ = control; }
    // Where the window manager or the user put the window, told back to the
    // model so that windows placed beside this one follow it.
    void SetPlacedState(int left, int top, int width, int height);

  protected:
    Control& Add(ControlKind kind, const std::string& name, const std::string& caption, int left,
                 int top, int width, int height, Control* container = nullptr, int index = -1);
    // Sets FontBold to false on every control, as the windows start with
    // plain fonts whatever their design said.
    void ClearBoldFonts();

  private:
    std::string name_;
    std::string caption_;
    bool visible_ = false;
    bool modal_ = false;
    bool fontBold_ = false;
    bool enabled_ = true;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int minWidth_ = 0, minHeight_ = 0;
    int backColor_ = -1, foreColor_ = -1;
    std::vector<std::unique_ptr<Control>> controls_;
    Control* focused_ = nullptr;
    FormObserver* observer_ = nullptr;
};

}  // namespace ui
