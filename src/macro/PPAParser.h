// TPPAParser: the macro lexer. It keeps one private copy of its text and one
// current token; the interpreter makes a new lexer for every text it scans.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nuv {

// Token kinds, one byte each.
constexpr uint8_t kPPEnd = 0;         // the terminating 0 byte
constexpr uint8_t kPPSymbol = 1;      // any other single byte
constexpr uint8_t kPPString = 2;      // 'quoted' text or a #code
constexpr uint8_t kPPInteger = 3;     // decimal digits or $hex
constexpr uint8_t kPPReal = 4;        // digits with a fraction and/or an exponent
constexpr uint8_t kPPComment = 7;     // // to the end of the line
constexpr uint8_t kPPIdentifier = 8;  // letter or _, then letters, digits and _
constexpr uint8_t kPPOperator = 100;  // := <= <> >= ..

class TPPAParser {
 public:
  explicit TPPAParser(std::string_view text);

  // Reads the next token and returns its kind.
  uint8_t NextToken();
  // Advances over bytes 1 to 32.
  void SkipBlanks();
  uint8_t Token() const { return m_kind; }
  // Byte offset of the current token's start.
  int SourcePos() const { return static_cast<int>(m_tokenStart); }
  std::string_view TokenString() const { return std::string_view(m_buffer).substr(m_tokenStart, m_scan - m_tokenStart); }
  // The current token upper-cased.
  std::string UpperToken() const;
  // True, and the next token read, when the current token upper-cased equals upperWord.
  bool Accept(std::string_view upperWord);

 private:
  unsigned char At(std::size_t i) const { return static_cast<unsigned char>(m_buffer[i]); }
  void ScanNumber();

  std::string m_buffer;  // the text and one 0 byte
  std::size_t m_scan = 0;
  std::size_t m_tokenStart = 0;
  uint8_t m_kind = kPPEnd;
};

// One token as the interpreter keeps it; `upper` is filled for identifiers.
struct TPPToken {
  uint8_t kind = kPPEnd;
  std::string text;
  std::string upper;
};

// Every token of a text up to its end, comments left out.
std::vector<TPPToken> PPTokenize(std::string_view text);
// The tokens joined by single spaces, as statements and arguments are cut out.
std::string PPJoinTokens(const TPPToken* begin, const TPPToken* end);

}  // namespace nuv
