// Small files of the folder being purged, gathered so that the library
// purges them in one call, their flushes together. The run reports each of
// them, in the folder's order, once the call is over.
//
// How many files a call takes adapts to the disk: each call should take
// about a quarter of a second, since Pause and Stop are answered between
// calls, never during one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/FolderHandle.h"

class PurgeBatch {
  public:
    struct File {
        platform::FolderEntry entry;
        double length = 0;      // as looked at just before it was gathered
        std::int16_t code = 0;  // the purge's result, once purged
    };

    // A larger file is purged alone: its bytes, not the flushes, set its pace.
    static constexpr double kLargestFile = 1 << 20;

    void Add(const platform::FolderEntry& entry, double length);
    bool Empty() const { return files_.empty(); }
    bool Full() const;
    // Forgets the files gathered, untouched.
    void Clear();
    // Hands the files gathered to `purge`, which gives each its code, and
    // returns them; the batch is then empty, and the time the purge took
    // sets how many files the next one takes.
    std::vector<File> Purge(const std::function<void(std::vector<File>&)>& purge);

  private:
    std::vector<File> files_;
    double bytes_ = 0;
    std::size_t mostFiles_ = 16;
};
