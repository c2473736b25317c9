#pragma once
// The receiver's one instance per user, as far as it needs no Qt and no
// display: the lock that makes "is one running?" and "now I run" one step, and
// the hand-over of a start's command ("start", "stop", "show") to the running
// instance over its socket in the runtime folder. A second start hands its
// command over and ends, so "-stop" works where no display is. The running
// instance's side of the socket is the window's (app/instance_channel.h).
#include <chrono>
#include <string>

#include "remote/receiver_settings.h"

namespace brevora::remote {

// An exclusive lock on "vantapc.lock" in the runtime folder, held from before
// the hand-over until the new instance listens. The kernel drops it when the
// process dies.
class InstanceLock {
 public:
  // Waits for the lock.
  InstanceLock();
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  void Release();

 private:
  int fd_ = -1;
};

// The socket of this user's instance: "vantapc.socket" in the runtime folder
// (a Linux path).
std::string InstanceSocketPath();

enum class Handover {
  kTaken,        // the running instance answered "ok"
  kNoneRunning,  // nothing listens there: no socket, or one left behind by an instance that died
  kNoAnswer,     // an instance took the connection but gave no "ok" within a few seconds
};

// Hands `action` to the instance listening at `socketPath`, waiting at most
// `answerTimeout` for its answer.
Handover HandToRunningInstance(const std::string& socketPath, StartupAction action,
                               std::chrono::milliseconds answerTimeout = std::chrono::seconds(5));

}  // namespace brevora::remote
