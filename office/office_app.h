#pragma once
// OfficeApp: the Office application a converter runs its macros in, and the
// promise to hand it back the right way on every path.
//
// AcquireOfficeApplication("Excel.Application", serverMode):
//   - server mode: asks the thread's server pool, GetServer(progId), and takes the
//     entry's ServerObject (no pool: 91);
//   - otherwise attaches to the running application of that ProgID, or, when none
//     runs, creates one (none can be created: 429).
// The holder ends the use by where the application came from, never by the
// Session's mode at that later moment: a pool entry gets ReleaseServer (a pool
// application is never quit), an application we started gets Quit, one we
// attached to is left running. Release() does it on the normal path and raises
// its errors; the destructor does it on every other path and swallows them, since
// an error is already on its way out.
#include <string_view>

#include "platform/automation/dispatch.h"
#include "platform/automation/object.h"

namespace brevora::office {

enum class OfficeAppOrigin { Attached, Started, Pool };

class OfficeApp {
 public:
  OfficeApp(OfficeApp&& other) noexcept;
  OfficeApp& operator=(OfficeApp&&) = delete;
  OfficeApp(const OfficeApp&) = delete;
  OfficeApp& operator=(const OfficeApp&) = delete;
  ~OfficeApp();

  // The application object; null after Release().
  const Ref<Dispatch>& App() const { return app_; }
  OfficeAppOrigin Origin() const { return origin_; }
  // True when we attached to an application that was already running.
  bool WasAlreadyRunning() const { return origin_ == OfficeAppOrigin::Attached; }

  // Hands the application back now (ReleaseServer, Quit or nothing) and drops
  // both references. Runs at most once; raises what the call raises.
  void Release();
  // Ends the use on a path where the user goes on working in the application
  // (a document opened for them): it is never quit, whatever its origin; a pool
  // entry is still given back (ReleaseServer). Runs at most once.
  void LeaveRunning();

 private:
  friend OfficeApp AcquireOfficeApplication(std::string_view progId, bool serverMode);
  explicit OfficeApp(OfficeAppOrigin origin) : origin_(origin) {}

  OfficeAppOrigin origin_;
  Ref<Dispatch> app_;
  Ref<Dispatch> entry_;  // the pool entry (Pool only)
  bool done_ = false;
};

OfficeApp AcquireOfficeApplication(std::string_view progId, bool serverMode);

}  // namespace brevora::office
