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

namespace fs = std::filesystem;
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

TEST(Corpus, PerlModules) { CheckCorpus("perl", Sample({"/usr/share/perl", "/usr/share/perl5"}, {".pm", ".pl"})); }

TEST(Corpus, CHeadersWithTheCppFountain) { CheckCorpus("c", Sample({"/usr/include"}, {".h"})); }

TEST(Corpus, CHeadersInTheCppMode) { CheckCorpus("cpp", Sample({"/usr/include"}, {".h"})); }

TEST(Corpus, RubyLibraries) { CheckCorpus("ruby", Sample({"/usr/lib/ruby"}, {".rb"})); }

TEST(Corpus, HtmlDocuments) { CheckCorpus("html", Sample({"/usr/share/doc"}, {".html", ".htm"})); }

TEST(Corpus, AwkPrograms) { CheckCorpus("awk", Sample({"/usr/share/awk", "/usr/share/doc/gawk"}, {".awk"})); }

TEST(Corpus, JavaDemos) {
  // The JDK demos ship their sources zipped.
  const std::vector<std::string> zips = Sample({"/usr/share/doc/openjdk-17-jre-headless/demo"}, {".zip"});
  if (zips.empty()) GTEST_SKIP() << "openjdk-17-demo is not installed";
  test::TTempDir dir;
  for (const std::string& zip : zips) {
    const std::string into = dir.File(fs::path(zip).parent_path().filename().string());
    ASSERT_EQ(test::RunProcess({"unzip", "-q", "-o", zip, "*.java", "-d", into}), 0) << zip;
  }
  CheckCorpus("java", Sample({dir.Path()}, {".java"}));
}

TEST(Corpus, CobolProgramsTheCompilerAccepts) {
  const std::string own = std::string(NUV_TEST_DATA) + "/corpus";
  std::vector<std::string> files = Sample({own}, {".cob"});
  for (const std::string& file : files) {
    if (test::RunProcess({"cobc", "-fsyntax-only", file}) == 127) GTEST_SKIP() << "cobc is not installed";
    EXPECT_EQ(test::RunProcess({"cobc", "-fsyntax-only", file}), 0) << file;
  }
  for (const std::string& copybook : Sample({"/usr/share/gnucobol/copy"}, {".cpy"})) files.push_back(copybook);
  CheckCorpus("cobol", files);
}

}  // namespace
}  // namespace nuv
