"""Small, realistic faults for run_faults.py: each is one edit of the code
that a test must notice. A fault is (file, the text as it stands, the text
with the fault, the test programs that should catch it). The text as it
stands must occur exactly once in its file; a fault whose text is gone
(the code moved on) is reported as not applied, never as caught.
"""

TORVIX = "torvix_test"
VELDRAN = "veldran_tests"
PURGE = "purge_tests"
APP = "app_tests"
PLATFORM = "platform_tests"
SUPPORT = "support_tests"
DISK = "disk_tests"

FAULTS = [
    # The purge library: patterns, flushes, identity, arguments.
    ("torvix/pass_patterns.cpp", "{Pattern(0xAA), Pattern(0x55), kRandom,",
     "{Pattern(0x55), Pattern(0xAA), kRandom,", [TORVIX]),
    ("torvix/pass_patterns.cpp", "constexpr OverwriteStep kBitPatterns[] = {Pattern(0xAA), Pattern(0x55), Pattern(0x0A),",
     "constexpr OverwriteStep kBitPatterns[] = {Pattern(0xAA), Pattern(0x55), Pattern(0x0B),", [TORVIX]),
    ("torvix/overwrite.cpp", "if (layer.SyncData(file) != 0) return kPurgeFlushFailed;",
     "if (false) return kPurgeFlushFailed;", [TORVIX]),
    ("torvix/overwrite.cpp", "if (!extent.GrowTo(now.size)) return kPurgeDone;",
     "return kPurgeDone;", [TORVIX]),
    ("torvix/hide_and_delete.cpp",
     "if (!StillThisFile(layer, folder, current, identity)) return kPurgeRemoveFailed;", "",
     [TORVIX]),
    ("torvix/hide_and_delete.cpp",
     "if (layer.Truncate(file, 0) != 0) return kPurgeTruncateFailed;",
     "if (false) return kPurgeTruncateFailed;", [TORVIX]),
    ("torvix/purge_target.cpp", "if (!Is(facts, expected)) return codes.notTheFileSeen;", "",
     [TORVIX]),
    # Files purged together: a name hidden and removed only after its own
    # flushes, and while other files are still being overwritten.
    ("torvix/purge_batch.cpp",
     "if (layer.SyncFolder(folder) != 0) {\n        for (std::size_t g : renamed)",
     "if (false) {\n        for (std::size_t g : renamed)", [TORVIX]),
    ("torvix/purge_batch.cpp",
     "if (files[i].result >= kPurgeDone && request.deleteWhenDone) finished.Add(i);",
     "if (request.deleteWhenDone) finished.Add(i);", [TORVIX]),
    ("torvix/purge_batch.cpp", "return added_ - taken_ >= fewest || working_ == 0; });",
     "return working_ == 0; });", [TORVIX]),
    ("torvix/purge_target.cpp", "if (facts.links > 1) return kPurgeOtherLinks;", "", [TORVIX]),
    ("torvix/purge_target.cpp", "if (!facts.OnSameMountAs(folder)) return codes.notTheFileSeen;",
     "", [TORVIX]),
    ("torvix/purge_engine.cpp", "clusterSize % kMinClusterSize == 0;", "clusterSize % 256 == 0;",
     [TORVIX]),
    ("torvix/purge_engine.cpp", "if (request.passes < 1) return kPurgeOtherFailure;",
     "if (request.passes < 0) return kPurgeOtherFailure;", [TORVIX]),
    ("torvix/text_store.cpp", "int32_t MissingStringAt(int line) { return -500 - line; }",
     "int32_t MissingStringAt(int line) { return -499 - line; }", [TORVIX, APP]),

    # veldran: generators, fills, flushes, arguments.
    ("veldran/Generators.cpp", "state_ = state_ * 214013u + 2531011u;",
     "state_ = state_ * 214013u + 2531012u;", [VELDRAN]),
    ("veldran/Generators.cpp", "state_ = state_ * 15013869u + 387u;",
     "state_ = state_ * 15013869u + 389u;", [VELDRAN]),
    ("veldran/Generators.cpp", "} while (seed < 256);", "} while (seed < 255);", [VELDRAN]),
    ("veldran/Wipe.cpp", "pass == 2 ? 0xFF : seeds.NextPassSeed();",
     "pass == 2 ? 0xFE : seeds.NextPassSeed();", [VELDRAN]),
    ("veldran/Wipe.cpp", "if (!file.Flush()) return Result::kFlushFailed;",
     "if (done == size && !file.Flush()) return Result::kFlushFailed;", [VELDRAN]),
    ("veldran/Wipe.cpp", "return written < original ? Result::kWriteFailed : Result::kWiped;",
     "return Result::kWiped;", [VELDRAN]),
    ("veldran/Wipe.h", "constexpr int64_t kRoundingBytes = 65536;",
     "constexpr int64_t kRoundingBytes = 65535;", [VELDRAN]),
    ("veldran/PassData.cpp", "const std::size_t from = (i * stride) % kBlockWords;",
     "const std::size_t from = (i + stride) % kBlockWords;", [VELDRAN]),
    ("veldran/Arguments.cpp", 'if (name.find_first_of("*?") != std::string_view::npos)',
     'if (name.find_first_of("*") != std::string_view::npos)', [VELDRAN]),
    ("veldran/Arguments.h", "constexpr int kMaxWrites = 18;", "constexpr int kMaxWrites = 19;",
     [VELDRAN]),

    # Matching.
    ("purge/StrProcMatch.cpp", 'std::size_t next = pattern.find_first_not_of(U"*?", j);',
     'std::size_t next = pattern.find_first_not_of(U"*", j);', [PURGE]),
    ("purge/StrProcMatch.cpp", "    return i == text.size();\n}", "    return true;\n}", [PURGE]),
    ("purge/StrProcMatch.cpp",
     "if (specDot) return OnlyStars(sv.substr(ds + 1)) && Match(nv, sv.substr(0, ds));",
     "if (specDot) return Match(nv, sv.substr(0, ds));", [PURGE]),
    ("purge/StrProcMatch.cpp", "if (!HasWildcards(spec)) return name == spec;",
     "if (!HasWildcards(spec)) caseSensitive = false;", [PURGE]),
    ("purge/StrProcMatch.cpp", "    if (!nameDot) return Match(nv, sv);\n    return false;",
     "    return Match(nv, sv);", [PURGE]),

    # Durations, paths and numbers in words.
    ("purge/StrProcDuration.cpp", "if (minutes >= 1440) {", "if (minutes > 1440) {", [PURGE]),
    ("purge/StrProcDuration.cpp", 'if (longForm && (hours > 0 || days >= 1)) text += " and ";',
     'if (longForm && hours > 0) text += " and ";', [PURGE]),
    ("purge/StrProcDuration.cpp", "if (roundUp && seconds >= 1) {", "if (roundUp && s >= 1) {",
     [PURGE]),
    ("purge/StrProcDuration.cpp", '(n == 1 ? "" : "s")', '(n <= 1 ? "" : "s")', [PURGE]),
    ("purge/StrProcPath.cpp", "if (k == std::u32string::npos || k < 3)",
     "if (k == std::u32string::npos || k < 2)", [PURGE]),
    ("purge/StrProcPath.cpp", ' || upper.rfind("OV", 0) == 0) return true;', ") return true;",
     [PURGE]),
    ("purge/StrProcPath.cpp", "if (extension.size() != 3) return false;", "", [PURGE]),
    ("purge/StrProcVisible.cpp", 'std::snprintf(text, sizeof text, "\\\\x%02x", byte);',
     'std::snprintf(text, sizeof text, "\\\\x%02X", byte);', [PURGE]),
    ("purge/StrProcVisible.cpp", "if (byte >= 0x20 && byte < 0x7f) {",
     "if (byte >= 0x0a && byte < 0x7f) {", [PURGE]),

    # Setup files.
    ("app/SetupFile.cpp", 'std::to_string(value < 0 ? -value : value) + " ";',
     "std::to_string(value < 0 ? -value : value);", [APP]),
    ("app/SetupFile.cpp", "    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);\n",
     "", [APP]),

    # The listing and its estimate.
    ("purge/frmReportListing.cpp", "/ speed * run_.intNumOverwrites);",
     "/ speed * run_.intNumberOfPasses);", [PURGE]),
    ("purge/frmReportListing.cpp", "if (seconds < 10) {", "if (seconds <= 10) {", [PURGE]),
    ("purge/frmReportListing.cpp", "seconds < 300 ? FormatSeconds", "seconds <= 300 ? FormatSeconds",
     [PURGE]),
    ("purge/frmReportListing.cpp", "if (seconds > 60) AppendAnyway", "if (seconds >= 60) AppendAnyway",
     [PURGE]),
    ("purge/frmReportListing.cpp", "} else if (dblTotalFileBytes < kBytesPerMB) {",
     "} else if (dblTotalFileBytes <= kBytesPerMB) {", [PURGE]),
    ("purge/frmReportListing.cpp", "        speed = 1.0 / 60.0;", "        speed = 1.0 / 6.0;", [PURGE]),
    ("purge/frmReportListing.cpp", "if (d >= 'C' && d <= 'Z' && !measured) {",
     "if (d >= 'D' && d <= 'Z' && !measured) {", [PURGE]),

    # The purge run and its summary.
    ("purge/frmReportPurge.cpp", "if (lngTotalPurgeSeconds > 1) {", "if (lngTotalPurgeSeconds > 0) {",
     [PURGE]),
    ("purge/frmReportPurge.cpp", "if (code >= 0 || code == -4 || code == -5 || code == -6) {",
     "if (code >= 0) {", [PURGE]),
    ("purge/frmReportPurge.cpp", "if (!(lngNumFilesProcessed == 1 && lngNumFilesPurged == 1)) {",
     "if (!(lngNumFilesProcessed == 1)) {", [PURGE]),
    ("purge/frmReportPurge.cpp", "if (options.blnPurgeSlack || lngNumFilesPurged > 1) {",
     "if (options.blnPurgeSlack || lngNumFilesPurged > 0) {", [PURGE]),
    ("purge/frmReportPurge.cpp", "if (intNumFoldersRemoved > 0) {", "if (intNumFoldersRemoved > 1) {",
     [PURGE]),
    ("purge/frmReportPurge.cpp", "if (!parent.RemoveSubfolder(name, identity)) return;",
     "parent.RemoveSubfolder(name, identity);", [PURGE]),
    ("purge/frmReportPurge.cpp", "passes >= 2 && length * overwrites > bytesPerSecond;",
     "passes >= 1 && length * overwrites > bytesPerSecond;", [PURGE]),
    ("purge/frmReportPurge.cpp", "const bool deleteFile = p == passes && !options.blnDoNotDeletePurgedFiles;",
     "const bool deleteFile = !options.blnDoNotDeletePurgedFiles;", [PURGE]),
    ("purge/frmReportPurge.cpp",
     "    PurgeFolderAt(*dir, folder, std::move(fileSpec), purgeSlack);\n}",
     "    PurgeFolderAt(*dir, folder, std::move(fileSpec), purgeSlack);\n"
     "    platform::Files().RemoveFolder(folder);\n}", [PURGE]),
    ("purge/frmReportPurge.cpp", "first == 'e' || first == 'i' || first == 'o';",
     "first == 'e' || first == 'i';", [PURGE]),
    ("purge/WalkRules.cpp", "if (entry.links > 1) return", "if (entry.links > 2) return", [PURGE]),
    ("purge/WalkRules.cpp", 'if (!entry.identity.SameMountAs(folder)) return "is on another file system";',
     "", [PURGE]),
    ("purge/frmFileOps.cpp", 'if (extension == "swp") return kSwapFile;',
     'if (extension == "swq") return kSwapFile;', [PURGE]),
    ("purge/frmFileOps.cpp", "if (programFolder_ && programFolder_->SameObjectAs(folder)) return kInProgramFolder;",
     "", [PURGE]),

    # Drive paths.
    ("platform/DrivePaths.cpp", "if (letter >= 'a' && letter <= 'z') letter",
     "if (letter >= 'a' && letter <= 'y') letter", [PLATFORM, PURGE]),
    ("platform/DrivePaths.cpp", "            if (parts.names.empty()) return std::nullopt;",
     "            if (parts.names.empty()) continue;", [PLATFORM, PURGE]),
    ("platform/DrivePaths.cpp", "if (below && (best == 0 || root.size() > bestLength)) {",
     "if (below && (best == 0 || root.size() < bestLength)) {", [PLATFORM, PURGE]),
    ("purge/StrProcPath.cpp", "    chars[0] = UpperCaseOf(chars[0]);\n", "", [PURGE]),
    ("platform/FolderHandle.cpp", "    if (!(sub->Identity() == expected)) {",
     "    if (false) {", [PLATFORM, PURGE]),

    # The report.
    ("purge/ReportText.h", "constexpr std::size_t kReportCapacityBytes = 64u * 1024u * 1024u;",
     "constexpr std::size_t kReportCapacityBytes = 64u * 1024u;", [PURGE]),
    ("purge/ReportText.cpp", "text_.size() > ReportCapacity() - text.size()",
     "text_.size() >= ReportCapacity() - text.size()", [PURGE]),
    ("purge/frmReportRun.cpp", "report_.RemoveLastCharacters(1024);",
     "report_.RemoveLastCharacters(1000);", [PURGE]),

    # The disk wipe.
    ("disk/DiskWipe.cpp", "    fill_.LetGoOfDrive();\n", "", [DISK]),
]

