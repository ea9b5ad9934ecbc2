// torvix: the purge library's C interface.
//
// purge never links against this library: it loads libtorvix.so from its own
// folder at run time and binds each function by name at its first call, so
// these signatures are the whole contract. Strings are NUL-terminated UTF-8
// on every platform: on Windows no ANSI code page can spell every file name,
// and a name it cannot spell could never be purged. Paths are native paths;
// flags are 1 or 0.
//
// On Windows the library is torvix.dll. A reparse point (symbolic link,
// junction, mount point) counts as a symbolic link, and a file's device and
// inode are its volume serial number and file id as
// GetFileInformationByHandleEx(FileIdInfo) gives them (the 128-bit id's two
// halves combined by exclusive or; on NTFS and FAT the high half is 0).
// kz_purge_file_at's folder is a directory HANDLE opened with at least
// FILE_LIST_DIRECTORY, FILE_TRAVERSE and FILE_READ_ATTRIBUTES access.
#pragma once

#include <stdint.h>

#if defined(_WIN32)
#define TORVIX_API __declspec(dllexport)
#else
#define TORVIX_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Overwrites all of the file's data with the overwrites of one pass of
// purge_type, in order (0: random bytes; 1: 0xAA, 0x55, 0x0A, 0xF5; 2: 0xAA,
// 0x55, random, 0x0A, 0xF5, random), each from the first byte and flushed to
// the device before the next; every random overwrite is a fresh stream of a
// cryptographic generator. passes repeats the pass (callers pass 1). After
// each flush the length is read again: bytes appended meanwhile get the same
// overwrite and a flush of their own, for a few rounds. With purge_slack,
// the bytes from the end of the data to the end of its last cluster of
// cluster_size bytes are overwritten too and the file keeps its length (the
// grown length, if it grew); cluster_size is read only then. With
// delete_when_done the file is then truncated to zero, renamed to names that
// keep neither its name nor the length of its name, and removed. run_flag
// changes nothing, so a speed test times exactly the work of a real run.
// *seconds (if not null) receives the call's duration, rounded to whole
// seconds, on every result. The arguments are checked before the file is
// touched.
//
// The path's folder is opened with no symbolic link in any of its
// components (mount points on the way are crossed); the last component is
// looked at without following a link, opened relative to that folder, and
// must then be the file looked at, a regular file with no other hard link,
// on the same mount as its folder (a file bind-mounted over the name is
// refused). A FIFO or device is never opened, so it never blocks the call.
// Before each rename and the removal the name is checked to still be this
// file. It is, in short, kz_purge_file_at for the file found at the path.
//
// Results: 0 done (and deleted when asked); 1 done as for 0, but the slack
// was not overwritten: writing behind the data needed space that a full
// disk (or quota) did not give; -1 no path, passes below 1, or
// the random generator or memory failed; -2 the file could not be opened for
// writing (also: missing, not a regular file, a symbolic link in any
// component, another file at the name by the time it was opened, another
// mount than its folder's); -3 a write failed (also: disk full while
// writing the data; the file keeps its length); -4 truncating the
// overwritten file failed; -5 renaming it to hide its
// name (or flushing the folder after) failed, or the name no longer was
// this file; -6 removing it (or flushing the folder after) failed, or the
// name no longer was this file; -7 flushing an overwrite to the device
// failed; -8 purge type outside 0..2; -9 purge_slack with a cluster size
// that is not a multiple of 512 from 512 to 65536; -10 and -11 as for
// kz_purge_file_at. After -4, -5 and -6 the file is completely overwritten
// but still there.
TORVIX_API int32_t kz_purge_file(const char* path, int32_t purge_type, int32_t passes,
                                 int32_t delete_when_done, int32_t run_flag, int32_t purge_slack,
                                 int32_t cluster_size, int32_t* seconds);

