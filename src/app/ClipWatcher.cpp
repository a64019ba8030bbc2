// Auto-clipping on QClipboard::dataChanged.
#include "app/ClipWatcher.h"

#include <QApplication>
#include <QClipboard>

#include "app/QtMacroPlatform.h"

namespace nuv {

TClipWatcher::TClipWatcher(std::function<bool()> busy, QObject* parent) : QObject(parent), m_busy(std::move(busy)) {
  m_clock.start();
  m_idle.setInterval(200);
  connect(&m_idle, &QTimer::timeout, this, &TClipWatcher::DeliverQueued);
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TClipWatcher::ClipboardChanged);
}

void TClipWatcher::SetListening(bool listening) {
  m_decider.SetListening(listening, listening ? TQtMacroClipboard().Text() : std::string(), m_clock.elapsed());
  m_idle.stop();
}

void TClipWatcher::ClipboardChanged() {
  if (!m_decider.Listening()) return;
  const bool busy = m_busy && m_busy();
  const std::string text = TQtMacroClipboard().Text();
  switch (m_decider.Notice(text, m_clock.elapsed(), busy)) {
    case TClipDecision::AddPage: emit ClipText(text); break;
    case TClipDecision::Queued: m_idle.start(); break;
    case TClipDecision::Ignore: break;
  }
}

void TClipWatcher::DeliverQueued() {
  if (m_busy && m_busy()) return;
  m_idle.stop();
  // A page added here may make the window busy again (its title edit): the rest waits.
  while (m_decider.HasQueued() && !(m_busy && m_busy())) {
    if (auto text = m_decider.TakeQueued()) emit ClipText(*text);
  }
  if (m_decider.HasQueued()) m_idle.start();
}

}  // namespace nuv
