// The real window of one form: a widget per control, kept in step with the
// form's model, and the user's actions on the widgets raised as the
// controls' events.
#pragma once

#include <QWidget>
#include <map>
#include <string>

#include "ui/Form.h"

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
    // Brings text boxes up to date with the model (they follow it lazily,
    // since a report can grow by thousands of lines a second).
    void SyncTexts();

    void ControlChanged(Control& control) override;
    void FormChanged(Form& form) override;
    void FocusChanged(Control& control) override;
    void ItemsChanged(Control& control) override;
    void FormDestroyed(Form& form) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Build();
    // The user's selection in a text box, told to its control.
    void SelectionChanged(QPlainTextEdit& edit, Control& control);
    void Apply(Control& control);

    Form* form_;  // null once the form is gone
    std::map<const Control*, QWidget*> widgets_;
    std::map<const Control*, QTimer*> timers_;
    std::map<QObject*, Control*> controlsByWidget_;
    std::map<const Control*, std::string> syncedText_;  // what each text box shows
    bool syncing_ = false;
};

}  // namespace ui
