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
    if (backColor >= 0) style += QString("background-color: #%1;").arg(backColor, 6, 16, QChar('0'));
    if (foreColor >= 0) style += QString("color: #%1;").arg(foreColor, 6, 16, QChar('0'));
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
        case ControlKind::CheckBox: widget = new QCheckBox(parent); break;
        case ControlKind::OptionButton: widget = new QRadioButton(parent); break;
        case ControlKind::ComboBox: widget = new QComboBox(parent); break;
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
        case ControlKind::Frame: widget = new QGroupBox(parent); break;
        case ControlKind::Panel: widget = new QWidget(parent); break;
        case ControlKind::ListBox: widget = new QListWidget(parent); break;
        case ControlKind::Timer: return nullptr;
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
    QFont font = widget->font();
    font.setBold(control.FontBold());
    widget->setFont(font);
    widget->setStyleSheet(ColorStyle(control.BackColor(), control.ForeColor()) +
                          (control.Kind() == ControlKind::Link
                               ? "color: #0645ad; text-decoration: underline;"
                               : ""));

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
