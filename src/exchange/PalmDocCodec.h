// The record codec of Palm DOC files: one block of text compressed into the
// format's byte codes, and one record's codes expanded back into text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nuv {

// Bytes of text per record.
constexpr std::size_t kPalmRecordSize = 4096;
// A record longer than this, compressed or expanded, is not valid input.
constexpr std::size_t kPalmMaxRecordBytes = 6000;
// The farthest a copy code reaches back, and its longest copy.
constexpr std::size_t kPalmMaxDistance = 2047;
constexpr std::size_t kPalmMaxMatch = 10;

// Appends the codes of `block` (at most kPalmRecordSize bytes) to `out`.
void CompressPalmRecord(std::string_view block, std::string& out);

enum class TRecordDecodeResult {
  Ok,
  TruncatedCode,    // a count or copy code runs past the end of the record
  CopyBeforeStart,  // a copy reaches before the record's first byte (or has distance 0)
  OutputTooLong,    // the record expands to more than kPalmMaxRecordBytes
};

// Appends the expanded bytes of one compressed record to `out`. On failure
// `out` is left as it was.
TRecordDecodeResult DecompressPalmRecord(std::string_view record, std::string& out);

}  // namespace nuv