FAULTS += [
    # Stop signals and protected files of the POSIX platform layer.
    ("platform/posix/PosixStopSignals.cpp", "    action.sa_flags = 0;",
     "    action.sa_flags = SA_RESTART;", [PLATFORM]),
    ("platform/posix/PosixStopSignals.cpp", "void NoteStopRequest(int) { stopRequested = 1; }",
     "void NoteStopRequest(int) {}", [PLATFORM, APP]),
    ("platform/posix/PosixStopSignals.cpp",
     "for (int i = 0; i < 3; ++i) ::sigaction(kStopSignals[i], &previous[i], nullptr);", "",
     [APP]),
    ("platform/posix/PosixProtectedFiles.cpp", 'if (type == "file") names.push_back(Unescaped(name));',
     'if (type == "file") names.push_back(name);', [PLATFORM]),
    ("platform/posix/PosixProtectedFiles.cpp",
     'if (digits.find_first_not_of("01234567") == std::string::npos) {', "if (true) {",
     [PLATFORM]),
    ("platform/posix/PosixProtectedFiles.cpp", "if (field[i] == '\\\\' && i + 3 < field.size()) {",
     "if (field[i] == '\\\\' && i + 3 < field.size() - 1) {", [PLATFORM]),

    # Acting only on what was looked at.
    ("platform/posix/PosixNewFiles.cpp",
     "if (!now || now->kind != EntryKind::File || !now->identity.SameObjectAs(expected)) {",
     "if (!now || now->kind != EntryKind::File) {", [PLATFORM]),
    ("platform/posix/PosixFolderHandle.cpp",
     "    if (!now || !(now->identity == expected)) {\n        ::close(fd);",
     "    if (!now) {\n        ::close(fd);", [PLATFORM]),
    ("platform/posix/PosixFolderHandle.cpp",
     "mode = readOnly ? (mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);",
     "mode = readOnly ? (mode & ~(S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);", [PLATFORM]),
    ("platform/posix/PosixFolderHandle.cpp",
     "if (!now || now->kind != EntryKind::Folder || !(now->identity == expected)) return false;",
     "if (!now || now->kind != EntryKind::Folder) return false;", [PLATFORM, PURGE]),

    # The mount table.
    ("platform/posix/MountTable.cpp",
     "if (best == nullptr || entry.mountPoint.size() >= best->mountPoint.size()) best = &entry;",
     "if (best == nullptr || entry.mountPoint.size() > best->mountPoint.size()) best = &entry;",
     [PLATFORM]),
    ("platform/posix/MountTable.cpp",
     "(path.size() == mountPoint.size() || path[mountPoint.size()] == '/');", "true;",
     [PLATFORM]),
    ("platform/posix/MountTable.cpp", "entry.mountPoint = Unescaped(fields[4]);",
     "entry.mountPoint = fields[4];", [PLATFORM]),

    # The drive that a wipe must refuse.
    ("disk/posix/SystemDrivePosix.cpp", "        if (SameObject(here, target)) return true;",
     "        if (depth > 0 && SameObject(here, target)) return true;", [DISK]),
    ("disk/posix/SystemDrivePosix.cpp",
     "if (folder.fileSystemCounts && folder.facts.st_dev == driveFacts.st_dev) {",
     "if (folder.fileSystemCounts && folder.facts.st_ino == driveFacts.st_ino) {", [DISK]),
    ("disk/posix/SystemDrivePosix.cpp",
     "if (!folder.treeTop && IsOrLiesAbove(drive, folder.facts)) {",
     "if (IsOrLiesAbove(drive, folder.facts)) {", [DISK]),
    ("disk/posix/SystemDrivePosix.cpp",
     "    folders.push_back({platform::ProgramFolderNative(), !FoldersForTesting()});\n", "",
     [DISK]),

    # The drive list and the folders to keep.
    ("disk/frmSpecifyDrive.cpp", "for (char letter = 'A'; letter <= 'Z'; ++letter) {",
     "for (char letter = 'A'; letter < 'Z'; ++letter) {", [DISK]),
    ("disk/frmExcludedFolders.cpp", "if (found->identity.SameObjectAs(root->Identity())) {",
     "if (f.size() <= 3) {", [DISK]),
    ("disk/frmExcludedFolders.cpp", "            if (above.SameObjectAs(e)) {",
     "            if (false) {", [DISK]),
    ("disk/frmExcludedFolders.cpp",
     "            ++intRefusals;\n            ui::TheUi().MsgBox(why,",
     "            ui::TheUi().MsgBox(why,", [DISK]),
    ("disk/FolderOnDrive.cpp", "        found.above.push_back(found.identity);\n", "", [DISK]),

    # The command line's wipe and speed-test arguments.
    ("app/CommandLineWipe.cpp",
     "if (!TakeNumber(args, i, request.passes) || request.passes < 1) {",
     "if (!TakeNumber(args, i, request.passes)) {", [DISK]),
    ("app/CommandLineWipe.cpp",
     "if (!TakeNumber(args, i, request.type) || request.type < 1 || request.type > 3) {",
     "if (!TakeNumber(args, i, request.type) || request.type > 3) {", [DISK]),
    ("app/CommandLineWipe.cpp",
     '!(answer == "y" || answer == "Y" || answer == "yes")) {',
     '(answer == "n" || answer == "N" || answer == "no")) {', [DISK]),
    ("app/CommandLineWipe.cpp", 'if (!(rest == ":" || rest == ":\\\\") || !DriveExists(drive)) {',
     "if (!DriveExists(drive)) {", [DISK]),
    ("app/CommandLine.cpp",
     "if (i + 1 >= args.size() || args[i + 1].empty() || !request.speedDrive.empty()) {",
     "if (i + 1 >= args.size() || args[i + 1].empty()) {", [DISK, APP]),
    ("app/CommandLine.cpp",
     'if (!(rest.empty() || rest == ":" || rest == ":\\\\" || rest == ":/") || !DriveExists(drive)) {',
     "if (!DriveExists(drive)) {", [DISK, APP]),
    ("app/CommandLine.cpp", "request.wipe.type != 0 || request.wipe.passes != 0;",
     "request.wipe.type != 0;", [DISK, APP]),

    # Drive sizes and the speed test.
    ("disk/DiskProc.cpp", "return count.high * 4294967296.0 + low;",
     "return count.high * 4294967295.0 + low;", [DISK]),
    ("disk/DiskProc.cpp",
     "if (type == platform::kDriveFixed || type == platform::kDriveRamDisk) return true;",
     "if (type == platform::kDriveFixed) return true;", [DISK]),
    ("disk/DiskProc.cpp", "return (platform::Drive().LogicalDriveMask() >> (letter - 'A')) & 1u;",
     "return (platform::Drive().LogicalDriveMask() >> (letter - 'B')) & 1u;", [DISK]),
    ("disk/PurgeSpeedTest.cpp", "constexpr std::int32_t kTestBytes = 1048576;",
     "constexpr std::int32_t kTestBytes = 1000000;", [DISK]),
    ("disk/PurgeSpeedTest.cpp", "if (floppy) t = t * 1024 / 100;",
     "if (floppy) t = t * 1000 / 100;", [DISK]),

    # The purge library's and the overwriter's identity checks.
    ("torvix/purge_target.cpp",
     "    if (facts.kind != FileKind::kRegular) return kPurgeCannotOpen;\n", "", [TORVIX]),
    ("veldran/posix/PosixFileSystem.cpp",
     "            !SameFile(named, identity_)) {\n            return false;",
     "            false) {\n            return false;", [VELDRAN]),
]

