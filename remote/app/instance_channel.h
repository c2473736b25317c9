#pragma once
// InstanceChannel: keeps the receiver to one instance per user. The running
// instance listens on a local socket in the runtime folder; a second start
// connects, hands over its command ("start", "stop", "show") and exits. A
// socket left behind by an instance that died is taken over. InstanceLock
// makes the look-up and the listening one step, so two instances started at
// the same moment never both listen.
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <optional>

#include "remote/receiver_settings.h"

namespace brevora::remote::app {

class InstanceLock {
 public:
  // Waits for the lock file "vantapc.lock" in the runtime folder.
  InstanceLock();
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  void Release();

 private:
  int fd_ = -1;
};

class InstanceChannel : public QObject {
  Q_OBJECT

 public:
  // The socket of this user's instance: "vantapc.socket" in the runtime folder.
  static QString SocketPath();
  // Hands `action` to the running instance at `path`; true when one took it.
  static bool Send(const QString& path, StartupAction action);

  explicit InstanceChannel(QObject* parent = nullptr);
  // Listens at `path`, taking over a socket no instance answers on.
  bool Listen(const QString& path);

 signals:
  void commandReceived(brevora::remote::StartupAction action);

 private:
  void Accept();
  QLocalServer server_;
};

}  // namespace brevora::remote::app
