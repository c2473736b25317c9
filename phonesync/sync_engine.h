#pragma once
// BVSyncEngine ("BVSync.BVSyncEngine"): the phone sync engine. It holds its
// conduits, in order, keyed by their ids, and owns them for its life.
// Synchronize creates the connectivity Session ("TabulynPC.Session", by
// ProgID, late-bound) and runs Init, Sync and Cleanup of each conduit in turn;
// a conduit that ends with an error text has it shown in a message box titled
// "Error Synchronizing", and the next conduit still runs. Any other failure
// shows its description, CR LF, "Error Synchronizing" under the default title.
// Nothing reaches the caller.
//
// Late-bound: Synchronize(User, Direction, callback), Install(sFile).
#include <memory>
#include <string>
#include <vector>

#include "phonesync/bvsync_engine.h"
#include "phonesync/ibvsync.h"
#include "phonesync/send_to_picker.h"
#include "platform/automation/collection.h"

namespace brevora::bvsync {

class BVSyncEngine : public IBVSyncEngine {
 public:
  static constexpr const char* kSessionProgId = "TabulynPC.Session";
  static const MemberTable<BVSyncEngine>& Members();

  // One presentation conduit that asks `picker` for the send target.
  explicit BVSyncEngine(std::shared_ptr<SendToPicker> picker);
  // The given conduits, in this order (a duplicate id raises 457); `picker`
  // serves Install.
  BVSyncEngine(std::shared_ptr<SendToPicker> picker, std::vector<Ref<IBVSync>> conduits);

  void Synchronize(const std::string& user, SyncDir direction,
                   const Ref<ISyncProgress>& callback) override;
  void Install(const std::string& file) override;

  Variant Invoke(std::string_view name, CallKind kind, Args args) override;

  const Collection<Ref<IBVSync>>& Conduits() const { return conduits_; }

 protected:
  ~BVSyncEngine() override;

 private:
  std::shared_ptr<SendToPicker> picker_;
  Collection<Ref<IBVSync>> conduits_;
};

}  // namespace brevora::bvsync
