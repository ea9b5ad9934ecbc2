// The setup file: the stored part of an operation setup, as the next-run
// setup (kz.usr) and as operation files (*.kzs).
//
// Thirteen lines, each ending in CR LF: the version that wrote the file;
// the subfolder and confirmation flags; the folder and the file
// specification; the purge type and its passes; the six options of the
// purge confirmation. Texts are written as they are; a number is written
// with a blank where a minus sign would stand and a trailing blank (" 1 ").
// Files written by the program read back identically; stored files are an
// interface, so this format never changes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

struct SetupRecord {
    // The six options in the order of the file: purge slack, do not delete
    // purged files, read-only files, sensitive files, folder names only,
    // delete empty folders.
    static constexpr int kNumOptions = 6;

    std::string strVersion;
    // As stored: 1 when the flag was on when the file was written.
    int subfolderFlag = 0;
    int confirmationFlag = 0;
    std::string folder;
    std::string fileSpec;
    int purgeType = 2;
    int passes = 3;
    // Check box values read from the file; null where the read did not reach.
    std::array<std::optional<int>, kNumOptions> options{};
};

struct SetupRead {
    SetupRecord record;
    // All thirteen lines were read and valid. When false, everything but the
    // options already read holds the defaults (empty texts, both flags 0,
    // purge type 2 with 3 passes).
    bool complete = false;
};

// Longest setup file and line that reading accepts; longer ones are not
// setup files.
constexpr std::size_t kMaxSetupFileBytes = 64 * 1024;
constexpr std::size_t kMaxSetupLineBytes = 4096;

// Reads file contents. Invalid contents (a short file, text where a number
// belongs, a flag or option other than 0 or 1, an enormous line, bytes that
// are not text) end the read at that line. A purge type or pass count that
// is not offered does not: the whole file is read and the type and passes
// are the defaults.
SetupRead ReadSetup(std::string_view contents);

std::string WriteSetup(const SetupRecord& record);

// A number as a setup file stores it: " 1 ", "-1 ".
std::string SetupNumber(int value);
