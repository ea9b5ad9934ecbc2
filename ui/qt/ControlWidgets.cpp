#include "ui/qt/ControlWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/Control.h"
#include "ui/qt/FormView.h"

namespace ui {
namespace {

// The caption, with a leading '&' of an access key shown as Qt does.
QString Caption(const Control& control) { return QString::fromStdString(control.Caption()); }

}  // namespace

QString DisplayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

QString ColorStyle(int backColor, int foreColor) {
    QString style;
    if (backColor >= 0)
        style += QString("background-color: #%1;").arg(backColor, 6, 16, QChar('0'));
    if (foreColor >= 0) style += QString("color: #%1;").arg(foreColor, 6, 16, QChar('0'));
    return style;
}

QString IndicatorStyle(const Control& control, const QString& colours) {
    // On a coloured background the desktop's indicator can all but vanish
    // (a grey ring on dark red): draw it in the text colour, a ring when
    // clear and a ring with a dot when chosen.
    if (control.BackColor() < 0 || colours.isEmpty()) return colours;
    const QString back = QString("#%1").arg(control.BackColor(), 6, 16, QChar('0'));
    const QString fore = control.ForeColor() >= 0
                             ? QString("#%1").arg(control.ForeColor(), 6, 16, QChar('0'))
                             : QString("#ffffff");
    const bool round = control.Kind() == ControlKind::OptionButton;
    const QString kind = round ? "QRadioButton" : "QCheckBox";
    QString style = kind + " { " + colours + " }";
    style += kind + "::indicator { width: 11px; height: 11px; border: 2px solid " + fore +
             "; background-color: " + back + ";" + (round ? " border-radius: 7px;" : "") + " }";
    style += kind +
             "::indicator:checked { background-color: qradialgradient(cx:0.5, cy:0.5, "
             "radius:0.5, fx:0.5, fy:0.5, stop:0 " +
             fore + ", stop:0.55 " + fore + ", stop:0.65 " + back + ", stop:1 " + back + "); }";
    style += kind + "::indicator:disabled { border-color: #c08080; }";
    return style;
}

QWidget* MakeWidget(const Control& control, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (control.Kind()) {
        case ControlKind::Label:
            widget = new QLabel(parent);
            static_cast<QLabel*>(widget)->setWordWrap(true);
            break;
        case ControlKind::Link: {
            auto* label = new QLabel(parent);
            label->setCursor(Qt::PointingHandCursor);
            widget = label;
            break;
        }
        case ControlKind::Button:
            widget = new QPushButton(parent);
            widget->setMouseTracking(true);
            break;
        case ControlKind::CheckBox:
            widget = new QCheckBox(parent);
            break;
        case ControlKind::OptionButton:
            widget = new QRadioButton(parent);
            break;
        case ControlKind::ComboBox:
            widget = new QComboBox(parent);
            break;
        case ControlKind::TextBox:
            if (control.Multiline()) {
                auto* edit = new QPlainTextEdit(parent);
                edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
                edit->setLineWrapMode(QPlainTextEdit::NoWrap);
                widget = edit;
            } else {
                widget = new QLineEdit(parent);
            }
            break;
        case ControlKind::Frame:
            widget = new QGroupBox(parent);
            break;
        case ControlKind::Panel:
            widget = new QWidget(parent);
            break;
        case ControlKind::ListBox:
            widget = new QListWidget(parent);
            break;
        case ControlKind::Timer:
            return nullptr;
    }
    widget->setObjectName(QString::fromStdString(
        control.Index() < 0 ? control.Name()
                            : control.Name() + "(" + std::to_string(control.Index()) + ")"));
    return widget;
}

void ApplyProperties(const Control& control, QWidget* widget) {
    widget->setGeometry(control.Left() / kTwipsPerPixel, control.Top() / kTwipsPerPixel,
                        control.Width() / kTwipsPerPixel, control.Height() / kTwipsPerPixel);
    widget->setVisible(control.Visible());
    widget->setEnabled(control.Enabled());
    // A report's caret moves with every file: setting an unchanged font or
    // style sheet would restyle the widget each time.
    if (widget->font().bold() != control.FontBold()) {
        QFont font = widget->font();
        font.setBold(control.FontBold());
        widget->setFont(font);
    }
    QString style = ColorStyle(control.BackColor(), control.ForeColor());
    if (control.Kind() == ControlKind::Link) style += "color: #0645ad; text-decoration: underline;";
    if (control.Kind() == ControlKind::OptionButton || control.Kind() == ControlKind::CheckBox) {
        style = IndicatorStyle(control, style);
    }
    if (widget->styleSheet() != style) widget->setStyleSheet(style);

    switch (control.Kind()) {
        case ControlKind::Label:
        case ControlKind::Link:
            static_cast<QLabel*>(widget)->setText(Caption(control));
            break;
        case ControlKind::Button:
            static_cast<QPushButton*>(widget)->setText(Caption(control));
            break;
        case ControlKind::CheckBox:
            static_cast<QCheckBox*>(widget)->setText(Caption(control));
            static_cast<QCheckBox*>(widget)->setChecked(control.Value() != 0);
            break;
        case ControlKind::OptionButton:
            static_cast<QRadioButton*>(widget)->setText(Caption(control));
            static_cast<QRadioButton*>(widget)->setChecked(control.Value() != 0);
            break;
        case ControlKind::ComboBox:
            static_cast<QComboBox*>(widget)->setCurrentIndex(control.Value());
            break;
        case ControlKind::ListBox:
            static_cast<QListWidget*>(widget)->setCurrentRow(control.Value());
            break;
        case ControlKind::Frame:
            static_cast<QGroupBox*>(widget)->setTitle(Caption(control));
            break;
        case ControlKind::TextBox:
            if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
                edit->setReadOnly(control.Locked());
                // Read-only text is still selected with the keyboard too
                // (Shift and the arrows), to be copied.
                if (control.Locked()) {
                    edit->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                                  Qt::TextSelectableByKeyboard);
                }
            } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
                line->setReadOnly(control.Locked());
                // A one-line box takes its text at once; it is never long.
                QString text = QString::fromStdString(control.Caption());
                if (line->text() != text) line->setText(text);
            }
            break;
        case ControlKind::Panel:
        case ControlKind::Timer:
            break;
    }
}

}  // namespace ui