// The same purge for a file that the caller has already looked at: `name` is
// one entry (no separator, not "." or "..") of the open folder `folder` (a
// POSIX descriptor; a directory handle on Windows), and `device` and `inode`
// are the identity the caller saw. The library acts on that file and nothing
// else: it looks at the name relative to the folder without following a
// link, and only if that is the caller's file, a regular file, opens it for
// writing relative to the folder (without following a link, without
// blocking) and checks the open file again: the caller's device and inode,
// one hard link only, the folder's own mount (mount ids tell a bind mount
// from the file system it shows). Before each rename (relative to the
// folder, never replacing a name) and before the removal it checks that the
// name is still that file. The library never closes the caller's folder,
// which stays the caller's. A path is never parsed again, so a folder
// renamed, swapped for a link or mounted over while the purge runs cannot
// redirect it.
//
// Results, beside those of kz_purge_file (with -1 also for a null name and
// -2 also for a name that is not one entry, or a folder that is not an
// open folder of this process: not a folder, closed, negative, or on POSIX
// beyond the range of a descriptor (an int)):
// -10 the file kept growing while it was overwritten: its new bytes could not
//     all be overwritten, so it is not purged (and not deleted; with slack
//     it keeps its grown length);
// -11 the file has other hard links: its data also belongs to a name
//     elsewhere, so it is not touched;
// -12 the name is no longer the file the caller looked at (another device
//     or inode), or lies on another mount than the folder; nothing is
//     touched.
TORVIX_API int32_t kz_purge_file_at(intptr_t folder, const char* name, uint64_t device,
                                    uint64_t inode, int32_t purge_type, int32_t passes,
                                    int32_t delete_when_done, int32_t run_flag, int32_t purge_slack,
                                    int32_t cluster_size, int32_t* seconds);

// One file of a kz_purge_files_at call: `name` (an entry of the folder),
// `device` and `inode` as for kz_purge_file_at; `result` receives what
// kz_purge_file_at would return for the file.
typedef struct kz_file_entry {
    const char* name;
    uint64_t device;
    uint64_t inode;
    int32_t result;
} kz_file_entry;

// Purges the `count` files of `files` (1 to 4096), all entries of the open
// folder `folder`, as kz_purge_file_at purges each one with the same
// arguments, with the same checks and the same results, but faster where
// many small files make the flushes the cost: several files are overwritten
// at once from a few threads of the library, so that their flushes reach the
// device together. What a single purge promises holds for each file: each
// overwrite is on the device before the file is overwritten again,
// shortened, renamed or removed; with delete_when_done each file is emptied
// before its name is hidden, and the names of the files
// done so far are hidden and removed while others are still overwritten, a
// group at a time, the folder flushed once after the renames of a group
// and once after its removals, so no name is removed before its hidden name
// is on the device. At most 32 files are open at a time. The library's
// threads block every signal, so a signal reaches only the caller's threads.
// *seconds (if not null) receives the duration of the whole call, rounded to
// whole seconds.
//
// Returns 0 when every entry has its result, or -1 (and no file is touched,
// no result written) for a null list, a null name, or a count outside
// 1..4096.
TORVIX_API int32_t kz_purge_files_at(intptr_t folder, kz_file_entry* files, int32_t count,
                                     int32_t purge_type, int32_t passes, int32_t delete_when_done,
                                     int32_t run_flag, int32_t purge_slack, int32_t cluster_size,
                                     int32_t* seconds);

// Loads the program text file at path. Only a regular file is read, opened
// without following a link and without blocking. Returns the number of
// texts loaded (1 or more), or: 0 no text read; -1 cannot open (also: a
// FIFO, device, folder or symbolic link at the path); -3 too much text; -6 file
// empty; -7 error reading (also: bytes that are not text); -500 - N a missing
// string at line N; -1000 - N a string too long at line N; -1500 - N a
// duplicate number at line N.
TORVIX_API int32_t lt(const char* path, int32_t reserved);

// Copies program text `number` into buffer (at most buffer_size bytes, with
// no terminating NUL when the text fills the buffer) and returns the number
// of bytes placed there; 0 when there is no such text.
TORVIX_API int32_t gt(int32_t number, int32_t language, char* buffer, int32_t buffer_size,
                      int32_t startup_completed);

#ifdef __cplusplus
}
#endif
