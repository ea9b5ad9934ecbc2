// The real windows as a user meets them, offscreen: where dialogs open,
// what the keyboard does, what the layout leaves legible, the file dialogs'
// answers, and what the report shows while a run asks and pauses.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QFileDialog>
#include <QMouseEvent>
#include <QWindow>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "app/Forms.h"
#include "app/frmMain.h"
#include "app/frmSpecifyFiles.h"
#include "app/frmTypeOfPurge.h"
#include "platform/DrivePaths.h"
#include "purge/frmPurgeConfirmation.h"
#include "purge/frmReport.h"
#include "tests/ui/qt/QtTestSupport.h"
#include "ui/qt/FormView.h"

using testing_support::FindWidget;

namespace {

class QtDesktop : public testing_support::QtProgram {
  protected:
    void TearDown() override {
        watchers_.clear();
        QtProgram::TearDown();
    }
    // Runs `act` on each modal window that comes up, until it returns true
    // or the test ends. An act may return false to wait for the window to
    // be ready; a modal window still up after a minute fails the test and
    // is closed, so that waiting for what never comes fails instead of
    // hanging.
    void WhenModal(std::function<bool(QWidget&)> act) {
        auto timer = std::make_unique<QTimer>();
        QTimer* watcher = timer.get();
        QObject::connect(watcher, &QTimer::timeout,
                         [watcher, act, up = QPointer<QWidget>(), since = Clock::now()]() mutable {
                             QWidget* modal = QApplication::activeModalWidget();
                             if (modal == nullptr || !modal->isVisible()) return;
                             if (modal != up) {
                                 up = modal;
                                 since = Clock::now();
                             }
                             if (Clock::now() - since > std::chrono::minutes(1)) {
                                 ADD_FAILURE() << "a modal window stayed up: "
                                               << modal->windowTitle().toStdString();
                                 watcher->stop();
                                 modal->close();
                             } else if (act(*modal)) {
                                 watcher->stop();
                             }
                         });
        watcher->start(10);
        watchers_.push_back(std::move(timer));
    }
    using Clock = std::chrono::steady_clock;
    std::vector<std::unique_ptr<QTimer>> watchers_;
    // Types `name` into a file dialog and accepts it, as a user does; false
    // until the dialog has come up with the keyboard in its name box. A
    // name handed over by selectFile would not do: the dialog leaves a name
    // box that has the focus alone, and then gives the folder on view.
    static bool ChooseFolder(QFileDialog& dialog, const QString& name) {
        if (!TypeName(dialog, name)) return false;
        EXPECT_EQ(dialog.selectedFiles().join(";").toStdString(),
                  dialog.directory().absoluteFilePath(name).toStdString())
            << "what the dialog took";
        static_cast<QDialog&>(dialog).accept();  // the file dialog's own, as its button calls it
        return true;
    }
    // Types `name` into the dialog's name box; false until it has the keyboard.
    static bool TypeName(QFileDialog& dialog, const QString& name) {
        QWidget* nameBox = QApplication::focusWidget();
        if (!dialog.isActiveWindow() || nameBox == nullptr || nameBox->window() != &dialog) {
            return false;
        }
        for (QChar letter : name) {
            // Qt's key codes of printable ASCII are the upper-case letters.
            QKeyEvent press(QEvent::KeyPress, letter.toUpper().unicode(), Qt::NoModifier,
                            QString(letter));
            QApplication::sendEvent(nameBox, &press);
        }
        return true;
    }
    static QRect Global(QWidget& widget) {
        return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size());
    }
    // Sends a key press and release to the widget, as the keyboard would.
    static void PressKey(QWidget& widget, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(&widget, &press);
        QApplication::sendEvent(&widget, &release);
    }
};

// Visible children of a window that overlap, named for the message.
std::string Overlaps(QWidget& window) {
    std::string found;
    QList<QWidget*> all = window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (int i = 0; i < all.size(); ++i) {
        for (int j = i + 1; j < all.size(); ++j) {
            QWidget* a = all[i];
            QWidget* b = all[j];
            if (!a->isVisible() || !b->isVisible() || a->objectName().isEmpty() ||
                b->objectName().isEmpty()) {
                continue;
            }
            if (a->geometry().intersects(b->geometry())) {
                found +=
                    a->objectName().toStdString() + " / " + b->objectName().toStdString() + "; ";
            }
        }
    }
    return found;
}

