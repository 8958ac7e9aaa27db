// What root trusts after an installation, tried by a real attacker in the
// sandbox: a user of no group, or a member of the group that may write the
// application directory, who replaces the manifest, swaps a folder for a
// link or leaves files where the installation put its own, before root runs
// verify or remove. The victims are files of the sandbox's /etc.
#include <sys/stat.h>

#include <iterator>
#include <string>

#include "install_fixtures.h"
#include "sandbox.h"
#include "test_support.h"

namespace {

const std::string kApp = "/opt/Vexla/vpxx";
const std::string kManifest = kApp + "/setup.manifest";
const std::string kDownload = "/var/spool/Vexla/vpxx/__vpa_download__";
const char kInstall[] = "./setup install /opt > /root/install 2>&1; echo install=$?; ";
const char kVictim[] = "printf 'victim\\n' > /etc/victim && chmod 640 /etc/victim";

// The changes of the run at dir or below it, one a line.
std::string ChangesUnder(const SandboxResult& r, const std::string& dir) {
  std::string out;
  for (const std::string& c : r.changes)
    if (c.compare(2, dir.size(), dir) == 0 && (c.size() == dir.size() + 2 || c[dir.size() + 2] == '/')) out += c + "\n";
  return out;
}

// A manifest that anybody but root could have written, or that is a link,
// is refused by verify and by remove alike (status 2, the reason named,
// nothing removed, not even the log changed), and so is a damaged one; the forged lines name
// /etc/victim as an unchanged file of the installation. The next
// installation says that it does not use such a manifest and replaces it.
TEST(TrustScenario, AManifestOthersCouldHaveWrittenIsRefused) {
  SETUP_REQUIRE_SANDBOX();
  const std::string forged = "n 0640 root root - - /etc/victim\\n";
  const std::string trusted = "the manifest " + kManifest + " is not trusted: ";
  struct Case {
    const char* what;
    std::string attack;
    std::string said;
  };
  const Case cases[] = {
      {"replaced",
       "chgrp lp " + kApp + "; " +
           AsAttacker("rm -f " + kManifest + "; printf \"# setup manifest 1\\n" + forged + "\" > " + kManifest, "lp"),
       trusted + "it is not owned by root (uid 65534)"},
      {"world-writable", "chmod 666 " + kManifest + "; " + AsAttacker("printf \"" + forged + "\" >> " + kManifest),
       trusted + "it is writable by others than root (mode 0666)"},
      {"linked",
       "cp " + kManifest + " /etc/forged && printf '" + forged + "' >> /etc/forged; chgrp lp " + kApp + "; " +
           AsAttacker("rm -f " + kManifest + "; ln -s /etc/forged " + kManifest, "lp"),
       trusted + "it is a symbolic link"},
      {"dot-dot", "echo n 0640 root root - - " + kApp + "/../../../etc/victim >> " + kManifest,
       "the manifest " + kManifest + " is damaged, line "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = FromSite();
    o.setup.push_back(kVictim);
    SandboxResult r =
        RunInSandbox(std::string("trust-manifest-") + c.what, o,
                     Shell(kInstall + std::string("cp /tmp/setup.log /root/log; ") + c.attack + "; " +
                           Recorded("verify", "./setup verify install /opt") +
                           Recorded("remove", "./setup remove install /opt < /dev/null") +
                           "cmp /tmp/setup.log /root/log && echo log=same; " +
                           Recorded("again", "printf 'y\\n' | ./setup install /opt")));
    ASSERT_EQ(Printed(r.out, "install"), "0") << r.Read("/root/install");
    for (const char* run : {"verify", "remove"}) {
      const std::string out = r.Read(std::string("/root/") + run);
      EXPECT_EQ(Printed(r.out, run), "2") << out;
      EXPECT_TRUE(Contains(out, c.said)) << out;
    }
    EXPECT_EQ(ChangesUnder(r, "/etc/victim"), "");
    ExpectFile(r, kApp + "/vsf", S_IFREG, 04755, "lp");
    EXPECT_EQ(Printed(r.out, "log"), "same");
    const std::string again = r.Read("/root/again");
    EXPECT_EQ(Printed(r.out, "again"), "0") << again;
    EXPECT_EQ(Count(again, "the earlier manifest " + kManifest + " is not used: "), 1) << again;
    ExpectFile(r, kManifest, S_IFREG, 0644);
    EXPECT_EQ(Info(r, kManifest).uid, 0u);
    EXPECT_FALSE(Contains(r.Read(kManifest), "victim"));
  }
}

// A folder on the way to a listed path that someone swapped for a link
// (into /etc) is never walked through: what lies below it is kept and
// named, the victim stays. A user of no group has the download folder,
// whose content the manifest never claims; a member of the application
// directory's group swaps a folder of the product for a link of theirs, or
// for a link of root's that they moved there.
TEST(TrustScenario, RemoveNeverWalksThroughAPlantedLink) {
  SETUP_REQUIRE_SANDBOX();
  struct Case {
    const char* what;
    std::string before;  // after the first installation, before the second
    std::string attack;  // after the second, before remove
    std::string victim;  // a file of /etc, and what it holds
    std::string content;
    std::string kept;  // a line of remove's output
    std::string left;  // a file of the attacker's that stays, holding x
  };
  const Case cases[] = {
      {"download", AsAttacker("mkdir " + kDownload + "/d && printf x > " + kDownload + "/d/victim"),
       AsAttacker("mv " + kDownload + "/d " + kDownload + "/d.old && ln -s /etc " + kDownload + "/d"), "/etc/victim",
       "victim\n", "kept " + kDownload + ": it is not empty", kDownload + "/d.old/victim"},
      {"application", "chgrp lp " + kApp + "; mkdir /etc/vlib && cp -a " + kApp + "/lib/. /etc/vlib/",
       AsAttacker("printf x > " + kApp + "/x && mv " + kApp + "/lib " + kApp + "/lib.old && ln -s /etc/vlib " + kApp +
                      "/lib",
                  "lp"),
       "/etc/vlib/vpxx.cfg", EditedSettings(),
       "kept " + kApp + "/lib/vpxx.cfg: " + kApp + "/lib is a symbolic link not owned by root", kApp + "/x"},
      {"moved-root-link",
       "chgrp lp " + kApp + "; mkdir /etc/vlib && cp -a " + kApp + "/lib/. /etc/vlib/ && ln -s /etc/vlib " + kApp +
           "/share",
       AsAttacker("printf x > " + kApp + "/x && mv " + kApp + "/lib " + kApp + "/lib.old && mv " + kApp + "/share " +
                      kApp + "/lib",
                  "lp"),
       "/etc/vlib/vpxx.cfg", EditedSettings(),
       "kept " + kApp + "/lib/vpxx.cfg: " + kApp + "/lib is a symbolic link in a folder that others may write",
       kApp + "/x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = FromSite();
    o.setup.push_back(kVictim);
    SandboxResult r = RunInSandbox(
        std::string("trust-link-") + c.what, o,
        Shell(kInstall + c.before + "; " + Recorded("again", "printf 'y\\n' | ./setup install /opt") + c.attack + "; " +
              Recorded("remove", "./setup remove install /opt < /dev/null") + "cat " + c.victim + " > /root/victim"));
    ASSERT_EQ(Printed(r.out, "again"), "0") << r.Read("/root/again");
    const std::string out = r.Read("/root/remove");
    EXPECT_EQ(Printed(r.out, "remove"), "1") << out;
    EXPECT_TRUE(Contains(out, c.kept)) << out;
    EXPECT_EQ(r.Read("/root/victim"), c.content);
    EXPECT_EQ(r.Read(c.left), "x");
  }
}

// What the installation did not make stays when it is removed: another
// product's spool under an existing /var/spool/Vexla, the content of an
// existing folder that a link attribute put a link into, a file that a
// dirto copy overwrote (its folders were there before), and the
// administrator's /opt/Vexla, a link to another disk that remove follows
// (root owns it).
TEST(TrustScenario, RemoveKeepsWhatTheInstallationDidNotMake) {
  SETUP_REQUIRE_SANDBOX();
  struct Case {
    std::string setup;
    std::string path;  // kept after remove
  };
  const Case cases[] = {
      {"mkdir -p /var/spool/Vexla/other && printf 'job\\n' > /var/spool/Vexla/other/job", "/var/spool/Vexla/other/job"},
      {"mkdir -p /srv/links && printf 'mine\\n' > /srv/links/other", "/srv/links/other"},
      {"mkdir -p /usr/share/ppd/Vexla && printf 'older\\n' > /usr/share/ppd/Vexla/Vexla-vpxx.ppd",
       "/usr/share/ppd/Vexla/Vexla-vpxx.ppd"},
      {"mkdir -p /srv/disk2/Vexla && ln -s /srv/disk2/Vexla /opt/Vexla", "/opt/Vexla"},
  };
  SandboxOptions o = FromMedium(Medium("links-into", Product("links-into", "m vpxx.txt link /srv/links\n")));
  std::string checks;
  for (size_t i = 0; i < std::size(cases); ++i) {
    o.setup.push_back(cases[i].setup);
    checks += "[ -e " + cases[i].path + " ] && echo kept" + std::to_string(i) + "=yes; ";
  }
  SandboxResult r = RunInSandbox("trust-not-made", o,
                                 Shell(kInstall + Recorded("again", "printf 'y\\n' | ./setup install /opt") +
                                       "ls -l /srv/links/vpxx.txt > /root/link 2>&1; " +
                                       Recorded("remove", "./setup remove install /opt < /dev/null") + checks));
  ASSERT_EQ(Printed(r.out, "install"), "0") << r.Read("/root/install");
  // A re-installation replaces its own link in the folder.
  ASSERT_EQ(Printed(r.out, "again"), "0") << r.Read("/root/again");
  EXPECT_TRUE(Contains(r.Read("/root/link"), "-> " + kApp + "/vpxx.txt")) << r.Read("/root/link");
  EXPECT_EQ(Printed(r.out, "remove"), "0") << r.Read("/root/remove");
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(Printed(r.out, "kept" + std::to_string(i)), "yes") << cases[i].path;
  EXPECT_EQ(ChangesUnder(r, "/var/spool/Vexla/other"), "");
  EXPECT_EQ(ChangesUnder(r, "/srv/links/other"), "");
  ExpectAbsent(r, "/srv/links/vpxx.txt");
  ExpectAbsent(r, "/var/spool/Vexla/vpxx");
  EXPECT_EQ(ChangesUnder(r, "/opt/Vexla") + ChangesUnder(r, "/srv/disk2"), "");
}

// verify writes nothing: the installation's log is as it was, byte for byte.
TEST(TrustScenario, VerifyKeepsTheLog) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r =
      RunInSandbox("trust-verify-log", FromSite(),
                   Shell(kInstall + std::string("cp /tmp/setup.log /root/log; ") +
                         Recorded("verify", "./setup verify install /opt") +
                         "cmp /tmp/setup.log /root/log > /root/cmp 2>&1 && echo same=yes"));
  EXPECT_EQ(Printed(r.out, "verify"), "0") << r.Read("/root/verify");
  EXPECT_FALSE(r.Read("/root/log").empty());
  EXPECT_EQ(Printed(r.out, "same"), "yes") << r.Read("/root/cmp");
}

// An installation killed half-way (after its folders above the application
// directory, its spool folders and its link under /usr were made) and run
// again is taken off whole: the host is as it was.
TEST(TrustScenario, AnInterruptedInstallationRunAgainIsRemovedWhole) {
  SETUP_REQUIRE_SANDBOX();
  SandboxOptions o = FromSite();
  o.setup.push_back(KillSetupAtTouch("VPrintD.log"));
  SandboxResult r = RunInSandbox("trust-interrupted", o,
                                 Shell(Recorded("first", "./setup install /opt") +
                                       Recorded("again", "printf 'y\\n' | ./setup install /opt") +
                                       Recorded("remove", "./setup remove install /opt < /dev/null")));
  EXPECT_EQ(Printed(r.out, "first"), "137") << r.Read("/root/first");
  EXPECT_EQ(Printed(r.out, "again"), "0") << r.Read("/root/again");
  EXPECT_EQ(Printed(r.out, "remove"), "0") << r.Read("/root/remove");
  EXPECT_EQ(DifferencesFromTheHost(r), "");
}

// A hard link that someone made to a set-user-ID program keeps no
// set-user-ID copy of it once remove has taken the program off.
TEST(TrustScenario, RemoveTakesTheSetUserIdBitsOffFirst) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = RunInSandbox("trust-setuid", FromSite(),
                                 Shell(kInstall + std::string("ln ") + kApp + "/vsf /root/vsf; " +
                                       Recorded("remove", "./setup remove install /opt < /dev/null")));
  EXPECT_EQ(Printed(r.out, "remove"), "0") << r.Read("/root/remove");
  ExpectAbsent(r, kApp + "/vsf");
  ExpectFile(r, "/root/vsf", S_IFREG, 0755, "lp");
}

}  // namespace