FAULTS += [
    # The wipe's branches of the run.
    ("disk/DiskWipe.cpp", "return !(options_.unattended && excluded.intRefusals > 0);",
     "return true;", [DISK]),
    ("disk/DiskWipe.cpp", "    run_.blnDoNotDeletePurgedFiles = false;\n", "", [DISK]),
    ("disk/DiskWipe.cpp", "excluded.chkKeepTopFiles.Value() != 0 ? IsDummyName : nullptr);",
     "nullptr);", [DISK]),
    ("disk/DiskWipe.cpp", "    if (filled_) fill_.DeleteDummyFilesLeft();\n", "", [DISK]),
    ("purge/frmReportPurge.cpp",
     "run_.blnKeepTopFiles && IsDriveRoot(folder);", "run_.blnKeepTopFiles;", [DISK]),
    ("purge/frmReportPurge.cpp",
     "(keepingTopFiles && !(run_.fillWrote && run_.fillWrote(entry.identity)))) {",
     "(keepingTopFiles && false)) {", [DISK]),
    ("purge/frmReportPurge.cpp", "    census->NameRemoved(entry.identity);\n", "", [DISK]),

    # The census of hard links.
    ("disk/WipeHardLinks.cpp",
     "if (entry.links < 2 || (atRoot && takeAtRoot_ && !takeAtRoot_(entry.name))) continue;",
     "if (entry.links < 2 || (takeAtRoot_ && !takeAtRoot_(entry.name))) continue;", [DISK]),
    ("disk/WipeHardLinks.cpp", "if (excluded.SameObjectAs(folder.Identity())) return false;", "",
     [DISK]),
    ("disk/WipeHardLinks.cpp", "return links > 1 ? Step::RemoveThisName : Step::PurgeLastName;",
     "return Step::PurgeLastName;", [DISK]),

    # The fill, its reserve and the leftovers record.
    ("disk/frmFillDisk.cpp", "        if (partialKept_ && i + 1 == written_.size()) continue;\n",
     "", [DISK]),
    ("disk/frmFillDisk.cpp", "        if (!record || !RecordReserve(*record)) return;",
     "        if (!record) return;\n        RecordReserve(*record);", [DISK]),
    ("disk/frmFillDisk.cpp",
     "if (!record_.empty() && platform::Reserves().Restore(record_)) ForgetReserve(record_);",
     "if (!record_.empty()) ForgetReserve(record_);", [DISK]),
    ("disk/frmFillDisk.cpp",
     "const double target = dblFreeSpace + (reserve ? double(reserve->Bytes()) : 0);",
     "const double target = dblFreeSpace;", [DISK]),
    ("disk/frmFillDisk.cpp", "if (failure.fileFull && bytes_ > 0) return FinishFile(file);",
     "if (failure.fileFull) return FinishFile(file);", [DISK]),
    ("disk/frmFillDisk.cpp", "if (failure.fileFull && bytes_ > 0) return FinishFile(file);",
     "", [DISK]),
    ("disk/DiskWipe.cpp", "fill_.blnOwnNoMetadata = wholeClusters;", "", [DISK]),
    ("platform/posix/PosixNewFiles.cpp", "std::uint64_t(kExtentsInInode - extents) * cluster;",
     "std::uint64_t(kExtentsInInode + 1 - extents) * cluster;", [DISK]),
    ("platform/posix/PosixReservedSpace.cpp", "return record->oldReserve * record->unitBytes;",
     "return record->oldReserve;", [DISK]),
    ("disk/FillLeftovers.cpp",
     "    std::erase_if(record.reserves,\n"
     "                  [](const std::string& reserve) { return platform::Reserves().Restore(reserve); });\n",
     "", [DISK, APP]),
    ("disk/FillLeftovers.cpp",
     "!now->identity.SameObjectAs(file.identity) || now->size > frmFillDisk::kDummyFileBytes) {",
     "now->size > frmFillDisk::kDummyFileBytes) {", [DISK, APP]),
    ("disk/FillLeftovers.cpp",
     'return path.find_first_not_of("0123456789", 2 + prefix.size()) == std::string::npos;',
     "return true;", [DISK, APP]),
]

