// Tests of the sample product: its stand-in programs are shell scripts
// that parse, its package list uses every keyword and attribute, and the
// medium builder makes a complete medium of it.
#include <gtest/gtest.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "mkmedium_test.h"

namespace {

const std::string kSample = SAMPLE_PRODUCT_DIR;

std::vector<std::string> SampleScripts() {
  std::vector<std::string> scripts;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(kSample))
    if (e.is_regular_file() && ReadWholeFile(e.path()).rfind("#!/bin/sh\n", 0) == 0) scripts.push_back(e.path());
  return scripts;
}

TEST(SampleProduct, StandInsAreShellScriptsThatParse) {
  std::set<std::string> names;
  for (const std::string& script : SampleScripts()) {
    names.insert(fs::relative(script, kSample + "/pkg"));
    std::string cmd = "sh -n '" + script + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << script;
    EXPECT_NE(ReadWholeFile(script).find("Stand-in for"), std::string::npos) << script;
    EXPECT_EQ(access(script.c_str(), X_OK), 0) << script;
  }
  EXPECT_EQ(names, (std::set<std::string>{"vpqadmin", "vprvpxxtty", "vsf", "VPrintD", "VPrintUI", "bin/vprint"}));
}

TEST(SampleProduct, ListUsesEveryKeywordAndAttributeOnFilesItHas) {
  std::string list = ReadWholeFile(kSample + "/pkg/pkg.list");
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list.find('\t'), std::string::npos) << "a tab joins words";
  std::set<std::string> keywords, attributes;
  const std::set<std::string> known = {"dir", "dirto", "t", "c", "m", "#", "v", "s", "newdir", "checkps"};
  struct utsname host;
  ASSERT_EQ(uname(&host), 0);
  int conditionsHeld = 0, conditionsFailed = 0;
  for (const std::string& line : Lines(list)) {
    EXPECT_LE(line.size(), 510u);
    EXPECT_TRUE(line.empty() || line.back() != '\\') << line;
    std::vector<std::string> w = Words(line);
    if (w.empty()) continue;
    keywords.insert(known.count(w[0]) ? w[0] : "other");
    if (w[0] == "#") continue;
    size_t i = 0;
    bool holds = true;
    for (; i + 2 < w.size() && w[i] == "v"; i += 3) {
      int cmp = std::strcmp(host.release, w[i + 2].c_str());
      const std::string& op = w[i + 1];
      holds = holds && ((op == "<" && cmp < 0) || (op == "<=" && cmp <= 0) || (op == "=" && cmp == 0) ||
                        (op == ">" && cmp > 0) || (op == ">=" && cmp >= 0));
    }
    if (i > 0) (holds ? conditionsHeld : conditionsFailed)++;
    ASSERT_LT(i + 1, w.size()) << line;
    const std::string& kw = w[i];
    const std::string& name = w[i + 1];
    if (kw == "checkps" || kw == "t" || kw == "newdir") {
      i += 2;
    } else {
      EXPECT_TRUE(fs::exists(kSample + "/pkg/" + name)) << line;
      i += kw == "dirto" ? 3 : 2;
    }
    if (kw == "dirto") {
      EXPECT_EQ(w[i - 1][0], '/') << "absolute destination: " << line;
    }
    for (; i + 1 < w.size(); i += 2) {
      attributes.insert(w[i]);
      if (w[i] == "sed") {
        EXPECT_NE(line.find("' -e '"), std::string::npos) << "a script with blanks and quotes: " << line;
        break;
      }
      // Owners and groups that exist on every Debian host; links in /usr/bin.
      if (w[i] == "owner") {
        EXPECT_EQ(w[i + 1], "root");
      } else if (w[i] == "group") {
        EXPECT_TRUE(w[i + 1] == "root" || w[i + 1] == "lp") << line;
      } else if (w[i] == "link") {
        EXPECT_EQ(w[i + 1].rfind("/usr/bin/", 0), 0u) << line;
      }
    }
  }
  std::set<std::string> allKeywords = known;
  allKeywords.insert("other");
  EXPECT_EQ(keywords, allKeywords);
  EXPECT_EQ(attributes, (std::set<std::string>{"mode", "bat", "owner", "group", "link", "name", "sed"}));
  EXPECT_GE(conditionsHeld, 1) << host.release;
  EXPECT_GE(conditionsFailed, 1) << host.release;
  for (const char* delivered : {"c vprvpxxtty ", "c vsf ", "c vpqadmin ", "c VPrintD "})
    EXPECT_NE(list.find(std::string("\n") + delivered), std::string::npos) << delivered;
}

