// What forms rely on in their controls: events that a window would not
// deliver are not raised, option buttons exclude each other, and a text
// box's selection stays inside its text.
#include "ui/Control.h"

#include <gtest/gtest.h>

#include "tests/testsupport/TempDrive.h"
#include "ui/Form.h"

namespace {

class Sample : public ui::Form {
public:
    Sample()
        : Form("Sample"),
          frame(Add(ui::ControlKind::Frame, "fraOptions", "", 0, 0, 100, 100)),
          first(Add(ui::ControlKind::OptionButton, "optFirst", "", 0, 0, 10, 10, &frame)),
          second(Add(ui::ControlKind::OptionButton, "optSecond", "", 0, 0, 10, 10, &frame)),
          outside(Add(ui::ControlKind::OptionButton, "optOutside", "", 0, 0, 10, 10)),
          check(Add(ui::ControlKind::CheckBox, "chkBox", "", 0, 0, 10, 10, &frame)),
          text(Add(ui::ControlKind::TextBox, "txbText", "", 0, 0, 10, 10)) {}
    ui::Control& frame;
    ui::Control& first;
    ui::Control& second;
    ui::Control& outside;
    ui::Control& check;
    ui::Control& text;
};

}  // namespace

TEST(Control, DisabledFormsAndContainersDeliverNoEvents) {
    Sample form;
    int clicks = 0;
    form.check.Click = [&] { ++clicks; };
    form.check.PressKey();
    EXPECT_EQ(form.check.Value(), 1);
    form.frame.SetEnabled(false);
    form.check.PressKey();
    form.check.RaiseClick();
    form.frame.SetEnabled(true);
    form.SetEnabled(false);
    form.check.RaiseClick();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.check.Value(), 1);
    EXPECT_THROW(form("chkMissing"), std::out_of_range);
}

TEST(Control, OptionButtonsExcludeEachOtherWithinTheirContainer) {
    Sample form;
    form.first.SetValue(1);
    form.outside.SetValue(1);
    form.second.PressKey();
    EXPECT_EQ(form.first.Value(), 0);
    EXPECT_EQ(form.second.Value(), 1);
    EXPECT_EQ(form.outside.Value(), 1) << "another container is another group";
}

TEST(Control, SelectionStaysInsideTheText) {
    Sample form;
    form.text.SetCaption("line one\r\nline two\r\n");
    form.text.SetSelection(10, 4);
    EXPECT_EQ(form.text.SelectedText(), "line");
    form.text.SetSelection(15, 100);
    EXPECT_EQ(form.text.SelectedText(), "two\r\n");
    form.text.SetSelection(-3, 2);
    EXPECT_EQ(form.text.SelectedText(), "li");
    form.text.SetCaption("new");
    EXPECT_EQ(form.text.SelectedText(), "") << "new text drops the old selection";
    form.text.SetSelStart(99);
    EXPECT_EQ(form.text.SelStart(), 3);
}

TEST(HeadlessUi, ForgetsFormsThatAreGone) {
    testing_support::HeadlessScope ui;
    int ticks = 0;
    {
        Sample form;
        form.Show();
    }
    ui->OnDoEvents = [&] { ++ticks; };
    ui->DoEvents();  // must not visit the destroyed form
    EXPECT_EQ(ticks, 1);
}
