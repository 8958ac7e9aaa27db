// The manifest of an installation, with the real program in the sandbox:
// verify and remove follow it, and a preview changes nothing.
#include <algorithm>
#include <string>
#include <vector>

#include "install_fixtures.h"
#include "sandbox.h"
#include "test_support.h"

namespace {

// ---------------------------------------------------------------------------
// The manifest: verify and remove.

// A name with control characters (a tab, an escape), which a re-installation
// lists, is shown with '?' in their place.
TEST(InstallScenario, VerifyAndRemoveFollowTheManifest) {
  SETUP_REQUIRE_SANDBOX();
  const std::string a = "/opt/Vexla/vpxx";
  const std::string odd = "\"" + a + "/$(printf 'a\\tb\\033[2Jc')\"";
  SandboxResult r = RunInSandbox(
      "install-manifest", FromSite(),
      Shell(std::string("./setup install /opt > /root/install 2>&1; touch ") + odd +
            "; printf 'y\\n' | ./setup install /opt > /root/install 2>&1; echo install=$?; " +
            "./setup verify install /opt > /root/verify1; echo verify1=$?; " +
            "echo edited >> " + a + "/lib/vpxx.cfg; chmod 700 " + a + "/vsf; ln -sf /bin/true /usr/bin/vpqadmin; " +
            "chmod 600 " + odd + "; " +
            "./setup verify > /root/verify2; echo verify2=$?; " +
            "./setup remove install /opt < /dev/null > /root/remove1 2>&1; echo remove1=$?; " +
            "rm /usr/bin/vpqadmin; printf 'y\\n' | ./setup remove install /opt > /root/remove2 2>&1; echo remove2=$?; " +
            "./setup verify install /opt 2> /root/verify3; echo verify3=$?"));
  EXPECT_EQ(Printed(r.out, "install"), "0") << r.Read("/root/install");
  EXPECT_EQ(Printed(r.out, "verify1"), "0") << r.Read("/root/verify1");
  EXPECT_TRUE(Contains(r.Read("/root/verify1"), ": 0 differ\n")) << r.Read("/root/verify1");
  // Each difference on a line of its own, in the documented form.
  EXPECT_EQ(Printed(r.out, "verify2"), "1");
  const std::string verify2 = r.Read("/root/verify2");
  for (const std::string& line : {"size " + a + "/lib/vpxx.cfg: ", "mode " + a + "/vsf: 4755 is 0700",
                                  "link /usr/bin/vpqadmin: " + a + "/vpqadmin is /bin/true",
                                  "mode " + a + "/a?b?[2Jc: 0644 is 0600"})
    EXPECT_TRUE(Contains(verify2, line)) << line << "\n" << verify2;
  EXPECT_FALSE(Contains(verify2, "\t") || Contains(verify2, "\033")) << verify2;
  // Closed input keeps the edited file; a replaced link is left alone.
  EXPECT_EQ(Printed(r.out, "remove1"), "1") << r.Read("/root/remove1");
  const std::string remove1 = r.Read("/root/remove1");
  EXPECT_TRUE(Contains(remove1, "kept " + a + "/lib/vpxx.cfg: it was changed since the installation")) << remove1;
  EXPECT_TRUE(Contains(remove1, "kept /usr/bin/vpqadmin: the link now points to /bin/true")) << remove1;
  // The second removal, confirmed, finishes the work: the tree is as before.
  EXPECT_EQ(Printed(r.out, "remove2"), "0") << r.Read("/root/remove2");
  EXPECT_EQ(Printed(r.out, "verify3"), "2") << r.Read("/root/verify3");
  EXPECT_EQ(DifferencesFromTheHost(r), "");
}

// A preview shows the installation's command lines and writes, run by
// anybody, and changes nothing at all; a medium that would fail says why.
TEST(InstallScenario, APreviewChangesNothing) {
  SETUP_REQUIRE_SANDBOX();
  const std::vector<std::string> nobody = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
  std::vector<std::string> preview = nobody;
  preview.insert(preview.end(), {"./setup", "preview", "install", "/opt"});
  SandboxResult r = RunInSandbox("install-preview", FromSite(), preview);
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(r.changes, std::vector<std::string>{}) << "the preview changed the host";
  for (const char* line : {"earlier installation: none\n", "free space: enough in the work area /tmp and in /opt\n",
                           "/usr/bin/cp -p /media/pkg_tar.001 /tmp/VexlaInstall\n",
                           "/usr/bin/tar xvfp /tmp/VexlaInstall/Linuxi386Vpxx.tar\n",
                           "/usr/bin/cp -p /tmp/VexlaInstall/pkg/vsf /opt/Vexla/vpxx\n",
                           // a line after a copy the preview did not make still acts
                           "/usr/bin/chmod  755 /opt/Vexla/vpxx/bin/vprint\n", "/opt/Vexla/vpxx/vpqadmin -upgrade\n",
                           "/usr/bin/chmod  4755 /opt/Vexla/vpxx/vsf\n", "script /opt/Vexla/vpxx/VexlaVSF\n",
                           "link /usr/Vexla -> /opt/Vexla\n", "script /usr/bin/vprint\n"})
    EXPECT_TRUE(Contains(r.out, line)) << line << r.out;

  std::vector<std::string> damaged = nobody;
  damaged.insert(damaged.end(), {"./setup", "preview", "install", "/opt"});
  SandboxResult d = RunInSandbox("install-preview-damaged",
                                 FromMedium(Medium("damaged", Product("damaged", "c vpxx.txt;touch /pwned\n"))), damaged);
  EXPECT_EQ(d.status, 1) << d.out << d.err;
  EXPECT_TRUE(Contains(d.err, "pkg.list, line")) << d.err;
  EXPECT_EQ(d.changes, std::vector<std::string>{});

  // With --json the same failure is one object on standard output, its
  // reason the message that standard error still shows.
  damaged.push_back("--json");
  SandboxResult j = RunInSandbox("install-preview-damaged-json",
                                 FromMedium(Medium("damaged", Product("damaged", "c vpxx.txt;touch /pwned\n"))), damaged);
  EXPECT_EQ(j.status, 1) << j.out << j.err;
  EXPECT_EQ(j.out.rfind("{\"status\":1,\"install_dir\":\"/opt\",\"earlier\":\"\",\"lines\":[", 0), 0u) << j.out;
  EXPECT_EQ(std::count(j.out.begin(), j.out.end(), '\n'), 1) << j.out;
  const std::string why = "/pkg/pkg.list, line 45: a name holds a character the shell would misread";
  EXPECT_TRUE(Contains(j.out, "\"messages\":[\"ERROR: /tmp/setup-preview.")) << j.out;
  EXPECT_TRUE(Contains(j.out, "\"reason\":\"/tmp/setup-preview.")) << j.out;
  EXPECT_TRUE(Contains(j.out, why + ": vpxx.txt;touch\",\"signature\":{\"state\":\"unsigned\",")) << j.out;
  EXPECT_TRUE(Contains(j.err, why)) << j.err;
  EXPECT_EQ(j.changes, std::vector<std::string>{});
}

}  // namespace
