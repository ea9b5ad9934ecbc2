// Files and folders named on the command line: what is refused before
// anything is touched, and that a selection named there runs and saves as
// the same selection made in the window does.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "app/CommandLine.h"
#include "app/frmMain.h"
#include "app/frmTypeOfPurge.h"
#include "platform/FileSystem.h"
#include "purge/NumberFormat.h"
#include "purge/frmPurgeConfirmation.h"
#include "tests/testsupport/ProgramHarness.h"
#include "tests/testsupport/SpecialFiles.h"

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The report without its date lines.
std::string WithoutDates(const std::string& report) {
    const std::regex date(".+, \\d\\d:\\d\\d:\\d\\d");
    std::istringstream lines(report);
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        if (!std::regex_match(line, date)) kept += line + "\n";
    }
    return kept;
}

// The system's own files and folders, except one folder the system
// refuses to open.
class OneFolderRefused : public platform::FileSystem {
  public:
    explicit OneFolderRefused(std::string folder) : folder_(std::move(folder)) {}
    std::unique_ptr<platform::FolderHandle> OpenFolder(const std::string& path,
                                                       std::string* why) override {
        if (path != folder_) return real_->OpenFolder(path, why);
        if (why != nullptr) *why = "Permission denied";
        return nullptr;
    }
    bool CreateFolder(const std::string& path) override { return real_->CreateFolder(path); }
    std::optional<std::string> ReadWholeFile(const std::string& path,
                                             std::size_t maxBytes) override {
        return real_->ReadWholeFile(path, maxBytes);
    }
    bool ReplaceFile(const std::string& path, const std::string& contents) override {
        return real_->ReplaceFile(path, contents);
    }

  private:
    std::string folder_;
    std::shared_ptr<platform::FileSystem> real_ = platform::MakeSystemFileSystem();
};

class CommandLinePaths : public ::testing::Test {
  protected:
    CommandLinePaths() { SetNumberStyleForTesting(NumberStyle{}); }
    ~CommandLinePaths() override { SetNumberStyleForTesting(std::nullopt); }

    Result Run(std::vector<std::string> args) {
        std::ostringstream out, err;
        std::istringstream in;
        int status = RunCommandLine(args, out, err, in, false);
        return {status, out.str(), err.str()};
    }

    void MakeTree() {
        Drives().WriteFile("C:\\tree\\a.doc", "alpha");
        Drives().WriteFile("C:\\tree\\b.txt", "beta");
        Drives().WriteFile("C:\\tree\\sub\\c.doc", "gamma");
        Drives().WriteFile("C:\\tree\\sub\\deeper\\d.doc", "delta");
        Drives().WriteFile("C:\\tree\\sub\\deeper\\e.txt", "epsilon");
    }

    // The window's choices, made as a user makes them: a folder or a single
    // file, the subfolder button, the purge type and the confirmation's
    // boxes; then "Save setup as operation file".
    struct WindowSelection {
        std::string folder;  // browsed to; empty for a single file
        std::string spec;
        std::string singleFile;
        bool pressSubfolders = false;
        int typeCode = 2;
        int passes = 3;
        std::array<int, 6> boxes{};
    };
    std::string WindowSaves(const WindowSelection& choice, const std::string& file) {
        EXPECT_TRUE(program_.Start());
        frmMain& main = program_.Windows().Main();
        if (choice.singleFile.empty()) {
            program_.Ui().AnswerNextFolderBrowse(choice.folder);
            main.cmdSpecifyDirectory(0).RaiseMouseUp();
            main.strFileSpec[0] = choice.spec;
        } else {
            program_.Ui().AnswerNextFileDialog(choice.singleFile);
            main.cmdSingleFile.RaiseMouseUp();
        }
        if (choice.pressSubfolders) main.cmdSubdirectories.RaiseMouseUp();
        program_.Windows().TypeOfPurge().SelectTypeAndPasses(choice.typeCode, choice.passes);
        auto& c = program_.Windows().PurgeConfirmation();
        std::array<ui::Control*, 6> boxes = {&c.chkPurgeSlack,
                                             &c.chkDoNotDeletePurgedFiles,
                                             &c.chkOKToPurgeReadOnlyFiles,
                                             &c.chkOKToPurgeSensitiveFiles,
                                             &c.chkFolderNamesOnly,
                                             &c.chkDeleteEmptyFolders};
        for (int i = 0; i < 6; ++i) boxes[i]->SetValue(choice.boxes[i]);
        program_.Ui().AnswerNextFileDialog(file);
        main.cmdSaveSetupAsOperationFile.RaiseClick();
        return Drives().ReadFile(file);
    }

