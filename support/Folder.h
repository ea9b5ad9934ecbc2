// Folder services: the folder-browse dialog, the per-user data folder, and
// counts of a folder's direct subfolders and matching files.
//
// Paths are drive-letter paths ("C:\folder"). Nothing here keeps state.
// Counts see only real folders and regular files: a symbolic link, FIFO or
// device in a folder is neither, so a walk built on these counts never
// leaves the tree it was given.
#pragma once

#include <cstdint>
#include <string>

// Shell folder kind of the current user's application-data folder.
constexpr std::int32_t kFolderApplicationData = 26;

// Lets the user pick a folder, the title as the dialog's instruction,
// starting in `startFolder` (a drive path; "" for the first drive); the
// chosen folder's full path as the dialog gives it, or "" when cancelled.
std::string BrowseForFolder(const std::string& title, const std::string& startFolder = "");

// The native path of a special folder of the given kind, or "" when there
// is none (kFolderApplicationData is the only kind known). It need not lie
// on any drive.
std::string SpecialFolderPath(std::int32_t kind);

// The program's per-user folder by native path: "<application
// data>/<folderName>" ($XDG_CONFIG_HOME/Kestrane, else
// ~/.config/Kestrane); without an application-data folder, the folder of
// that name at the root of the first fixed drive. "" when there is neither.
std::string UserDataFolderPath(const std::string& folderName);

// Native path of a file in the per-user folder. Creates the folder (and a
// missing application-data folder) when needed; a failure to create it
// shows later, when the file is read or written.
std::string UserDataFilePath(const std::string& fileName, const std::string& folderName);

// True when the path can be opened as a folder; false on any error.
bool FolderExists(const std::string& path);

// Number of folders directly inside the folder, -1 when it cannot be read.
std::int32_t NumSubfolders(const std::string& path);

// Number of files directly inside the folder whose names match the file
// pattern (NameMatchesSpec, case folded). When the folder cannot be
// read, a message box titled "Error" (information icon, OK) gives the file
// system's own reason ("Permission denied", "Too many open files"), and
// the result is -1. Counts are 32-bit: a folder of any real size is counted.
std::int32_t NumMatchingFiles(const std::string& folder, const std::string& fileSpec);
