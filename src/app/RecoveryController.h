// Crash recovery in the window: a timer that writes a recovery copy while the
// document has unsaved changes, its removal after a save or a discard, and
// the question at start-up about copies a program left when it ended badly.
#pragma once

#include <QObject>
#include <QTimer>

#include "outline/Recovery.h"

class QAbstractItemModel;

namespace nuv {

class IWindowServices;
class TDocumentRegistry;

class TRecoveryController : public QObject {
  Q_OBJECT
 public:
  // Changes of the tree arrive as the model's signals; the editor's through Changed.
  TRecoveryController(IWindowServices& window, QAbstractItemModel& model, TDocumentRegistry& registry,
                      QObject* parent = nullptr);

  // Something changed: a copy follows at most the interval later.
  void Changed();
  // The document is its file again (saved, opened, new) or its changes were
  // given up on purpose: the copy goes.
  void Discard();
  // After the start-up document opened: offers the copies programs left
  // behind, of that document (startedWithFile) or of any document.
  void OfferAtStart(bool startedWithFile);
  // Writes the copy when the document has unsaved changes; the timer's work.
  bool WriteNow();
  // Seconds between a change and its copy (`Interval` of `Recovery` in nuv.ini); 0 is off.
  int Interval() const { return m_interval; }
  const TRecoveryCopy& Copy() const { return m_copy; }
  // A copy is due: a change arrived and the timer runs.
  bool CopyDue() const { return m_timer.isActive(); }

 private:
  bool Recover(const TRecoveryInfo& info);

  IWindowServices& m_window;
  TDocumentRegistry& m_registry;
  TRecoveryCopy m_copy;
  QTimer m_timer;
  int m_interval = 60;
};

}  // namespace nuv
