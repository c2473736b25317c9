#include "remote/app/instance_channel.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QLocalSocket>
#include <cerrno>
#include <memory>

#include "platform/fs/paths.h"
#include "remote/instance_message.h"

namespace brevora::remote::app {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 5000;

QString RuntimeFile(const char* name) {
  return QString::fromStdString(fs::NativePath(fs::JoinPath(fs::RuntimeDir(), name)));
}

}  // namespace

InstanceLock::InstanceLock() {
  const std::string path = RuntimeFile("vantapc.lock").toStdString();
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return;  // without a lock file, instances may race; nothing else changes
  while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

InstanceLock::~InstanceLock() { Release(); }

void InstanceLock::Release() {
  if (fd_ < 0) return;
  ::close(fd_);  // drops the lock
  fd_ = -1;
}

QString InstanceChannel::SocketPath() { return RuntimeFile("vantapc.socket"); }

bool InstanceChannel::Send(const QString& path, StartupAction action) {
  QLocalSocket socket;
  socket.connectToServer(path);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(QByteArray::fromStdString(std::string(InstanceWord(action)) + "\n"));
  if (!socket.waitForBytesWritten(kConnectTimeoutMs)) return false;
  QByteArray answer;
  while (!answer.contains('\n') && answer.size() < 16 && socket.waitForReadyRead(kAnswerTimeoutMs)) {
    answer += socket.read(16 - answer.size());
  }
  return answer.startsWith("ok\n");
}

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
      const auto state = reader->Feed(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
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
