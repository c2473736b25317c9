#pragma once
// Application: the application object ("TabulynPC.TabrelPC", frontend/TabrelPC)
// as the layers below it use it. It is built above them, so they create it
// through the class registry (NewApplication) and call it through this
// interface; its late-bound members are TabrelPC's.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/dispatch.h"
#include "platform/automation/object.h"

namespace brevora::core {

class Session;

class Application : public Dispatch {
 public:
  static constexpr const char* kProgId = "TabulynPC.TabrelPC";

  // The Session it works on; null when the module could not start.
  virtual const Ref<core::Session>& Session() const = 0;
  virtual void SetSession(Ref<core::Session> session) = 0;

  // "Brevora Server" in RivorOdurov mode, else "Brevora Desktop".
  virtual std::string ApplicationTitle() const = 0;
  // A non-empty name selects that user as the Session's current user; errors are
  // not reported; the result is always false.
  virtual bool SetCurrentUser(std::string_view userName) = 0;
  // Sets the Session's file mode (0, 1 or 2; others raise 32760).
  virtual bool SetFileMode(int16_t fileMode) = 0;
  // The base folder of the current user's files for the Session's file mode,
  // ending with a separator.
  virtual std::string HomeDirectory() const = 0;

 protected:
  ~Application() override;
};

// A new application object on the thread's global Session: 429 when the
// application object's class is not available.
Ref<Application> NewApplication();

}  // namespace brevora::core
