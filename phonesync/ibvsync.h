#pragma once
// IBVSync: the contract between the phone sync engine and one of its conduits
// (one kind of file sent to the phone). A run is Init, then Sync when Init said
// true, then Cleanup. A conduit that ends a run with false and a non-empty
// ErrorDesc has the engine show that text; false with an empty text shows
// nothing (nothing to do, or the user cancelled).
//
// The default bodies keep the three texts and do nothing else: Init and Sync
// say false.
#include <string>

#include "phonesync/bvsync_engine.h"
#include "platform/automation/object.h"

namespace brevora::bvsync {

class IBVSync : public Object {
 public:
  // The error text collected by the conduit.
  const std::string& ErrorDesc() const { return errorDesc_; }
  void SetErrorDesc(std::string text) { errorDesc_ = std::move(text); }
  // The human-readable name of the conduit.
  const std::string& Description() const { return description_; }
  void SetDescription(std::string text) { description_ = std::move(text); }
  // The conduit's key in the engine's collection.
  const std::string& id() const { return id_; }
  void SetId(std::string text) { id_ = std::move(text); }

  // Prepares a run for the device user `userName`; `core` is the
  // connectivity Session, reached late-bound.
  virtual bool Init(const std::string& userName, SyncDir direction, const Ref<Dispatch>& core,
                    const Ref<ISyncProgress>& progress);
  // Transfers what Init gathered.
  virtual bool Sync();
  // Ends the run.
  virtual void Cleanup();

 protected:
  ~IBVSync() override;

 private:
  std::string errorDesc_;
  std::string description_;
  std::string id_;
};

}  // namespace brevora::bvsync
