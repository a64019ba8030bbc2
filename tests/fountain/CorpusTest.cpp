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

#if defined(__SANITIZE_ADDRESS__)
constexpr std::uintmax_t kDefaultBudget = 150 * 1024;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr std::uintmax_t kDefaultBudget = 150 * 1024;
#else
constexpr std::uintmax_t kDefaultBudget = 1536 * 1024;
#endif
#else
constexpr std::uintmax_t kDefaultBudget = 1536 * 1024;
#endif

std::uintmax_t Budget() {
  const char* env = std::getenv("NUV_CORPUS_BYTES");
  return env ? std::strtoull(env, nullptr, 10) : kDefaultBudget;
}

// Every file under `roots` with one of `exts`, sorted, then an even sample
// of them up to the byte budget.
std::vector<std::string> Sample(const std::vector<std::string>& roots, const std::vector<std::string>& exts) {
  std::vector<std::pair<std::string, std::uintmax_t>> all;
  for (const std::string& root : roots) {
    std::error_code ec;
    if (!fs::is_directory(root, ec)) continue;
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
      if (ec) break;
      if (!it->is_regular_file(ec)) continue;
      const std::string ext = it->path().extension().string();
      if (std::find(exts.begin(), exts.end(), ext) == exts.end()) continue;
      all.emplace_back(it->path().string(), it->file_size(ec));
    }
  }
  std::sort(all.begin(), all.end());
  std::uintmax_t total = 0;
  for (const auto& f : all) total += f.second;
  const std::uintmax_t budget = Budget();
  const std::size_t step = total > budget ? static_cast<std::size_t>((total + budget - 1) / budget) : 1;
  std::vector<std::string> picked;
  std::uintmax_t used = 0;
  for (std::size_t i = 0; i < all.size() && used < budget; i += step) {
    picked.push_back(all[i].first);
    used += all[i].second;
  }
  return picked;
}

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
