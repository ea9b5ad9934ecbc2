// The small text helpers that the whole program shares: file names matched
// against wildcard patterns, durations written as words, and the
// pieces of drive-letter paths ("C:\folder\file.ext"). They keep no state.
//
// Strings are UTF-8; lengths, positions and "?" count characters (code
// points), not bytes. Case follows Unicode's simple mappings (see
// UnicodeText.h).
//
// Paths keep their case. Where a case-blind file system would let the
// program lower-case a path or a file name for neatness, a file system that
// tells "Secret.txt" from "secret.txt" would be sent to another file, or to
// none; so the helpers below that hand back a path or a name for later use
// change no letter but the drive letter.
#pragma once

#include <cstdint>
#include <string>

// True when the text contains "?" or "*".
bool HasWildcards(const std::string& text);

// Whether a file name matches a file pattern (strFileSpec: "*.*", "*.doc",
// "report?.txt", "notes.txt", ...).
//   - A pattern without wildcards names one file: it matches the name that
//     equals it byte for byte and nothing else, whatever caseSensitive says
//     (on a file system where case tells names apart, folding it could
//     select a second file).
//   - Otherwise name and pattern are each split at their last dot and base
//     and extension are matched separately with WildcardMatch:
//     - both have a dot: the bases match and the extensions match;
//     - only the pattern has one: its extension must be empty or stars
//       only (so "*.*" also matches names without a dot), and the whole
//       name must match its base;
//     - neither has one: the name matches the pattern;
//     - only the name has one: no match ("*" matches only names without a
//       dot).
// Every character of a name is an ordinary character here, ":", "?", "*"
// and "\" included: such names exist on POSIX, and a run must see them to
// say why it leaves one alone.
bool NameMatchesSpec(const std::string& name, const std::string& spec, bool caseSensitive);

// Wildcard match of a text against a pattern: "?" is exactly one character,
// "*" any run of characters. An empty pattern matches every text; an empty
// text matches a pattern of stars only. A star does not backtrack: it jumps
// to the first later occurrence of the next literal character of the
// pattern and the match goes on from there, so "abcabc" does not match
// "*c". This is the program's rule for which files a pattern selects.
bool WildcardMatch(const std::string& text, const std::string& pattern, bool caseSensitive);

// The text with every control character and every byte that is not part of
// valid UTF-8 written as an escape ("\n", "\r", "\t", "\x1b"), so that a
// file name shown in a report, label or message cannot start a line of its
// own or hide part of itself.
std::string VisibleText(const std::string& text);

// Removes from text every occurrence of each character of chars (exact).
void RemoveChars(std::string& text, const std::string& chars);

// A duration in minutes as words: long form "1 day and 2 hours and
// 5 minutes", short form "1d 2h 5m"; zero is "0 minutes" or "0m".
std::string FormatMinutes(std::int32_t minutes, bool longForm);

// A duration in seconds: below a minute the seconds alone ("1 second",
// "45 seconds", "45s"); otherwise FormatMinutes of the minutes followed by
// " and " (long) or a blank (short) and the seconds when there are any.
// roundUp (for estimates) counts a duration of a minute or more as the
// next whole minute, even when it is whole already: 120 s read "3 minutes".
std::string FormatSeconds(std::int32_t seconds, bool longForm, bool roundUp);
// FormatSeconds(seconds, longForm, true).
std::string FormatSecondsRoundUp(std::int32_t seconds, bool longForm);

// The path with the drive letter in upper case when its second character
// is ":", otherwise unchanged. The rest keeps its case (see above).
std::string NormalizePathCase(const std::string& path);
// NormalizePathCase of the path up to and including its last "\"; "" when
// it has none.
std::string FolderOfPath(const std::string& path);
// The part after the last "\"; "" when the path has none. The name keeps
// its case whatever lowerCase asks (see above): it is used to reach the
// file again. lowerCase stays for callers written for case-blind systems.
std::string FileNameOfPath(const std::string& path, bool lowerCase);
// The extension of the file name (after the last "\", or the whole path)
// behind its last "."; "" when the name has no dot. Lower-cased on request:
// extensions are only compared, never used to reach a file.
std::string FileExtension(const std::string& path, bool lowerCase);
// Upper-case first character + ":" ("" for an empty text).
std::string DriveDesignation(const std::string& text);
// Removes trailing characters whose codes are 0 to 32.
void TrimTrailingBlanks(std::string& text);

// A path longer than maxLength, shortened for a label: its head up to a
// backslash, "...", and its tail from a backslash, each about half of
// maxLength ("C:\data\...\last folder\file.txt"). The result may exceed
// maxLength by the three dots and by no more.
std::string ShortenPath(const std::string& path, std::int32_t maxLength);

// True when the path names an existing regular file (links do not count).
bool FileIsPresent(const std::string& path);

// True for an extension that file-monitoring (anti-virus) software watches:
// the text after the last "." of the path, exactly three characters, that
// starts with XL or OV or is one of SHS, RTF, PPT, MSO, MDB, DOT, CPL, CLA,
// CBT, ADT, BAT, INI, SYS, SCR, EXE, DRV, DOC, DLL, COM, BIN, 386 (any case).
bool IsMonitoredExtension(const std::string& path);