// Check boxes and labels whose text the widget cuts off.
std::string Clipped(QWidget& window) {
    std::string found;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible() || w->objectName().isEmpty()) continue;
        if ((qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w)) &&
            w->width() < w->sizeHint().width() - 1) {
            found += w->objectName().toStdString() + " ";
        }
    }
    return found;
}

}  // namespace

TEST_F(QtDesktop, DialogsOpenBesideTheMainWindowWhereverItIs) {
    frmMain& main = forms_->Main();
    ui::FormView& window = qt_->ViewOf(main);
    window.move(40, 20);
    QApplication::processEvents();
    EXPECT_EQ(main.Left(), 40 * ui::kTwipsPerPixel) << "the move reaches the form";
    EXPECT_EQ(main.Top(), 20 * ui::kTwipsPerPixel);
    QPoint at;
    QSize size;
    WhenModal([&](QWidget& modal) {
        at = modal.pos();
        size = modal.size();
        FindWidget<QPushButton>(modal, "cmdCancel")->click();
        return true;
    });
    main.cmdTypeOfPurge_MouseUp();
    const int left = (main.Left() + main.fraMenu.Width() + 250) / ui::kTwipsPerPixel;
    const int top = (main.Top() + main.cmdProcessFiles(2).Top() + 440) / ui::kTwipsPerPixel;
    // Beside the main window, as far as the screen lets it.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_NEAR(at.x(), std::min(left, screen.right() - size.width()), 1);
    EXPECT_NEAR(at.y(), std::min(top, screen.bottom() - size.height()), 1);
    EXPECT_GT(at.x(), 40 + main.fraMenu.Width() / ui::kTwipsPerPixel - 2) << "not over the menu";
}

TEST_F(QtDesktop, EnterAndSpacePressTheFocusedButtonOfADialogAndOfTheMenu) {
    frmMain& main = forms_->Main();
    drives().WriteFile("C:\\data\\a.txt", "a");
    main.strFolderPath[0] = "C:\\data\\";
    for (int key : {Qt::Key_Return, Qt::Key_Space}) {
        bool pressed = false;
        bool stayedOpen = false;
        WhenModal([&](QWidget& modal) {
            // The dialog puts the focus on Cancel; the key presses it.
            EXPECT_TRUE(forms_->SpecifyFiles().cmdCancel.HasFocus());
            QWidget* focused = modal.focusWidget();
            EXPECT_EQ(focused == nullptr ? "" : focused->objectName().toStdString(), "cmdCancel");
            auto* cancel = FindWidget<QPushButton>(modal, "cmdCancel");
            PressKey(*cancel, key);
            pressed = true;
            // A key that does nothing fails here rather than leaving the
            // dialog open for ever.
            if (modal.isVisible()) {
                stayedOpen = true;
                cancel->click();
            }
            return true;
        });
        forms_->SpecifyFiles().blnAccept = true;
        main.cmdSpecifyFiles_MouseUp(0);
        EXPECT_TRUE(pressed);
        EXPECT_FALSE(stayedOpen) << "key " << key << " left the dialog open";
        EXPECT_FALSE(forms_->SpecifyFiles().Visible()) << "key " << key;
        EXPECT_FALSE(forms_->SpecifyFiles().blnAccept);
    }

    // A menu button pressed from the keyboard acts as on the mouse's
    // release; Qt's click alone (no key, no release) still does nothing.
    int boxes = 0;
    WhenModal([&](QWidget& modal) {
        ++boxes;
        static_cast<QDialog&>(modal).reject();
        return false;
    });
    ui::FormView& window = qt_->ViewOf(main);
    auto* help = FindWidget<QPushButton>(window, "cmdHelp");
    help->click();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_EQ(boxes, 0);
    help->setFocus();
    PressKey(*help, Qt::Key_Return);
    EXPECT_EQ(boxes, 1) << "Enter";
    PressKey(*help, Qt::Key_Space);
    EXPECT_EQ(boxes, 2) << "Space";
}

