// The document sockets.
#include "app/DocumentRegistry.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalSocket>
#include <unistd.h>

#include "app/QtText.h"

namespace nuv {

namespace {
constexpr int kConnectTimeoutMs = 500;
}

TDocumentRegistry::TDocumentRegistry(QObject* parent) : QObject(parent) {
  m_server.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&m_server, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (socket->readAll().startsWith("activate")) emit ActivationRequested();
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
  socket.write("activate\n");
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
