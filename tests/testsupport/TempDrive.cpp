#include "tests/testsupport/TempDrive.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testing_support {
namespace {

// Where the temporary drives live. On Windows a native path and a drive
// path look alike, so the folders must lie on a drive letter that no test
// maps (the tests map A: to E:), or every native path below them would read
// as a path on a test's drive: KESTRANE_TEST_TEMP when set, else the
// system's temporary folder, else, under Wine, its view of /tmp.
fs::path TemporaryBase() {
    if (const char* chosen = std::getenv("KESTRANE_TEST_TEMP"); chosen && *chosen) return chosen;
    fs::path base = fs::temp_directory_path();
    const std::string text = base.string();
    const bool onTestLetter = text.size() > 1 && text[1] == ':' &&
                              std::string("ABCDEabcde").find(text[0]) != std::string::npos;
    std::error_code ec;
    if (onTestLetter && fs::is_directory("Z:\\tmp", ec)) return "Z:\\tmp";
    return base;
}

// A new folder of a name no other test run has, made only by this call.
std::string MakeUniqueFolder(const std::string& prefix) {
    static std::mt19937_64 numbers{std::random_device{}()};
    const fs::path base = TemporaryBase();
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path folder = base / (prefix + std::to_string(numbers() % 1000000000000ULL));
        std::error_code ec;
        if (fs::create_directory(folder, ec)) return folder.string();
    }
    throw std::runtime_error("cannot make a temporary folder in " + base.string());
}

}  // namespace

TempDrives::TempDrives(const std::string& letters) : previous_(platform::Drives()) {
    base_ = MakeUniqueFolder("kestrane-drives-");
    for (char letter : letters) {
        std::string root = (fs::path(base_) / std::string(1, letter)).string();
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
        if (!it->is_symlink()) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
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