    // The window saves the selection; --save writes the same bytes, and
    // --purge-files purges the tree as --purge of the saved file does.
    void ExpectTheSameAsTheWindow(const WindowSelection& choice, std::vector<std::string> options) {
        MakeTree();
        Drives().MakeFolder("C:\\ops");
        const std::string saved = WindowSaves(choice, "C:\\ops\\window.kzs");
        ASSERT_FALSE(saved.empty());

        std::vector<std::string> save = {"--save", Drives().Native("C:\\ops\\cli.kzs")};
        save.insert(save.end(), options.begin(), options.end());
        Result written = Run(save);
        ASSERT_EQ(written.status, kExitDone) << written.err;
        EXPECT_EQ(Drives().ReadFile("C:\\ops\\cli.kzs"), saved);

        Result byFile = Run({"--purge", "C:\\ops\\window.kzs", "--yes"});
        std::filesystem::remove_all(Drives().Native("C:\\tree"));
        MakeTree();
        std::vector<std::string> purge = {"--purge-files", "--yes"};
        purge.insert(purge.end(), options.begin(), options.end());
        Result byPaths = Run(purge);
        EXPECT_EQ(byPaths.status, byFile.status) << byPaths.err;
        EXPECT_FALSE(byPaths.out.empty());
        EXPECT_EQ(WithoutDates(byPaths.out), WithoutDates(byFile.out)) << byPaths.err;
    }

    testing_support::TempDrives& Drives() { return program_.Drives(); }

    testing_support::ProgramHarness program_;
};

}  // namespace

TEST_F(CommandLinePaths, OneFileIsPurgedAsTheWindowPurgesIt) {
    WindowSelection choice;
    choice.singleFile = "C:\\tree\\sub\\c.doc";
    ExpectTheSameAsTheWindow(choice, {Drives().Native("C:\\tree\\sub\\c.doc")});
    EXPECT_FALSE(Drives().Exists("C:\\tree\\sub\\c.doc"));
    EXPECT_TRUE(Drives().Exists("C:\\tree\\sub\\deeper\\d.doc"));
}

TEST_F(CommandLinePaths, AFoldersDocFilesWithSubfoldersArePurgedAsTheWindowPurgesThem) {
    WindowSelection choice;
    choice.folder = "C:\\tree";
    choice.spec = "*.doc";
    choice.pressSubfolders = true;
    choice.typeCode = 0;
    choice.passes = 2;
    choice.boxes = {1, 0, 1, 1, 0, 1};
    ExpectTheSameAsTheWindow(
        choice, {"C:\\tree", "--subfolders", "--spec", "*.doc", "--type", "1", "--passes", "2",
                 "--slack", "--read-only", "--sensitive", "--delete-empty-folders"});
    EXPECT_FALSE(Drives().Exists("C:\\tree\\sub\\deeper\\d.doc"));
    EXPECT_TRUE(Drives().Exists("C:\\tree\\sub\\deeper\\e.txt"));
    EXPECT_TRUE(Drives().Exists("C:\\tree\\b.txt"));
}

TEST_F(CommandLinePaths, AFolderWithoutSubfoldersKeepingThePurgedFiles) {
    WindowSelection choice;
    choice.folder = "C:\\tree";
    choice.spec = "*.*";
    choice.typeCode = 1;
    choice.passes = 6;
    choice.boxes = {0, 1, 0, 0, 0, 0};
    ExpectTheSameAsTheWindow(choice,
                             {Drives().Native("C:\\tree") + "/", "--type", "2", "--keep-files"});
    EXPECT_EQ(Drives().ReadFile("C:\\tree\\a.doc").size(), 5u) << "kept, overwritten";
    EXPECT_TRUE(Drives().Exists("C:\\tree\\sub\\c.doc"));
}

