// What "Purge files" of the main window says: the question the purge
// confirmation asks, and why a selection has nothing to purge.
#include "app/WindowRun.h"
#include "app/frmMain.h"
#include "app/frmMainRuns.h"
#include "platform/FileSystem.h"
#include "purge/StrProc.h"
#include "purge/WalkRules.h"
#include "support/Folder.h"

namespace {
const char* const kCrLf = "\r\n";
}  // namespace

std::string NoSuchFileMessage(const std::string& folder, const std::string& name) {
    // A name that is there but is no regular file gets the reason the walk
    // would give it, not "not found".
    auto entry = platform::Files().Look(folder + name);
    if (entry && entry->kind != platform::EntryKind::File) {
        if (auto parent = platform::Files().OpenFolder(folder)) {
            if (auto why = WhyFileIsLeft(*entry, parent->Identity())) {
                return "File " + VisibleText(name) + ": " + *why + ", not purged.";
            }
        }
    }
    return "File " + VisibleText(name) + " not found.";
}

std::string PurgeQuestion(const Selection& selection, bool multipleFiles, std::int32_t n) {
    const std::string& folder = selection.strFolderPath;
    const std::string& spec = selection.strFileSpec;
    std::string question = "Are you sure that you want to purge ";
    if (spec != "*.*") {
        if (multipleFiles && n > 1) {
            question += "the " + std::to_string(n) + " files";
        } else if (multipleFiles) {
            question += "the files";
        } else {
            question += "the file";
        }
        question += kCrLf + ShortenPath(VisibleText(folder + spec), 100);
    } else {
        if (n == 1) {
            question += "the single file in ";
        } else if (n == 2) {
            question += "both files in ";
        } else {
            question += "all " + std::to_string(n) + " files in ";
        }
        question += kCrLf + ShortenPath(VisibleText(folder), 100);
    }
    if (selection.blnSubdirectories) {
        question += std::string(kCrLf) + "and all files ";
        if (spec != "*.*") question += "of the form \"" + spec + "\" ";
        question += "in all subfolders?";
    } else {
        question += " ?";
    }
    question += std::string(kCrLf) + "(This will permanently destroy all data in ";
    question += multipleFiles || selection.blnSubdirectories ? "these files.)" : "this file.)";
    return question;
}

std::string BuildPurgeQuestion(frmMain& main) {
    main.intNumFiles = NumMatchingFiles(main.strFolderPath[0], main.strFileSpec[0]);
    return PurgeQuestion(MainSelection(main), main.blnMultipleFiles, main.intNumFiles);
}

std::string NoFilesToPurgeMessage(const Selection& selection) {
    const std::string& folder = selection.strFolderPath;
    const std::string& spec = selection.strFileSpec;
    return HasWildcards(spec) ? "There are no files in " + VisibleText(folder) + " matching " +
                                    VisibleText(spec) + "."
                              : NoSuchFileMessage(folder, spec);
}
