// The clipboard as the editor core sees it: Shift JIS text and whether it is
// box text. The widget implements it over the system clipboard; the headless
// editor and the tests keep it in memory.
#pragma once

#include <string>
#include <string_view>

namespace nuv {

class IEditorClipboard {
 public:
  virtual ~IEditorClipboard() = default;
  virtual bool HasText() const = 0;
  // The text, and in `box` whether it was put as box text.
  virtual std::string GetText(bool& box) const = 0;
  virtual void SetText(std::string_view text, bool box) = 0;
};

class TMemoryClipboard : public IEditorClipboard {
 public:
  bool HasText() const override { return m_has; }
  std::string GetText(bool& box) const override {
    box = m_box;
    return m_text;
  }
  void SetText(std::string_view text, bool box) override {
    m_text.assign(text);
    m_box = box;
    m_has = true;
  }

 private:
  std::string m_text;
  bool m_box = false;
  bool m_has = false;
};

}  // namespace nuv
