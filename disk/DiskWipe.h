// The disk wipe behind the main window's "Wipe disk": the user picks a
// drive and the folders to leave alone, is advised about anti-virus
// software and open files, may test the purge speed, sees an estimate, and
// confirms; the drive's free space is filled with dummy files and then
// every file of the drive (the dummy files included) is purged in the
// report window, except the excluded ones, so the free space is overwritten
// as often as the files are.
//
// The drive's root folder is opened when the drive is chosen, and every
// later step (the refusal below, the exclusions, a speed test on it, the
// fill, the run and the deletion of the dummy files) works through that
// open folder, so a drive path renamed, retargeted or mounted over
// meanwhile cannot move the wipe elsewhere.
//
// A drive that holds, lies inside or shares the file system of the running
// system or this program is refused before anything is written, and so,
// unattended, is a wipe with a folder to keep that was refused. A fill that
// fails ends the wipe before its run. On a copy-on-write file system the
// dummy files are deleted before the run (an overwrite in place would need
// the space they take), and there and where metadata takes whole clusters
// the free space is filled once more after the run, to reach the old data
// in the space the run freed. However the wipe ends, no dummy file outlives
// it unnoticed: those its run did not purge are deleted, except a partial
// file the user chose to keep, which stays recorded for the next start.
#pragma once

#include <string>

struct DiskWipeOptions {
    // The command-line mode: every question gets the answer that goes on,
    // no speed test is offered, and notices are shown as plain messages.
    bool unattended = false;
};

enum class DiskWipeEnding {
    Ended,    // cancelled, or the drive unusable: nothing purged
    Refused,  // the system's drive, or (unattended) a folder to keep refused:
              // nothing written
    Failed,   // the fill could not do its work (said in a message): nothing purged
    Ran,      // the run in the report window took place
    // The run took place, but the fill after it (on a copy-on-write file
    // system, or one whose metadata takes whole clusters), which reaches
    // the space the run freed, or the overwriting of deleted files' names
    // did not do its work (the report says why).
    RanOldDataLeft,
};

class WipeHost;

// The wipe started from the window `host` describes.
DiskWipeEnding WipeDisk(WipeHost& host, const DiskWipeOptions& options = {});

// The main window's files label during a wipe: "Purging all files on Drive
// D except top-level files and those in 2 excluded folders."
std::string WipeSelectionCaption(char L, bool keepTopFiles, int numExcluded);

// The estimate of the whole wipe, asked before the fill: drive D, its total
// bytes, the measured speed S (0: none) and N overwrites.
std::string WipeEstimateMessage(const std::string& D, double totalBytes, float S, int N);

// The announcement of the fill of F free bytes.
std::string FillAnnouncement(const std::string& D, double F, float S);