TEST_F(CommandLinePaths, BadPathsAndOptionsAreRefusedBeforeAnythingIsTouched) {
    MakeTree();
    std::vector<std::vector<std::string>> bad = {
        {"--purge-files", "C:\\tree\\missing.doc"},
        {"--purge-files", "C:\\tree", "--passes", "0"},
        {"--purge-files", "C:\\tree", "--type", "3", "--passes", "7"},
        {"--purge-files", "C:\\tree", "--type", "4"},
        {"--purge-files", "C:\\tree", "--frobnicate"},
        {"--purge-files", "C:\\tree", "--spec", "sub\\*.doc"},
        {"--purge-files", "C:\\tree\\a.doc", "--subfolders"},
        {"--purge-files", "C:\\tree", "--delete-empty-folders"},
        {"--purge-files", "C:\\tree", "--cluster", "4096"},
        {"--purge-files", "C:\\tree", "--slack", "--cluster", "1000"},
        {"--purge-files"},
        {"--list-files", "C:\\tree", "--keep-files"},
        {"--save", "C:\\ops\\x.kzs", "C:\\tree", "C:\\odd"},
        {"--purge-files", "C:\\tree", "--list", "C:\\ops\\x.kzs"},
        {"--purge-files", "C:\\tree", "--exclude", "C:\\tree\\sub"},
        {"--purge-files", "C:\\tree", "D:\\elsewhere"},
        {"--purge-files", "C:\\tree\\a.doc", "/no/such/drive/file"},
    };
    if (testing_support::kHasFifosAndLinks) {
        // Names Windows does not allow.
        Drives().WriteFile("C:\\odd\\a*.doc", "a star in its name");
        bad.push_back({"--purge-files", "C:\\odd\\a*.doc"});
        // A backslash is part of a POSIX name; as a drive path it would
        // name the file b in the folder a.
        Drives().WriteFile("C:\\odd\\a\\b", "another file");
        std::ofstream(Drives().Native("C:\\odd") + "/a\\b") << "the file named";
        bad.push_back({"--purge-files", Drives().Native("C:\\odd") + "/a\\b"});
        ASSERT_TRUE(testing_support::MakeFifo(Drives().Native("C:\\tree\\pipe")));
        std::filesystem::create_symlink(Drives().Native("C:\\tree\\b.txt"),
                                        Drives().Native("C:\\tree\\link.txt"));
        std::filesystem::create_symlink(Drives().Native("C:\\tree\\sub"),
                                        Drives().Native("C:\\tree\\linked"));
        bad.push_back({"--purge-files", "C:\\tree\\pipe", "--yes"});
        bad.push_back({"--purge-files", Drives().Native("C:\\tree\\link.txt"), "--yes"});
        bad.push_back({"--purge-files", "C:\\tree\\linked\\c.doc", "--yes"});
        bad.push_back({"--purge-files", "C:\\tree\\linked", "--yes"});
    }
    for (auto& args : bad) {
        if (args.back() != "--yes") args.push_back("--yes");
        Result result = Run(args);
        std::string command;
        for (const auto& arg : args) command += arg + " ";
        EXPECT_EQ(result.status, kExitBadRequest) << command;
        EXPECT_TRUE(Has(result.err, "purge: ")) << command;
        EXPECT_TRUE(result.out.empty()) << command << result.out;
    }
    for (const char* file : {"a.doc", "b.txt", "sub\\c.doc", "sub\\deeper\\d.doc"}) {
        EXPECT_TRUE(Drives().Exists(std::string("C:\\tree\\") + file)) << file;
    }
    if (testing_support::kHasFifosAndLinks) {
        EXPECT_EQ(Drives().ReadFile("C:\\odd\\a*.doc"), "a star in its name");
        EXPECT_EQ(Drives().ReadFile("C:\\odd\\a\\b"), "another file");
    }
    EXPECT_FALSE(Drives().Exists("C:\\ops\\x.kzs"));
    EXPECT_TRUE(Has(Run({"--purge-files", "/no/such/drive", "--yes"}).err, "drive table"));
}

