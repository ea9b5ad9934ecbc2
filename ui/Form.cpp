#include "ui/Form.h"

#include <algorithm>
#include <stdexcept>

#include "ui/Ui.h"

namespace ui {

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() {
    if (observer_) observer_->FormDestroyed(*this);
    if (Ui* ui = UiInForce()) ui->FormDestroyed(*this);
}

void Form::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    if (observer_) observer_->FormChanged(*this);
}

void Form::Resize(int width, int height) {
    width_ = width;
    height_ = height;
    if (observer_) observer_->FormChanged(*this);
}

void Form::MoveTo(int left, int top) {
    left_ = left;
    top_ = top;
    if (observer_) observer_->FormChanged(*this);
}

void Form::SetMinimumSize(int width, int height) {
    minWidth_ = width;
    minHeight_ = height;
    if (observer_) observer_->FormChanged(*this);
}

void Form::SetPlacedState(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void Form::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (observer_) observer_->FormChanged(*this);
}

void Form::SetColors(int backColor, int foreColor) {
    backColor_ = backColor;
    foreColor_ = foreColor;
    if (observer_) observer_->FormChanged(*this);
}

void Form::Show() { TheUi().Show(*this); }
void Form::ShowModal() { TheUi().ShowModal(*this); }
void Form::Hide() {
    if (visible_) TheUi().Hide(*this);
}
void Form::Refresh() { TheUi().Refresh(*this); }

void Form::RequestClose() {
    if (OnClose) {
        OnClose();
    } else {
        Hide();
    }
}

Control* Form::Find(const std::string& name, int index) const {
    for (const auto& c : controls_) {
        if (c->Name() == name && c->Index() == index) return c.get();
    }
    return nullptr;
}

Control& Form::operator()(const std::string& name, int index) const {
    if (Control* c = Find(name, index)) return *c;
    throw std::out_of_range("no control " + name + " on " + name_);
}

void Form::SetVisibleState(bool visible, bool modal) {
    visible_ = visible;
    modal_ = visible && modal;
}

Control& Form::Add(ControlKind kind, const std::string& name, const std::string& caption, int left,
                   int top, int width, int height, Control* container, int index) {
    auto control = std::make_unique<Control>(*this, kind, name, index, container);
    control->SetCaption(caption);
    control->Move(left, top, width, height);
    controls_.push_back(std::move(control));
    return *controls_.back();
}

int Form::LeftOnForm(const Control& control) {
    int left = 0;
    for (const Control* c = &control; c != nullptr; c = c->Container()) left += c->Left();
    return left;
}

int Form::TopOnForm(const Control& control) {
    int top = 0;
    for (const Control* c = &control; c != nullptr; c = c->Container()) top += c->Top();
    return top;
}

std::vector<Control*> Form::TabOrder() const {
    // Controls whose tops differ by less than this stand in one row: a label
    // and a button beside it are not aligned to the twip.
    constexpr int kRowTolerance = 200;
    std::vector<Control*> order;
    for (const auto& c : controls_) {
        switch (c->Kind()) {
            case ControlKind::Button:
            case ControlKind::CheckBox:
            case ControlKind::OptionButton:
            case ControlKind::ComboBox:
            case ControlKind::TextBox:
            case ControlKind::ListBox:
                order.push_back(c.get());
                break;
            default:
                break;
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
        return TopOnForm(*a) < TopOnForm(*b);
    });
    // Rows from the top, each row then read from the left.
    for (auto row = order.begin(); row != order.end();) {
        const int rowTop = TopOnForm(**row);
        auto end = std::find_if(row, order.end(), [rowTop](const Control* c) {
            return TopOnForm(*c) - rowTop >= kRowTolerance;
        });
        std::stable_sort(row, end, [](const Control* a, const Control* b) {
            return LeftOnForm(*a) < LeftOnForm(*b);
        });
        row = end;
    }
    return order;
}

void Form::ClearBoldFonts() {
    fontBold_ = false;
    for (const auto& c : controls_) c->SetFontBold(false);
}

}  // namespace ui