TEST_F(QtDesktop, FocusSetBeforeADialogIsShownIsWhereTheKeysGo) {
    // The purge confirmation puts the focus on "No, cancel this purge" before
    // it is shown: a Space must cancel, never tick the box that comes first.
    frmPurgeConfirmation& dialog = forms_->PurgeConfirmation();
    dialog.strPurgeConfirmationMessage = "Are you sure?";
    dialog.strDriveLetter = "C";
    std::string focused = "not shown";
    WhenModal([&](QWidget& modal) {
        QWidget* widget = modal.focusWidget();
        focused = widget == nullptr ? "nothing" : widget->objectName().toStdString();
        if (widget != nullptr) PressKey(*widget, Qt::Key_Space);
        if (dialog.Visible()) FindWidget<QPushButton>(modal, "cmdCancel")->click();
        return true;
    });
    dialog.Form_Activate();
    dialog.ShowModal();
    EXPECT_EQ(focused, "cmdCancel");
    EXPECT_FALSE(dialog.blnConfirm);
    EXPECT_EQ(dialog.chkOKToPurgeSensitiveFiles.Value(), 0);
}

TEST_F(QtDesktop, TheMainWindowKeepsItsMenuWhenShrunk) {
    frmMain& main = forms_->Main();
    ui::FormView& window = qt_->ViewOf(main);
    window.resize(200, 150);
    QApplication::processEvents();
    for (const char* name : {"cmdSetup", "cmdHelp", "cmdQuit"}) {
        QWidget* button = FindWidget(window, name);
        EXPECT_TRUE(
            window.rect().contains(QRect(button->mapTo(&window, QPoint(0, 0)), button->size())))
            << name;
    }
}

TEST_F(QtDesktop, SetupPanelsStandClearOfTheMenuAndTheCopyright) {
    frmMain& main = forms_->Main();
    ui::FormView& window = qt_->ViewOf(main);
    main.cmdSetup_MouseUp();
    QRect panel = Global(*FindWidget(window, "fraSetup"));
    for (const char* name : {"cmdSetup", "cmdHelp", "cmdReportScreen", "cmdWipeDisk"}) {
        EXPECT_GE(panel.left() - Global(*FindWidget(window, name)).right(), 4) << name;
    }
    QRect notNow = Global(*FindWidget(window, "cmdKeepSetup"));
    EXPECT_GE(Global(*FindWidget(window, "lblCopyright")).top() - notNow.bottom(), 4);
    EXPECT_GE(Global(*FindWidget(window, "lblCopyright")).top() - panel.bottom(), 2);
}

TEST_F(QtDesktop, PurgeConfirmationLeavesEveryCaptionWholeAtALargeFont) {
    QFont normal = QApplication::font();
    QFont large = normal;
    large.setPointSizeF(normal.pointSizeF() * 1.6);
    QApplication::setFont(large);
    frmPurgeConfirmation& dialog = forms_->PurgeConfirmation();
    dialog.chkPurgeSlack.SetValue(1);
    forms_->Main().blnSubdirectories = true;
    dialog.strPurgeConfirmationMessage =
        "Are you sure that you want to purge all 12 files in \r\nC:\\data\\\r\nand all files in "
        "all subfolders?\r\n(This will permanently destroy all data in these files.)";
    dialog.strDriveLetter = "C";
    std::string overlaps = "not shown";
    std::string clipped;
    WhenModal([&](QWidget& modal) {
        dialog.lblClusterSize.RaiseClick();  // the file system's two lines
        QApplication::processEvents();
        overlaps = Overlaps(modal);
        clipped = Clipped(modal);
        QGroupBox* frame = FindWidget<QGroupBox>(modal, "fraClusterSize");
        overlaps += Overlaps(*frame);
        FindWidget<QPushButton>(modal, "cmdCancel")->click();
        return true;
    });
    dialog.Form_Activate();
    dialog.ShowModal();
    QApplication::setFont(normal);
    EXPECT_EQ(overlaps, "");
    EXPECT_EQ(clipped, "");
}

TEST_F(QtDesktop, OptionButtonsOnDarkRedAreLegible) {
    frmMain& main = forms_->Main();
    drives().WriteFile("C:\\data\\a.txt", "a");
    main.strFolderPath[0] = "C:\\data\\";
    int light = -1;
    WhenModal([&](QWidget& modal) {
        auto* option = FindWidget<QRadioButton>(modal, "optAllFiles");
        QStyleOptionButton style;
        style.initFrom(option);
        QRect indicator =
            option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, option);
        QImage image = option->grab().toImage();
        light = 0;
        for (int y = indicator.top(); y <= indicator.bottom(); ++y) {
            for (int x = indicator.left(); x <= indicator.right(); ++x) {
                if (qGray(image.pixel(x, y)) > 160) ++light;
            }
        }
        FindWidget<QPushButton>(modal, "cmdCancel")->click();
        return true;
    });
    main.cmdSpecifyFiles_MouseUp(0);
    EXPECT_GT(light, 12) << "the ring of an option button stands out from dark red";
}

