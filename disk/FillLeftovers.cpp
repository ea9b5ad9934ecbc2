#include "disk/FillLeftovers.h"

#include <algorithm>
#include <sstream>

#include "disk/frmFillDisk.h"
#include "platform/EntryChurn.h"
#include "platform/FileSystem.h"
#include "platform/NewFiles.h"
#include "platform/ReservedSpace.h"
#include "purge/NumberFormat.h"
#include "purge/StrProc.h"
#include "support/Folder.h"
#include "support/NativeFiles.h"
#include "support/ProgramText.h"
#include "ui/Ui.h"

namespace {

constexpr std::size_t kMaxRecordBytes = 1 << 20;

struct Record {
    std::vector<FillLeftover> files;
    std::vector<std::string> reserves;
};

// Where the record would be, without making the per-user folder: looking
// for leftovers at every start must leave no trace where there are none.
std::string RecordPathToRead() {
    const std::string folder = UserDataFolderPath(GetProgramText(310));
    return folder.empty() ? "" : folder + "/kz_fill.lst";
}

// The record is acted on only when nobody but the user could have written
// it; "" when it can be trusted, else the warning that it is ignored.
std::string Distrust() {
    std::string why;
    if (native_files::IsPrivateFile(RecordPathToRead(), why)) return "";
    return "The record of unfinished disk fills, " + VisibleText(RecordPathToRead()) +
           ", is ignored: " + why + ".";
}

// Lines "file<TAB>path<TAB>device<TAB>inode" and "reserve<TAB>record"; none
// from a record someone else could have written.
Record ReadRecord() {
    Record record;
    if (!native_files::FileExists(RecordPathToRead()) || !Distrust().empty()) return record;
    auto text = native_files::ReadWholeFile(RecordPathToRead(), kMaxRecordBytes);
    if (!text) return record;
    std::istringstream lines(*text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string kind, first;
        if (!std::getline(fields, kind, '\t') || !std::getline(fields, first, '\t')) continue;
        if (kind == "reserve") {
            record.reserves.push_back(first);
        } else if (kind == "file" || kind == "folder") {
            FillLeftover file;
            file.path = first;
            file.folder = kind == "folder";
            if (fields >> file.identity.device >> file.identity.inode) {
                record.files.push_back(file);
            }
        }
    }
    return record;
}

bool WriteRecord(const Record& record) {
    std::ostringstream text;
    for (const auto& reserve : record.reserves) text << "reserve\t" << reserve << '\n';
    for (const auto& file : record.files) {
        text << (file.folder ? "folder\t" : "file\t") << file.path << '\t' << file.identity.device << '\t' << file.identity.inode
             << '\n';
    }
    return native_files::ReplacePrivateFile(FillRecordPath(), text.str());
}

// "x:\dummy" followed by digits: the only files a fill writes, all in a
// drive's top folder.
bool IsDummyFilePath(const std::string& path) {
    const std::string prefix = "\\dummy";
    if (path.size() <= 2 + prefix.size() || path.size() > 2 + prefix.size() + 9) return false;
    const char letter = path[0];
    if (!((letter >= 'a' && letter <= 'z') || (letter >= 'A' && letter <= 'Z')) || path[1] != ':') {
        return false;
    }
    if (path.compare(2, prefix.size(), prefix) != 0) return false;
    return path.find_first_not_of("0123456789", 2 + prefix.size()) == std::string::npos;
}

// The entry is a file the fill wrote, still there as it was written.
bool StillTheDummyFile(FillLeftover& file) {
    if (!IsDummyFilePath(file.path)) return false;
    auto now = platform::Files().Look(file.path);
    if (now && file.folder) return now->kind == platform::EntryKind::Folder &&
                                   now->identity.SameObjectAs(file.identity);
    if (!now || now->kind != platform::EntryKind::File ||
        !now->identity.SameObjectAs(file.identity) || now->size > frmFillDisk::kDummyFileBytes) {
        return false;
    }
    file.size = now->size;
    return true;
}

// The names pass's folder holds empty files and folders of one empty file
// each: only those are deleted, then the folder, if it is then empty.
bool DeleteNamesFolder(platform::FolderHandle& parent, const std::string& name,
                       const platform::FileIdentity& identity) {
    auto folder = parent.OpenSubfolder(name, identity);
    auto entries = folder ? folder->Read() : std::nullopt;
    if (!entries) return false;
    auto& files = platform::TheEntryChurn();
    for (const auto& entry : *entries) {
        if (entry.kind == platform::EntryKind::File && entry.links == 1) {
            files.DeleteFile(*folder, entry.name, entry.identity);
        } else if (entry.kind == platform::EntryKind::Folder) {
            if (auto sub = folder->OpenSubfolder(entry.name, entry.identity)) {
                auto inner = sub->Read();
                for (const auto& file : inner ? *inner : std::vector<platform::FolderEntry>{}) {
                    if (file.kind == platform::EntryKind::File && file.links == 1) {
                        files.DeleteFile(*sub, file.name, file.identity);
                    }
                }
            }
            folder->RemoveSubfolder(entry.name, entry.identity);
        }
    }
    folder.reset();
    return parent.RemoveSubfolder(name, identity);
}

template <typename Change>
bool Update(Change change) {
    Record record = ReadRecord();
    change(record);
    return WriteRecord(record);
}

}  // namespace

