#include "app/CommandLineWipe.h"

#include <algorithm>
#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>

#include "app/CommandLine.h"
#include "app/CommandLineHosts.h"
#include "app/CommandLineProgress.h"
#include "app/CommandLineUi.h"
#include "app/Forms.h"
#include "app/SetupFileOnDisk.h"
#include "app/WindowRun.h"
#include "disk/DiskProc.h"
#include "disk/DiskWipe.h"
#include "disk/frmExcludedFolders.h"
#include "disk/frmFillDisk.h"
#include "disk/frmSpecifyDrive.h"
#include "platform/StopSignals.h"
#include "platform/DriveInfo.h"
#include "platform/DrivePaths.h"
#include "platform/FileSystem.h"
#include "purge/NumberFormat.h"
#include "purge/StrProc.h"
#include "purge/UnicodeText.h"
#include "purge/frmReport.h"
#include "support/Folder.h"
#include "support/ProgramText.h"

namespace {

bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string& value) {
    if (i + 1 >= args.size() || args[i + 1].empty()) return false;
    value = args[++i];
    return true;
}

bool TakeNumber(const std::vector<std::string>& args, std::size_t& i, int& value) {
    std::string text;
    if (!TakeValue(args, i, text) || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::stoi(text);
    return true;
}

// The purge type: the next-run setup's, as the window starts with it, then
// what the options say; nothing when the type does not offer the passes.
// The setup's option boxes play no part: the wipe sets all six options.
std::optional<PurgeTypeChoice> ChoosePurgeType(const WipeRequest& request, std::ostream& err) {
    const SetupRead nextRun = ReadSetupFile(UserDataFilePath("kz.usr", GetProgramText(310)));
    PurgeTypeChoice type;
    PurgeOptions nextRunBoxes;
    ApplySetupChoices(nextRun.record, type, nextRunBoxes);
    // A type given alone keeps the passes the setup has: the count is
    // checked against the new type, not taken from its default.
    if (request.type > 0) type.purgeType = request.type - 1;
    if (request.passes > 0) type.passes = request.passes;
    if (!IsOffered(type)) {
        err << "purge: purge type " << type.purgeType + 1 << " does not offer " << type.passes
            << " passes; give --passes\n";
        return std::nullopt;
    }
    return type;
}

// What the wipe would destroy and keep, counted on the drive as it is now.
struct WipeCount {
    std::int64_t files = 0, bytes = 0, keptFiles = 0, keptBytes = 0;
};

// A walk with its own stack, so that no depth of tree can end it; it takes
// what a run takes: regular files, and folders on the drive's own mount.
WipeCount CountDrive(std::unique_ptr<platform::FolderHandle> root, const std::string& rootPath,
                     const std::vector<std::string>& kept, bool keepTopFiles) {
    struct Level {
        std::unique_ptr<platform::FolderHandle> folder;
        std::string path;
        bool keep;
        std::vector<platform::FolderEntry> entries;
        std::size_t next = 0;
    };
    WipeCount count;
    std::vector<Level> trail;
    trail.push_back({std::move(root), rootPath, keepTopFiles, {}, 0});
    trail.back().entries = trail.back().folder->Read().value_or(std::vector<platform::FolderEntry>{});
    while (!trail.empty()) {
        Level& level = trail.back();
        if (level.next == level.entries.size()) {
            trail.pop_back();
            continue;
        }
        const platform::FolderEntry& entry = level.entries[level.next++];
        if (!entry.identity.SameMountAs(level.folder->Identity())) continue;
        if (entry.kind == platform::EntryKind::File) {
            (level.keep ? count.keptFiles : count.files) += 1;
            (level.keep ? count.keptBytes : count.bytes) += std::int64_t(entry.size);
        } else if (entry.kind == platform::EntryKind::Folder) {
            const std::string path = level.path + entry.name;
            const bool blind = !level.folder->TellsNamesApartByCase();
            const bool keptHere = std::any_of(kept.begin(), kept.end(), [&](const std::string& k) {
                return blind ? LowerCase(k) == LowerCase(path) : k == path;
            });
            const bool keep = (level.keep && trail.size() > 1) || keptHere;
            if (auto inner = level.folder->OpenSubfolder(entry.name, entry.identity)) {
                auto entries = inner->Read().value_or(std::vector<platform::FolderEntry>{});
                trail.push_back({std::move(inner), path + "\\", keep, std::move(entries), 0});
            }
        }
    }
    return count;
}

std::string Counted(std::int64_t files, std::int64_t bytes) {
    return FormatNumber(double(files), 0) + (files == 1 ? " file" : " files") + " (" +
           FormatNumber(double(bytes), 0) + " bytes)";
}

// The drive as the user knows it: its folder, file system, device and size,
// and what the wipe destroys and keeps.
std::string DriveDescription(const WipeRequest& request) {
    const std::string drive = request.drive + ":";
    std::string text = "Drive " + drive + " is the folder " +
                       VisibleText(platform::Drives().Root(request.drive[0]));
    platform::DriveObject object;
    if (platform::Drive().GetDrive(drive, object) == 0) {
        text += ", " + object.fileSystem;
        if (!object.device.empty()) text += " on " + VisibleText(object.device);
        text += ", " + FormatNumber(object.totalSize, 0) + " bytes";
    }
    WipeCount count;
    if (auto root = platform::Files().OpenFolder(drive + "\\")) {
        count = CountDrive(std::move(root), drive + "\\", request.excluded, request.keepTopFiles);
    }
    return text + ".\n" + Counted(count.files, count.bytes) + " will be destroyed, " +
           Counted(count.keptFiles, count.keptBytes) + " kept.\n";
}

std::string Question(const WipeRequest& request) {
    std::string question = DriveDescription(request) + "Wipe drive " + request.drive +
                           ": fill its free space and purge every file on it";
    if (request.keepTopFiles || !request.excluded.empty()) question += " except";
    if (request.keepTopFiles) question += " its top-level files";
    for (const auto& folder : request.excluded) question += "\n  " + VisibleText(folder);
    return question + "\n(This permanently destroys all these files.)\nWipe? [y/N] ";
}

}  // namespace

