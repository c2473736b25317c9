#pragma once
// InstanceChannel: the running receiver's side of its one-instance rule. It
// listens on the local socket in the runtime folder (InstanceSocketPath) and
// answers "ok" to each command a second start hands over
// (HandToRunningInstance, remote/instance_handover.h), then acts on it from the
// event loop. A socket left behind by an instance that died is taken over.
#include <QLocalServer>
#include <QObject>
#include <QString>

#include "remote/receiver_settings.h"

namespace brevora::remote::app {

class InstanceChannel : public QObject {
  Q_OBJECT

 public:
  // The socket of this user's instance, as InstanceSocketPath gives it.
  static QString SocketPath();

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
