#pragma once
// Compare: the decision for every product file of a run, as a pure function
// over the collected entries. Given the run mode, the prevail setting (0 the
// desktop wins a conflict, 1 the handheld), the slow flag and whether this is
// the first sync, each entry ends with its source flags (file_entry.h), or is
// dropped: nothing is done with it on either side.
//
// First, a handheld copy below the product's minimum version is never a
// source: its remote flag is cleared. Then by mode:
//   desktop overwrites handheld: remote cleared everywhere;
//   handheld overwrites desktop: local cleared everywhere;
//   synchronize: the first matching row of the table below.
//     1  server sync set                                   dropped, logged
//     2  both sides, neither modified, same category, slow (0,1)
//     3  both sides, neither modified, same category        dropped
//     4  both sides, both modified or moved, prevail 0      (1,0), logged
//     5  as 4, prevail 1                                    (0,1), logged
//     6  both sides, only the desktop modified              (1,0)
//     7  both sides, only the handheld modified             (0,1)
//     8  one side only, first sync                          unchanged: copied across
//     9  desktop only, not modified                         (0,0)
//    10  desktop only, modified                             (1,0)
//    11  handheld only, slow or modified                    (0,1)
//    12  handheld only, not modified, not slow              (0,0)
// An entry that would end with neither flag only because its handheld copy was
// too old is dropped instead: an old copy is left alone, not deleted.
// Categories are the same when equal without regard to case.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "conduit-framework/file_entry.h"
#include "conduit-framework/sync_state.h"

namespace brevora::conduit {

struct CompareSettings {
  SyncMode mode = SyncMode::Synchronize;
  int32_t prevail = 1;
  bool slow = false;
  bool firstSync = false;
  uint16_t minimumHandheldVersion = 0;
};

// Decides every entry of `entries` in place (dropped entries are erased) and
// returns the log lines of the decisions (without the product prefix).
std::vector<std::string> Compare(std::map<std::string, CFileEntry>& entries,
                                 const CompareSettings& settings);

}  // namespace brevora::conduit
