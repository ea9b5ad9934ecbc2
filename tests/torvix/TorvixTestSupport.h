// Test doubles for the overwrite engine and small file helpers.
//
// RecordingFileLayer runs the real file layer but records every operation
// (with the bytes written), can make the nth call of an operation fail, can
// accept fewer bytes per write, or can pretend a file is huge and swallow its
// writes. KnownRandom yields streams whose every byte a test can predict.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "torvix/system_file_layer.h"
#include "torvix/random_source.h"

namespace torvix_test {

enum class Op { kWrite, kSync, kTruncate, kRename, kUnlink, kSyncFolder };

struct Event {
    Event(Op op, uint64_t offset = 0, uint64_t size = 0, std::string name = {},
          std::vector<unsigned char> data = {})
        : op(op), offset(offset), size(size), name(std::move(name)), data(std::move(data)) {}
    Op op;
    uint64_t offset;  // write offset, truncate length
    uint64_t size;
    std::string name;  // rename: the new name
    std::vector<unsigned char> data;
    uint64_t inode = 0;  // the file's (of a rename: the renamed file's)
};

// Takes calls from several threads at once, as a batch makes them.
class RecordingFileLayer : public torvix::SystemFileLayer {
  public:
    void FailAt(Op op, int nth, int error) { faults_[{op, nth}] = error; }
    int64_t maxWrite = -1;     // bytes accepted per write; -1 all
    uint64_t pretendSize = 0;  // nonzero: the file reports this size; writes are not made
    std::vector<Event> events;

    int Stat(torvix::Handle file, torvix::FileFacts* facts) override;
    int WriteAt(torvix::Handle file, const unsigned char* data, std::size_t size, uint64_t offset,
                std::size_t* written) override;
    int SyncData(torvix::Handle file) override;
    int Truncate(torvix::Handle file, uint64_t length) override;
    int RenameAt(torvix::Handle folder, const std::string& from, const std::string& to) override;
    int UnlinkAt(torvix::Handle folder, const std::string& name) override;
    int SyncFolder(torvix::Handle folder) override;

    // The bytes of each overwrite: writes that follow each other without gap
    // from byte 0, each ending in a data flush (one that grew with the file
    // goes on after a flush where it ended). Fails the test if not.
    std::vector<std::vector<unsigned char>> Overwrites() const;

  private:
    int Fault(Op op);  // 0 or the planned error of this call
    void Record(Event event, torvix::Handle file = torvix::kNoHandle);
    void RecordOf(Event event, uint64_t inode);
    uint64_t InodeAt(torvix::Handle folder, const std::string& name);
    std::mutex mutex_;
    std::map<std::pair<Op, int>, int> faults_;
    std::map<Op, int> calls_;
};

class KnownRandom : public torvix::RandomSource {
  public:
    static unsigned char Byte(int stream, uint64_t index);
    int failAtStream = 0;     // BeginStream of this stream number fails
    uint64_t failFillAt = 0;  // nonzero: a Fill that reaches this byte of a stream fails
    int streams = 0;          // streams begun so far, numbered from 1
    bool BeginStream() override;
    bool Fill(unsigned char* data, std::size_t size) override;

  private:
    uint64_t position_ = 0;
};

// A fresh folder under the temporary folder, removed with all it holds.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    const std::string& path() const { return path_; }
    std::string File(const std::string& name, const std::string& contents) const;

  private:
    std::string path_;
};

// Paths and names are UTF-8 on every platform.
std::filesystem::path PathOf(const std::string& utf8);
std::string Utf8Of(const std::filesystem::path& path);
std::string ReadFile(const std::string& path);
std::vector<std::string> Names(const std::string& folder);

}  // namespace torvix_test