bool ParseWipeOption(const std::vector<std::string>& args, std::size_t& i, WipeRequest& request,
                     std::string& problem) {
    const std::string& arg = args[i];
    if (arg == "--wipe") {
        if (!request.drive.empty() || !TakeValue(args, i, request.drive)) {
            problem = "--wipe needs one drive, such as D:";
        }
    } else if (arg == "--exclude") {
        std::string folder;
        if (!TakeValue(args, i, folder)) problem = "--exclude needs a folder, such as 'D:\\keep'";
        // The dialog takes folders without a closing backslash.
        while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
        request.excluded.push_back(folder);
    } else if (arg == "--keep-top-files") {
        request.keepTopFiles = true;
    } else if (arg == "--type") {
        if (!TakeNumber(args, i, request.type) || request.type < 1 || request.type > 3) {
            problem = "--type needs 1, 2 or 3";
        }
    } else if (arg == "--passes") {
        if (!TakeNumber(args, i, request.passes) || request.passes < 1) {
            problem = "--passes needs a number of passes";
        }
    } else {
        return false;
    }
    return true;
}

int RunWipe(const WipeRequest& request, bool yes, bool terminal, CommandLineUi& ui,
            FormSet& windows, ProgressLine& progress, std::ostream& out, std::ostream& err,
            std::istream& in) {
    const std::string drive = UpperCase(request.drive.substr(0, 1)) + ":";
    const std::string rest = request.drive.substr(1);
    if (!(rest == ":" || rest == ":\\") || !DriveExists(drive)) {
        err << "purge: " << request.drive << " is no drive; map it in KESTRANE_DRIVES\n";
        return kExitBadRequest;
    }
    // A misspelt folder would be wiped instead of kept.
    for (const auto& folder : request.excluded) {
        if (!FolderExists(folder)) {
            err << "purge: the folder to exclude " << VisibleText(folder) << " does not exist\n";
            return kExitBadRequest;
        }
    }
    const std::optional<PurgeTypeChoice> type = ChoosePurgeType(request, err);
    if (!type) return kExitBadRequest;
    if (!yes) {
        if (!terminal) {
            err << "purge: no terminal to confirm the wipe on; nothing purged (add --yes)\n";
            return kExitBadRequest;
        }
        WipeRequest shown = request;
        shown.drive = drive.substr(0, 1);
        out << Question(shown) << std::flush;
        std::string answer;
        if (!std::getline(in, answer) || !(answer == "y" || answer == "Y" || answer == "yes")) {
            return kExitStopped;
        }
    }

    CommandLineWipeHost host(windows, drive, *type);
    ui.OnModal("frmSpecifyDrive", [drive](ui::Form& form) {
        auto& dialog = static_cast<frmSpecifyDrive&>(form);
        dialog.SetCurrentDrive(drive);
        dialog.cmdAccept.RaiseClick();
    });
    ui.OnModal("frmExcludedFolders", [&](ui::Form& form) {
        auto& dialog = static_cast<frmExcludedFolders&>(form);
        for (const auto& folder : request.excluded) {
            ui.AnswerNextFolderBrowse(folder);
            dialog.cmdAddFolder.RaiseClick();
        }
        dialog.chkKeepTopFiles.SetValue(request.keepTopFiles ? 1 : 0);
        dialog.cmdClose.RaiseClick();
    });
    ui.OnModal("frmFillDisk", [](ui::Form&) {});

    // Ctrl+C, a kill or a closed terminal: a fill stops and deletes its
    // files; a run stops as the Stop button would, and its report is printed;
    // so does the overwriting of file names after the run, which deletes
    // its entries.
    frmReport& report = windows.Report();
    frmFillDisk& fill = windows.FillDisk();
    platform::StopSignals stopSignals;
    ui.OnDoEvents = [&] {
        if (!stopSignals.StopRequested()) return;
        fill.AbandonFill();
        if (host.RunIsGoing() && !report.blnStop) report.cmdStop_Click();
        progress.Update(windows);
    };
    const DiskWipeEnding ending = WipeDisk(host, {true});
    ui.OnDoEvents = nullptr;
    progress.Clear();

    if (ending == DiskWipeEnding::Refused) return kExitBadRequest;
    if (ending == DiskWipeEnding::Failed) return kExitNotAllPurged;
    if (ending != DiskWipeEnding::Ran && ending != DiskWipeEnding::RanOldDataLeft) {
        return kExitStopped;
    }
    WriteWithLfLineEnds(out, report.ReportText());
    out << std::flush;
    if (report.blnStop || stopSignals.StopRequested()) return kExitStopped;
    if (ending == DiskWipeEnding::RanOldDataLeft) return kExitNotAllPurged;
    if (report.NumEntriesSkipped() > 0) return kExitNotAllPurged;
    if (report.lngNumFilesPurged < report.NumFilesProcessed()) return kExitNotAllPurged;
    return kExitDone;
}
