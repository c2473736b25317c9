#include "phonesync/sync_engine.h"

#include "phonesync/sync_slidora.h"
#include "platform/automation/class_registry.h"
#include "platform/error/error.h"
#include "platform/services/message_box.h"

namespace brevora::bvsync {
namespace {

constexpr const char* kErrorTitle = "Error Synchronizing";

// An error text begins with CR LF (each message is added after one); an
// error raised to a caller starts with its first message.
std::string WithoutLeadingLineBreak(const std::string& text) {
  return text.rfind("\r\n", 0) == 0 ? text.substr(2) : text;
}

// A late-bound caller's progress sink that is not this library's own
// ISyncProgress (the desktop window's): its Update is called by name, as a
// COM caller's sink answers through its interface.
class LateBoundProgress : public ISyncProgress {
 public:
  explicit LateBoundProgress(Ref<Dispatch> sink) : sink_(std::move(sink)) {}
  void Update(const std::string& message, int16_t percentage) override {
    CallByName(sink_, "Update", CallKind::Method, message, percentage);
  }

 private:
  Ref<Dispatch> sink_;
};

// The callback argument of Synchronize: Nothing, our own sink, or any object
// with an Update member.
Ref<ISyncProgress> ProgressArgument(const Variant& v) {
  if (v.IsObject() && !v.AsObject()) return nullptr;
  const Ref<Dispatch> object(&ObjectOf(v));
  if (Ref<ISyncProgress> own = RefCast<ISyncProgress>(object)) return own;
  return MakeRef<LateBoundProgress>(object);
}

}  // namespace

const MemberTable<BVSyncEngine>& BVSyncEngine::Members() {
  using E = BVSyncEngine;
  static const MemberTable<E> table{
      {"Synchronize", CallKind::Method,
       [](E& e, Args a) {
         e.Synchronize(CStr(a[0]), static_cast<SyncDir>(CLng(a[1])), ProgressArgument(a[2]));
       },
       3},
      {"Install", CallKind::Method, [](E& e, Args a) { e.Install(CStr(a[0])); }, 1}};
  return table;
}

BVSyncEngine::BVSyncEngine(std::shared_ptr<SendToPicker> picker)
    : BVSyncEngine(picker, {MakeRef<SyncSlidora>(picker)}) {}

BVSyncEngine::BVSyncEngine(std::shared_ptr<SendToPicker> picker, std::vector<Ref<IBVSync>> conduits)
    : picker_(std::move(picker)) {
  for (Ref<IBVSync>& conduit : conduits) {
    const std::string key = conduit->id();
    conduits_.Add(std::move(conduit), key);
  }
}

BVSyncEngine::~BVSyncEngine() = default;

Variant BVSyncEngine::Invoke(std::string_view name, CallKind kind, Args args) {
  return Members().Invoke(*this, name, kind, args);
}

void BVSyncEngine::Synchronize(const std::string& user, SyncDir direction,
                               const Ref<ISyncProgress>& callback) {
  try {
    const Ref<Dispatch> core = CreateObject(kSessionProgId);
    if (!core) RaiseError(380, "Synchronize", "Unable to create Tabrelpc.session");
    for (const Ref<IBVSync>& conduit : conduits_) {
      bool ok = conduit->Init(user, direction, core, callback);
      if (ok) ok = conduit->Sync();
      if (!ok && !conduit->ErrorDesc().empty()) {
        services::ShowMessage({conduit->ErrorDesc(), kErrorTitle, services::MsgButtons::Ok});
      }
      conduit->Cleanup();
    }
  } catch (...) {
    const AutomationError e = CurrentError();
    services::ShowMessage({e.description() + "\r\n" + kErrorTitle, "", services::MsgButtons::Ok});
  }
}

void BVSyncEngine::Install(const std::string& file) {
  const Ref<SyncSlidora> conduit = MakeRef<SyncSlidora>(picker_);
  conduit->Install(file);
  if (!conduit->ErrorDesc().empty()) {
    RaiseError(kWrapError, "BVSyncEngine.Install", WithoutLeadingLineBreak(conduit->ErrorDesc()));
  }
}

}  // namespace brevora::bvsync
