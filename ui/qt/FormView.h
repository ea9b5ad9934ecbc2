// The real window of one form: a widget per control, kept in step with the
// form's model, and the user's actions on the widgets raised as the
// controls' events.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <string>

#include "ui/Form.h"

class QKeyEvent;
class QPlainTextEdit;
class QTimer;

namespace ui {

// Twips per pixel on screen.
constexpr int kTwipsPerPixel = 15;

class FormView : public QWidget, public FormObserver {
    Q_OBJECT
  public:
    explicit FormView(Form& form);
    ~FormView() override;

    // False once the form it draws has been destroyed.
    bool Alive() const { return form_ != nullptr; }
    QWidget* WidgetOf(const Control& control) const;
    QTimer* TimerOf(const Control& control) const;
    // Puts each multi-line text box's caret and selection where the model
    // has them, in view.
    void SyncTexts();
    // The window this one belongs to: it opens on that window's screen and
    // stays in front of it.
    void SetOwner(QWidget* owner);
    // Moves the window, frame and all, inside the available area of the
    // owner's screen; a window the model never placed is first centred on
    // its owner.
    void KeepOnScreen();

    void ControlChanged(Control& control) override;
    void FormChanged(Form& form) override;
    void FocusChanged(Control& control) override;
    void ItemsChanged(Control& control) override;
    void TextChangedFrom(Control& control, std::size_t from) override;
    void FormDestroyed(Form& form) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Build();
    // The user's selection in a text box, told to its control.
    void SelectionChanged(QPlainTextEdit& edit, Control& control);
    void Apply(Control& control);
    void PlaceCaret(QPlainTextEdit& edit, const Control& control);
    // Where the window now is, told to the form.
    void TellPlacement();
    // Tab visits the controls as the window reads (Form::TabOrder).
    void SetTabOrder();
    // Has the focus drawn, wherever it came from.
    void ShowFocus();
    // Enter or Space on a focused button, check box or option button;
    // true when the control took the key.
    bool PressedOn(Control& control, const QKeyEvent& key);

    Form* form_;  // null once the form is gone
    std::map<const Control*, QWidget*> widgets_;
    std::map<const Control*, QTimer*> timers_;
    std::map<QObject*, Control*> controlsByWidget_;
    std::map<const Control*, std::string> syncedText_;  // what each text box shows
    bool syncing_ = false;
    bool placing_ = false;  // the model is moving the window
    QPointer<QWidget> owner_;
};

}  // namespace ui
