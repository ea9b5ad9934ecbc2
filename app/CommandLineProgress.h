// The command-line mode's progress: one line on standard error, redrawn in
// place, while a fill writes its dummy files (bytes written of the free
// space, speed, time left) and while a run goes through the files (files
// done of those it will take, the folder under way). Shown only on a terminal and never with
// --quiet: a log file or a pipe would fill with carriage returns.
#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

class FormSet;

class ProgressLine {
  public:
    ProgressLine(std::ostream& err, bool shown) : err_(err), shown_(shown) {}
    ~ProgressLine() { Clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Redraws the line from what the windows are doing, a few times a
    // second at most.
    void Update(FormSet& windows);
    // Takes the line away, so that the report and messages start clean.
    void Clear();

  private:
    void Draw(const std::string& text);

    std::ostream& err_;
    bool shown_;
    std::size_t drawnWidth_ = 0;
    std::chrono::steady_clock::time_point lastDrawn_{};
    // The run's files, counted once at the first look at it (-1: not yet).
    std::int64_t runTotal_ = -1;
    std::int32_t lastProcessed_ = 0;
    // The first look at a fill, for its speed.
    bool fillSeen_ = false;
    double fillStartBytes_ = 0;
    std::chrono::steady_clock::time_point fillStart_{};
};

// "Filling D: 52,428,800 of 1,400,000,000 bytes (3%), 25.0 MB/sec, 55 seconds left"
std::string FillProgressText(const std::string& drive, double written, double total,
                             double bytesPerSecond);
// "Purged 120 of 300 files, in D:\letters\old\" (or "Listed"); without the
// total when it is not known (negative).
std::string RunProgressText(bool purging, std::int32_t files, std::int64_t total,
                            const std::string& folder);
