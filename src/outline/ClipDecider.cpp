// Auto-clipping decisions.
#include "outline/ClipDecider.h"

namespace nuv {

void TClipDecider::SetListening(bool listening, const std::string& currentText, int64_t nowMs) {
  m_listening = listening;
  m_queue.clear();
  m_last.reset();
  if (listening && !currentText.empty()) m_last = TNotice{currentText, nowMs};
}

bool TClipDecider::Repeats(const std::string& text, int64_t nowMs) const {
  return m_last && m_last->text == text && nowMs - m_last->at < kRepeatWindowMs && nowMs >= m_last->at;
}

TClipDecision TClipDecider::Notice(const std::string& text, int64_t nowMs, bool busy) {
  if (!m_listening || text.empty() || Repeats(text, nowMs)) return TClipDecision::Ignore;
  // Taken now, so a repeat of it arriving while busy is not queued twice.
  m_last = TNotice{text, nowMs};
  if (busy) {
    if (m_queue.size() == kMaxQueued) m_queue.pop_front();
    m_queue.push_back(TNotice{text, nowMs});
    return TClipDecision::Queued;
  }
  return TClipDecision::AddPage;
}

std::optional<std::string> TClipDecider::TakeQueued() {
  if (m_queue.empty()) return std::nullopt;
  std::string text = std::move(m_queue.front().text);
  m_queue.pop_front();
  return text;
}

}  // namespace nuv
