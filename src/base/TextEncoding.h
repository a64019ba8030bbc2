// Text files from outside: detecting their encoding and converting them to and
// from the Shift JIS text that nuv keeps inside.
//
// Every reader of a text file goes through DecodeTextFile (or ToShiftJis when
// the encoding is known), so every reader has the same rule: a character that
// Shift JIS cannot hold is reported (how many, the first, its line) and is
// replaced by "〓" only when the caller passes the user's word
// (TSubstitution::Substitute). Detection rules: docs/DESIGN-notes/encodings.md.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace nuv {

enum class TTextEncoding { ShiftJis, Utf8, Utf16Le, Utf16Be, EucJp };
enum class TLineEnd { CrLf, Lf, Cr };

// How a text file was stored, so that a save can write it back the same way.
struct TTextForm {
  TTextEncoding encoding = TTextEncoding::ShiftJis;
  bool byteOrderMark = false;
  TLineEnd lineEnd = TLineEnd::CrLf;
  bool operator==(const TTextForm&) const = default;
};

// The characters of a text that Shift JIS cannot hold.
struct TUnmappable {
  std::size_t count = 0;  // a surrogate pair is one character; so is each damaged sequence
  std::size_t line = 0;   // 1-based line of the first (CR LF, CR and LF end a line)
  char32_t first = 0;     // the first, as a code point; U+FFFD for a damaged sequence
};

enum class TSubstitution { Refuse, Substitute };

// "〓" (U+3013), which takes the place of each character on the user's word.
constexpr char32_t kSubstituteChar = 0x3013;

// The encoding of a text file's bytes and whether they begin with a byte-order mark.
TTextEncoding DetectTextEncoding(std::string_view bytes, bool* byteOrderMark = nullptr);

// Converts bytes in `encoding` to Shift JIS; a leading byte-order mark of that
// encoding is skipped. Shift JIS input is copied as it is. When characters
// cannot be held, `report` describes them; with Refuse the result is then
// false and `out` is left empty, with Substitute each becomes "〓" and the
// result is true. A damaged sequence (invalid UTF-8, a lone surrogate, a
// stray EUC-JP byte, an odd last byte of UTF-16) counts as such a character.
bool ToShiftJis(std::string_view bytes, TTextEncoding encoding, TSubstitution substitution,
                std::string& out, TUnmappable& report);

// Shift JIS text as bytes of `encoding`, without a byte-order mark.
// Every byte of the text survives: in UTF-8 and UTF-16 a byte that is not
// part of a CP932 character travels as the private-use code point the codec
// gives it (which ToShiftJis turns back into the byte); EUC-JP gets the byte.
std::string FromShiftJis(std::string_view sjis, TTextEncoding encoding);

// A text file read into Shift JIS, with the form it was stored in.
struct TDecodedText {
  std::string sjis;
  TTextForm form;
  TUnmappable unmappable;
};

// Detects, skips the byte-order mark, converts, and notes the line end (the
// first one in the text; CR LF when there is none, and always for Shift JIS,
// which nuv writes with CR LF as it always has). False only when
// characters cannot be held and substitution is Refuse (see ToShiftJis).
bool DecodeTextFile(std::string_view bytes, TSubstitution substitution, TDecodedText& out);
// Holds a large converted text. Tens of megabytes come from a mapping the
// kernel may back with huge pages: touching fresh memory page by page costs
// more than the conversion that fills it.
class TTextBuffer {
 public:
  TTextBuffer() = default;
  ~TTextBuffer();
  TTextBuffer(const TTextBuffer&) = delete;
  TTextBuffer& operator=(const TTextBuffer&) = delete;
  // Room for at least `atLeast` bytes keeping the first `used`; the new data.
  char* Grow(std::size_t used, std::size_t atLeast);
  // The text is the first `size` bytes; 0 releases the memory.
  void SetSize(std::size_t size);
  std::string_view View() const { return std::string_view(m_data ? m_data : "", m_size); }

 private:
  void Release();
  char* m_data = nullptr;
  std::size_t m_capacity = 0;
  std::size_t m_size = 0;
  bool m_mapped = false;
};

// DecodeTextFile without copying: `sjis` views `bytes` when they are Shift
// JIS already, else the text converted into `converted` (out.sjis stays empty).
bool DecodeTextView(std::string_view bytes, TSubstitution substitution, TDecodedText& out, TTextBuffer& converted,
                    std::string_view& sjis);

// Whether a byte string is well-formed UTF-8 (no overlong forms, surrogates
// or code points past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

enum class TTextFileResult { Ok, ReadFailed, Unmappable };

// Reads a text file of any encoding into Shift JIS (DecodeTextFile on its
// bytes). Every reader of a text file from outside comes through here.
TTextFileResult ReadTextFile(const std::string& path, TSubstitution substitution, TDecodedText& out);

// The bytes of a file in `form` holding `sjis`, whose line ends are CR LF as
// the writers produce them: line ends converted, encoded, byte-order mark added.
std::string EncodeTextFile(std::string_view sjis, const TTextForm& form);

// The first line end of a text; CR LF when there is none.
TLineEnd FirstLineEnd(std::string_view text);

// Converts CR LF line ends to `lineEnd`; lone CR and LF bytes are left alone.
std::string ConvertLineEnds(std::string_view crLfText, TLineEnd lineEnd);

// "Shift_JIS", "UTF-8", "UTF-16LE", "UTF-16BE", "EUC-JP".
const char* TextEncodingName(TTextEncoding encoding);
// From a command line or a setting: "shift_jis" (also "sjis", "cp932") or
// "utf-8" (also "utf8"), ASCII case ignored. Only the encodings a file can be
// saved in are accepted.
std::optional<TTextEncoding> SaveEncodingFromName(std::string_view name);
// "U+1F600".
std::string CodePointName(char32_t cp);
// For command lines and logs, in UTF-8: `2 characters that Shift JIS cannot
// hold, the first on line 3: "😀" (U+1F600)`.
std::string DescribeUnmappable(const TUnmappable& report);

}  // namespace nuv
