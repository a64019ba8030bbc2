// One window per document: every window listens on a local socket named after
// its document, so another nuv that is asked to open the same file finds it
// and can ask it to come to the front.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <string>

namespace nuv {

class TDocumentRegistry : public QObject {
  Q_OBJECT
 public:
  explicit TDocumentRegistry(QObject* parent = nullptr);
  // The socket name for a document: the user and a hash of the canonical path.
  static QString SocketName(const std::string& documentPath);
  // Whether a window (this one included) has the document open.
  static bool IsOpen(const std::string& documentPath);
  // Asks the window that has the document to come to the front.
  static bool Activate(const std::string& documentPath);
  // This window now holds the document (an empty path: none).
  void Hold(const std::string& documentPath);

 signals:
  void ActivationRequested();

 private:
  QLocalServer m_server;
  QString m_name;
};

}  // namespace nuv
