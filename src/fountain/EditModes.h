// The editor modes: the nine built-in ones and the user modes of the
// settings, as data the window turns into its mode menu and mode box; the
// language fountains the window keeps; and switching the page editor's
// colouring to a mode.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "config/NuvConfig.h"
#include "fountain/AWKFountain.h"
#include "fountain/COBOLFountain.h"
#include "fountain/CppFountain.h"
#include "fountain/DelphiFountain.h"
#include "fountain/EditorFountain.h"
#include "fountain/HTMLFountain.h"
#include "fountain/PerlFountain.h"
#include "fountain/RubyFountain.h"

namespace nuv {

enum class TEditModeKind { Text, AWK, Cpp, Delphi, HTML, COBOL, Perl, Ruby, Java, User };

struct TEditMode {
  TEditModeKind Kind = TEditModeKind::Text;
  std::string ActionName;   // "acEMText"; empty for user modes
  std::string ToolName;     // "text", the name nuvtool takes; empty for user modes
  std::string Caption;      // menu caption, Shift JIS
  std::string BoxEntry;     // entry of the mode box, Shift JIS
  std::string ReserveFile;  // reserved-word file of the view modes, relative to the program folder
  std::string Quotation;    // quotation character the view modes set
  int UserSlot = -1;        // slot 0..9 of a user mode
};

// The nine built-in modes in menu and box order.
const std::vector<TEditMode>& BuiltInEditModes();
// The built-in modes followed by the user modes whose name is set, in slot
// order with the gaps closed.
std::vector<TEditMode> BuildEditModes(const std::array<TEditModeSlot, kEditModeSlots>& slots);
// The built-in mode nuvtool names `toolName`, or null.
const TEditMode* FindEditMode(const std::string& toolName);

// The language fountains of the main window, with the colours it stores.
class TFountainSet {
 public:
  TFountainSet();
  TAWKFountain AWK;
  TCppFountain Cpp;
  TDelphiFountain Delphi;
  THTMLFountain HTML;
  TCOBOLFountain COBOL;
  TPerlFountain Perl;
  TRubyFountain Ruby;
  TJavaFountain Java;
  // The language fountain of a mode; null for the modes of the view fountain.
  TFountain* ForKind(TEditModeKind kind);
};

// Switches to `mode`: for a view mode sets the view's quotation and the
// commenter "//" and loads the mode's reserved-word file from `folder`
// (whose settings lines win); returns the fountain the page editor then
// uses, the view itself for view modes.
TFountain* ApplyEditMode(const TEditMode& mode, TEditorFountain& view, TFountainSet& fountains,
                         const std::string& folder);

}  // namespace nuv
