#include "app/PurgeTypeChoice.h"

namespace {
const char* const kTypeNames[kNumPurgeTypes] = {"Random bytes", "Alternate bit patterns",
                                                "Alternate bit patterns plus random bytes"};
const int kDefaultPasses[kNumPurgeTypes] = {9, 6, 3};
const int kOverwritesPerPass[kNumPurgeTypes] = {1, 4, 6};

bool IsType(int purgeType) { return purgeType >= 0 && purgeType < kNumPurgeTypes; }

std::string TimesText(int passes) {
    if (passes == 1) return "once";
    if (passes == 2) return "twice";
    return std::to_string(passes) + " times";
}
}  // namespace

int DefaultPassesOf(int purgeType) { return IsType(purgeType) ? kDefaultPasses[purgeType] : 0; }

int OverwritesPerPass(int purgeType) {
    return IsType(purgeType) ? kOverwritesPerPass[purgeType] : 0;
}

std::string PurgeTypeOptionCaption(int purgeType) {
    if (!IsType(purgeType)) return "";
    return std::to_string(purgeType + 1) + ". " + kTypeNames[purgeType];
}

bool IsOffered(const PurgeTypeChoice& choice) {
    return IsType(choice.purgeType) && choice.passes >= kMinPasses &&
           choice.passes <= MaxPassesOf(choice.purgeType);
}

std::string TypeOfPurgeCaption(const PurgeTypeChoice& choice) {
    if (!IsType(choice.purgeType)) return "";
    const int overwrites = choice.NumOverwrites();
    return std::string(kTypeNames[choice.purgeType]) + ", " + TimesText(choice.passes) + " (= " +
           std::to_string(overwrites) + " overwrite" + (overwrites > 1 ? "s" : "") + ")";
}

std::string PurgeTypeNumPasses(int intPurgeType, int intNumberOfPasses) {
    if (!IsType(intPurgeType)) return "";
    // The report names the type in mid-sentence.
    std::string name = kTypeNames[intPurgeType];
    name[0] = static_cast<char>(name[0] - 'A' + 'a');
    return name + " " + TimesText(intNumberOfPasses);
}
