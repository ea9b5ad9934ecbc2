// Which entries of a folder a run takes, and in words why it leaves the
// others. The listing and the purge share these rules, so a listing shows
// exactly what a purge of the same selection would do.
//
// A run takes only regular files and real subfolders that lie on the same
// mount as the folder holding them. It leaves, each with a line of its own:
// symbolic links (never followed), FIFOs, devices and sockets (never
// opened), mount points and files bind-mounted into the tree (another file
// system), names holding a backslash (no drive path can name them, so the
// user could not have meant them), and files with more than one hard link
// (their data also belongs to a name outside the selection).
#pragma once

#include <optional>
#include <string>

#include "platform/FolderHandle.h"

class FolderTrail;

// The reason WhyFileIsLeft gives for a file with more than one name.
extern const char* const kOtherHardLinks;

// Why a matching non-folder entry is not listed or purged; null when the
// run takes it.
std::optional<std::string> WhyFileIsLeft(const platform::FolderEntry& entry,
                                         const platform::FileIdentity& folder);

// Why a subfolder is not entered; null when the run enters it.
std::optional<std::string> WhySubfolderIsLeft(const platform::FolderEntry& entry,
                                              const platform::FileIdentity& folder);

// Goes down into the next subfolder of the walk's current folder that the
// run would enter too, for walks that only look ahead of a run; false when
// there is none left.
bool EnterNextSubfolderTheRunEnters(FolderTrail& trail);

// A name (or a path ending in it) of the folder `folder` as the program
// shows it: with control characters escaped, and in lower case only where
// the folder does not tell names apart by case, so that two files never
// look alike.
std::string ShownName(const std::string& name, const platform::FolderHandle& folder);
