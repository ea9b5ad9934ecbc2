// The requests to stop that reach a program from outside its window: on
// POSIX the signals SIGINT (Ctrl+C), SIGTERM and SIGHUP. While a
// StopSignals object lives they no longer end the process at once; the run
// asks StopRequested() between files and stops as the Stop button would,
// so the file under way is finished and the report is written.
#pragma once

namespace platform {

class StopSignals {
  public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // True once a stop signal arrived while this object lived.
    bool StopRequested() const;
};

}  // namespace platform
