#include "ui/Control.h"

#include "ui/Form.h"
#include "ui/Ui.h"

namespace ui {

Control::Control(Form& form, ControlKind kind, std::string name, int index, Control* container)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index), container_(container) {
    if (kind_ == ControlKind::ComboBox) value_ = -1;
}

void Control::Changed() {
    if (auto* observer = form_.Observer()) observer->ControlChanged(*this);
}

void Control::SetCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    if (selStart_ > static_cast<int>(caption_.size()))
        selStart_ = static_cast<int>(caption_.size());
    selLength_ = 0;
    if (auto* observer = form_.Observer(); observer && kind_ == ControlKind::TextBox) {
        observer->TextChangedFrom(*this, 0);
    }
    Changed();
}

void Control::ReplaceTextFrom(std::size_t keep, std::string_view tail) {
    if (keep > caption_.size()) keep = caption_.size();
    if (keep == caption_.size() && tail.empty()) return;
    caption_.resize(keep);
    caption_.append(tail);
    const int size = static_cast<int>(caption_.size());
    if (selStart_ + selLength_ > static_cast<int>(keep)) selLength_ = 0;
    if (selStart_ > size) selStart_ = size;
    if (auto* observer = form_.Observer(); observer && kind_ == ControlKind::TextBox) {
        observer->TextChangedFrom(*this, keep);
    }
}

void Control::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed();
}

void Control::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed();
}

bool Control::EffectivelyEnabled() const {
    if (!form_.Enabled()) return false;
    for (const Control* c = this; c != nullptr; c = c->container_) {
        if (!c->enabled_) return false;
    }
    return true;
}

void Control::SetFontBold(bool bold) {
    if (bold == fontBold_) return;
    fontBold_ = bold;
    Changed();
}

void Control::SetColors(int backColor, int foreColor) {
    backColor_ = backColor;
    foreColor_ = foreColor;
    Changed();
}

void Control::Move(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Changed();
}

void Control::SetValue(int value) {
    if (value == value_) return;
    value_ = value;
    // Option buttons in one container exclude each other.
    if (kind_ == ControlKind::OptionButton && value_ != 0) {
        for (const auto& other : form_.Controls()) {
            if (other.get() != this && other->kind_ == ControlKind::OptionButton &&
                other->container_ == container_ && other->value_ != 0) {
                other->value_ = 0;
                other->Changed();
            }
        }
    }
    Changed();
}

void Control::AddItem(std::string item) {
    items_.push_back(std::move(item));
    if (auto* observer = form_.Observer()) observer->ItemsChanged(*this);
}

void Control::ClearItems() {
    items_.clear();
    value_ = kind_ == ControlKind::ComboBox || kind_ == ControlKind::ListBox ? -1 : value_;
    if (auto* observer = form_.Observer()) observer->ItemsChanged(*this);
}

void Control::SetSelStart(int position) { SetSelection(position, 0); }

void Control::SetSelection(int start, int length) {
    int size = static_cast<int>(caption_.size());
    selStart_ = start < 0 ? 0 : start > size ? size : start;
    selLength_ = length < 0 ? 0 : length > size - selStart_ ? size - selStart_ : length;
    Changed();
}

std::string Control::SelectedText() const {
    return selLength_ > 0 ? caption_.substr(static_cast<std::size_t>(selStart_),
                                            static_cast<std::size_t>(selLength_))
                          : std::string();
}

void Control::RaiseClick() {
    if (EffectivelyEnabled() && Click) Click();
}
void Control::RaiseDblClick() {
    if (EffectivelyEnabled() && DblClick) DblClick();
}
void Control::RaiseMouseDown(MouseButton button) {
    if (EffectivelyEnabled() && MouseDown) MouseDown(button);
}
void Control::RaiseMouseUp(MouseButton button) {
    if (EffectivelyEnabled() && MouseUp) MouseUp(button);
}
void Control::RaiseMouseMove() {
    if (EffectivelyEnabled() && MouseMove) MouseMove();
}
void Control::RaiseChange() {
    if (Change) Change();
}
void Control::RaiseTimer() {
    if (enabled_ && Timer) Timer();
}

void Control::PressKey(Key key) {
    if (!EffectivelyEnabled() || !visible_) return;
    // Enter presses buttons only; on a check or option box it does nothing.
    if (key == Key::Enter && kind_ != ControlKind::Button) return;
    if (kind_ == ControlKind::CheckBox) {
        SetValue(value_ == 0 ? 1 : 0);
    } else if (kind_ == ControlKind::OptionButton) {
        SetValue(1);
    }
    RaiseClick();
    if (kind_ == ControlKind::Button && KeyPress && EffectivelyEnabled()) KeyPress();
}

void Control::PressEnter() {
    if (EffectivelyEnabled() && EnterKey) EnterKey();
}

void Control::UserSetsText(std::string text) {
    if (!EffectivelyEnabled() || locked_) return;
    SetCaption(std::move(text));
    RaiseChange();
}

void Control::UserSetsValue(int value) {
    if (!EffectivelyEnabled()) return;
    SetValue(value);
    if (kind_ == ControlKind::ComboBox || kind_ == ControlKind::ListBox) RaiseChange();
    RaiseClick();
}

void Control::SetFocus() { TheUi().SetFocus(*this); }

bool Control::HasFocus() const { return form_.Focused() == this; }

}  // namespace ui
