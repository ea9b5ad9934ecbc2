#include "ui/qt/FormView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "ui/qt/ControlWidgets.h"

namespace ui {
namespace {

MouseButton ButtonOf(const QMouseEvent* event) {
    switch (event->button()) {
        case Qt::RightButton:
            return MouseButton::Right;
        case Qt::MiddleButton:
            return MouseButton::Middle;
        default:
            return MouseButton::Left;
    }
}

// The virtual key code of a key, in the numbering forms use (F10 is 121);
// 0 for a key no form asks about.
int VirtualKeyOf(const QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return key;  // the same codes as the letters and digits
    }
    switch (key) {
        case Qt::Key_Escape: return 27;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Space: return 32;
        case Qt::Key_Tab: return 9;
        default: return 0;
    }
}

}  // namespace

FormView::FormView(Form& form) : QWidget(nullptr), form_(&form) {
    setObjectName(QString::fromStdString(form.Name()));
    Build();
    form_->SetObserver(this);
}

FormView::~FormView() {
    if (form_ != nullptr && form_->Observer() == this) form_->SetObserver(nullptr);
}

void FormView::FormDestroyed(Form&) {
    form_ = nullptr;
    widgets_.clear();
    timers_.clear();
    controlsByWidget_.clear();
    hide();
}

void FormView::Build() {
    for (const auto& owned : form_->Controls()) {
        Control& control = *owned;
        if (control.Kind() == ControlKind::Timer) {
            auto* timer = new QTimer(this);
            QObject::connect(timer, &QTimer::timeout, this, [&control] { control.RaiseTimer(); });
            timers_[&control] = timer;
            Apply(control);
            continue;
        }
        QWidget* parent = control.Container() ? widgets_.at(control.Container()) : this;
        QWidget* widget = MakeWidget(control, parent);
        widgets_[&control] = widget;
        controlsByWidget_[widget] = &control;
        widget->installEventFilter(this);

        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QObject::connect(button, &QPushButton::clicked, this,
                             [&control] { control.RaiseClick(); });
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            QObject::connect(check, &QCheckBox::clicked, this, [this, &control](bool checked) {
                if (syncing_) return;
                control.SetValue(checked ? 1 : 0);
                control.RaiseClick();
            });
        } else if (auto* option = qobject_cast<QRadioButton*>(widget)) {
            QObject::connect(option, &QRadioButton::clicked, this, [this, &control] {
                if (syncing_) return;
                control.SetValue(1);
                control.RaiseClick();
            });
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (const auto& item : control.Items()) combo->addItem(QString::fromStdString(item));
            QObject::connect(combo, &QComboBox::activated, this, [this, &control](int index) {
                if (!syncing_) control.UserSetsValue(index);
            });
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            for (const auto& item : control.Items()) list->addItem(QString::fromStdString(item));
            QObject::connect(list, &QListWidget::currentRowChanged, this,
                             [this, &control](int row) {
                                 if (!syncing_) control.UserSetsValue(row);
                             });
        } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            QObject::connect(line, &QLineEdit::textEdited, this,
                             [this, &control](const QString& text) {
                                 if (!syncing_) control.UserSetsText(text.toStdString());
                             });
            // Enter in a one-line box belongs to the form (a dialog may make
            // it press its Accept button).
            QObject::connect(line, &QLineEdit::returnPressed, this,
                             [&control] { control.PressEnter(); });
        } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
            // Mouse events reach the text area, not the frame around it.
            edit->viewport()->installEventFilter(this);
            controlsByWidget_[edit->viewport()] = &control;
            QObject::connect(edit, &QPlainTextEdit::selectionChanged, this,
                             [this, edit, &control] { SelectionChanged(*edit, control); });
            QObject::connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, &control] {
                if (syncing_ || control.Locked()) return;
                std::string text = edit->toPlainText().toStdString();
                syncedText_[&control] = text;
                syncing_ = true;
                control.SetCaption(text);
                syncing_ = false;
                control.RaiseChange();
            });
        }
        Apply(control);
    }
    for (auto [control, widget] : widgets_) {
        if (qobject_cast<QPlainTextEdit*>(widget))
            TextChangedFrom(*const_cast<Control*>(control), 0);
    }
    SetTabOrder();
    FormChanged(*form_);
    SyncTexts();
}

