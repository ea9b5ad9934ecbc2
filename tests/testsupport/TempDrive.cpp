#include "tests/testsupport/TempDrive.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testing_support {

TempDrives::TempDrives(const std::string& letters) : previous_(platform::Drives()) {
    std::string pattern = (fs::temp_directory_path() / "kestrane-drives-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    base_ = pattern;
    for (char letter : letters) {
        std::string root = base_ + "/" + letter;
        fs::create_directories(root);
        table_.Map(letter, root);
    }
    platform::SetDrives(table_);
}

TempDrives::~TempDrives() {
    platform::SetDrives(previous_);
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(base_, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_symlink()) ::chmod(it->path().c_str(), 0755);
    }
    fs::remove_all(base_, ec);
}

std::string TempDrives::Root(char letter) const { return table_.Root(letter); }

std::string TempDrives::Native(const std::string& drivePath) const {
    auto native = platform::ToNativePath(drivePath);
    if (!native) throw std::invalid_argument("not a mapped drive path: " + drivePath);
    return *native;
}

void TempDrives::WriteFile(const std::string& drivePath, const std::string& contents) const {
    fs::path native = Native(drivePath);
    fs::create_directories(native.parent_path());
    std::ofstream out(native, std::ios::binary | std::ios::trunc);
    out << contents;
    if (!out) throw std::runtime_error("cannot write " + native.string());
}

std::string TempDrives::ReadFile(const std::string& drivePath) const {
    std::ifstream in(Native(drivePath), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void TempDrives::MakeFolder(const std::string& drivePath) const {
    fs::create_directories(Native(drivePath));
}

bool TempDrives::Exists(const std::string& drivePath) const {
    std::error_code ec;
    return fs::symlink_status(Native(drivePath), ec).type() != fs::file_type::not_found;
}

HeadlessScope::HeadlessScope() { ui::SetUi(&ui_); }
HeadlessScope::~HeadlessScope() { ui::SetUi(nullptr); }

}  // namespace testing_support
