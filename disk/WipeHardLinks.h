// Hard links in a disk wipe. A normal purge keeps a file with several names
// whole, since another name may lie outside the selection. A wipe selects
// the whole drive less its excluded folders, so a file whose names all lie
// in the wiped part must be purged like any other, or its data would
// outlive the wipe; a file with a name anywhere else (an excluded folder, a
// top-level file that is kept, a folder the wipe cannot read, outside the
// drive) stays whole.
//
// Before the run the wipe counts, for each file with more than one name,
// the names that the run will meet. The run then removes each name but the
// last while the file still has exactly the names counted, and purges the
// file under its last name.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/FolderHandle.h"
#include "purge/FolderTrail.h"

class HardLinkCensus {
  public:
    // Counts the names in the folder and its subfolders, the way the run
    // walks them: real subfolders on the same mount, none of the excluded
    // ones; at the root only names that takeAtRoot accepts.
    void CountTree(platform::FolderHandle& root,
                   const std::vector<platform::FileIdentity>& excluded,
                   bool (*takeAtRoot)(const std::string& name));

    // What the run does with a file it meets that has `links` names now.
    enum class Step { KeepWhole, RemoveThisName, PurgeLastName };
    Step StepFor(const platform::FileIdentity& file, std::uint32_t links) const;
    // The run removed one name of the file.
    void NameRemoved(const platform::FileIdentity& file);

  private:
    // Counts the names in the folder just entered, whose entries it keeps
    // in its level; false when the run would not enter it.
    bool CountFolder(FolderTrail::Level& level, bool atRoot);

    std::vector<platform::FileIdentity> excluded_;
    bool (*takeAtRoot_)(const std::string&) = nullptr;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::uint32_t> namesInWipe_;
};

// The census of the wipe in progress; null outside a wipe's run.
HardLinkCensus* WipeLinkCensus();
void SetWipeLinkCensus(std::unique_ptr<HardLinkCensus> census);