TEST_F(QtDesktop, FileDialogsGiveThePlaceAsChosenOrSayItIsOnNoDrive) {
    drives().MakeFolder("C:\\data");
    std::string filters;
    WhenModal([&](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        return dialog != nullptr && ChooseFolder(*dialog, "data");
    });
    EXPECT_EQ(qt_->BrowseForFolder("Specify folder"), "C:\\data") << "nothing added";

    std::string said;
    WhenModal([&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
            said = box->text().toStdString();
            box->accept();
            return true;
        }
        if (auto* dialog = qobject_cast<QFileDialog*>(&modal)) ChooseFolder(*dialog, "/tmp");
        return false;
    });
    EXPECT_EQ(qt_->BrowseForFolder("Specify folder"), std::nullopt);
    EXPECT_NE(said.find("is on no drive"), std::string::npos) << said;

    WhenModal([&](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        if (dialog == nullptr) return false;
        filters = dialog->nameFilters().join(";;").toStdString();
        dialog->reject();
        return true;
    });
    ui::FileDialogOptions options;
    options.filter = "Operation files (*.kzs) | *.kzs";
    EXPECT_EQ(qt_->OpenFileDialog(options), std::nullopt);
    EXPECT_EQ(filters, "Operation files (*.kzs)");
}

TEST_F(QtDesktop, ASaveDialogOpensInTheFolderInUseAndAddsTheOperationFilesExtension) {
    drives().MakeFolder("C:\\ops");
    std::string openedIn;
    WhenModal([&](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        if (dialog == nullptr || !TypeName(*dialog, "monthly")) return false;
        openedIn = dialog->directory().absolutePath().toStdString();
        static_cast<QDialog&>(*dialog).accept();
        return true;
    });
    ui::FileDialogOptions options;
    options.filter = "Operation files (*.kzs) | *.kzs";
    options.initialFolder = "C:\\ops";
    options.defaultExtension = "kzs";
    EXPECT_EQ(qt_->SaveFileDialog(options), "C:\\ops\\monthly.kzs");
    EXPECT_EQ(openedIn, drives().Native("C:\\ops"));
}

// The box's own keyboard: the Enter a user presses goes to the focused
// button, which must be the default one.
TEST_F(QtDesktop, EnterAloneAnswersAQuestionWithItsDefaultButton) {
    for (int defaultButton : {1, 2}) {
        std::string focused;
        WhenModal([&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            QWidget* keys = QApplication::focusWidget();
            if (box == nullptr || !box->isActiveWindow() || keys == nullptr) return false;
            if (auto* button = qobject_cast<QPushButton*>(keys)) {
                focused = button->text().toStdString();
            }
            PressKey(*keys, Qt::Key_Return);
            return true;
        });
        const ui::Answer answer =
            qt_->MsgBox("Now ready to wipe the disk in Drive D:\r\nPress 'OK' to continue or "
                        "'Cancel' to stop.",
                        ui::Buttons::OKCancel, ui::Icon::None, "Wipe disk", defaultButton);
        EXPECT_EQ(answer, defaultButton == 2 ? ui::Answer::Cancel : ui::Answer::OK) << focused;
    }
}

TEST_F(QtDesktop, TheReportIsUpToDateAtAQuestionAndShowsItsFirstLineAtTheEnd) {
    frmMain& main = forms_->Main();
    drives().WriteFile("C:\\p\\a.txt", "first");
    drives().WriteFile("C:\\p\\b.exe", "program");
    main.strFolderPath[0] = "C:\\p\\";
    main.strFileSpec[0] = "*.*";
    main.blnSubdirectories = false;
    main.blnConfirmFiles = false;
    main.RefreshSelection();
    forms_->TypeOfPurge().SelectTypeAndPasses(0, 1);
    std::string shownAtQuestion;
    WhenModal([&](QWidget& modal) {
        if (modal.objectName() == "frmPurgeConfirmation") {
            FindWidget<QPushButton>(modal, "cmdDoPurge")->click();
            return false;
        }
        if (modal.objectName() == "frmAntiVirusQuery") {
            FindWidget<QPushButton>(modal, "cmdNo")->click();
            return false;
        }
        if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
            auto* text = FindWidget<QPlainTextEdit>(qt_->ViewOf(forms_->Report()), "txbText");
            shownAtQuestion = text->toPlainText().toStdString();
            box->button(QMessageBox::Cancel)->click();
            return true;
        }
        return false;
    });
    main.cmdProcessFiles_MouseUp(1);
    // The purge query for b.exe: the window shows the run so far.
    EXPECT_NE(shownAtQuestion.find("b.exe"), std::string::npos) << shownAtQuestion;
    EXPECT_NE(shownAtQuestion.find("Purging all files in"), std::string::npos);

    auto* text = FindWidget<QPlainTextEdit>(qt_->ViewOf(forms_->Report()), "txbText");
    QApplication::processEvents();
    EXPECT_EQ(
        text->toPlainText().toStdString() + "\n",
        QString::fromStdString(forms_->Report().ReportText()).replace("\r\n", "\n").toStdString() +
            "\n");
    EXPECT_EQ(text->verticalScrollBar()->maximum(), 0) << "every line, the first too, in view";
    QWidget* dots = FindWidget(qt_->ViewOf(forms_->Report()), "lblDots");
    EXPECT_LE(dots->geometry().bottom(), qt_->ViewOf(forms_->Report()).height());
}

