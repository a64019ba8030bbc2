// Palm DOC database images: a 78-byte header, a record list, record 0 with
// the text's size and compression, then one record per 4096-byte block of the
// text file. The whole image is built or checked in memory, so a file is
// written only after a conversion has fully succeeded, and atomically.
#include "exchange/PalmDocFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "base/FileIo.h"
#include "base/Sjis.h"
#include "exchange/PalmDocCodec.h"

namespace nuv {

namespace {

constexpr std::size_t kNameOffset = 0;
constexpr std::size_t kDatesOffset = 36;  // creation, then modification date
constexpr std::size_t kTypeOffset = 60;
constexpr std::size_t kCreatorOffset = 64;
constexpr std::size_t kCountOffset = 76;
constexpr std::size_t kEntrySize = 8;
constexpr uint32_t kFirstRecordId = 0x406F8000;
constexpr unsigned char kFixedDate[4] = {0x06, 0xD1, 0x44, 0xAE};
constexpr std::string_view kType = "TEXt";
constexpr std::string_view kCreator = "REAd";
constexpr uint16_t kPlain = 1;
constexpr uint16_t kCompressed = 2;

void PutBE16(std::string& s, std::size_t at, uint16_t v) {
  s[at] = static_cast<char>(v >> 8);
  s[at + 1] = static_cast<char>(v & 0xFF);
}

void PutBE32(std::string& s, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
}

uint16_t GetBE16(std::string_view s, std::size_t at) {
  return static_cast<uint16_t>((static_cast<unsigned char>(s[at]) << 8) | static_cast<unsigned char>(s[at + 1]));
}

uint32_t GetBE32(std::string_view s, std::size_t at) {
  uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
  return v;
}

// Whether a file could be created at `path`: its folder exists and is
// writable, and the path is not a folder. Tells "cannot open" apart from a
// write that fails later.
bool CanCreate(const std::string& path) {
  if (DirectoryExists(path)) return false;
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  const std::string folder = parent.empty() ? std::string(".") : parent.string();
  return DirectoryExists(folder) && ::access(folder.c_str(), W_OK) == 0;
}

TPalmDocResult WriteOutput(const std::string& path, std::string_view bytes) {
  if (!CanCreate(path)) return TPalmDocResult::OpenFailed;
  return WriteFileAtomic(path, bytes) ? TPalmDocResult::Ok : TPalmDocResult::WriteFailed;
}

}  // namespace

std::string PalmDatabaseName(std::string_view title) {
  const std::size_t nul = title.find('\0');
  if (nul != std::string_view::npos) title = title.substr(0, nul);
  return std::string(CutAtCharBoundary(title, kPalmNameSize - 1));
}

void TextBlockToPalm(std::string_view block, int nextByte, std::string& out) {
  const std::size_t size = block.size();
  const std::size_t base = out.size();
  out.resize(base + size);
  char* dst = out.data() + base;
  std::size_t n = 0;
  std::size_t i = 0;
  while (i < size) {
    // Eight bytes at a time while none of them is below 0x0E: text bytes
    // that pass as they are.
    if (i + 8 <= size) {
      uint64_t v;
      std::memcpy(&v, block.data() + i, 8);
      if (((v - 0x0E0E0E0E0E0E0E0EULL) & ~v & 0x8080808080808080ULL) == 0) {
        std::memcpy(dst + n, &v, 8);
        n += 8;
        i += 8;
        continue;
      }
    }
    const char c = block[i];
    if (static_cast<unsigned char>(c) < 9) {
      ++i;
      continue;
    }
    if (c == '\r') {
      const int following = i + 1 < size ? static_cast<unsigned char>(block[i + 1]) : nextByte;
      if (following != '\n') dst[n++] = '\n';
      ++i;
      continue;
    }
    dst[n++] = c;
    ++i;
  }
  out.resize(base + n);
}

void PalmToText(std::string_view palm, bool& afterCr, std::string& out) {
  std::size_t start = 0;
  while (start < palm.size()) {
    const void* hit = std::memchr(palm.data() + start, '\n', palm.size() - start);
    const std::size_t lf = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - palm.data()) : palm.size();
    if (lf > start) {
      out.append(palm.data() + start, lf - start);
      afterCr = palm[lf - 1] == '\r';
    }
    if (lf == palm.size()) break;
    if (!afterCr) out.push_back('\r');
    out.push_back('\n');
    afterCr = false;
    start = lf + 1;
  }
}

