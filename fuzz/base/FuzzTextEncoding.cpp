// Fuzzes the encoding detector and the converters: any bytes must detect and
// convert without a fault; refusing and substituting must agree on the count;
// Shift JIS must come back through UTF-8 and UTF-16 as the codec gives it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Codec.h"
#include "base/TextEncoding.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace nuv;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  TDecodedText refused, substituted;
  const bool ok = DecodeTextFile(bytes, TSubstitution::Refuse, refused);
  Check(DecodeTextFile(bytes, TSubstitution::Substitute, substituted));
  Check(ok == (refused.unmappable.count == 0));
  Check(refused.unmappable.count == substituted.unmappable.count);
  // The line end is noted from the converted text, which a refusal leaves empty.
  Check(refused.form.encoding == substituted.form.encoding);
  Check(refused.form.byteOrderMark == substituted.form.byteOrderMark);
  if (ok) Check(refused.sjis == substituted.sjis);
  // The one-walk decoder agrees with the detector, and the view with the copy.
  bool bom = false;
  Check(substituted.form.encoding == DetectTextEncoding(bytes, &bom));
  Check(substituted.form.byteOrderMark == bom);
  TDecodedText viewed;
  TTextBuffer buffer;
  std::string_view view;
  Check(DecodeTextView(bytes, TSubstitution::Substitute, viewed, buffer, view));
  Check(view == substituted.sjis);
  Check(viewed.form == substituted.form);
  if (!ok) {
    Check(refused.sjis.empty());
    Check(refused.unmappable.line >= 1);
  }

  for (TTextEncoding encoding : {TTextEncoding::Utf8, TTextEncoding::Utf16Le, TTextEncoding::Utf16Be,
                                 TTextEncoding::EucJp, TTextEncoding::ShiftJis}) {
    std::string sjis;
    TUnmappable report;
    Check(ToShiftJis(bytes, encoding, TSubstitution::Substitute, sjis, report));
    // Written back out in the same form and read again, the text is the same.
    const TTextForm form{encoding, true, TLineEnd::CrLf};
    if (encoding != TTextEncoding::EucJp) {
      std::string back;
      Check(ToShiftJis(EncodeTextFile(sjis, form), encoding, TSubstitution::Refuse, back, report));
      // Shift JIS is copied as it is; the others pass through Unicode, which
      // gives each duplicate NEC or IBM code its canonical one.
      Check(back == (encoding == TTextEncoding::ShiftJis ? sjis : EncodeCp932(DecodeCp932(sjis)).value()));
    }
  }

  // The input as Shift JIS through each Unicode form: what the codec makes of it.
  const std::string canonical = EncodeCp932(DecodeCp932(bytes)).value();
  for (TTextEncoding encoding : {TTextEncoding::Utf8, TTextEncoding::Utf16Le, TTextEncoding::Utf16Be}) {
    std::string back;
    TUnmappable report;
    Check(ToShiftJis(FromShiftJis(bytes, encoding), encoding, TSubstitution::Refuse, back, report));
    Check(back == canonical);
  }
  (void)ConvertLineEnds(bytes, TLineEnd::Lf);
  return 0;
}