TEST_F(CommandLinePaths, SeveralPathsRunInTurnAndTheWorstStatusWins) {
    MakeTree();
    if (testing_support::kHasFifosAndLinks) {
        ASSERT_TRUE(testing_support::MakeFifo(Drives().Native("C:\\tree\\sub\\pipe")));
    }
    Result listed = Run({"--list-files", "C:\\tree\\a.doc", "C:\\tree\\sub", "--spec", "*.doc"});
    EXPECT_EQ(listed.status, kExitBadRequest) << "--spec goes with folders only";

    Result both = Run({"--purge-files", "C:\\tree\\a.doc", "C:\\tree\\sub", "--yes"});
    EXPECT_EQ(both.status, testing_support::kHasFifosAndLinks ? kExitNotAllPurged : kExitDone)
        << both.err;
    const std::size_t first = both.out.find("a.doc (5 bytes) purged.");
    const std::size_t second = both.out.find("c.doc (5 bytes) purged.");
    ASSERT_NE(first, std::string::npos) << both.out;
    ASSERT_NE(second, std::string::npos) << both.out;
    EXPECT_LT(first, second);
    EXPECT_FALSE(Drives().Exists("C:\\tree\\sub\\c.doc"));
    EXPECT_TRUE(Drives().Exists("C:\\tree\\sub\\deeper\\d.doc")) << "no --subfolders";
    EXPECT_TRUE(Drives().Exists("C:\\tree\\b.txt"));
}

TEST_F(CommandLinePaths, SaveReplacesAnExistingFileOnlyWhenTold) {
    MakeTree();
    Drives().WriteFile("C:\\ops\\old.kzs", "old");
    Result kept = Run({"--save", "C:\\ops\\old.kzs", "C:\\tree"});
    EXPECT_EQ(kept.status, kExitBadRequest);
    EXPECT_EQ(Drives().ReadFile("C:\\ops\\old.kzs"), "old");
    Result replaced = Run({"--save", "C:\\ops\\old.kzs", "C:\\tree", "--yes"});
    EXPECT_EQ(replaced.status, kExitDone) << replaced.err;
    EXPECT_TRUE(Has(Drives().ReadFile("C:\\ops\\old.kzs"), "C:\\tree\\\r\n*.*\r\n"));
    EXPECT_TRUE(Drives().Exists("C:\\tree\\a.doc")) << "saving purges nothing";
}

// A setup whose folder cannot be read selects nothing: saved, it would
// purge nothing when run, so nothing is saved and the request fails.
TEST_F(CommandLinePaths, SaveWritesNothingWhenThePathsFolderCannotBeRead) {
    MakeTree();
    Drives().MakeFolder("C:\\ops");
    platform::SetFileSystemForTesting(std::make_shared<OneFolderRefused>("C:\\tree\\"));
    Result result = Run({"--save", "C:\\ops\\t.kzs", "C:\\tree"});
    platform::SetFileSystemForTesting(nullptr);
    EXPECT_EQ(result.status, kExitBadRequest);
    EXPECT_TRUE(Has(result.err, "Error when attempting to access C:\\tree\\.")) << result.err;
    EXPECT_TRUE(Has(result.err, "purge: nothing saved in C:\\ops\\t.kzs\n")) << result.err;
    EXPECT_FALSE(Drives().Exists("C:\\ops\\t.kzs"));
}

TEST_F(CommandLinePaths, VersionNamesTheProgramAndItsLibrary) {
    Result version = Run({"--version"});
    EXPECT_EQ(version.status, kExitDone);
    EXPECT_EQ(version.out.rfind("purge 8.27\n", 0), 0u) << version.out;
    EXPECT_TRUE(Has(version.out, "purge library ")) << version.out;
    EXPECT_TRUE(IsCommandLineRequest({"--version"}));
}
