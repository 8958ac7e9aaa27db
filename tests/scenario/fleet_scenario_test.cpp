// The fleet playbook contrib/ansible/examples/rollout.yml as an
// administrator runs it: five hosts, each a sandbox of its own running its
// own sshd on a loopback port, with a user admin who becomes root through
// sudo, and the real ansible-playbook on this machine as the controller,
// over SSH with the hosts' keys checked. Everything the controller reads
// or writes (HOME, its temp folders, keys, known_hosts, its configuration)
// lies in the test's own folder.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "install_fixtures.h"
#include "sandbox.h"
#include "test_support.h"

namespace {

constexpr int kHosts = 5;
constexpr char kRolloutPlay[] = "Install in batches, verify, and sum up each host";

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  return a;
}

// count loopback ports nobody listens on now, each another (the kernel's
// picks, all bound at once); -1 for one it would not give.
std::vector<int> FreePorts(int count) {
  std::vector<int> fds, ports;
  for (int i = 0; i < count; ++i) {
    fds.push_back(socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in a = Loopback(0);
    socklen_t size = sizeof a;
    const bool bound = bind(fds.back(), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
                       getsockname(fds.back(), reinterpret_cast<sockaddr*>(&a), &size) == 0;
    ports.push_back(bound ? ntohs(a.sin_port) : -1);
  }
  for (int fd : fds) close(fd);
  return ports;
}

bool Listening(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in a = Loopback(port);
  const bool up = connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
  close(fd);
  return up;
}

// Whether port comes to listen (up) or to refuse (!up) within seconds, or
// while running() holds.
template <typename Running>
bool Comes(int port, bool up, int seconds, Running running) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (Listening(port) != up && running() && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  return Listening(port) == up;
}

// One managed host: its name, its sshd's port and the sandbox it runs in.
struct Host {
  std::string name;
  int port = -1;
  std::unique_ptr<SandboxServer> server;
};

// The sshd of one host: on its port of the loopback address, the key made
// for it, admin alone, by key alone.
std::string SshdConfig(int port) {
  return "Port " + std::to_string(port) +
         "\nListenAddress 127.0.0.1\nHostKey /etc/ssh/fleet/host_key\nPidFile none\nUsePAM no\n"
         "PermitRootLogin no\nAllowUsers admin\nPasswordAuthentication no\nKbdInteractiveAuthentication no\n"
         "PubkeyAuthentication yes\nAuthorizedKeysFile .ssh/authorized_keys\nMaxStartups 50\n"
         "Subsystem sftp internal-sftp\n";
}

// A host as the rollout finds it: no print spooler, the user admin (a
// password nobody can type, not a locked account, which sshd would refuse)
// with the controller's key, sudo for admin without a password, and the
// folder sshd separates its privileges in.
SandboxOptions HostOptions(const ScratchDir& t, const std::string& name) {
  SandboxOptions o;
  o.copies = {{t.File("keys/" + name), "/etc/ssh/fleet/host_key"},
              {t.File(name + "/sshd_config"), "/etc/ssh/fleet/sshd_config"},
              {t.File("keys/admin.pub"), "/root/fleet/admin.pub"}};
  o.setup = {RemoveEverywhere("lpd"), RemoveEverywhere("cupsd"),
             "useradd -m -s /bin/sh admin && usermod -p '*' admin",
             "install -d -o admin -g admin -m 700 /home/admin/.ssh && "
             "install -o admin -g admin -m 600 /root/fleet/admin.pub /home/admin/.ssh/authorized_keys",
             "echo 'admin ALL=(ALL) NOPASSWD: ALL' > /etc/sudoers.d/fleet-admin && chmod 440 /etc/sudoers.d/fleet-admin",
             "mkdir -p -m 755 /run/sshd"};
  o.env = {"LANG=C"};
  o.timeoutSeconds = 170;  // the bound should the test itself never end it
  return o;
}

// The controller's configuration: ssh reads only the test's own config
// (which names the key, the known_hosts the test wrote, and checks the host
// keys strictly), pipelining with sudo, the json stdout callback.
void WriteControllerConfig(const ScratchDir& t) {
  t.Write("ssh_config", "Host *\n  IdentityFile " + t.File("keys/admin") +
                            "\n  IdentitiesOnly yes\n  IdentityAgent none\n  UserKnownHostsFile " +
                            t.File("known_hosts") +
                            "\n  GlobalKnownHostsFile /dev/null\n  StrictHostKeyChecking yes\n  UpdateHostKeys no\n"
                            "  BatchMode yes\n  ControlMaster auto\n  ControlPersist 60s\n  ControlPath " +
                            t.File("cp/%C") + "\n  LogLevel ERROR\n");
  t.Write("ansible.cfg", "[defaults]\nforks = 5\nhost_key_checking = True\nlocal_tmp = " + t.File("ansible-local") +
                             "\nstdout_callback = json\nnocolor = True\nretry_files_enabled = False\n"
                             "interpreter_python = /usr/bin/python3\ntimeout = 30\n"
                             "[ssh_connection]\nssh_args = -F " +
                             t.File("ssh_config") + "\npipelining = True\n");
}

// The inventory: every host on 127.0.0.1 at its port, the medium from
// medium, and for the host named in damagedHost the medium damaged.
std::string Inventory(const std::vector<Host>& hosts, const std::string& medium, const std::string& damagedHost = "",
                      const std::string& damaged = "") {
  std::string text = "[print_servers]\n";
  for (const Host& h : hosts) {
    text += h.name + " ansible_port=" + std::to_string(h.port);
    if (h.name == damagedHost) text += " medium_source=" + damaged;
    text += "\n";
  }
  return text + "[print_servers:vars]\nansible_host=127.0.0.1\nansible_user=admin\nmedium_source=" + medium + "\n";
}

// Runs shell line as the controller, in a PID namespace of its own (so
// that the ssh masters it leaves behind end with it), bounded in time, in
// the test's folder's environment. play NAME INVENTORY runs the rollout,
// its JSON in NAME.json and its wall time printed as NAME_ms=...; snap
// NAME records every host's verify --json as NAME-HOST.
std::string Controller(const ScratchDir& t, const std::vector<Host>& hosts, const std::string& line) {
  std::string verifyAll;
  for (const Host& h : hosts)
    verifyAll += "ssh -F " + t.File("ssh_config") + " -p " + std::to_string(h.port) +
                 " admin@127.0.0.1 sudo /srv/vexla-medium/setup verify install /opt --json > " + t.path() + "/$1-" +
                 h.name + " 2>&1; ";
  const std::string script =
      "export HOME=" + t.File("home") + " TMPDIR=" + t.File("tmp") + " ANSIBLE_CONFIG=" + t.File("ansible.cfg") +
      " ANSIBLE_LOCAL_TEMP=" + t.File("ansible-local") + " ANSIBLE_COLLECTIONS_PATH=" + ANSIBLE_DIR +
      " PYTHONDONTWRITEBYTECODE=1; cd " + t.path() + " || exit 1; " +
      "play() { s=$(date +%s%N); ansible-playbook -i $2 " + ANSIBLE_DIR +
      "/examples/rollout.yml -e batch=2 > $1.json 2> $1.err; echo $1=$?; "
      "echo $1_ms=$(( ($(date +%s%N) - s) / 1000000 )); }; "
      "snap() { " + verifyAll + "}; " + line;
  std::string out;
  RunTool({"unshare", "--pid", "--fork", "--kill-child", "--", "timeout", "-k", "5", "150", "/bin/sh", "-c", script},
          &out);
  return out;
}

// One play's line for host (the rollout's debug tasks print it as msg).
std::string Said(const std::string& text) { return "\"msg\": \"" + text; }

// The rollout over SSH: every host previewed before any changes, installed
// in batches of two, verified and summed up in a line; the rerun changes
// nothing; a host whose copy of the next medium is damaged stops the
// rollout in the preview, naming the damaged piece, before any host's
// installation changes. Every sandbox and ssh master ends with the test,
// and no mount of the sandboxes is left.
TEST(FleetScenario, TheRolloutReachesEveryHostOverSshAndStopsBeforeADamagedMedium) {
  SETUP_REQUIRE_SANDBOX();
  for (const char* tool : {"ansible-playbook", "ssh", "ssh-keygen", "/usr/sbin/sshd", "sudo", "unshare"}) {
    if (tool[0] == '/' ? access(tool, X_OK) == 0 : OnPath(tool)) continue;
    if (RunningUnderCi()) FAIL() << "no " << tool << " under CI (scripts/deps.sh installs it)";
    GTEST_SKIP() << "no " << tool << " here";
  }
  const std::string medium = SiteMedium();
  // The next release: the same product with its help, so another checksum file.
  const std::string next = Medium("fleet-next", SAMPLE_PRODUCT_DIR, {"--help-file", HELP_SAMPLE});
  ScratchDir t;
  for (const char* dir : {"keys", "cp", "home", "tmp"}) std::filesystem::create_directory(t.File(dir));
  std::string out;
  ASSERT_EQ(RunTool({"cp", "-a", next, t.File("damaged")}, &out), 0) << out;
  std::FILE* piece = std::fopen(t.File("damaged/pkg_tar.001").c_str(), "ab");
  ASSERT_NE(piece, nullptr);
  std::fputs("x", piece);
  std::fclose(piece);

  std::vector<Host> hosts(kHosts);
  const std::vector<int> ports = FreePorts(kHosts);
  ASSERT_EQ(RunTool({"ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", t.File("keys/admin")}, &out), 0) << out;
  std::string knownHosts;
  for (int i = 0; i < kHosts; ++i) {
    Host& h = hosts[i];
    h.name = "print0" + std::to_string(i + 1);
    h.port = ports[i];
    ASSERT_GT(h.port, 0);
    ASSERT_EQ(RunTool({"ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-C", h.name, "-f", t.File("keys/" + h.name)},
                      &out),
              0)
        << out;
    knownHosts += "[127.0.0.1]:" + std::to_string(h.port) + " " + ReadWholeFile(t.File("keys/" + h.name + ".pub"));
    t.Write(h.name + "/sshd_config", SshdConfig(h.port));
    h.server = std::make_unique<SandboxServer>(t.File(h.name + "/sandbox"), HostOptions(t, h.name),
                                               std::vector<std::string>{"/usr/sbin/sshd", "-D", "-e", "-f",
                                                                        "/etc/ssh/fleet/sshd_config"});
  }
  t.Write("known_hosts", knownHosts);
  WriteControllerConfig(t);
  for (Host& h : hosts)
    ASSERT_TRUE(Comes(h.port, true, 30, [&] { return h.server->Running(); }))
        << h.name << "'s sshd does not listen: " << h.server->Log();
  t.Write("fleet.ini", Inventory(hosts, medium));
  t.Write("damaged.ini", Inventory(hosts, next, "print03", t.File("damaged")));

  out = Controller(t, hosts, "play rollout fleet.ini; play rerun fleet.ini; snap before; "
                             "play damaged damaged.ini; snap after");
  const std::string rollout = ReadWholeFile(t.File("rollout.json"));
  const std::string rerun = ReadWholeFile(t.File("rerun.json"));
  const std::string damaged = ReadWholeFile(t.File("damaged.json"));
  EXPECT_EQ(Printed(out, "rollout"), "0") << rollout << ReadWholeFile(t.File("rollout.err"));
  EXPECT_EQ(Printed(out, "rerun"), "0") << rerun << ReadWholeFile(t.File("rerun.err"));
  // Every host previewed before the first batch, which the json callback
  // shows as a play of its own, as each batch.
  EXPECT_EQ(Count(rollout, Said("would install (")), kHosts) << rollout;
  EXPECT_LT(rollout.rfind(Said("would install (")), rollout.find(kRolloutPlay)) << rollout;
  EXPECT_EQ(Count(rollout, kRolloutPlay), 3) << rollout;
  // Each host's history names the installation the rollout made.
  EXPECT_EQ(Count(rollout, "\"action\": \"install\""), kHosts) << rollout;
  EXPECT_EQ(Count(rerun, Said("up to date")), kHosts) << rerun;
  for (const Host& h : hosts) {
    SCOPED_TRACE(h.name);
    EXPECT_GT(PlayStat(rollout, "changed", h.name), 0) << rollout;
    EXPECT_EQ(PlayStat(rollout, "failures", h.name), 0) << rollout;
    EXPECT_EQ(PlayStat(rollout, "unreachable", h.name), 0) << rollout;
    EXPECT_TRUE(Contains(rollout, Said(h.name + ": installed, verify clean ("))) << rollout;
    EXPECT_EQ(PlayStat(rerun, "changed", h.name), 0) << rerun;
    EXPECT_EQ(PlayStat(rerun, "failures", h.name), 0) << rerun;
    EXPECT_TRUE(Contains(rerun, Said(h.name + ": unchanged, verify clean ("))) << rerun;
    // The damaged medium stopped the rollout before any installation changed.
    const std::string before = ReadWholeFile(t.File("before-" + h.name));
    EXPECT_TRUE(Contains(before, "\"status\":0")) << before;
    EXPECT_EQ(ReadWholeFile(t.File("after-" + h.name)), before);
    EXPECT_EQ(PlayStat(damaged, "failures", h.name), h.name == "print03" ? 1 : 0) << damaged;
  }
  EXPECT_NE(Printed(out, "damaged"), "0");
  EXPECT_TRUE(Contains(damaged, "would fail (setup status 1): /srv/vexla-medium/pkg_tar.001 does not match its checksum")) << damaged;
  EXPECT_FALSE(Contains(damaged, kRolloutPlay)) << damaged;
  std::printf("ansible-playbook over ssh, %d hosts in batches of 2: rollout %s ms, unchanged rerun %s ms\n", kHosts,
              Printed(out, "rollout_ms").c_str(), Printed(out, "rerun_ms").c_str());

  for (Host& h : hosts) h.server->Stop();
  for (const Host& h : hosts)
    EXPECT_TRUE(Comes(h.port, false, 5, [] { return true; })) << h.name << "'s sshd outlived its sandbox";
  EXPECT_FALSE(Contains(ReadWholeFile("/proc/self/mountinfo"), t.path())) << ReadWholeFile("/proc/self/mountinfo");
}

}  // namespace
