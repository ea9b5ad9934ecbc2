// Deleting an overwritten file so that its directory entry tells nothing.
//
// The file is truncated to zero; then renamed to a random name of the same
// length (file systems that rewrite the entry in place lose the old name
// there), then to a random name of a fixed length (so the length of the old
// name is gone too), the folder is flushed, the file removed and the folder
// flushed again. The truncation gets no flush of its own: the overwrite is
// on the device already, so a truncation lost in a crash could bring back
// only overwritten bytes, and on a journalled file system the folder flush
// after the renames carries it too. Renames never replace another file.
// Before each rename and the removal the name is checked to still be this
// file, so a file put in its place is never touched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "torvix/file_layer.h"
#include "torvix/random_source.h"

namespace torvix {

// Length of the last name a deleted file has; one more if the file's own
// name happens to have this length.
inline constexpr std::size_t kHiddenNameLength = 12;

// file is the open handle of `name` in `folder`, and identity its facts.
// Results: 0 done; -4 truncating failed; -5 a rename, or the folder flush
// after the renames, failed, or the name no longer is this file; -6 the
// removal or the folder flush after it failed.
int32_t HideNameAndDelete(FileLayer& layer, Handle folder, const std::string& name, Handle file,
                          const FileFacts& identity, RandomSource& random);

// The steps of HideNameAndDelete one by one, for callers that delete many
// files of one folder and flush the folder once for all of them: each
// folder flush must come between the steps it separates here.
// Truncates the file to zero; 0 or -4.
int32_t EmptyFile(FileLayer& layer, Handle file);
// The two renames; *current receives the last name (also after a failure,
// the name the file then has). 0 or -5.
int32_t HideName(FileLayer& layer, Handle folder, const std::string& name,
                 const FileFacts& identity, RandomSource& random, std::string* current);
// Removes the hidden name if it still is this file; 0 or -6.
int32_t RemoveHiddenName(FileLayer& layer, Handle folder, const std::string& current,
                         const FileFacts& identity);

}  // namespace torvix
