// The Win32 layers where Windows differs from POSIX: reparse points,
// stream names, the read-only attribute, drive answers.
#include <gtest/gtest.h>

#include <vector>

#include "platform/DriveInfo.h"
#include "platform/DrivePaths.h"
#include "platform/FileSystem.h"
#include "platform/NewFiles.h"
#include "platform/win32/WideText.h"
#include "tests/testsupport/TempDrive.h"
// After <windows.h>, which it needs.
#include <winioctl.h>

namespace {

using platform::EntryKind;

// The layout of a mount-point reparse buffer (a junction).
struct JunctionBuffer {
    DWORD ReparseTag;
    WORD ReparseDataLength;
    WORD Reserved;
    WORD SubstituteNameOffset;
    WORD SubstituteNameLength;
    WORD PrintNameOffset;
    WORD PrintNameLength;
    WCHAR PathBuffer[1];
};

// Makes the empty folder `link` a junction to `target`; false where the
// system cannot.
bool MakeJunction(const std::string& link, const std::string& target) {
    if (!::CreateDirectoryW(platform::Widened(link).c_str(), nullptr)) return false;
    platform::OwnedHandle folder(
        ::CreateFileW(platform::Widened(link).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!folder.Valid()) return false;
    const std::wstring substitute = L"\\??\\" + platform::Widened(target);
    const std::size_t bytes = (substitute.size() + 2) * sizeof(wchar_t);
    std::vector<char> buffer(sizeof(JunctionBuffer) + bytes);
    auto* data = reinterpret_cast<JunctionBuffer*>(buffer.data());
    data->ReparseTag = IO_REPARSE_TAG_MOUNT_POINT;
    data->SubstituteNameLength = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    data->PrintNameOffset = static_cast<WORD>(data->SubstituteNameLength + sizeof(wchar_t));
    data->ReparseDataLength = static_cast<WORD>(8 + bytes);
    substitute.copy(data->PathBuffer, substitute.size());
    DWORD returned = 0;
    return ::DeviceIoControl(folder.Get(), FSCTL_SET_REPARSE_POINT, data,
                             static_cast<DWORD>(8 + data->ReparseDataLength), nullptr, 0, &returned,
                             nullptr) != 0;
}

DWORD AttributesOf(const std::string& native) {
    return ::GetFileAttributesW(platform::Widened(native).c_str());
}

TEST(Win32Layers, DrivePathsMapToWindowsFoldersBothWays) {
    const platform::DriveTable saved = platform::Drives();
    platform::SetDrives(platform::DriveTable::FromSpec("C=Z:\\tmp\\x\\;D=D:\\"));
    EXPECT_EQ(platform::ToNativePath("C:\\a\\b"), "Z:\\tmp\\x\\a\\b");
    EXPECT_EQ(platform::ToNativePath("c:/a/../b"), "Z:\\tmp\\x\\b");
    EXPECT_EQ(platform::ToNativePath("C:\\"), "Z:\\tmp\\x");
    EXPECT_EQ(platform::ToNativePath("D:"), "D:\\");
    EXPECT_EQ(platform::ToNativePath("D:\\a"), "D:\\a");
    EXPECT_EQ(platform::ToDrivePath("Z:\\tmp\\x\\a\\b"), "C:\\a\\b");
    EXPECT_EQ(platform::ToDrivePath("Z:\\tmp\\x"), "C:\\");
    EXPECT_FALSE(platform::ToDrivePath("Z:\\tmp\\xy"));
    EXPECT_EQ(platform::ToDrivePath("D:\\"), "D:\\");
    EXPECT_EQ(platform::ToDrivePath("D:\\a\\b"), "D:\\a\\b");
    platform::SetDrives(saved);
}

TEST(Win32Layers, AJunctionIsReportedAsALinkAndNeverEntered) {
    testing_support::TempDrives drives("C");
    drives.WriteFile("C:\\outside\\secret.txt", "x");
    drives.MakeFolder("C:\\tree");
    if (!MakeJunction(drives.Native("C:\\tree\\j"), drives.Native("C:\\outside"))) {
        GTEST_SKIP() << "this system makes no junctions";
    }
    auto& fs = platform::Files();
    EXPECT_EQ(fs.KindOf("C:\\tree\\j"), EntryKind::SymbolicLink);
    EXPECT_FALSE(fs.OpenFolder("C:\\tree\\j"));
    EXPECT_FALSE(fs.FileExists("C:\\tree\\j\\secret.txt"));
    auto tree = fs.OpenFolder("C:\\tree");
    ASSERT_TRUE(tree);
    auto seen = tree->Look("j");
    ASSERT_TRUE(seen);
    EXPECT_FALSE(tree->OpenSubfolder("j", seen->identity));
}

TEST(Win32Layers, NamesThatWouldReachAStreamOrAnotherFolderAreRefused) {
    testing_support::TempDrives drives("C");
    drives.WriteFile("C:\\d\\f.txt", "data");
    auto folder = platform::Files().OpenFolder("C:\\d");
    ASSERT_TRUE(folder);
    for (const char* name : {"f.txt:hidden", "f.txt::$DATA", "..\\d", "sub/f.txt", "", "."}) {
        EXPECT_FALSE(folder->Look(name)) << name;
    }
    platform::FileFailure failure;
    EXPECT_FALSE(platform::TheNewFiles().Create(*folder, "f.txt:stream", failure));
    auto taken = platform::TheNewFiles().Create(*folder, "f.txt", failure);
    EXPECT_FALSE(taken);
    EXPECT_TRUE(failure.nameTaken);
    EXPECT_EQ(drives.ReadFile("C:\\d\\f.txt"), "data");
}

TEST(Win32Layers, ReadOnlyIsTheAttributeAndClearingItKeepsTheOthers) {
    testing_support::TempDrives drives("C");
    drives.WriteFile("C:\\f.txt", "x");
    const std::string native = drives.Native("C:\\f.txt");
    ASSERT_TRUE(::SetFileAttributesW(platform::Widened(native).c_str(), FILE_ATTRIBUTE_HIDDEN));
    auto& fs = platform::Files();
    ASSERT_TRUE(fs.SetReadOnly("C:\\f.txt", true));
    EXPECT_TRUE(AttributesOf(native) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(fs.Attributes("C:\\f.txt")->readOnly);
    ASSERT_TRUE(fs.SetReadOnly("C:\\f.txt", false));
    EXPECT_FALSE(AttributesOf(native) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(AttributesOf(native) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(fs.Attributes("C:\\f.txt")->readOnly);
}

TEST(Win32Layers, DrivesAnswerForMappedLettersOnly) {
    testing_support::TempDrives drives("C");
    auto& info = platform::Drive();
    EXPECT_EQ(info.LogicalDriveMask(), 1u << ('C' - 'A'));
    EXPECT_EQ(info.DriveType("Q:\\"), platform::kDriveNoRootDir);
    platform::DriveObject q;
    EXPECT_EQ(info.GetDrive("Q:", q), platform::kErrorDeviceUnavailable);

    const int type = info.DriveType("C:\\");
    EXPECT_NE(type, platform::kDriveNoRootDir);
    EXPECT_NE(type, platform::kDriveUnknown);
    platform::DriveObject c;
    ASSERT_EQ(info.GetDrive("C:", c), 0);
    EXPECT_EQ(c.letter, 'C');
    EXPECT_FALSE(c.fileSystem.empty());
    EXPECT_GT(c.totalSize, 0);
    // The wipe's question names what holds the drive.
    EXPECT_GE(c.device.size(), 3u) << c.device;
    auto geometry = info.DiskFreeSpace("C:\\");
    ASSERT_TRUE(geometry);
    EXPECT_GE(geometry->sectorsPerCluster * geometry->bytesPerSector, 512u);
}

TEST(Win32Layers, AFolderIsRemovedOnlyWhileItIsTheOneThatWasSeen) {
    testing_support::TempDrives drives("C");
    drives.MakeFolder("C:\\d\\empty");
    auto folder = platform::Files().OpenFolder("C:\\d");
    ASSERT_TRUE(folder);
    auto seen = folder->Look("empty");
    ASSERT_TRUE(seen);
    // The folder seen moves away (kept, so its number is not reused) and
    // another takes its name.
    ASSERT_TRUE(::MoveFileW(platform::Widened(drives.Native("C:\\d\\empty")).c_str(),
                            platform::Widened(drives.Native("C:\\d\\moved")).c_str()));
    drives.MakeFolder("C:\\d\\empty");
    EXPECT_FALSE(folder->RemoveSubfolder("empty", seen->identity));
    EXPECT_TRUE(drives.Exists("C:\\d\\empty"));
    auto now = folder->Look("empty");
    ASSERT_TRUE(now);
    EXPECT_TRUE(folder->RemoveSubfolder("empty", now->identity));
    EXPECT_FALSE(drives.Exists("C:\\d\\empty"));
}

}  // namespace
