// The native window of one form: a child window per control, kept in step
// with the form's model, and the user's actions on them raised as the
// controls' events. Positions are the model's twips at the DPI of the
// monitor the window stands on.
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include "platform/win32/SystemHeaders.h"
#include "ui/Form.h"
#include "ui/win32/ScreenMetrics.h"

namespace ui {

class FormWindow : public FormObserver {
  public:
    // `owner`: the window this one stays above (the main window), or null.
    FormWindow(Form& form, HWND owner);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // False once the form or the window is gone.
    bool Alive() const { return form_ != nullptr && window_ != nullptr; }
    HWND Handle() const { return window_; }
    Form* TheForm() const { return form_; }
    // The native window of a control; null for a timer or an unknown one.
    HWND HandleOf(const Control& control) const;
    int Dpi() const { return fonts_->Dpi(); }

    // The form window that `window` is, or lies in; null for other windows.
    static FormWindow* Containing(HWND window);

    void Show();
    void Hide();
    // Brings each multi-line text box up to the model and puts its caret
    // where the model has it.
    void SyncTexts();
    // Puts the keyboard focus where the form says it is, or on the first
    // control that takes it.
    void GiveFocus();
    // Another window is modal: this one takes no input meanwhile. Nested
    // modal windows block and unblock in turn.
    void Block();
    void Unblock();

    // A keyboard message for this window, seen before it is dispatched:
    // true when the form took it and it must go no further.
    bool TakeKey(const MSG& message);
    // The window of the control after `from` (before it, going back) that
    // can take the focus now.
    HWND NextInTabOrder(const Control* from, bool back) const;
    // Makes the window stay in front of `owner` (null: of none).
    void SetOwner(HWND owner);

    void ControlChanged(Control& control) override;
    void FormChanged(Form& form) override;
    void FocusChanged(Control& control) override;
    void ItemsChanged(Control& control) override;
    void TextChangedFrom(Control& control, std::size_t from) override;
    void FormDestroyed(Form& form) override;

  private:
    static void RegisterClasses();
    static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR data);

    void Build();
    void Apply(Control& control);
    void ApplyTimer(Control& control);
    // Every control again, after a change of DPI or of the form's colours.
    void ApplyAll();
    void PlaceWindow();
    void TellPlacement();
    void ChangeDpi(int dpi, const RECT* suggested);

    // Messages every window of the form answers alike: commands and
    // notifications of controls, and their colours. True when handled.
    bool Common(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void Command(HWND from, int code);
    LRESULT FormMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // What a control's own window has just handled (mouse, selection).
    void AfterControlMessage(Control& control, HWND window, UINT message, WPARAM wParam);
    void SelectionFromWindow(Control& control, HWND edit);
    void PlaceCaret(Control& control);

    Control* ControlOf(HWND window) const;
    // The colours a control or container is drawn in: its own, else those
    // of what holds it; -1 is the desktop's.
    int BackColorOf(const Control* control) const;
    int ForeColorOf(const Control* control) const;
    HBRUSH BrushOf(int colour);
    // The brush a control asks for before it draws; 0 where the desktop's
    // own colours do.
    LRESULT Colours(HWND control, HDC dc, UINT message);
    void PaintBackground(HWND window, HDC dc, const Control* container);

    Form* form_;  // null once the form is gone
    HWND window_ = nullptr;
    std::unique_ptr<FontSet> fonts_;
    std::map<const Control*, HWND> windows_;
    std::map<HWND, Control*> controlsByWindow_;
    std::map<const Control*, HWND> borders_;  // a frame's group box
    std::map<UINT_PTR, Control*> timers_;
    std::map<const Control*, int> runningTimers_;      // interval of each running timer
    std::map<const Control*, std::string> shownText_;  // what each text box shows
    // Each text box's selection in UTF-16 units, as last told to the model.
    std::map<const Control*, std::pair<DWORD, DWORD>> shownSelection_;
    std::map<int, HBRUSH> brushes_;
    bool syncing_ = false;
    bool placing_ = false;    // the model is moving the window
    int blocks_ = 0;
    // The form's colours and enabled state as last applied to every control.
    std::optional<std::tuple<int, int, bool>> appliedLook_;
};

}  // namespace ui
