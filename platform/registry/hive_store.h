#pragma once
// Where each hive lives and how several processes share it. A hive is the file
// <ConfigDir>/registry/<HKEY_...>.reg. Readers take no lock: the file is only
// ever replaced by rename, so a reader sees the old or the new file whole. The
// last parsed tree is kept per hive and reused while the file is the same one
// (same device, inode, size and time); the cache holds the file open, so its
// inode can't be reused by a later file. Writers lock <hive>.reg.lock with an
// exclusive flock, read the file afresh, change the tree and write it through a
// temporary file + rename (skipped when nothing changed); under the lock they
// also remove temporary files that a crashed writer left behind.
#include <functional>
#include <memory>
#include <string>

#include "platform/registry/key_tree.h"
#include "platform/registry/registry.h"

namespace brevora::registry {

// The hive file's system path.
std::string HiveFilePath(Hive hive);

// The hive as it is on disk now (an empty root when it has no file yet).
std::shared_ptr<const KeyNode> ReadHive(Hive hive);

// Runs `change` on the current tree under the hive's lock and stores the result.
void UpdateHive(Hive hive, const std::function<void(KeyNode&)>& change);

}  // namespace brevora::registry
