// The numbers statfs gives as a file system's type (f_type), for the file
// systems the program tells apart, each spelled once. Ext2, ext3 and ext4
// share theirs, which is also the magic of their superblock on the disk.
#pragma once

namespace platform {

constexpr long kExt4Magic = 0xEF53;
constexpr long kVfatMagic = 0x4D44;
constexpr long kNtfsMagic = 0x5346544E;
constexpr long kExfatMagic = 0x2011BAB0;
constexpr long kBtrfsMagic = 0x9123683E;
constexpr long kXfsMagic = 0x58465342;  // "XFSB"
constexpr long kF2fsMagic = 0xF2F52010;
constexpr long kTmpfsMagic = 0x01021994;
constexpr long kRamfsMagic = 0x858458F6;
constexpr long kNfsMagic = 0x6969;
constexpr long kCifsMagic = 0xFF534D42;
constexpr long kSmb2Magic = 0xFE534D42;
constexpr long kIso9660Magic = 0x9660;
constexpr long kUdfMagic = 0x15013346;
constexpr long kFuseMagic = 0x65735546;
constexpr long kOverlayMagic = 0x794C7630;
constexpr long kSquashfsMagic = 0x73717368;

}  // namespace platform
