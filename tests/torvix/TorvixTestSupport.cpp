#include "TorvixTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace torvix_test {

void RecordingFileLayer::Record(Event event, torvix::Handle file) {
    torvix::FileFacts facts;
    const bool known =
        file != torvix::kNoHandle && torvix::SystemFileLayer::Stat(file, &facts) == 0;
    RecordOf(std::move(event), known ? facts.inode : 0);
}

uint64_t RecordingFileLayer::InodeAt(torvix::Handle folder, const std::string& name) {
    torvix::FileFacts facts;
    return torvix::SystemFileLayer::StatAt(folder, name, &facts) == 0 ? facts.inode : 0;
}

void RecordingFileLayer::RecordOf(Event event, uint64_t inode) {
    event.inode = inode;
    std::lock_guard<std::mutex> lock(mutex_);
    events.push_back(std::move(event));
}

int RecordingFileLayer::Fault(Op op) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto planned = faults_.find({op, ++calls_[op]});
    return planned == faults_.end() ? 0 : planned->second;
}

int RecordingFileLayer::Stat(torvix::Handle file, torvix::FileFacts* facts) {
    int error = torvix::SystemFileLayer::Stat(file, facts);
    if (error == 0 && pretendSize != 0) facts->size = pretendSize;
    return error;
}

int RecordingFileLayer::WriteAt(torvix::Handle file, const unsigned char* data, std::size_t size,
                                uint64_t offset, std::size_t* written) {
    if (int error = Fault(Op::kWrite)) return error;
    if (maxWrite >= 0 && size > static_cast<uint64_t>(maxWrite)) size = maxWrite;
    if (pretendSize != 0) {
        // Only the first byte of a swallowed write is kept.
        Record({Op::kWrite, offset, size, {}, {data, data + (size ? 1 : 0)}}, file);
        *written = size;
        return 0;
    }
    int error = torvix::SystemFileLayer::WriteAt(file, data, size, offset, written);
    if (error == 0) Record({Op::kWrite, offset, *written, {}, {data, data + *written}}, file);
    return error;
}

int RecordingFileLayer::SyncData(torvix::Handle file) {
    Record({Op::kSync}, file);
    if (int error = Fault(Op::kSync)) return error;
    return torvix::SystemFileLayer::SyncData(file);
}

int RecordingFileLayer::Truncate(torvix::Handle file, uint64_t length) {
    Record({Op::kTruncate, length}, file);
    if (int error = Fault(Op::kTruncate)) return error;
    return pretendSize != 0 ? 0 : torvix::SystemFileLayer::Truncate(file, length);
}

int RecordingFileLayer::RenameAt(torvix::Handle folder, const std::string& from,
                                 const std::string& to) {
    if (int error = Fault(Op::kRename)) return error;
    int error = torvix::SystemFileLayer::RenameAt(folder, from, to);
    if (error == 0) RecordOf({Op::kRename, 0, 0, to}, InodeAt(folder, to));
    return error;
}

int RecordingFileLayer::UnlinkAt(torvix::Handle folder, const std::string& name) {
    RecordOf({Op::kUnlink, 0, 0, name}, InodeAt(folder, name));
    if (int error = Fault(Op::kUnlink)) return error;
    return torvix::SystemFileLayer::UnlinkAt(folder, name);
}

int RecordingFileLayer::SyncFolder(torvix::Handle folder) {
    Record({Op::kSyncFolder});
    if (int error = Fault(Op::kSyncFolder)) return error;
    return torvix::SystemFileLayer::SyncFolder(folder);
}

std::vector<std::vector<unsigned char>> RecordingFileLayer::Overwrites() const {
    std::vector<std::vector<unsigned char>> overwrites;
    std::vector<unsigned char> current;
    bool flushed = false;  // current has had a flush: it may only go on where it ended
    for (const Event& event : events) {
        if (event.op == Op::kTruncate) break;  // the pass is over: length restored or deleting
        if (event.op == Op::kWrite) {
            if (flushed && event.offset == 0) {
                overwrites.push_back(std::move(current));
                current.clear();
            }
            flushed = false;
            EXPECT_EQ(event.offset, current.size()) << "a gap or a write out of order";
            current.insert(current.end(), event.data.begin(), event.data.end());
        } else if (event.op == Op::kSync) {
            flushed = true;
        }
    }
    EXPECT_TRUE(current.empty() || flushed) << "bytes written after the last flush";
    if (flushed) overwrites.push_back(std::move(current));
    return overwrites;
}

unsigned char KnownRandom::Byte(int stream, uint64_t index) {
    uint64_t x = (static_cast<uint64_t>(stream) << 48) ^ (index / 8) ^ 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    x ^= x >> 31;
    return static_cast<unsigned char>(x >> (8 * (index % 8)));
}

bool KnownRandom::BeginStream() {
    position_ = 0;
    return ++streams != failAtStream;
}

bool KnownRandom::Fill(unsigned char* data, std::size_t size) {
    if (failFillAt != 0 && position_ + size > failFillAt) return false;
    for (std::size_t i = 0; i < size; ++i) data[i] = Byte(streams, position_++);
    return true;
}

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const std::filesystem::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

TempFolder::TempFolder() {
    // A fresh name that no one else holds: create_directory fails on a taken one.
    std::random_device entropy;
    std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        std::filesystem::path candidate = base / ("torvix-test-" + std::to_string(entropy()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) path_ = Utf8Of(candidate);
    }
    if (path_.empty()) ADD_FAILURE() << "no temporary folder";
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(PathOf(path_), ignored);
}

std::string TempFolder::File(const std::string& name, const std::string& contents) const {
    std::string path = path_ + "/" + name;
    std::ofstream(PathOf(path), std::ios::binary) << contents;
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ostringstream contents;
    contents << std::ifstream(PathOf(path), std::ios::binary).rdbuf();
    return contents.str();
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(PathOf(folder)))
        names.push_back(Utf8Of(entry.path().filename()));
    return names;
}

}  // namespace torvix_test