FAULTS += [
    # XFS's reserve pool: lowered for the fill, given in bytes, recorded
    # as it was, only ever raised back; the dummy files written through.
    ("platform/posix/PosixReservedSpace.cpp",
     "return lowered ? record.oldReserve * record.unitBytes : 0;",
     "return lowered ? record.oldReserve : 0;", [DISK]),
    ("platform/posix/PosixReservedSpace.cpp",
     '        if (record->kind == "xfs") return LowerXfs(*record);\n', "", [DISK]),
    ("platform/posix/PosixReservedSpace.cpp",
     "now && (*now >= record.oldReserve || SetXfsReservePool(fd, record.oldReserve));",
     "now && SetXfsReservePool(fd, record.oldReserve);", [DISK]),
    ("platform/posix/PosixReservedSpace.cpp", "<< BootId() << ' ' << *pool << ' ' << block;",
     "<< BootId() << ' ' << block << ' ' << *pool;", [DISK]),
    ("disk/frmFillDisk.cpp", "writeThrough_ = reserve && reserve->Bytes() > 0;",
     "writeThrough_ = false;", [DISK]),
    ("disk/frmFillDisk.cpp",
     "        if (!record || !RecordReserve(*record)) return;\n"
     "        record_ = *record;\n"
     "        bytes_ = platform::Reserves().Lower(record_);",
     "        if (!record) return;\n"
     "        bytes_ = platform::Reserves().Lower(*record);\n"
     "        if (!RecordReserve(*record)) return;\n"
     "        record_ = *record;", [DISK]),

    # The space out of the fill's reach.
    ("platform/posix/XfsSpace.cpp",
     "if ((last->fmr_flags & FMR_OF_SPECIAL_OWNER) && last->fmr_owner == FMR_OWN_FREE) {",
     "if (last->fmr_flags & FMR_OF_SPECIAL_OWNER) {", [DISK]),
    ("platform/posix/PosixReservedSpace.cpp", "return std::uint64_t(space.f_bfree) *",
     "return std::uint64_t(space.f_bavail) *", [DISK]),

    # The unit a file system allocates in.
    ("platform/posix/AllocationUnit.cpp",
     "const std::uint32_t logCluster = Little32(block + 0x1C);",
     "const std::uint32_t logCluster = Little32(block + 0x18);", [DISK]),

    # The held drive and the folders to keep found below it.
    ("disk/frmFillDisk.cpp", "if (held_ && platform::DriveLetterOf(strDrive) == heldLetter_) {",
     "if (held_ && platform::DriveLetterOf(strDrive) != heldLetter_) {", [DISK]),
    ("disk/FolderOnDrive.cpp", "if (!entry || entry->kind != platform::EntryKind::Folder) {",
     "if (!entry) {", [DISK]),
    ("disk/FolderOnDrive.cpp", "    found.identity = root.Identity();\n", "", [DISK]),

    # A walk's levels closed above and opened again through "..".
    ("platform/posix/PosixFolderHandle.cpp",
     "    if (parent && !(parent->Identity() == expected)) {",
     "    if (false) {", [PURGE]),
    ("purge/FolderTrail.cpp", "    if (back.dir == nullptr && left) {",
     "    if (back.dir == nullptr) {", [PURGE]),
    ("purge/FolderTrail.cpp", "    path_.resize(back.pathLength);\n", "", [PURGE]),

    # The record of unfinished fills.
    ("disk/FillLeftovers.cpp", "    WriteRecord(record);\n    return record.files;",
     "    return record.files;", [DISK, APP]),
    ("disk/FillLeftovers.cpp", "    file.size = now->size;\n", "", [DISK, APP]),
    ("disk/FillLeftovers.cpp",
     "if (!native_files::FileExists(RecordPathToRead()) || !Distrust().empty()) return record;",
     "if (!native_files::FileExists(RecordPathToRead())) return record;", [DISK, APP]),
    ("disk/FillLeftovers.cpp",
     "        for (const auto& file : leftovers) ForgetDummyFile(file.path);\n", "",
     [DISK, APP]),

    # A field of a run's value that its builder leaves out or the run ignores.
    ("app/WindowRun.cpp", "    run.blnConfirmFiles = selection.blnConfirmFiles;\n", "", [PURGE]),
    ("app/CommandLineSelection.cpp",
     "    selection.blnConfirmFiles = record.confirmationFlag != 0;\n", "", [APP]),
    ("app/CommandLineSelection.cpp",
     "selection.blnSubdirectories = subfolders > 0 && record.subfolderFlag != 0;",
     "selection.blnSubdirectories = subfolders > 0;", [APP]),
    ("purge/frmReportListing.cpp", "const bool subdirectories = run_.blnSubdirectories;",
     "const bool subdirectories = PurgeRun().blnSubdirectories;", [PURGE]),
    ("purge/frmReportPurge.cpp", "if (!run_.blnDeleteEmptyFolders || !sub) return true;",
     "if (!PurgeRun().blnDeleteEmptyFolders || !sub) return true;", [PURGE]),
    ("disk/DiskWipe.cpp", "    run_.blnFolderNamesOnly = true;\n", "", [DISK]),

    # The command line's own values where the main window's used to be.
    ("app/CommandLine.cpp", "    selection.sngPurgeSpeed = session.speeds;\n", "", [DISK]),
    ("app/CommandLineHosts.h", "    void RunGoing(bool going) override { runGoing_ = going; }",
     "    void RunGoing(bool) override {}", [DISK]),
    ("app/CommandLineWipe.cpp",
     "    ApplySetupChoices(nextRun.record, type, nextRunBoxes);\n", "", [DISK]),

    # The purge type kept as a value, ignored where a run or a setup takes it.
    ("app/CommandLineHosts.cpp",
     "    return RunOfSelection(Selection{}, type_, PurgeOptions{});",
     "    return RunOfSelection(Selection{}, PurgeTypeChoice{}, PurgeOptions{});",
     [DISK]),
    ("app/CommandLineWipe.cpp", "    if (request.type > 0) type.purgeType = request.type - 1;\n",
     "", [DISK]),
    ("app/CommandLine.cpp",
     "        ListSelection(selection, type, session.Windows(), session.productName);",
     "        ListSelection(selection, PurgeTypeChoice{}, session.Windows(), session.productName);",
     [APP]),
    ("app/SelectionRuns.cpp",
     "    PurgeRun run = RunOfSelection(selection, type, confirmation.Confirmed());",
     "    PurgeRun run = RunOfSelection(selection, PurgeTypeChoice{}, confirmation.Confirmed());",
     [APP]),
    ("app/PurgeTypeChoice.cpp", "choice.passes >= kMinPasses &&", "choice.passes >= 0 &&", [APP]),
    ("app/frmMainSetup.cpp", "    if (IsOffered(stored)) type = stored;", "    type = stored;",
     [APP]),

    # The purge confirmation's options as a value, ignored where the
    # dialog is set from it or where a setup stores it.
    ("app/SelectionRuns.cpp", "    confirmation.SetBoxes(boxes);\n", "", [APP]),
    ("purge/frmPurgeConfirmation.cpp",
     "    chkOKToPurgeSensitiveFiles.SetValue(boxes.blnOKToPurgeSensitiveFiles ? 1 : 0);\n", "",
     [APP]),
    ("purge/frmPurgeConfirmation.cpp",
     "    boxes.blnDoNotDeletePurgedFiles = chkDoNotDeletePurgedFiles.Value() != 0;\n", "",
     [APP]),
    ("app/frmMainSetup.cpp", "    &PurgeOptions::blnFolderNamesOnly,\n    &PurgeOptions::blnDeleteEmptyFolders};",
     "    &PurgeOptions::blnDeleteEmptyFolders,\n    &PurgeOptions::blnFolderNamesOnly};", [APP]),
    ("disk/DiskWipe.cpp",
     "    if (clusterSize < 512) clusterSize = EstimateClusterSize(std::string(1, L_));\n", "",
     [DISK]),

    # A step of the shared listing and purge that a window adds, skipped.
    ("app/SelectionRuns.cpp", "    selection.lngClusterSizeByDrive = clusterSizes;\n", "", [APP, PURGE]),
    ("app/SelectionRuns.cpp", "    steps.Begin();\n    frmReport& report = windows.Report();\n",
     "    frmReport& report = windows.Report();\n", [APP]),

    # The names pass: how much of the log it writes.
    ("disk/NamesPass.cpp",
     "target_ = loggedAtStart_ ? logBytes / 8 * kLogEighthsWhenCounted : kLogTimes * logBytes;",
     "target_ = loggedAtStart_ ? logBytes / 8 * 4 : kLogTimes * logBytes;", [DISK]),

    # A wipe's kept folder not known as kept.
    ("purge/PurgeRun.h", "        if (kept.SameObjectAs(folder)) return true;\n", "", [PURGE, DISK]),

    # Stream keys drawn from a source's own keystream: each one new.
    ("torvix/crypto_random.cpp",
     "ok = ok && gcry_cipher_encrypt(seeds_, drawn, sizeof drawn, nullptr, 0) == 0 &&",
     "ok = ok &&", [TORVIX]),
]
