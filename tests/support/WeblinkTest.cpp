#include <gtest/gtest.h>

#include "platform/Shell.h"
#include "support/weblink.h"
#include "tests/testsupport/TempDrive.h"

namespace {

// A shell that answers every address with a chosen result.
class ScriptedShell : public platform::Shell {
  public:
    explicit ScriptedShell(int result) : result(result) {}
    std::optional<std::string> ApplicationDataFolder() override { return std::nullopt; }
    int OpenAddress(const std::string& address) override {
        opened.push_back(address);
        return result;
    }
    std::vector<std::string> opened;
    int result;
};

TEST(Weblink, OnlyAFailureShowsTheShellsCode) {
    testing_support::HeadlessScope ui;
    auto shell = std::make_shared<ScriptedShell>(0);
    platform::SetShellForTesting(shell);
    LaunchWebBrowser("https://example.org/docs?a=1&b=2");
    EXPECT_TRUE(ui->Boxes().empty());
    shell->result = 2;
    LaunchWebBrowser("nothing-opens-this:x");
    platform::SetShellForTesting(nullptr);
    EXPECT_EQ(shell->opened.front(), "https://example.org/docs?a=1&b=2");
    ASSERT_EQ(ui->Boxes().size(), 1u);
    const auto& box = ui->LastBox();
    EXPECT_EQ(box.text,
              "Error launching web browser, error code = 2.\r\n\r\n"
              "Please make sure that your web browser is correctly installed,\r\n"
              "that '.htm' files are associated with it, and that there is\r\n"
              "sufficient memory available.");
    EXPECT_EQ(box.title, "Cannot launch web browser");
    EXPECT_EQ(box.icon, ui::Icon::Exclamation);
    EXPECT_EQ(box.buttons, ui::Buttons::OK);
}

}  // namespace