void FormView::SetTabOrder() {
    QWidget* previous = nullptr;
    for (Control* control : form_->TabOrder()) {
        QWidget* widget = WidgetOf(*control);
        if (widget == nullptr) continue;
        if (previous != nullptr) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

QWidget* FormView::WidgetOf(const Control& control) const {
    auto it = widgets_.find(&control);
    return it == widgets_.end() ? nullptr : it->second;
}

QTimer* FormView::TimerOf(const Control& control) const {
    auto it = timers_.find(&control);
    return it == timers_.end() ? nullptr : it->second;
}

void FormView::Apply(Control& control) {
    if (auto* timer = TimerOf(control)) {
        timer->setInterval(control.Interval());
        if (control.Enabled() && control.Interval() > 0) {
            if (!timer->isActive()) timer->start();
        } else {
            timer->stop();
        }
        return;
    }
    QWidget* widget = WidgetOf(control);
    if (widget == nullptr) return;
    syncing_ = true;
    ApplyProperties(control, widget);
    syncing_ = false;
}

void FormView::SyncTexts() {
    for (auto [control, widget] : widgets_) {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) PlaceCaret(*edit, *control);
    }
}

namespace {

// The widget's position of a byte offset into the model's text: the widget
// shows each CR LF as one line break and counts UTF-16 units, not bytes.
int ShownPosition(const std::string& text, int offset) {
    const std::string before = text.substr(0, static_cast<std::size_t>(offset));
    return static_cast<int>(DisplayText(before).size());
}

}  // namespace

void FormView::PlaceCaret(QPlainTextEdit& edit, const Control& control) {
    syncing_ = true;
    const std::string& text = control.Caption();
    QTextCursor caret = edit.textCursor();
    if (control.SelLength() == 0 && control.SelStart() >= static_cast<int>(text.size())) {
        // The common case, after every file of a run: no counting through
        // a report of 100,000 lines.
        caret.movePosition(QTextCursor::End);
    } else {
        const int last = edit.document()->characterCount() - 1;
        const int start = std::min(ShownPosition(text, control.SelStart()), last);
        const int end =
            std::min(ShownPosition(text, control.SelStart() + control.SelLength()), last);
        // The caret at the selection's end, its start anchored: what the
        // user selected stays highlighted and the caret where they left it.
        caret.setPosition(start);
        caret.setPosition(end, QTextCursor::KeepAnchor);
    }
    edit.setTextCursor(caret);
    edit.ensureCursorVisible();
    syncing_ = false;
}

void FormView::TextChangedFrom(Control& control, std::size_t from) {
    auto* edit = qobject_cast<QPlainTextEdit*>(WidgetOf(control));
    if (edit == nullptr || syncing_) return;
    const std::string& text = control.Caption();
    std::string& shown = syncedText_[&control];
    if (from == 0) {
        if (text == shown && !(text.empty() && !edit->document()->isEmpty())) return;
        syncing_ = true;
        edit->setPlainText(DisplayText(text));
        syncing_ = false;
        shown = text;
        return;
    }
    from = std::min({from, shown.size(), text.size()});
    // The widget shows a CR LF as one line break: never keep half of one.
    auto splitsLineEnd = [from](const std::string& s) {
        return from < s.size() && s[from - 1] == '\r' && s[from] == '\n';
    };
    if (splitsLineEnd(shown) || splitsLineEnd(text)) --from;
    // Only the changed tail is replaced; a report of 100,000 lines is never
    // copied whole.
    syncing_ = true;
    QTextCursor tail(edit->document());
    tail.movePosition(QTextCursor::End);
    const int removed = static_cast<int>(DisplayText(shown.substr(from)).size());
    if (removed > 0) {
        tail.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor, removed);
        tail.removeSelectedText();
    }
    tail.insertText(DisplayText(text.substr(from)));
    syncing_ = false;
    shown.resize(from);
    shown.append(text, from);
}

