// A fake of the names pass's service: folders and files are really made
// (in the test's temporary drive) but syncs are only counted, the
// journal's size and the free entries are what the test says, and making
// an entry can fail on purpose. The machine's own disk is never churned.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/EntryChurn.h"

namespace disk_testing {

class CountedChurn : public platform::EntryChurn {
  public:
    CountedChurn() {
        platform::SetEntryChurnForTesting(
            std::shared_ptr<EntryChurn>(this, [](EntryChurn*) {}));
    }
    ~CountedChurn() override { platform::SetEntryChurnForTesting(nullptr); }

    std::uint64_t logBytes = 0;  // 0: a file system in memory, one round
    std::optional<std::uint64_t> freeEntries;
    std::optional<std::uint64_t> failAfter;  // entries made before one fails
    std::uint64_t made = 0;
    int syncs = 0;
    std::function<void()> afterEntry;  // a test presses keys here
    // Bytes the log is written per entry made, where the test has the
    // file system count its log's writes (from a count already running).
    std::optional<std::uint64_t> logPerEntry;

    std::unique_ptr<platform::FolderHandle> MakeFolder(platform::FolderHandle& parent,
                                                       const std::string& name,
                                                       platform::FileFailure& failure) override {
        if (Fails(failure)) return nullptr;
        auto folder = real_->MakeFolder(parent, name, failure);
        Count(folder != nullptr);
        return folder;
    }
    std::optional<platform::FileIdentity> MakeEmptyFile(platform::FolderHandle& folder,
                                                        const std::string& name,
                                                        platform::FileFailure& failure) override {
        if (Fails(failure)) return std::nullopt;
        auto file = real_->MakeEmptyFile(folder, name, failure);
        Count(file.has_value());
        return file;
    }
    bool Sync(platform::FolderHandle&, platform::FileFailure&) override {
        ++syncs;
        return true;
    }
    std::uint64_t LogBytes(platform::FolderHandle&) override { return logBytes; }
    std::optional<std::uint64_t> BytesWrittenToDisk(platform::FolderHandle&) override {
        return std::nullopt;
    }
    std::optional<std::uint64_t> BytesWrittenToLog(platform::FolderHandle&) override {
        if (!logPerEntry) return std::nullopt;
        return (1u << 30) + made * *logPerEntry;
    }
    std::optional<std::uint64_t> FreeEntries(platform::FolderHandle&) override {
        if (!freeEntries) return std::nullopt;
        return *freeEntries;
    }

  private:
    bool Fails(platform::FileFailure& failure) {
        if (!failAfter || made < *failAfter) return false;
        failure.why = "Input/output error";
        return true;
    }
    void Count(bool done) {
        if (!done) return;
        ++made;
        if (afterEntry) afterEntry();
    }
    std::shared_ptr<EntryChurn> real_ = platform::MakeSystemEntryChurn();
};

}  // namespace disk_testing