std::string FillRecordPath() { return UserDataFilePath("kz_fill.lst", GetProgramText(310)); }

bool RecordDummyFile(const std::string& path, const platform::FileIdentity& identity) {
    return Update([&](Record& record) {
        std::erase_if(record.files, [&](const auto& f) { return f.path == path; });
        record.files.push_back({path, identity, 0});
    });
}

bool RecordNamesFolder(const std::string& path, const platform::FileIdentity& identity) {
    return Update([&](Record& record) {
        std::erase_if(record.files, [&](const auto& f) { return f.path == path; });
        record.files.push_back({path, identity, 0, true});
    });
}

bool ForgetDummyFile(const std::string& path) {
    return Update([&](Record& record) {
        std::erase_if(record.files, [&](const auto& f) { return f.path == path; });
    });
}

bool RecordReserve(const std::string& reserve) {
    return Update([&](Record& record) { record.reserves.push_back(reserve); });
}

bool ForgetReserve(const std::string& reserve) {
    return Update([&](Record& record) { std::erase(record.reserves, reserve); });
}

std::vector<FillLeftover> FindFillLeftovers(std::string* warning) {
    if (!native_files::FileExists(RecordPathToRead())) return {};
    if (std::string distrust = Distrust(); !distrust.empty()) {
        if (warning != nullptr) *warning = distrust;
        return {};
    }
    Record record = ReadRecord();
    std::erase_if(record.reserves,
                  [](const std::string& reserve) { return platform::Reserves().Restore(reserve); });
    std::erase_if(record.files, [](FillLeftover& file) { return !StillTheDummyFile(file); });
    WriteRecord(record);
    return record.files;
}

std::vector<std::string> DeleteFillLeftovers(const std::vector<FillLeftover>& leftovers) {
    std::vector<std::string> kept;
    for (const auto& file : leftovers) {
        if (!IsDummyFilePath(file.path)) continue;
        auto parent = platform::Files().OpenParent(file.path);
        bool deleted = parent && (file.folder ? DeleteNamesFolder(*parent->folder, parent->name,
                                                                  file.identity)
                                              : platform::TheNewFiles().DeleteIfStill(
                                                    *parent->folder, parent->name, file.identity));
        if (!deleted && platform::Files().Look(file.path)) kept.push_back(file.path);
        ForgetDummyFile(file.path);
    }
    return kept;
}

std::string FillLeftoversList(const std::vector<FillLeftover>& leftovers,
                              const std::string& lineBreak) {
    std::string text;
    double total = 0;
    for (const auto& file : leftovers) {
        text += VisibleText(file.path) +
                (file.folder ? std::string(" (a folder of empty files)")
                             : " (" + FormatNumber(double(file.size), 0) + " bytes)") +
                lineBreak;
        total += double(file.size);
    }
    return text + "Together they take " + FormatNumber(total, 0) + " bytes.";
}

void OfferFillLeftovers() {
    std::string warning;
    auto leftovers = FindFillLeftovers(&warning);
    if (!warning.empty()) {
        ui::TheUi().MsgBox(warning, ui::Buttons::OK, ui::Icon::Exclamation, "Dummy files");
    }
    if (leftovers.empty()) return;
    const std::string crlf = "\r\n";
    std::string question = "A disk fill that did not finish left these dummy files behind:" + crlf +
                           crlf + FillLeftoversList(leftovers, crlf) + crlf + crlf +
                           "Do you wish to delete them?";
    auto answer =
        ui::TheUi().MsgBox(question, ui::Buttons::YesNo, ui::Icon::Exclamation, "Dummy files");
    if (answer != ui::Answer::Yes) {
        for (const auto& file : leftovers) ForgetDummyFile(file.path);
        return;
    }
    auto kept = DeleteFillLeftovers(leftovers);
    if (!kept.empty()) {
        std::string text = "These dummy files could not be deleted:" + crlf;
        for (const auto& path : kept) text += VisibleText(path) + crlf;
        ui::TheUi().MsgBox(text, ui::Buttons::OK, ui::Icon::Exclamation, "Dummy files");
    }
}
