// The document sockets.
#include "app/DocumentRegistry.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalSocket>
#include <unistd.h>

#include "app/QtText.h"
#include "base/InstanceMessage.h"

namespace nuv {

namespace {
constexpr int kConnectTimeoutMs = 500;
}

TDocumentRegistry::TDocumentRegistry(QObject* parent) : QObject(parent) {
  m_server.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&m_server, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
      socket->setReadBufferSize(static_cast<qint64>(kMaxInstanceMessageBytes));
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        // Only the message's first bytes are read: a peer cannot make this window buffer more.
        const QByteArray bytes = socket->read(static_cast<qint64>(kMaxInstanceMessageBytes));
        if (ParseInstanceMessage(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) ==
            TInstanceRequest::Activate)
          emit ActivationRequested();
        socket->disconnectFromServer();
      });
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
  });
}

QString TDocumentRegistry::SocketName(const std::string& documentPath) {
  const QFileInfo info(PathToQString(documentPath));
  const QString canonical = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
  const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(24);
  return QStringLiteral("nuv-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool TDocumentRegistry::IsOpen(const std::string& documentPath) {
  QLocalSocket socket;
  socket.connectToServer(SocketName(documentPath));
  const bool open = socket.waitForConnected(kConnectTimeoutMs);
  socket.abort();
  return open;
}

bool TDocumentRegistry::Activate(const std::string& documentPath) {
  QLocalSocket socket;
  socket.connectToServer(SocketName(documentPath));
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(kActivateMessage.data(), static_cast<qint64>(kActivateMessage.size()));
  socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.waitForDisconnected(kConnectTimeoutMs);
  return true;
}

void TDocumentRegistry::Hold(const std::string& documentPath) {
  const QString name = documentPath.empty() ? QString() : SocketName(documentPath);
  if (name == m_name && m_server.isListening()) return;
  m_server.close();
  m_name = name;
  if (name.isEmpty()) return;
  if (!m_server.listen(name)) {
    // A socket left by a program that ended without closing it.
    if (!IsOpen(documentPath)) {
      QLocalServer::removeServer(name);
      m_server.listen(name);
    }
  }
}

}  // namespace nuv
