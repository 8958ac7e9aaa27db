#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "installer.h"
#include "test_support.h"

namespace {

constexpr char kAbc[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

// The sha256sum forms pass (text and binary mode, upper-case digits, DOS
// line ends); anything else is a damaged file, not a file to skip.
TEST(MediumChecksumsDeathTest, TheFileIsReadStrictly) {
  ScratchDir dir;
  dir.Write("a", "abc");
  dir.Write("db/b", "abc");
  std::string upper = kAbc;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  dir.Write("sha256", std::string(kAbc) + "  a\n" + upper + " *db/b\r\n\n");
  EXPECT_EQ(CheckMediumChecksums(dir.path().c_str()), 2);

  const struct {
    std::string text;
    const char* why;
  } bad[] = {
      {std::string(kAbc) + " a\n", "damaged, line 1"},
      {std::string(kAbc, 63) + "g  a\n", "damaged, line 1"},
      {std::string(kAbc) + "  a\n" + kAbc + "  ../a\n", "cannot be used: ../a"},
      {std::string(kAbc) + "  c\n", "c is missing"},
      {std::string(64, '0') + "  a\n", "a does not match its checksum"},
  };
  for (const auto& b : bad) {
    dir.Write("sha256", b.text);
    EXPECT_EXIT(CheckMediumChecksums(dir.path().c_str()), testing::ExitedWithCode(1), b.why) << b.text;
  }
}

}  // namespace
