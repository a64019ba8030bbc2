// Real sources from Debian's packages: every sampled file keeps the
// invariants (tokens tile each row, stored states give the same tokens,
// wrapping changes no byte's kind). A corpus whose package is missing is
// skipped; scripts/deps.sh installs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "FountainTestUtil.h"
#include "base/FileIo.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace nuv {
namespace {

using test::Sample;

void CheckCorpus(const char* fountain, const std::vector<std::string>& files) {
  if (files.empty()) GTEST_SKIP() << "no files of this corpus are installed";
  test::TFountains fountains;
  TFountain& f = fountains.Get(fountain);
  const test::TInvariantOptions options = test::OptionsFor(fountain);
  int failures = 0;
  for (const std::string& file : files) {
    std::string text;
    if (ReadWholeFile(file, text) != TReadResult::Ok) continue;
    const std::string failure = test::CheckInvariants(f, text, options);
    if (!failure.empty() && ++failures <= 5) ADD_FAILURE() << file << ": " << failure;
  }
  EXPECT_EQ(failures, 0) << "of " << files.size() << " files";
}

TEST(Corpus, PerlModules) { CheckCorpus("perl", test::CorpusFiles("perl", "")); }

TEST(Corpus, CHeadersWithTheCppFountain) { CheckCorpus("c", test::CorpusFiles("c", "")); }

TEST(Corpus, CHeadersInTheCppMode) { CheckCorpus("cpp", test::CorpusFiles("c", "")); }

TEST(Corpus, RubyLibraries) { CheckCorpus("ruby", test::CorpusFiles("ruby", "")); }

TEST(Corpus, HtmlDocuments) { CheckCorpus("html", test::CorpusFiles("html", "")); }

TEST(Corpus, AwkPrograms) { CheckCorpus("awk", test::CorpusFiles("awk", "")); }

TEST(Corpus, JavaDemos) {
  test::TTempDir dir;
  CheckCorpus("java", test::CorpusFiles("java", dir.Path()));
}

TEST(Corpus, CobolProgramsTheCompilerAccepts) {
  const std::string own = std::string(NUV_TEST_DATA) + "/corpus";
  std::vector<std::string> files = Sample({own}, {".cob"});
  for (const std::string& file : files) {
    if (test::RunProcess({"cobc", "-fsyntax-only", file}) == 127) GTEST_SKIP() << "cobc is not installed";
    EXPECT_EQ(test::RunProcess({"cobc", "-fsyntax-only", file}), 0) << file;
  }
  for (const std::string& copybook : test::CorpusFiles("cobol", "")) files.push_back(copybook);
  CheckCorpus("cobol", files);
}

}  // namespace
}  // namespace nuv
