// Real file systems for the tests that need root: a file system mounted on
// a folder for the life of an object (always unmounted afterwards, lazily
// if it is busy), and a shell command's success.
#pragma once

#include <cstdlib>
#include <string>

namespace disk_testing {

inline bool Shell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
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
    void Unmount() {
        if (mounted_ && !Shell("umount '" + folder_ + "'")) Shell("umount -l '" + folder_ + "'");
        mounted_ = false;
    }

  private:
    std::string folder_;
    bool mounted_ = false;
};

}  // namespace disk_testing
