#include "phonesync/ibvsync.h"

namespace brevora::bvsync {

IBVSync::~IBVSync() = default;

bool IBVSync::Init(const std::string&, SyncDir, const Ref<Dispatch>&, const Ref<ISyncProgress>&) {
  return false;
}

bool IBVSync::Sync() { return false; }

void IBVSync::Cleanup() {}

}  // namespace brevora::bvsync
