// torvix: the purge library's C interface.
//
// purge never links against this library: it loads libtorvix.so from its own
// folder at run time and binds each function by name at its first call, so
// these signatures are the whole contract. Strings are NUL-terminated 8-bit
// strings (UTF-8 on POSIX); paths are native paths; flags are 1 or 0.
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

// Overwrites all of the file's data once with the patterns of one pass of
// purge_type (0 random; 1 four bit patterns; 2 bit patterns and random bytes)
// and, with delete_when_done, then deletes the file. *seconds receives the
// call's duration in whole seconds.
//
// Results: 0 done; -2 the file could not be opened for writing (also: not a
// regular file, or a symbolic link); -3 an error while writing (also: disk
// full); -4 truncating the overwritten file failed; -5 renaming it failed;
// -6 removing it failed; -7 a flush to the device failed; -8 invalid purge
// type; -9 invalid cluster size; -1 any other failure.
TORVIX_API int32_t kz_purge_file(const char* path, int32_t purge_type, int32_t passes,
                                 int32_t delete_when_done, int32_t run_flag,
                                 int32_t purge_slack, int32_t cluster_size, int32_t* seconds);

// Loads the program text file at path. Returns the number of texts loaded
// (1 or more), or: 0 no text read; -1 cannot open; -3 too much text; -6 file
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