TEST_F(QtDesktop, DialogsOfALowMainWindowOpenWholeOnItsScreenAndInFrontOfIt) {
    frmMain& main = forms_->Main();
    ui::FormView& window = qt_->ViewOf(main);
    const QRect screen = window.screen()->availableGeometry();
    // Moved to the bottom right, most of it below and beyond the screen.
    window.move(screen.right() - 300, screen.bottom() - 150);
    QApplication::processEvents();
    drives().WriteFile("C:\\low\\a.txt", "a");
    main.strFolderPath[0] = "C:\\low\\";
    main.strFileSpec[0] = "a.txt";
    main.RefreshSelection();
    std::vector<std::string> seen;
    WhenModal([&](QWidget& modal) {
        if (auto* box = qobject_cast<QMessageBox*>(&modal)) {  // "No files purged."
            box->accept();
            return true;
        }
        seen.push_back(modal.objectName().toStdString());
        EXPECT_TRUE(screen.contains(modal.frameGeometry())) << seen.back() << " leaves the screen";
        EXPECT_EQ(modal.windowHandle()->transientParent(), window.windowHandle())
            << seen.back() << " belongs to the main window";
        QStyleOptionButton drawn;
        drawn.initFrom(modal.focusWidget());
        EXPECT_TRUE(drawn.state & QStyle::State_KeyboardFocusChange)
            << "the focus is drawn before any Tab";
        FindWidget<QPushButton>(modal, "cmdCancel")->click();
        return false;
    });
    main.cmdTypeOfPurge_MouseUp();
    main.cmdProcessFiles_MouseUp(1);
    EXPECT_EQ(seen, (std::vector<std::string>{"frmTypeOfPurge", "frmPurgeConfirmation"}));
}

TEST_F(QtDesktop, AQuestionDuringARunStandsInFrontOfTheReport) {
    frmMain& main = forms_->Main();
    drives().WriteFile("C:\\q\\b.exe", "program");
    main.strFolderPath[0] = "C:\\q\\";
    main.strFileSpec[0] = "*.*";
    main.blnSubdirectories = false;
    main.RefreshSelection();
    ui::FormView& report = qt_->ViewOf(forms_->Report());
    QWindow* boxOwner = nullptr;
    WhenModal([&](QWidget& modal) {
        if (modal.objectName() == "frmPurgeConfirmation") {
            FindWidget<QPushButton>(modal, "cmdDoPurge")->click();
            return false;
        }
        if (modal.objectName() == "frmAntiVirusQuery") {
            EXPECT_EQ(modal.windowHandle()->transientParent(), report.windowHandle());
            FindWidget<QPushButton>(modal, "cmdNo")->click();
            return false;
        }
        if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
            boxOwner = box->windowHandle()->transientParent();
            box->button(QMessageBox::Cancel)->click();
            return true;
        }
        return false;
    });
    main.cmdProcessFiles_MouseUp(1);
    EXPECT_EQ(report.windowHandle()->transientParent(), qt_->ViewOf(main).windowHandle())
        << "the report stays in front of the main window";
    EXPECT_EQ(boxOwner, report.windowHandle()) << "the purge query in front of the report";
}

