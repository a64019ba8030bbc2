// Palm DOC e-text files (type "TEXt", creator "REAd"): the database image as
// written and read, the line-end conversions, and the converter between a
// text file and a Palm DOC file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace nuv {

// Results of the converter; 0 is success, as the callers expect.
enum class TPalmDocResult : int {
  Ok = 0,
  NotTextDoc = 1,   // a Palm database, but not of type "TEXt" and creator "REAd"
  OpenFailed = 2,   // the source cannot be read or the output cannot be created
  Damaged = 3,      // a header, a record list or a record that does not hold together
  TooLarge = 4,     // more text than the record list can hold
  WriteFailed = 5,  // writing or closing the output failed; no output is left
};

constexpr std::size_t kPalmHeaderSize = 78;
constexpr std::size_t kPalmNameSize = 32;
constexpr std::size_t kPalmRecord0Size = 16;
// The record count is 16 bits and record 0 takes one.
constexpr std::size_t kPalmMaxTextRecords = 65534;
constexpr std::size_t kPalmMaxTextBytes = kPalmMaxTextRecords * 4096;

struct TPalmDocOptions {
  bool binary = false;    // no line-end or control-byte conversion
  bool compress = true;   // ignored when decoding
};

// The database name a title gives: at most 31 bytes, never ending in half
// of a double-byte character.
std::string PalmDatabaseName(std::string_view title);

// One 4096-byte block of a text file as it is stored: bytes 0..8 dropped, CR
// LF and a lone CR as LF. `nextByte` is the first byte of the next block (-1
// at the end): a CR that ends the block and is followed by that block's LF is
// dropped, so a CR LF split by the block boundary stays one line break.
void TextBlockToPalm(std::string_view block, int nextByte, std::string& out);
// The stored text as a text file: each LF becomes CR LF, except one that
// already follows a CR (`afterCr` carries that across records).
void PalmToText(std::string_view palm, bool& afterCr, std::string& out);

// The file image for `text` (the bytes of a text file) under `title`.
TPalmDocResult EncodePalmDoc(std::string_view text, std::string_view title, const TPalmDocOptions& options,
                             std::string& image);

struct TPalmDocInfo {
  std::string name;  // the database name, up to its NUL
  bool compressed = false;
  uint32_t textLength = 0;  // as recorded in record 0
  std::size_t textRecords = 0;
};

// Validates and decodes a whole image. `text` is filled only on success;
// `info` (may be null) is filled once the header has been read.
TPalmDocResult DecodePalmDoc(std::string_view image, const TPalmDocOptions& options, std::string& text,
                             TPalmDocInfo* info = nullptr);

// Reads a Palm DOC file into its text (the converter's decode half, in memory).
TPalmDocResult ReadPalmDocFile(const std::string& docPath, const TPalmDocOptions& options, std::string& text,
                               TPalmDocInfo* info = nullptr);
// Writes `text` as a Palm DOC file, atomically.
TPalmDocResult WritePalmDocFile(const std::string& docPath, std::string_view text, std::string_view title,
                                const TPalmDocOptions& options);

// The converter: decode false turns the text file into a Palm DOC file named
// `title`, decode true the Palm DOC file into a text file. Nothing is written
// unless the whole conversion succeeds.
TPalmDocResult ConvertPalmDoc(const std::string& docPath, const std::string& textPath, std::string_view title,
                              bool decode, bool binary, bool compress);

}  // namespace nuv
