// Golden files: small sources of our own and their token dumps with kind
// names, unwrapped and at 24 columns, each reviewed by hand construct by
// construct. A mismatch writes the new dump beside the old one (as
// .tokens.new) for review.
#include <gtest/gtest.h>

#include "FountainTestUtil.h"
#include "base/FileIo.h"

namespace nuv {
namespace {

struct TGolden {
  const char* file;
  const char* fountain;
};

class Golden : public testing::TestWithParam<TGolden> {};

TEST_P(Golden, DumpMatchesAndInvariantsHold) {
  const std::string path = std::string(NUV_TEST_DATA) + "/" + GetParam().file;
  std::string text, expected;
  ASSERT_EQ(ReadWholeFile(path, text), TReadResult::Ok) << path;
  test::TFountains fountains;
  TFountain& f = fountains.Get(GetParam().fountain);
  const std::string dump = DumpTokens(f, text, 0) + "--- wrap 24\n" + DumpTokens(f, text, 24);
  // The file opens with "# " lines that say what the sample covers.
  const bool read = ReadWholeFile(path + ".tokens", expected) == TReadResult::Ok;
  std::size_t header = 0;
  while (expected.compare(header, 2, "# ") == 0) header = expected.find('\n', header) + 1;
  if (!read || expected.compare(header, std::string::npos, dump) != 0) {
    WriteFileAtomic(path + ".tokens.new", expected.substr(0, header) + dump);
    ADD_FAILURE() << "the dump differs from " << path << ".tokens; the new one is in " << path << ".tokens.new";
  }
  EXPECT_EQ(test::CheckInvariants(f, text, test::OptionsFor(GetParam().fountain)), "");
}

INSTANTIATE_TEST_SUITE_P(Languages, Golden,
                         testing::Values(TGolden{"sample.pl", "perl"}, TGolden{"sample.rb", "ruby"},
                                         TGolden{"sample.awk", "awk"}, TGolden{"sample.c", "c"},
                                         TGolden{"sample.java", "java"}, TGolden{"sample.pas", "delphilang"},
                                         TGolden{"sample.cob", "cobol"}, TGolden{"sample.html", "html"},
                                         TGolden{"sample.txt", "text"}, TGolden{"sample.cpp.txt", "cpp"},
                                         TGolden{"sample.delphi.txt", "delphi"}),
                         [](const testing::TestParamInfo<TGolden>& info) {
                           std::string name = info.param.file;
                           for (char& c : name) {
                             if (c == '.') c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace nuv