TPalmDocResult EncodePalmDoc(std::string_view text, std::string_view title, const TPalmDocOptions& options,
                             std::string& image) {
  if (text.size() > kPalmMaxTextBytes) return TPalmDocResult::TooLarge;
  const std::size_t n = (text.size() + kPalmRecordSize - 1) / kPalmRecordSize;
  const std::size_t listOffset = kPalmHeaderSize;
  const std::size_t record0 = listOffset + (n + 1) * kEntrySize + 2;

  image.assign(record0 + kPalmRecord0Size, '\0');
  image.reserve(record0 + kPalmRecord0Size + text.size() + text.size() / 8 + 64);
  const std::string name = PalmDatabaseName(title);
  image.replace(kNameOffset, name.size(), name);
  image.replace(kDatesOffset, 4, reinterpret_cast<const char*>(kFixedDate), 4);
  image.replace(kDatesOffset + 4, 4, reinterpret_cast<const char*>(kFixedDate), 4);
  image.replace(kTypeOffset, 4, kType);
  image.replace(kCreatorOffset, 4, kCreator);
  PutBE16(image, kCountOffset, static_cast<uint16_t>(n + 1));
  for (std::size_t i = 0; i <= n; ++i)
    PutBE32(image, listOffset + i * kEntrySize + 4, kFirstRecordId + static_cast<uint32_t>(i));
  PutBE32(image, listOffset, static_cast<uint32_t>(record0));

  PutBE16(image, record0, options.compress ? kCompressed : kPlain);
  PutBE32(image, record0 + 4, static_cast<uint32_t>(text.size()));
  PutBE16(image, record0 + 8, static_cast<uint16_t>(n));
  PutBE16(image, record0 + 10, static_cast<uint16_t>(kPalmRecordSize));

  std::string converted;
  converted.reserve(kPalmRecordSize);
  for (std::size_t i = 0; i < n; ++i) {
    PutBE32(image, listOffset + (i + 1) * kEntrySize, static_cast<uint32_t>(image.size()));
    std::string_view block = text.substr(i * kPalmRecordSize, kPalmRecordSize);
    if (!options.binary) {
      const std::size_t next = (i + 1) * kPalmRecordSize;
      converted.clear();
      TextBlockToPalm(block, next < text.size() ? static_cast<unsigned char>(text[next]) : -1, converted);
      block = converted;
    }
    if (options.compress)
      CompressPalmRecord(block, image);
    else
      image.append(block);
  }
  return TPalmDocResult::Ok;
}

TPalmDocResult DecodePalmDoc(std::string_view image, const TPalmDocOptions& options, std::string& text,
                             TPalmDocInfo* info) {
  if (image.size() < kPalmHeaderSize) return TPalmDocResult::Damaged;
  if (image.substr(kTypeOffset, 4) != kType || image.substr(kCreatorOffset, 4) != kCreator)
    return TPalmDocResult::NotTextDoc;
  const std::size_t count = GetBE16(image, kCountOffset);
  const std::size_t listEnd = kPalmHeaderSize + count * kEntrySize;
  if (count == 0 || listEnd > image.size()) return TPalmDocResult::Damaged;

  std::vector<std::size_t> offsets(count + 1);
  for (std::size_t k = 0; k < count; ++k) {
    offsets[k] = GetBE32(image, kPalmHeaderSize + k * kEntrySize);
    const std::size_t floor = k == 0 ? listEnd : offsets[k - 1];
    if (offsets[k] < floor || offsets[k] > image.size()) return TPalmDocResult::Damaged;
  }
  offsets[count] = image.size();
  auto record = [&](std::size_t k) { return image.substr(offsets[k], offsets[k + 1] - offsets[k]); };

  const std::string_view header = record(0);
  if (header.size() < 2) return TPalmDocResult::Damaged;
  TPalmDocInfo found;
  const std::string_view rawName = image.substr(kNameOffset, kPalmNameSize);
  found.name = std::string(rawName.substr(0, rawName.find('\0')));
  found.compressed = GetBE16(header, 0) != kPlain;
  found.textRecords = count - 1;
  if (header.size() >= 10) {
    // Records after the text (bookmarks and the like) are not text.
    const std::size_t declared = GetBE16(header, 8);
    if (declared >= 1 && declared < found.textRecords) found.textRecords = declared;
  }
  if (header.size() >= 8) found.textLength = GetBE32(header, 4);
  if (info) *info = found;

  std::string out;
  out.reserve(std::min<std::size_t>(image.size() * 3, kPalmMaxTextBytes));
  std::string expanded;
  expanded.reserve(kPalmMaxRecordBytes);
  bool afterCr = false;
  for (std::size_t k = 1; k <= found.textRecords; ++k) {
    std::string_view data = record(k);
    if (data.size() > kPalmMaxRecordBytes) return TPalmDocResult::Damaged;
    if (found.compressed) {
      expanded.clear();
      if (DecompressPalmRecord(data, expanded) != TRecordDecodeResult::Ok) return TPalmDocResult::Damaged;
      data = expanded;
    }
    if (options.binary)
      out.append(data);
    else
      PalmToText(data, afterCr, out);
  }
  text = std::move(out);
  return TPalmDocResult::Ok;
}

TPalmDocResult ReadPalmDocFile(const std::string& docPath, const TPalmDocOptions& options, std::string& text,
                               TPalmDocInfo* info) {
  std::string image;
  if (ReadWholeFile(docPath, image) != TReadResult::Ok) return TPalmDocResult::OpenFailed;
  return DecodePalmDoc(image, options, text, info);
}

TPalmDocResult WritePalmDocFile(const std::string& docPath, std::string_view text, std::string_view title,
                                const TPalmDocOptions& options) {
  std::string image;
  const TPalmDocResult r = EncodePalmDoc(text, title, options, image);
  if (r != TPalmDocResult::Ok) return r;
  return WriteOutput(docPath, image);
}

TPalmDocResult ConvertPalmDoc(const std::string& docPath, const std::string& textPath, std::string_view title,
                              bool decode, bool binary, bool compress) {
  TPalmDocOptions options;
  options.binary = binary;
  options.compress = compress;
  if (decode) {
    std::string text;
    const TPalmDocResult r = ReadPalmDocFile(docPath, options, text);
    if (r != TPalmDocResult::Ok) return r;
    return WriteOutput(textPath, text);
  }
  // Refuse an oversized source before reading it into memory.
  struct stat st {};
  if (::stat(textPath.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return TPalmDocResult::OpenFailed;
  if (static_cast<unsigned long long>(st.st_size) > kPalmMaxTextBytes) return TPalmDocResult::TooLarge;
  std::string text;
  if (ReadWholeFile(textPath, text) != TReadResult::Ok) return TPalmDocResult::OpenFailed;
  return WritePalmDocFile(docPath, text, title, options);
}

}  // namespace nuv
