// The node record attached to a page: its body and persistent attributes.
#pragma once

#include <cstdint>
#include <string>

namespace nuv {

class TNodeData {
 public:
  // The page body: when set from an editor or a file, every line followed by
  // CR LF, the last line included; an empty body is the empty string.
  const std::string& Body() const { return m_body; }
  std::string& MutableBody() { return m_body; }
  void SetBody(std::string body) { m_body = std::move(body); }

  // Mark in the low 16 bits, label in the high 16 bits (0: none recorded, read as label 1).
  uint32_t MarkLabel() const { return m_markLabel; }
  void SetMarkLabel(uint32_t value) { m_markLabel = value; }
  int Mark() const { return static_cast<int>(m_markLabel & 0xFFFFu); }
  void SetMark(int mark) { m_markLabel = (m_markLabel & 0xFFFF0000u) | (static_cast<uint32_t>(mark) & 0xFFFFu); }
  int Label() const { return static_cast<int>(m_markLabel >> 16); }
  void SetLabel(int label) { m_markLabel = (m_markLabel & 0xFFFFu) | (static_cast<uint32_t>(label) << 16); }

  // From a binary document or the node clipboard: on the first page the
  // absolute index of the selected page, elsewhere 1 when expanded.
  int32_t ViewState() const { return m_viewState; }
  void SetViewState(int32_t value) { m_viewState = value; }

  // The editor's selection start when the page was last left.
  int32_t CaretPos() const { return m_caretPos; }
  void SetCaretPos(int32_t value) { m_caretPos = value; }

 private:
  std::string m_body;
  uint32_t m_markLabel = 0;
  int32_t m_viewState = 0;
  int32_t m_caretPos = 0;
};

}  // namespace nuv
