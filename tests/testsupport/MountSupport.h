// Real file systems for the tests that need root: a file system mounted on
// a folder for the life of an object (always unmounted afterwards, lazily
// if it is busy), and a shell command's success.
//
// A raw image is read only after a clean unmount: a lazily unmounted file
// system may still be writing back, so its image could show data that is
// about to be overwritten, and a busy drive means the program still holds
// something open on it.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace testing_support {

inline bool Shell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// What a shell command writes to its standard output; "" when it cannot run.
inline std::string ShellOutput(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return "";
    std::string out;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) out.append(chunk, n);
    ::pclose(pipe);
    return out;
}

// A block of text of about `bytes` that no other file holds, to look for
// in a raw image after the file was purged, wiped or deleted.
inline std::string Marker(const std::string& kind, int which, std::size_t bytes) {
    const std::string unit = "<<kestrane " + kind + " marker " + std::to_string(which) + " " +
                             std::to_string(::getpid()) + ">>";
    std::string marker;
    while (marker.size() < bytes) marker += unit;
    return marker;
}

inline std::string ReadNative(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Mount {
  public:
    Mount(const std::string& source, const std::string& options, const std::string& folder)
        : folder_(folder) {
        mounted_ = Shell("mount " + options + " " + source + " '" + folder + "'");
    }
    ~Mount() { Unmount(); }
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;
    bool Mounted() const { return mounted_; }
    // Mounts again on the same folder, after Unmount.
    bool Remount(const std::string& source, const std::string& options) {
        return mounted_ = Shell("mount " + options + " " + source + " '" + folder_ + "'");
    }
    // True when the file system was unmounted cleanly (or was not mounted).
    bool Unmount() {
        bool clean = true;
        if (mounted_ && !Shell("umount '" + folder_ + "'")) {
            clean = false;
            Shell("umount -l '" + folder_ + "'");
        }
        mounted_ = false;
        return clean;
    }

  private:
    std::string folder_;
    bool mounted_ = false;
};

}  // namespace testing_support
