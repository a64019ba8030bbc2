// What auto-clipping does with each clipboard change notice.
//
// The window hands every notice here with the clipboard's text at that
// moment; the decider says whether a page is added now, later, or not at
// all. It is told nothing before listening starts, so the text already on the
// clipboard never becomes a page. While the window is busy (a dialog, a title
// edit, a macro, a tool wait) notices are queued and handed back, in order,
// when it is idle. The same text offered again within a second adds no second
// page: clipboard managers take the clipboard back after every copy, and one
// copy may bring several notices.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace nuv {

enum class TClipDecision { Ignore, AddPage, Queued };

class TClipDecider {
 public:
  static constexpr int64_t kRepeatWindowMs = 1000;
  // Notices kept while busy; older ones are dropped beyond it.
  static constexpr std::size_t kMaxQueued = 64;

  bool Listening() const { return m_listening; }
  // Switching on forgets what came before and takes the clipboard's current
  // text as seen, so a notice the platform sends as listening starts adds
  // nothing; switching off drops the queue.
  void SetListening(bool listening, const std::string& currentText = {}, int64_t nowMs = 0);

  // A change notice at `nowMs` (a monotonic clock) with the clipboard's text
  // (empty when it holds none).
  TClipDecision Notice(const std::string& text, int64_t nowMs, bool busy);

  bool HasQueued() const { return !m_queue.empty(); }
  // The next queued text that should become a page, once the window is idle.
  std::optional<std::string> TakeQueued();

 private:
  struct TNotice {
    std::string text;
    int64_t at = 0;
  };
  bool Repeats(const std::string& text, int64_t nowMs) const;

  bool m_listening = false;
  std::deque<TNotice> m_queue;
  std::optional<TNotice> m_last;  // the last text taken as a page
};

}  // namespace nuv
