#include "remote/app/instance_channel.h"

#include <QLocalSocket>
#include <memory>

#include "remote/instance_handover.h"
#include "remote/instance_message.h"

namespace brevora::remote::app {

QString InstanceChannel::SocketPath() { return QString::fromStdString(InstanceSocketPath()); }

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &InstanceChannel::Accept);
}

bool InstanceChannel::Listen(const QString& path) {
  if (server_.listen(path)) return true;
  if (server_.serverError() != QAbstractSocket::AddressInUseError) return false;
  // Nobody answered on it (the caller asked first): a socket left behind.
  QLocalServer::removeServer(path);
  return server_.listen(path);
}

void InstanceChannel::Accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    auto reader = std::make_shared<InstanceMessageReader>();
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader] {
      const QByteArray bytes = socket->read(kMaxInstanceLine + 1);
      const auto state =
          reader->Feed(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
      if (state == InstanceMessageReader::State::kWaiting) return;
      if (state == InstanceMessageReader::State::kDone) {
        socket->write("ok\n");
        socket->flush();
        // Acted on from the event loop, once this socket's handler is done:
        // the command may open a message box whose loop deletes the socket.
        QMetaObject::invokeMethod(
            this, [this, command = *reader->Command()] { emit commandReceived(command); },
            Qt::QueuedConnection);
      }
      socket->disconnectFromServer();
    });
  }
}

}  // namespace brevora::remote::app
