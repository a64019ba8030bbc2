// Hierarchical text in any encoding, around the Shift JIS reader and writer.
#include "outline/EncodedText.h"

#include "base/FileIo.h"
#include "outline/OutlineTree.h"

namespace nuv {

namespace {

// The file's bytes as Shift JIS: mapped bytes are used as they are when the
// file is Shift JIS already, so the common case copies nothing.
class TSjisFile {
 public:
  TTextFileResult Open(const std::string& path, TSubstitution substitution, TTextRead& read) {
    read = {};
    if (m_file.Open(path) != TReadResult::Ok) return read.result = TTextFileResult::ReadFailed;
    TDecodedText decoded;
    const bool ok = DecodeTextView(m_file.Bytes(), substitution, decoded, m_converted, m_sjis);
    read.form = decoded.form;
    read.unmappable = decoded.unmappable;
    return read.result = ok ? TTextFileResult::Ok : TTextFileResult::Unmappable;
  }
  std::string_view Sjis() const { return m_sjis; }

 private:
  TMappedFile m_file;
  TTextBuffer m_converted;
  std::string_view m_sjis;
};

}  // namespace

TTextRead ReadEncodedText(const std::string& path, const TFormatOptions& options, TSubstitution substitution,
                          TOutlineTree& out) {
  TTextRead read;
  TSjisFile file;
  if (file.Open(path, substitution, read) != TTextFileResult::Ok) return read;
  if (!ReadTextBytes(file.Sjis(), FileNameTitle(path), options, out)) read.result = TTextFileResult::ReadFailed;
  return read;
}

TTreeNode* ImportEncodedText(const std::string& path, const TFormatOptions& options, TSubstitution substitution,
                             TOutlineTree& doc, TTreeNode* importParent, TTextRead& read) {
  TSjisFile file;
  if (file.Open(path, substitution, read) != TTextFileResult::Ok) return nullptr;
  bool ok = false;
  TTreeNode* first = ImportTextBytes(file.Sjis(), FileNameTitle(path), options, doc, importParent, ok);
  if (!ok) read.result = TTextFileResult::ReadFailed;
  return first;
}

TTextWriteResult WriteEncodedText(const std::string& path, const TOutlineTree& tree, bool noTitles,
                                  const TTreeNode* subtreeRoot, const TFormatOptions& options, const TTextForm& form) {
  if (form == TTextForm{}) return WriteText(path, tree, noTitles, subtreeRoot, options);
  if (!(subtreeRoot ? subtreeRoot : tree.GetFirstNode())) return TTextWriteResult::Empty;
  // The same limit as the Shift JIS writer, checked before the text is built.
  if (!TextHeadingMarkCount(tree, subtreeRoot)) return TTextWriteResult::TooLarge;
  const std::string bytes = EncodeTextFile(BuildText(tree, noTitles, subtreeRoot, options), form);
  return WriteFileAtomic(path, bytes) ? TTextWriteResult::Written : TTextWriteResult::Failed;
}

TTextForm SaveAsForm(const TTextForm& current, TTextEncoding chosen) {
  if (chosen == current.encoding) return current;
  TTextForm form;
  form.encoding = chosen;
  if (chosen != TTextEncoding::ShiftJis) form.lineEnd = current.lineEnd;
  return form;
}

TTextEncoding OfferedEncoding(const TTextForm& current) {
  switch (current.encoding) {
    case TTextEncoding::Utf8:
    case TTextEncoding::Utf16Le:
    case TTextEncoding::Utf16Be:
      return TTextEncoding::Utf8;
    default:
      return TTextEncoding::ShiftJis;
  }
}

}  // namespace nuv
