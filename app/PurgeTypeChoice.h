// The purge type and its passes as a value: what the purge type dialog
// holds for the window, and what the command line keeps by itself without
// ever making that dialog. The overwrites and the words that describe the
// choice follow from the two numbers alone.
#pragma once

#include <string>

constexpr int kNumPurgeTypes = 3;
constexpr int kMinPasses = 1;

// The largest pass count a type code (0, 1 or 2) offers.
constexpr int MaxPassesOf(int purgeType) { return purgeType < 2 ? 9 : 6; }
// The passes a type starts with before the user picks another: 9, 6, 3.
int DefaultPassesOf(int purgeType);
// Overwrites in one pass of a type code: 1, 4 or 6 (0 for no type).
int OverwritesPerPass(int purgeType);
// The type's name as its option in the dialog reads: "1. Random bytes".
std::string PurgeTypeOptionCaption(int purgeType);

struct PurgeTypeChoice {
    // Type code 0, 1 or 2; the program starts with type code 1 and its
    // default passes.
    int purgeType = 1;
    int passes = 6;

    int NumOverwrites() const { return passes * OverwritesPerPass(purgeType); }
    bool operator==(const PurgeTypeChoice& other) const {
        return purgeType == other.purgeType && passes == other.passes;
    }
};

// True when the type is one of the three and offers that many passes: what
// a stored setup must name to be taken.
bool IsOffered(const PurgeTypeChoice& choice);

// The choice in the words of the main window's label:
// "Random bytes, twice (= 2 overwrites)".
std::string TypeOfPurgeCaption(const PurgeTypeChoice& choice);
// The choice in the words of the report: "random bytes 3 times",
// "alternate bit patterns once"; "" for no type.
std::string PurgeTypeNumPasses(int intPurgeType, int intNumberOfPasses);