TEST_F(QtDesktop, TheReportKeepsADraggedSelectionInViewAndCopiesExactlyIt) {
    frmMain& main = forms_->Main();
    for (int i = 0; i < 60; ++i) drives().WriteFile("C:\\r\\f" + std::to_string(i), "x");
    main.strFolderPath[0] = "C:\\r\\";
    main.strFileSpec[0] = "*";
    main.blnSubdirectories = false;
    main.RefreshSelection();
    main.cmdProcessFiles_MouseUp(2);
    ui::FormView& report = qt_->ViewOf(forms_->Report());
    auto* text = FindWidget<QPlainTextEdit>(report, "txbText");
    QApplication::processEvents();
    ASSERT_GT(text->verticalScrollBar()->maximum(), 0) << "a report that scrolls";
    EXPECT_GE(text->verticalScrollBar()->value(), text->verticalScrollBar()->maximum() - 1)
        << "the end in view";
    const int scrolled = text->verticalScrollBar()->value();

    // A drag with the mouse over part of a line near the end.
    const QString shown = text->toPlainText();
    const int from = shown.lastIndexOf("f5");
    ASSERT_GE(from, 0);
    auto pointAt = [text](int position) {
        QTextCursor at(text->document());
        at.setPosition(position);
        return text->cursorRect(at).center();
    };
    const QPoint start = pointAt(from);
    const QPoint end = pointAt(from + 2);
    QMouseEvent press(QEvent::MouseButtonPress, start, text->viewport()->mapToGlobal(start),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, end, text->viewport()->mapToGlobal(end), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, end, text->viewport()->mapToGlobal(end),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(text->viewport(), &press);
    QApplication::sendEvent(text->viewport(), &move);
    QApplication::sendEvent(text->viewport(), &release);
    EXPECT_EQ(text->textCursor().selectedText().toStdString(), "f5") << "still highlighted";
    EXPECT_EQ(text->verticalScrollBar()->value(), scrolled)
        << "the view stays where the user selected";
    EXPECT_EQ(FindWidget<QPushButton>(report, "cmdCopyToClipboard")->text().toStdString(),
              "Copy selected text to clipboard");

    // Widened from the keyboard, with Shift and the arrow key.
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
    QApplication::sendEvent(text, &right);
    const std::string selected = text->textCursor().selectedText().toStdString();
    EXPECT_EQ(selected.size(), 3u) << selected;
    FindWidget<QPushButton>(report, "cmdCopyToClipboard")->click();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), selected);
}

TEST_F(QtDesktop, TabVisitsTheMenuTopToBottom) {
    frmMain& main = forms_->Main();
    ui::FormView& window = qt_->ViewOf(main);
    main.cmdSpecifyDirectory(0).SetFocus();
    std::vector<std::string> visited;
    for (int i = 0; i < 14; ++i) {
        QWidget* focused = window.focusWidget();
        ASSERT_NE(focused, nullptr);
        visited.push_back(static_cast<QPushButton*>(focused)->text().toStdString());
        PressKey(*focused, Qt::Key_Tab);
    }
    EXPECT_EQ(visited, (std::vector<std::string>{
                           "Specify folder", "Specify files", "Subfolders?", "Confirm files?",
                           "Single file", "Type of purge", "List files, estimate time",
                           "Purge files", "Test purge speed", "Wipe disk", "Report window",
                           "Setup", "Help", "Quit"}));
}

TEST_F(QtDesktop, AMessageBoxKeepsEachLineWholeAndShowsItsTitle) {
    const std::string line = "The purge speed is thus approximately 12.345 MB/sec. for a single "
                             "overwrite, and this line is long.";
    QLabel* label = nullptr;
    int boxWidth = 0;
    WhenModal([&](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        if (box == nullptr) return false;
        label = box->findChild<QLabel*>("qt_msgbox_label");
        EXPECT_GE(label->width(), QFontMetrics(label->font()).horizontalAdvance(
                                      QString::fromStdString(line)))
            << "the line is not broken";
        boxWidth = box->width();
        box->accept();
        return true;
    });
    qt_->MsgBox("Short.\r\n" + line, ui::Buttons::OK, ui::Icon::None, "Purge cancelled");
    ASSERT_NE(label, nullptr);

    const std::string title = "A title much longer than the text of its box";
    WhenModal([&](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        if (box == nullptr) return false;
        QFont bold = box->font();
        bold.setBold(true);
        EXPECT_GT(box->width(),
                  QFontMetrics(bold).horizontalAdvance(QString::fromStdString(title)))
            << "room for the whole title";
        box->accept();
        return true;
    });
    qt_->MsgBox("No.", ui::Buttons::OK, ui::Icon::None, title);
}
