// Minisign's files against the stock minisign tool: what one signs the
// other checks, both agree on every damage, and damaged files are refused
// by name.
#include "Minisign.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "MinisignSign.h"
#include "test_support.h"

namespace {

class MinisignTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string out;
    if (RunProgram({"minisign", "-v"}, "", &out) != 0) {
      if (const char* ci = std::getenv("CI"); ci != nullptr && std::string(ci) == "true")
        FAIL() << "the stock minisign is missing (scripts/deps.sh installs it)";
      GTEST_SKIP() << "the stock minisign is missing (scripts/deps.sh installs it)";
    }
  }

  // A key pair of the stock tool without a password: dir/name.key, dir/name.pub.
  void StockKeyPair(const std::string& name, const std::string& password = "") {
    std::string out;
    std::vector<std::string> argv = {"minisign", "-G", "-p", dir.File(name + ".pub"), "-s", dir.File(name + ".key")};
    if (password.empty()) argv.push_back("-W");
    ASSERT_EQ(RunProgram(argv, password + "\n" + password + "\n", &out), 0) << out;
  }

  bool StockVerifies(const std::string& file, const std::string& sig, const std::string& pub, std::string* out) {
    return RunProgram({"minisign", "-V", "-m", file, "-x", sig, "-p", pub}, "", out) == 0;
  }

  bool WeVerify(const std::string& file, const std::string& sig, const std::string& pub, std::string* why) {
    MinisignPublicKey key;
    MinisignSignature s;
    return ReadMinisignPublicKey(ReadWholeFile(pub), &key, why) && ReadMinisignSignature(ReadWholeFile(sig), &s, why) &&
           VerifyMinisign(key, s, ReadWholeFile(file), why);
  }

  ScratchDir dir;
};

// Another base64 letter at offset of line lineNo (0-based) of text.
std::string ChangeLetter(std::string text, int lineNo, size_t offset) {
  size_t at = 0;
  for (int i = 0; i < lineNo; ++i) at = text.find('\n', at) + 1;
  text[at + offset] = text[at + offset] == 'A' ? 'B' : 'A';
  return text;
}

