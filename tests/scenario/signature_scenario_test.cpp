// Signed media with the real program and real keys: a host that keeps a
// key in /etc/Vexla/keys installs only media signed by it, and a host
// that keeps none installs as before, saying once that the signature was
// not checked.
#include <string>
#include <vector>

#include "install_fixtures.h"
#include "sandbox.h"
#include "test_support.h"

namespace {

// A key pair made by the medium builder, without a password: MediaRoot()/name.key, .pub.
std::string KeyPair(const std::string& name) {
  const std::string key = MediaRoot() + "/" + name + ".key";
  std::string out;
  if (ReadWholeFile(key).empty() &&
      RunTool({MKMEDIUM_PROGRAM, "--generate-key", key, "--no-password"}, &out) != 0)
    ADD_FAILURE() << out;
  return key;
}

std::string PublicKey(const std::string& name) { return MediaRoot() + "/" + name + ".pub"; }

std::string SignedMedium(const std::string& signer) {
  return Medium("signed-" + signer, SAMPLE_PRODUCT_DIR, {"--sign", KeyPair(signer)});
}

// The signer's public key kept by root in /etc/Vexla/keys.
SandboxOptions KeepingKey(const std::string& medium) {
  SandboxOptions o = FromMedium(medium);
  KeyPair("packager");
  o.copies.push_back({PublicKey("packager"), "/etc/Vexla/keys/packager.pub"});
  o.setup.push_back("chown -R 0:0 /etc/Vexla && chmod 755 /etc/Vexla /etc/Vexla/keys && chmod 644 /etc/Vexla/keys/*");
  return o;
}

const char kInstallAndVerify[] =
    "./setup install /opt > /root/out 2> /root/err; echo \"status=$?\"; ./setup verify install /opt > /root/verify; "
    "echo \"verify=$?\"; ./setup verify install /opt --json > /root/verify.json";

TEST(SignatureScenario, AHostKeepingAKeyInstallsOnlyMediaThatKeySigned) {
  SETUP_REQUIRE_SANDBOX();
  const struct Case {
    const char* what;
    std::string medium;
    std::string change;
    const char* status;
    std::string why;
  } cases[] = {
      {"signed", SignedMedium("packager"), "", "0", ""},
      {"unsigned", SiteMedium(), "", "1", "ERROR: the medium is not signed, and this host installs only media signed"},
      {"other-key", SignedMedium("stranger"), "", "1", "which /etc/Vexla/keys does not hold"},
      {"piece-and-line", SignedMedium("packager"),
       "cd /media && echo theirs > pkg_tar.001 && sed -i \"s/^[0-9a-f]*  pkg_tar.001$/$(sha256sum pkg_tar.001 | cut -c1-64)  pkg_tar.001/\" sha256",
       "1", "is bad: the signature does not match the file"},
      {"fifo", SignedMedium("packager"), "rm /media/sha256.minisig && mkfifo /media/sha256.minisig", "1",
       "ERROR: sha256.minisig in /media cannot be read as a regular file"},
      {"link", SignedMedium("packager"), "cd /media && mv sha256.minisig s && ln -s s sha256.minisig", "1",
       "ERROR: sha256.minisig in /media cannot be read as a regular file"},
      {"group-writable-folder", SignedMedium("packager"),
       "chgrp lp /etc/Vexla/keys && chmod 775 /etc/Vexla/keys && " +
           AsAttacker("cp /etc/Vexla/keys/packager.pub /etc/Vexla/keys/planted.pub", "lp"),
       "1", "the key folder /etc/Vexla/keys cannot be trusted: it is writable by others than root (mode 0775)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = KeepingKey(c.medium);
    if (!c.change.empty()) o.setup.push_back(c.change);
    SandboxResult r = RunInSandbox(std::string("signature-kept-") + c.what, o, Shell(kInstallAndVerify));
    EXPECT_EQ(Printed(r.out, "status"), c.status) << r.Read("/root/out") << r.Read("/root/err");
    EXPECT_TRUE(Contains(r.Read("/root/err"), c.why)) << r.Read("/root/err");
    if (std::string(c.status) == "0") {
      EXPECT_EQ(Printed(r.out, "verify"), "0") << r.Read("/root/verify");
      EXPECT_TRUE(Contains(r.Read("/tmp/setup.log"), ": checked")) << r.Read("/tmp/setup.log");
      EXPECT_FALSE(Contains(r.Read("/root/out"), "not checked")) << r.Read("/root/out");
      EXPECT_TRUE(Contains(r.Read("/opt/Vexla/vpxx/setup.manifest"), "\n# medium signature checked "));
      EXPECT_TRUE(Contains(r.Read("/root/verify.json"), "\"signature\":{\"state\":\"checked\",\"key_id\":\""))
          << r.Read("/root/verify.json");
    } else {
      EXPECT_FALSE(Contains(r.Read("/tmp/setup.log"), "uncompress")) << "joined a medium it refused";
      ExpectNothingInstalled(r);
    }
  }
}

// Without a key kept, a signed medium installs as an unsigned one does,
// and says once that its signature went unchecked; preview, its JSON,
// the manifest and verify --json name the signer as not checked.
TEST(SignatureScenario, WithoutAKeptKeyASignedMediumSaysOnceItWasNotChecked) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r =
      RunInSandbox("signature-no-key", FromMedium(SignedMedium("packager")),
                   Shell(std::string(kInstallAndVerify) + "; ./setup preview install /opt > /root/preview 2>&1; "
                                                          "./setup preview install /opt --json > /root/preview.json"));
  const std::string signer = "\"signature\":{\"state\":\"not checked\",\"key_id\":\"";
  EXPECT_TRUE(Contains(r.Read("/root/preview"), ", not checked, no key is kept in /etc/Vexla/keys; trusted comment: "
                                                 "product product pieces "))
      << r.Read("/root/preview");
  EXPECT_TRUE(Contains(r.Read("/root/preview.json"), signer)) << r.Read("/root/preview.json");
  EXPECT_TRUE(Contains(r.Read("/root/verify.json"), signer)) << r.Read("/root/verify.json");
  EXPECT_TRUE(Contains(r.Read("/opt/Vexla/vpxx/setup.manifest"), "\n# medium signature not%20checked "));
  EXPECT_EQ(Printed(r.out, "status"), "0") << r.Read("/root/out") << r.Read("/root/err");
  EXPECT_EQ(Count(r.Read("/root/out"), "its signature was not checked: no key is kept in /etc/Vexla/keys"), 1)
      << r.Read("/root/out");
  EXPECT_EQ(Printed(r.out, "verify"), "0") << r.Read("/root/verify");
}

}  // namespace