void FormView::SelectionChanged(QPlainTextEdit& edit, Control& control) {
    if (syncing_) return;
    // The widget shows each CR LF as one line break: count it as two
    // characters of the model's text, and characters as their UTF-8 bytes.
    QTextCursor cursor = edit.textCursor();
    QString shown = edit.toPlainText();
    QString before = shown.left(cursor.selectionStart());
    QString selected =
        shown.mid(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
    auto modelLength = [](const QString& text) {
        return static_cast<int>(text.toUtf8().size() + text.count('\n'));
    };
    syncing_ = true;
    control.SetSelection(modelLength(before), modelLength(selected));
    syncing_ = false;
}

void FormView::ControlChanged(Control& control) {
    // A selection the user just made is where the widget already has it;
    // placing it again would move the view away from the user's hand.
    const bool fromWidget = syncing_;
    Apply(control);
    syncing_ = fromWidget;
    auto* edit = qobject_cast<QPlainTextEdit*>(WidgetOf(control));
    if (edit != nullptr && !fromWidget) PlaceCaret(*edit, control);
}

void FormView::FormChanged(Form& form) {
    setWindowTitle(QString::fromStdString(form.Caption()));
    setEnabled(form.Enabled());
    if (form.BackColor() >= 0) {
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, QColor::fromRgb(0xff000000u | form.BackColor()));
        if (form.ForeColor() >= 0)
            colours.setColor(QPalette::WindowText, QColor::fromRgb(0xff000000u | form.ForeColor()));
        setPalette(colours);
    }
    placing_ = true;
    setMinimumSize(form.MinWidth() / kTwipsPerPixel, form.MinHeight() / kTwipsPerPixel);
    if (form.Width() > 0 && form.Height() > 0) {
        resize(form.Width() / kTwipsPerPixel, form.Height() / kTwipsPerPixel);
    }
    if (form.Left() > 0 || form.Top() > 0) {
        move(form.Left() / kTwipsPerPixel, form.Top() / kTwipsPerPixel);
    }
    // A window placed beside another stays on the screen all the same.
    if (form.Left() > 0 || form.Top() > 0 || isVisible()) KeepOnScreen();
    placing_ = false;
    TellPlacement();
}

void FormView::SetOwner(QWidget* owner) {
    if (owner == this) owner = nullptr;
    owner_ = owner;
    if (owner == nullptr) return;
    // A window stays in front of the one it belongs to: the window manager
    // keeps a transient window above its parent.
    winId();
    owner->winId();
    if (QWindow* handle = windowHandle()) handle->setTransientParent(owner->windowHandle());
}

void FormView::KeepOnScreen() {
    QScreen* screen = owner_ != nullptr ? owner_->screen() : this->screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect room = screen->availableGeometry();
    // The frame's width on each side: this window's own once it has one,
    // else as the owner's (a window not yet shown has no frame).
    auto frameOf = [](const QWidget& window) {
        const QRect outer = window.frameGeometry();
        const QRect inner = window.geometry();
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                        outer.right() - inner.right(), outer.bottom() - inner.bottom());
    };
    QMargins frame = frameOf(*this);
    if (frame.isNull() && owner_ != nullptr) frame = frameOf(*owner_);
    const int outerWidth = width() + frame.left() + frame.right();
    const int outerHeight = height() + frame.top() + frame.bottom();
    QPoint at = pos();  // the frame's corner
    if (form_ != nullptr && form_->Left() <= 0 && form_->Top() <= 0 && owner_ != nullptr &&
        !isVisible()) {
        at = owner_->frameGeometry().center() - QPoint(outerWidth / 2, outerHeight / 2);
    }
    at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - outerWidth)));
    at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - outerHeight)));
    if (at != pos()) {
        const bool placing = placing_;
        placing_ = true;
        move(at);
        placing_ = placing;
    }
}

void FormView::TellPlacement() {
    if (form_ == nullptr || !isVisible()) return;
    // The frame's corner, as the model's MoveTo places it, and the inside's size.
    form_->SetPlacedState(x() * kTwipsPerPixel, y() * kTwipsPerPixel, width() * kTwipsPerPixel,
                          height() * kTwipsPerPixel);
}