// A file signed by the stock tool, then damaged in each part: setup's
// checker and minisign agree on every case.
TEST_F(MinisignTest, StockSignaturesAreCheckedAsMinisignChecksThem) {
  StockKeyPair("stock");
  const std::string content = "0123456789abcdef  pkg_tar.001\n";
  const std::string file = dir.Write("sha256", content);
  std::string out;
  ASSERT_EQ(RunProgram({"minisign", "-S", "-s", dir.File("stock.key"), "-m", file, "-t", "medium x"}, "", &out), 0)
      << out;
  const std::string sig = ReadWholeFile(file + ".minisig");
  StockKeyPair("other");
  const struct Case {
    const char* what;
    std::string content, sig, pub;
    bool valid;
    const char* why;
  } cases[] = {
      {"intact", content, sig, "stock.pub", true, ""},
      {"checksum-byte", "1" + content.substr(1), sig, "stock.pub", false, "does not match the file"},
      {"signature-byte", content, ChangeLetter(sig, 1, 40), "stock.pub", false, "does not match the file"},
      {"trusted-comment", content, ChangeLetter(sig, 2, 17), "stock.pub", false, "trusted comment does not match"},
      {"global-signature", content, ChangeLetter(sig, 3, 30), "stock.pub", false, "trusted comment does not match"},
      {"other-key", content, sig, "other.pub", false, "it is by key "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dir.Write("f", c.content);
    dir.Write("f.minisig", c.sig);
    std::string why, stockOut;
    const bool ours = WeVerify(dir.File("f"), dir.File("f.minisig"), dir.File(c.pub), &why);
    EXPECT_EQ(ours, c.valid) << why;
    EXPECT_EQ(StockVerifies(dir.File("f"), dir.File("f.minisig"), dir.File(c.pub), &stockOut), c.valid) << stockOut;
    EXPECT_NE(why.find(c.why), std::string::npos) << why;
  }
}

// Signatures made here pass the stock tool, by its keys and by keys made
// here (which it signs with in turn); the same input signs to the same bytes.
TEST_F(MinisignTest, SignaturesMadeHerePassTheStockTool) {
  StockKeyPair("stock");
  std::string out, why, secret, pub;
  ASSERT_TRUE(MakeMinisignKeyPair("", &secret, &pub, &why)) << why;
  dir.Write("made.key", secret);
  dir.Write("made.pub", pub);
  const std::string file = dir.Write("sha256", "abc  disks\n");
  for (const char* name : {"stock", "made"}) {
    SCOPED_TRACE(name);
    MinisignSecretKey key;
    ASSERT_FALSE(MinisignKeyNeedsPassword(ReadWholeFile(dir.File(std::string(name) + ".key"))));
    ASSERT_TRUE(ReadMinisignSecretKey(ReadWholeFile(dir.File(std::string(name) + ".key")), "", &key, &why)) << why;
    const std::string sig = MinisignSign(key, "abc  disks\n", "Vexla 3 pieces");
    EXPECT_EQ(sig, MinisignSign(key, "abc  disks\n", "Vexla 3 pieces"));
    dir.Write("sha256.minisig", sig);
    EXPECT_TRUE(StockVerifies(file, dir.File("sha256.minisig"), dir.File(std::string(name) + ".pub"), &out)) << out;
    EXPECT_NE(out.find("Trusted comment: Vexla 3 pieces"), std::string::npos) << out;
  }
  ASSERT_EQ(RunProgram({"minisign", "-S", "-s", dir.File("made.key"), "-m", file}, "", &out), 0) << out;
  EXPECT_TRUE(WeVerify(file, file + ".minisig", dir.File("made.pub"), &why)) << why;
}

// A password-protected stock key opens with its password alone (scrypt
// at minisign's cost: a few seconds each).
TEST_F(MinisignTest, AProtectedStockKeyOpensWithItsPasswordAlone) {
  StockKeyPair("locked", "s3cret");
  const std::string text = ReadWholeFile(dir.File("locked.key"));
  ASSERT_TRUE(MinisignKeyNeedsPassword(text));
  MinisignSecretKey key;
  std::string why;
  EXPECT_FALSE(ReadMinisignSecretKey(text, "s3creT", &key, &why));
  EXPECT_EQ(why, "wrong password, or the key file is damaged");
  ASSERT_TRUE(ReadMinisignSecretKey(text, "s3cret", &key, &why)) << why;
  MinisignPublicKey pub;
  ASSERT_TRUE(ReadMinisignPublicKey(ReadWholeFile(dir.File("locked.pub")), &pub, &why)) << why;
  EXPECT_EQ(key.id, pub.id);
}

TEST(MinisignFiles, DamagedKeysAndSignaturesAreRefusedWithTheirReason) {
  const std::string pub = "untrusted comment: k\nRWTWg5hqjOaVGUoZyy8Qv0zEn0+3tlig2H0dser5qZcc/e2hBU0UYWf0\n";
  const std::string sig =
      "untrusted comment: s\n"
      "RUTWg5hqjOaVGdWY4lnxolpI2WtevQ0HfD8Z/M+TzcIUsbryFnJZ4M3sEd+HSHL5omQjorLkg01m531R0g9uStL9llxhHKvRBwo=\n"
      "trusted comment: tc here\n"
      "qbO6W45+NlT1uWKsD5v3YWmwFwQUM/stuAoO981H/9OynsbVPmwSh0XyuGW6U2pWRP9sem28cTYNgEuO9d/WBw==\n";
  MinisignPublicKey key;
  MinisignSignature s;
  std::string why;
  ASSERT_TRUE(ReadMinisignPublicKey(pub, &key, &why)) << why;
  EXPECT_EQ(MinisignKeyIdText(key.id), "1995E68C6A9883D6");
  ASSERT_TRUE(ReadMinisignSignature(sig, &s, &why)) << why;
  EXPECT_EQ(s.trustedComment, "tc here");
  const std::pair<std::string, const char*> keys[] = {
      {"", "does not begin with an untrusted comment"},
      {"RWTWg5hqjOaVGUoZyy8Qv0zEn0+3tlig2H0dser5qZcc/e2hBU0UYWf0\n", "does not begin"},
      {"untrusted comment: k\nRWTWg5hqjOaVGUoZyy8Qv0zEn0+3tlig2H0dser5qZcc/e2hBU0UYWf\n", "line 2 is not"},
      {"untrusted comment: k\nRWTWg5hqjOaVGUoZyy8Qv0zEn0+3tlig2H0dser5qZcc/e2hBU0UYWf0AA==\n", "line 2 is not"},
      {"untrusted comment: k\nRVTWg5hqjOaVGUoZyy8Qv0zEn0+3tlig2H0dser5qZcc/e2hBU0UYWf0\n", "not an Ed25519 key"},
      {pub + "x\n", "more than two lines"},
      {std::string("untrusted comment: \0\n", 21) + pub, "byte 0"},
  };
  for (const auto& [text, reason] : keys) {
    EXPECT_FALSE(ReadMinisignPublicKey(text, &key, &why)) << text;
    EXPECT_NE(why.find(reason), std::string::npos) << why;
  }
  const std::pair<std::string, const char*> sigs[] = {
      {pub, "fewer than four lines"},
      {sig.substr(0, sig.rfind("qbO")), "fewer than four lines"},
      {std::string(sig).replace(sig.find("RUT"), 3, "RWT"), "legacy form"},
      {std::string(sig).replace(sig.find("trusted comment: tc"), 8, "trusted-"), "line 3 is not"},
      {sig + "\n\nmore\n", "more than four lines"},
      {"untrusted comment: " + std::string(2000, 'x') + sig.substr(sig.find('\n')), "untrusted comment"},
  };
  for (const auto& [text, reason] : sigs) {
    EXPECT_FALSE(ReadMinisignSignature(text, &s, &why)) << text;
    EXPECT_NE(why.find(reason), std::string::npos) << why;
  }
}

}  // namespace
