#include "ui/headless/HeadlessUi.h"

#include "ui/Form.h"

namespace ui {

const HeadlessUi::Box& HeadlessUi::LastBox() const {
    if (boxes_.empty()) throw std::logic_error("no message box was shown");
    return boxes_.back();
}

Answer HeadlessUi::MsgBox(const std::string& text, Buttons buttons, Icon icon,
                          const std::string& title, int defaultButton) {
    Answer answer;
    if (!boxAnswers_.empty()) {
        answer = boxAnswers_.front();
        boxAnswers_.pop_front();
    } else if (buttons == Buttons::OK) {
        answer = Answer::OK;
    } else {
        boxes_.push_back({text, title, buttons, icon, Answer::Cancel, defaultButton});
        throw UnscriptedQuestion("no answer scripted for the message box \"" + title +
                                 "\": " + text);
    }
    boxes_.push_back({text, title, buttons, icon, answer, defaultButton});
    return answer;
}

void HeadlessUi::OnModal(const std::string& formName, std::function<void(Form&)> script) {
    modalScripts_[formName] = std::move(script);
}

void HeadlessUi::ShowModal(Form& form) {
    forms_.insert(&form);
    form.SetVisibleState(true, true);
    if (form.OnActivate) form.OnActivate();
    auto script = modalScripts_.find(form.Name());
    if (script == modalScripts_.end()) {
        form.SetVisibleState(false, false);
        throw UnscriptedQuestion("no script plays the user in the modal form " + form.Name());
    }
    script->second(form);
    if (form.Visible()) {
        form.SetVisibleState(false, false);
        throw UnscriptedQuestion("the script left the modal form " + form.Name() + " open");
    }
}

void HeadlessUi::Show(Form& form) {
    forms_.insert(&form);
    form.SetVisibleState(true, false);
    if (form.OnActivate) form.OnActivate();
}

void HeadlessUi::Hide(Form& form) { form.SetVisibleState(false, false); }

void HeadlessUi::FormDestroyed(Form& form) {
    forms_.erase(&form);
    for (const auto& c : form.Controls()) lastTicks_.erase(c.get());
}

void HeadlessUi::SetFocus(Control& control) { control.Owner().SetFocusedState(&control); }

std::optional<std::string> HeadlessUi::NextFile() {
    if (files_.empty()) throw UnscriptedQuestion("no answer scripted for the file dialog");
    auto answer = files_.front();
    files_.pop_front();
    return answer;
}

std::optional<std::string> HeadlessUi::OpenFileDialog(const FileDialogOptions& options) {
    fileDialogs.push_back(options);
    return NextFile();
}

std::optional<std::string> HeadlessUi::SaveFileDialog(const FileDialogOptions& options) {
    fileDialogs.push_back(options);
    return NextFile();
}

std::optional<std::string> HeadlessUi::BrowseForFolder(const std::string& title,
                                                       const std::string& initialFolder) {
    folderBrowseStarts.push_back(initialFolder);
    if (folders_.empty()) throw UnscriptedQuestion("no answer scripted for: " + title);
    auto answer = folders_.front();
    folders_.pop_front();
    return answer;
}

int HeadlessUi::TextWidth(const std::string& text, bool fixedPitch) {
    int characters = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;  // UTF-8 lead bytes
    }
    return characters * (fixedPitch ? 120 : 105);
}

void HeadlessUi::DoEvents() {
    auto now = std::chrono::steady_clock::now();
    for (Form* form : forms_) {
        for (const auto& c : form->Controls()) {
            if (c->Kind() != ControlKind::Timer || !c->Enabled() || c->Interval() <= 0) continue;
            auto [last, fresh] = lastTicks_.try_emplace(c.get(), now);
            if (fresh) continue;
            if (now - last->second >= std::chrono::milliseconds(c->Interval())) {
                last->second = now;
                c->RaiseTimer();
            }
        }
    }
    if (OnDoEvents) OnDoEvents();
}

}  // namespace ui
