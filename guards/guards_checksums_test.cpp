#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "guards.h"
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

// Every file the disks list names but the marker and the checksum file
// itself must have its line; a file without one, or a checksum file
// without lines, is a damaged medium.
TEST(MediumChecksumsDeathTest, TheFileCoversTheWholeList) {
  ScratchDir dir;
  dir.Write("a", "abc");
  dir.Write("db/b", "abc");
  dir.Write("installf.rom", "installation site");
  dir.Write("disks", "a db/b\ninstallf.rom sha256\nend_of_list\nunlisted\n");
  const std::string both = std::string(kAbc) + "  a\n" + kAbc + "  db/b\n";
  dir.Write("sha256", both);
  EXPECT_EQ(CheckMediumChecksums(dir.path().c_str()), 2);

  const struct {
    std::string text;
    const char* why;
  } bad[] = {
      {std::string(kAbc) + "  a\n", "db/b has no line in the checksum file"},
      {"", "holds no line"},
      {"\n\r\n", "holds no line"},
  };
  for (const auto& b : bad) {
    dir.Write("sha256", b.text);
    EXPECT_EXIT(CheckMediumChecksums(dir.path().c_str()), testing::ExitedWithCode(1), b.why) << b.text;
  }
}

}  // namespace