void FormView::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!placing_) TellPlacement();
}

void FormView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!placing_) TellPlacement();
}

void FormView::FocusChanged(Control& control) {
    if (QWidget* widget = WidgetOf(control)) {
        widget->setFocus(Qt::OtherFocusReason);
        ShowFocus();
    }
}

void FormView::ShowFocus() {
    // The style draws the focus only after a key has moved it; a user of the
    // keyboard must see where Enter and Space go from the start.
    setAttribute(Qt::WA_KeyboardFocusChange, true);
}

void FormView::ItemsChanged(Control& control) {
    QWidget* widget = WidgetOf(control);
    syncing_ = true;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->clear();
        for (const auto& item : control.Items()) combo->addItem(QString::fromStdString(item));
        combo->setCurrentIndex(control.Value());
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        list->clear();
        for (const auto& item : control.Items()) list->addItem(QString::fromStdString(item));
        list->setCurrentRow(control.Value());
    }
    syncing_ = false;
}

void FormView::closeEvent(QCloseEvent* event) {
    // The form decides: hiding, or ending the program.
    event->ignore();
    if (form_ != nullptr) form_->RequestClose();
}

void FormView::keyPressEvent(QKeyEvent* event) {
    if (form_ != nullptr && !event->isAutoRepeat() && VirtualKeyOf(event) != 0) {
        form_->RaiseKeyDown(VirtualKeyOf(event));
    }
    // Escape leaves a dialog as its close box does.
    if (event->key() == Qt::Key_Escape && form_ != nullptr && form_->Modal()) {
        form_->RequestClose();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FormView::keyReleaseEvent(QKeyEvent* event) {
    // Keys the widgets leave alone reach the form (the fill stops on F10).
    if (form_ != nullptr && !event->isAutoRepeat() && VirtualKeyOf(event) != 0) {
        form_->RaiseKeyUp(VirtualKeyOf(event));
        return;
    }
    QWidget::keyReleaseEvent(event);
}

bool FormView::PressedOn(Control& control, const QKeyEvent& key) {
    const ControlKind kind = control.Kind();
    if (kind != ControlKind::Button && kind != ControlKind::CheckBox &&
        kind != ControlKind::OptionButton) {
        return false;
    }
    // The model decides what a key does, exactly as the headless back end
    // lets it: Enter and Space press a button, Space ticks a box.
    switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!key.isAutoRepeat()) control.PressKey(Key::Enter);
            return kind == ControlKind::Button;
        case Qt::Key_Space:
            if (!key.isAutoRepeat()) control.PressKey(Key::Space);
            return true;
        default:
            return false;
    }
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    auto found = controlsByWidget_.find(watched);
    if (found == controlsByWidget_.end()) return QWidget::eventFilter(watched, event);
    Control& control = *found->second;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            control.RaiseMouseDown(ButtonOf(static_cast<QMouseEvent*>(event)));
            break;
        case QEvent::MouseButtonRelease: {
            // Qt delivers the release to the widget that had the press,
            // wherever the pointer is now: exactly when a menu button acts.
            auto button = ButtonOf(static_cast<QMouseEvent*>(event));
            if (control.Kind() == ControlKind::Label || control.Kind() == ControlKind::Link) {
                control.RaiseClick();
            }
            control.RaiseMouseUp(button);
            break;
        }
        case QEvent::MouseButtonDblClick:
            control.RaiseDblClick();
            break;
        case QEvent::Enter:
        case QEvent::MouseMove:
            control.RaiseMouseMove();
            break;
        case QEvent::FocusIn:
            form_->SetFocusedState(&control);
            ShowFocus();
            break;
        case QEvent::KeyPress:
            if (PressedOn(control, *static_cast<QKeyEvent*>(event))) return true;
            break;
        case QEvent::KeyRelease: {
            // Space was taken at its press; its release must not click again.
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Space &&
                (control.Kind() == ControlKind::Button || control.Kind() == ControlKind::CheckBox ||
                 control.Kind() == ControlKind::OptionButton)) {
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace ui