TEST(SampleProduct, MakesACompleteMedium) {
  ScratchDir scratch;
  std::string program = scratch.Write("setup", "stand-in program\n");
  std::string medium = scratch.File("medium");
  ToolRun run = RunMkmedium(scratch, {"-o", medium, "-p", program, kSample});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> listed = ListedNames(ReadWholeFile(medium + "/disks"));
  EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), FilesIn(medium));
  EXPECT_EQ(listed.size(), FilesIn(medium).size());
  for (const char* name : {"setup", "installf.rom", "isize", "tsize", "disks", "pkg_tar.001"})
    EXPECT_TRUE(fs::exists(medium + "/" + name)) << name;
  Unpack(medium, listed, scratch.path(), "pkg_tar.");
  EXPECT_EQ(TreeContents(scratch.File("unpacked")), TreeContents(kSample));
  for (const std::string& script : SampleScripts()) {
    std::string unpacked = scratch.File("unpacked/" + fs::relative(script, kSample).string());
    EXPECT_EQ(access(unpacked.c_str(), X_OK), 0) << unpacked;
  }
}

// Two copies of the sample, made under other umasks at other times in other
// folders of the same name, built under other time zones and locales with
// one SOURCE_DATE_EPOCH and one key, give media equal byte for byte; the
// archive holds no time past the epoch and the modes 755 and 644 alone.
TEST(SampleProduct, ARebuildWithSourceDateEpochIsEqualByteForByte) {
  ScratchDir scratch;
  const std::string program = scratch.Write("setup", "stand-in program\n");
  const std::string key = scratch.File("packager.key");
  ASSERT_EQ(RunMkmedium(scratch, {"--generate-key", key, "--no-password"}).status, 0);
  const long long epoch = 1700000000;
  const struct {
    const char* dir;
    const char* umask;
    long long touched;  // seconds after the epoch
    const char* tz;
    const char* locale;
  } builds[] = {{"a", "022", 3600, "UTC", "C"}, {"b/c", "077", 86400 * 400, "Pacific/Kiritimati", "fr_FR.UTF-8"}};
  std::map<std::string, std::string> media[2];
  for (int i = 0; i < 2; ++i) {
    const auto& b = builds[i];
    const std::string product = scratch.File(std::string(b.dir) + "/sample"), medium = product + ".medium";
    const std::string copy = "umask " + std::string(b.umask) + " && mkdir -p '" + product + "' && cp -r '" + kSample +
                             "/.' '" + product + "' && find '" + product + "' -exec touch -h -d @" +
                             std::to_string(epoch + b.touched) + " {} +";
    ASSERT_EQ(std::system(copy.c_str()), 0) << copy;
    std::string out;
    ASSERT_EQ(RunProgram({"env", "SOURCE_DATE_EPOCH=" + std::to_string(epoch), std::string("TZ=") + b.tz,
                          std::string("LC_ALL=") + b.locale, MKMEDIUM_PATH, "--sign", key, "-s", "4K", "-o", medium,
                          "-p", program, product},
                         "", &out),
              0)
        << out;
    media[i] = TreeContents(medium);
    if (i > 0) continue;
    const std::vector<std::string> listed = ListedNames(media[0]["disks"]);
    Unpack(medium, listed, scratch.path(), "pkg_tar.");
    ASSERT_EQ(RunProgram({"tar", "--full-time", "--utc", "-tvf", scratch.File("a.tar")}, "", &out), 0) << out;
    for (const std::string& line : Lines(out)) {
      SCOPED_TRACE(line);
      const std::string original = kSample + "/" + Words(line).back();
      const char* mode = fs::is_directory(original)           ? "drwxr-xr-x"
                         : access(original.c_str(), X_OK) == 0 ? "-rwxr-xr-x"
                                                               : "-rw-r--r--";
      EXPECT_EQ(line.substr(0, 10), mode);
      EXPECT_NE(line.find(" 0/0 "), std::string::npos);
      EXPECT_NE(line.find(" 2023-11-14 22:13:20 "), std::string::npos);
    }
  }
  ASSERT_GT(media[0].size(), 5u);
  EXPECT_TRUE(media[0].count("sha256.minisig"));
  for (const auto& [name, bytes] : media[0]) EXPECT_TRUE(media[1][name] == bytes) << name << " differs";
  EXPECT_EQ(media[0].size(), media[1].size());
}

}  // namespace
