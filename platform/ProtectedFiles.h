// The files a run must never purge, known by what they are rather than by
// how a path spells them: the folder the program runs from (its library
// and texts live there) and the swap files the system is using. A second
// drive letter mapped onto the program's folder, or a path that reaches it
// through "..", still names the same folder.
#pragma once

#include <optional>
#include <vector>

#include "platform/FolderHandle.h"

namespace platform {

// Identity of the program's folder; null when it cannot be examined.
std::optional<FileIdentity> ProgramFolderIdentity();

// Identities of the swap files in use (none where the system has none).
std::vector<FileIdentity> SwapFileIdentities();

}  // namespace platform
