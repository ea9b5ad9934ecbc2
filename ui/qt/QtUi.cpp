#include "ui/qt/QtUi.h"

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/DrivePaths.h"
#include "ui/qt/ControlWidgets.h"
#include "ui/qt/FormView.h"

namespace ui {
namespace {

QMessageBox::StandardButtons StandardButtonsOf(Buttons buttons) {
    switch (buttons) {
        case Buttons::OK:
            return QMessageBox::Ok;
        case Buttons::OKCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::AbortRetryIgnore:
            return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(Icon icon) {
    switch (icon) {
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

Answer AnswerOf(int button, Buttons offered) {
    switch (button) {
        case QMessageBox::Ok:
            return Answer::OK;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Abort:
            return Answer::Abort;
        case QMessageBox::Retry:
            return Answer::Retry;
        case QMessageBox::Ignore:
            return Answer::Ignore;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            break;
    }
    // Escape or the close box: the box's way out.
    return offered == Buttons::OK ? Answer::OK : Answer::Cancel;
}

// "Setup files (*.kzs)|*.kzs|All files|*.*" as Qt's "Setup files (*.kzs);;All files (*.*)".
QString QtFilter(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(';', ' ');
        entries << (description.contains('(') ? description.section('(', 0, 0).trimmed()
                                              : description) +
                       " (" + patterns + ")";
    }
    return entries.join(";;");
}

QString FirstDriveRoot();

// Where a file dialog opens: the folder asked for, else (none asked for, or
// gone meanwhile) the first drive.
QString StartFolder(const std::string& drivePath) {
    auto native = platform::ToNativePath(drivePath);
    if (!native || !QFileInfo(QString::fromStdString(*native)).isDir()) return FirstDriveRoot();
    return QString::fromStdString(*native);
}

QString FirstDriveRoot() {
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        if (platform::Drives().IsMapped(letter)) {
            return QString::fromStdString(platform::Drives().Root(letter));
        }
    }
    return QString();
}

// The chosen place as a drive path. A place on no drive cannot be used:
// the user is told so, rather than the choice vanishing without a word.
std::optional<std::string> DrivePathOf(Ui& ui, const QString& native, const std::string& title) {
    if (native.isEmpty()) return std::nullopt;
    auto path = platform::ToDrivePath(native.toStdString());
    if (!path) {
        ui.MsgBox(native.toStdString() + "\r\nis on no drive that this program can use." +
                      "\r\n\r\nChoose a place on one of its drives.",
                  Buttons::OK, Icon::Exclamation, title);
    }
    return path;
}

}  // namespace

QtUi::QtUi(QApplication& app) : app_(app) {}

QtUi::~QtUi() = default;

FormView& QtUi::ViewOf(Form& form) {
    auto& view = views_[&form];
    // A new form may live where a destroyed one was.
    if (!view || !view->Alive()) view = std::make_unique<FormView>(form);
    return *view;
}

QWidget* QtUi::OwnerFor(const Form* form, bool modal) {
    if (form != nullptr && form == mainForm_) return nullptr;
    Form* owner = mainForm_;
    if (modal) {
        for (auto it = shownOrder_.rbegin(); it != shownOrder_.rend(); ++it) {
            if (*it != form && (*it)->Visible()) {
                owner = *it;
                break;
            }
        }
    }
    auto found = owner != nullptr ? views_.find(owner) : views_.end();
    if (found == views_.end() || !found->second->Alive()) return nullptr;
    return found->second.get();
}

FormView& QtUi::Prepare(Form& form, bool modal) {
    if (mainForm_ == nullptr) mainForm_ = &form;
    FormView& view = ViewOf(form);
    if (!view.isVisible()) view.SetOwner(OwnerFor(&form, modal));
    view.KeepOnScreen();
    return view;
}

void QtUi::Shown(Form& form) {
    shownOrder_.erase(std::remove(shownOrder_.begin(), shownOrder_.end(), &form),
                      shownOrder_.end());
    shownOrder_.push_back(&form);
}

void QtUi::FormDestroyed(Form& form) {
    shownOrder_.erase(std::remove(shownOrder_.begin(), shownOrder_.end(), &form),
                      shownOrder_.end());
    if (mainForm_ == &form) mainForm_ = nullptr;
}

namespace {

// Room for each line of a box's text as the text breaks it, and for the
// whole title in the frame above: the box's own rule would break a line of
// more than half a screen's width, and cut a title longer than the text.
void WidenForLinesAndTitle(QMessageBox& box, const QString& text, const QString& title) {
    auto* label = box.findChild<QLabel*>("qt_msgbox_label");
    if (label == nullptr) return;
    QScreen* screen = box.parentWidget() != nullptr ? box.parentWidget()->screen()
                                                    : QGuiApplication::primaryScreen();
    const int room = screen != nullptr ? screen->availableGeometry().width() : 1024;
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString& line : text.split('\n')) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    // The title is drawn by the window manager, often in bold, beside the
    // frame's own buttons.
    QFont titleFont = box.font();
    titleFont.setBold(true);
    constexpr int kFrameButtons = 120;
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(title) + kFrameButtons;
    // The box is at least this much wider than its text: margins, if no icon.
    constexpr int kBesideText = 40;
    const int needed = std::max(widest + 2, titleWidth - kBesideText);
    // A line wider than most of the screen is still broken.
    label->setMinimumWidth(std::min(needed, room * 9 / 10 - 100));
}

}  // namespace

Answer QtUi::MsgBox(const std::string& text, Buttons buttons, Icon icon, const std::string& title,
                    int defaultButton) {
    // In front of the window it asks about, on that window's screen.
    QWidget* owner = OwnerFor(nullptr, true);
    QMessageBox box(IconOf(icon), QString::fromStdString(title), DisplayText(text),
                    StandardButtonsOf(buttons), owner);
    WidenForLinesAndTitle(box, DisplayText(text), QString::fromStdString(title));
    // The box lists its buttons in the order of the set (Yes, No, Cancel).
    QList<QAbstractButton*> offered = box.buttons();
    std::sort(offered.begin(), offered.end(),
              [&box](auto* a, auto* b) { return box.standardButton(a) < box.standardButton(b); });
    if (defaultButton >= 1 && defaultButton <= offered.size()) {
        box.setDefaultButton(static_cast<QPushButton*>(offered[defaultButton - 1]));
    }
    return AnswerOf(box.exec(), buttons);
}

void QtUi::ShowModal(Form& form) {
    FormView& view = Prepare(form, true);
    form.SetVisibleState(true, true);
    view.setWindowModality(Qt::ApplicationModal);
    view.show();
    view.raise();
    view.activateWindow();
    Shown(form);
    GiveFocus(form, view);
    if (form.OnActivate) form.OnActivate();
    QEventLoop loop;
    QPointer<FormView> guard(&view);
    // Hiding the form, by its own code or by the close box, ends the loop.
    while (form.Visible() && guard) loop.processEvents(QEventLoop::WaitForMoreEvents);
}

void QtUi::Show(Form& form) {
    FormView& view = Prepare(form, false);
    form.SetVisibleState(true, form.Modal());
    view.SyncTexts();
    view.show();
    view.raise();
    Shown(form);
    GiveFocus(form, view);
    if (form.OnActivate) form.OnActivate();
}

void QtUi::GiveFocus(Form& form, FormView& view) {
    // A caller often sets the focus before showing the form, when its widget
    // could not take it yet; without this the first box of the form would
    // have it, and Space would tick it instead of pressing the button.
    if (Control* focused = form.Focused()) view.FocusChanged(*focused);
}

void QtUi::Hide(Form& form) {
    form.SetVisibleState(false, false);
    if (auto it = views_.find(&form); it != views_.end()) {
        it->second->hide();
        it->second->setWindowModality(Qt::NonModal);
    }
}

void QtUi::Refresh(Form& form) {
    FormView& view = ViewOf(form);
    view.SyncTexts();
    view.repaint();
}

void QtUi::SetFocus(Control& control) {
    control.Owner().SetFocusedState(&control);
    if (auto it = views_.find(&control.Owner()); it != views_.end()) {
        it->second->FocusChanged(control);
    }
}

std::optional<std::string> QtUi::OpenFileDialog(const FileDialogOptions& options) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(options.title),
                       StartFolder(options.initialFolder), QtFilter(options.filter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return DrivePathOf(*this, dialog.selectedFiles().first(), options.title);
}

std::optional<std::string> QtUi::SaveFileDialog(const FileDialogOptions& options) {
    QString start = StartFolder(options.initialFolder);
    if (!options.fileName.empty()) {
        start += (start.isEmpty() ? "" : "/") + QString::fromStdString(options.fileName);
    }
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(options.title), start,
                       QtFilter(options.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(options.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return DrivePathOf(*this, dialog.selectedFiles().first(), options.title);
}

std::optional<std::string> QtUi::BrowseForFolder(const std::string& title,
                                                 const std::string& initialFolder) {
    // Start in the folder in use, else where the program's drives are, not
    // in whatever folder the program happened to be started from.
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(title),
                       StartFolder(initialFolder));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    // The folder as the dialog gives it: nothing added, nothing removed.
    return DrivePathOf(*this, dialog.selectedFiles().first(), title);
}

int QtUi::TextWidth(const std::string& text, bool fixedPitch) {
    QFontMetrics metrics(fixedPitch ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                    : QApplication::font());
    return metrics.horizontalAdvance(QString::fromStdString(text)) * kTwipsPerPixel;
}

int QtUi::LineHeight(bool fixedPitch) {
    QFontMetrics metrics(fixedPitch ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                    : QApplication::font());
    return metrics.lineSpacing() * kTwipsPerPixel;
}

void QtUi::SetClipboardText(const std::string& text) {
    QApplication::clipboard()->setText(DisplayText(text));
}

std::string QtUi::ClipboardText() { return QApplication::clipboard()->text().toStdString(); }

void QtUi::Beep() { QApplication::beep(); }

void QtUi::DoEvents() { app_.processEvents(); }

void QtUi::EndProgram(int exitCode) {
    // Ending at once: nested event loops of modal windows are not unwound.
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

}  // namespace ui
