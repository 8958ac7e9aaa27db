// Links that a member of the application directory's group plants there
// between two installations: root's second run writes none of its own
// files through them and changes nothing they point to.
#include <sys/stat.h>

#include <string>

#include "install_fixtures.h"
#include "sandbox.h"

namespace {

const std::string kApp = "/opt/Vexla/vpxx";

TEST(LinksScenario, APlantedLinkIsReplacedOrRefusedNeverFollowed) {
  SETUP_REQUIRE_SANDBOX();
  const struct {
    const char* entry;  // in the application directory
    bool ownFile;       // the installer writes it itself: replaced; else refused
  } plants[] = {
      {".vp_cfg", true}, {"VexlaPrintvpxx", true}, {"setup.manifest", true},
      {".PrintError", false},  // touch and chmod 666
      {"vpqadmin", false},     // a copy onto it, its mode, owner and group, and running it
      {"vsf", false},          // the set-user-ID mode
      {"VPrintD.log", false},  // touch, mode 666 and group
  };
  // The installer's own files are planted before one re-installation, the
  // paths it changes in place before another.
  std::string plantOwn = "cd " + kApp, plantInPlace = plantOwn;
  std::string victims;
  for (const auto& p : plants) {
    const std::string victim = std::string("/etc/victim") + p.entry;
    victims += "printf secret > " + victim + "; chmod 600 " + victim + "; ";
    (p.ownFile ? plantOwn : plantInPlace) += std::string(" && rm -f ") + p.entry + " && ln -s " + victim + " " + p.entry;
  }
  SandboxResult r = RunInSandbox(
      "links-planted", FromSite(),
      Shell("./setup install /opt > /root/first 2>&1; echo first=$?; chgrp lp " + kApp + "; " + victims +
            AsAttacker(plantOwn, "lp") + "; echo planted=$?; printf 'y\\n' | ./setup install /opt > /root/own 2>&1; " +
            "echo own=$?; " + AsAttacker(plantInPlace, "lp") + "; echo planted2=$?; " +
            "printf 'y\\n' | ./setup install /opt; echo inPlace=$?"));
  ASSERT_EQ(Printed(r.out, "first"), "0") << r.Read("/root/first");
  ASSERT_EQ(Printed(r.out, "planted") + Printed(r.out, "planted2"), "00") << r.err;
  EXPECT_EQ(Printed(r.out, "own"), "0") << r.Read("/root/own");
  // Refused changes are failed steps: the run says so and is no success.
  EXPECT_EQ(Printed(r.out, "inPlace"), "1") << r.out << r.err;
  for (const auto& p : plants) {
    SCOPED_TRACE(p.entry);
    const std::string path = kApp + "/" + p.entry;
    const std::string victim = std::string("/etc/victim") + p.entry;
    const FileInfo v = Info(r, victim);
    EXPECT_EQ(r.Read(victim), "secret");
    EXPECT_EQ(v.mode, 0600u) << std::oct << v.mode;
    EXPECT_EQ(v.uid, 0u);
    const FileInfo e = Info(r, path);
    if (p.ownFile) {
      EXPECT_EQ(e.type, static_cast<mode_t>(S_IFREG)) << "the link is replaced by the installer's file";
      EXPECT_EQ(e.uid, 0u);
    } else {
      EXPECT_TRUE(Contains(r.err, "ERROR: " + path + " is a symbolic link not owned by root: not changed\n")) << r.err;
    }
  }
  // The planted vpqadmin is never run by root, and nothing is made
  // set-user-ID in a run that refused a step.
  EXPECT_TRUE(Contains(r.err, kApp + "/vpqadmin is not root's own program: not run")) << r.err;
  EXPECT_EQ(Info(r, kApp + "/vprvpxxtty").mode, 0755u);
}

}  // namespace
