// The collection vexla.setup as an administrator uses it: real
// ansible-playbook (connection local) inside the sandbox, against the
// sample medium, with the module's answer checked per run in the
// playbook's own JSON output (the json stdout callback).
#include <string>

#include "install_fixtures.h"
#include "sandbox.h"

namespace {

// One run of the test playbook, its JSON output in /root/NAME.json, its
// status as NAME=... and its wall time as NAME_ms=....
const char kPlay[] =
    "export ANSIBLE_COLLECTIONS_PATH=/root/ansible HOME=/tmp/home ANSIBLE_LOCAL_TEMP=/tmp/ansible-local "
    "ANSIBLE_REMOTE_TEMP=/tmp/ansible-remote ANSIBLE_STDOUT_CALLBACK=json ANSIBLE_NOCOLOR=1; mkdir -p $HOME; "
    "play() { n=$1; shift; s=$(date +%s%N); "
    "ansible-playbook -i localhost, -c local -e ansible_python_interpreter=/usr/bin/python3 -e medium=/media "
    "/root/ansible/tests/install.yml \"$@\" > /root/$n.json 2> /root/$n.err; echo $n=$?; "
    "echo ${n}_ms=$(( ($(date +%s%N) - s) / 1000000 )); }; ";
const char kLeftOnHost[] = "ls -d /opt/Vexla /usr/Vexla /var/spool/Vexla /usr/bin/vprint 2>/dev/null | wc -l";

// Check mode changes nothing and says changed; the first run installs and
// verify is clean; the second is ok; a changed file is repaired; absent
// fails naming the reason while the manifest is moved aside (the product
// is still there), removes once it is back, and again is ok; a work area
// that is no absolute path is refused; a damaged medium fails naming its
// piece, in check mode too (and with --diff shows that as the diff).
TEST(AnsibleScenario, TheModuleIsIdempotentAndReportsAsTheRunWent) {
  SETUP_REQUIRE_SANDBOX();
  if (!OnPath("ansible-playbook")) {
    if (RunningUnderCi()) FAIL() << "no ansible-playbook under CI (scripts/deps.sh installs ansible-core)";
    GTEST_SKIP() << "no ansible-playbook here";
  }
  SandboxOptions o = FromSite();
  o.copies.emplace_back(ANSIBLE_DIR, "/root/ansible");
  o.timeoutSeconds = 170;
  const std::string verify = "./setup verify install /opt > /root/verify 2>&1; echo ";
  SandboxResult r = RunInSandbox(
      "ansible-rollout", o,
      Shell(std::string(kPlay) + "play check --check --diff; echo check_left=$(" + kLeftOnHost + "); " +
            "play first; " + verify + "verify_first=$?; play second; " +
            "echo changed >> /opt/Vexla/vpxx/vsf; play repair; " + verify + "verify_repair=$?; " +
            "g=$(stat -c %g /opt/Vexla/vpxx); chgrp lp /opt/Vexla/vpxx; " +
            AsAttacker("mv /opt/Vexla/vpxx/setup.manifest /opt/Vexla/vpxx/moved", "lp") +
            "; play absent_unlisted -e state=absent; mv /opt/Vexla/vpxx/moved /opt/Vexla/vpxx/setup.manifest; " +
            "chgrp $g /opt/Vexla/vpxx; " +
            "play absent -e state=absent; echo absent_left=$(" + kLeftOnHost + "); " +
            "play absent_again -e state=absent; play bad_area -e work_area=keep; " +
            "cp -a /media /root/damaged && printf x >> /root/damaged/pkg_tar.001; "
            "play damaged_check --check --diff -e medium=/root/damaged; play damaged -e medium=/root/damaged"));
  const struct {
    const char* run;
    const char* status;
    int changed, failures;
    const char* said;  // in the run's output
  } runs[] = {
      {"check", "0", 1, 0, "\"after_header\": \"setup preview\""},
      {"first", "0", 1, 0, "\"changed\": true"},
      {"first", "0", 1, 0, "\"action\": \"install\""},  // the host's history, newest entry
      {"absent", "0", 1, 0, "\"action\": \"remove\""},
      {"second", "0", 0, 0, "\"changed\": false"},
      {"repair", "0", 1, 0, "size /opt/Vexla/vpxx/vsf: "},
      {"absent_unlisted", "2", 0, 1, "cannot be used: no manifest; still on the host: /opt/Vexla/vpxx, "},
      {"absent", "0", 1, 0, "\"changed\": true"},
      {"absent_again", "0", 0, 0, "\"changed\": false"},
      {"bad_area", "2", 0, 1, "work_area must be an absolute path of letters, digits and"},
      {"damaged_check", "2", 0, 1, "would fail (setup status 1): /root/damaged/pkg_tar.001 does not match its checksum"},
      // With --diff the reason is the diff.
      {"damaged_check", "2", 0, 1, "\"after\": \"the installation would fail (setup status 1): /root/damaged/pkg_tar.001 does"},
      {"damaged", "2", 0, 1, "failed (setup status 1): /root/damaged/pkg_tar.001 does not match its checksum: the medium is damaged"},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.run);
    const std::string json = r.Read(std::string("/root/") + run.run + ".json");
    EXPECT_EQ(Printed(r.out, run.run), run.status) << json << r.Read(std::string("/root/") + run.run + ".err");
    EXPECT_EQ(PlayStat(json, "changed"), run.changed) << json;
    EXPECT_EQ(PlayStat(json, "failures"), run.failures) << json;
    EXPECT_TRUE(Contains(json, run.said)) << json;
  }
  EXPECT_EQ(Printed(r.out, "check_left"), "0");
  EXPECT_EQ(Printed(r.out, "absent_left"), "0");
  EXPECT_EQ(Printed(r.out, "verify_first") + Printed(r.out, "verify_repair"), "00") << r.Read("/root/verify");
  std::printf("ansible-playbook, one host: first run %s ms, unchanged rerun %s ms, check %s ms\n",
              Printed(r.out, "first_ms").c_str(), Printed(r.out, "second_ms").c_str(),
              Printed(r.out, "check_ms").c_str());
}

}  // namespace
