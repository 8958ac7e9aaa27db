// What the installation scenarios share: media made with the real medium
// builder from the sample product, the sandbox set-ups that run from them,
// and the looks at what a run left behind.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "sandbox.h"

// A scratch directory for the whole test program: products and media live there.
const std::string& MediaRoot();

// Runs argv with empty input, its output into *output; the exit status, or -1.
int RunTool(const std::vector<std::string>& argv, std::string* output);

// A copy of the sample product named key, with extra appended to its
// package list (made once a program).
std::string Product(const std::string& key, const std::string& extra);

// The medium named key, made from product with the builder's options (made
// once a program).
std::string Medium(const std::string& key, const std::string& product, const std::vector<std::string>& options = {});

std::string SiteMedium();
// A diskette set with DOS names (DISKS, PKG_TAR.001, ...) in pieces of 1 KiB.
std::string DisketteMedium();

// A file of the sample product.
std::string Sample(const std::string& path);

// Runs from the medium in /media; no print spooler on the host unless a
// test adds one; English texts.
SandboxOptions FromMedium(const std::string& medium);
SandboxOptions FromSite();

// The lock file a run that changes the host leaves in place, and the file
// naming its holder.
constexpr char kLockFile[] = "/run/setup-Vexla.lock";
constexpr char kLockHolderFile[] = "/run/setup-Vexla.pid";
// The host's history, to which every run that changed the host adds a line.
constexpr char kHistoryFile[] = "/var/log/setup-Vexla.history";

// A shell line as the sandbox's command.
std::vector<std::string> Shell(const std::string& line);

// A part of such a line: runs line (in a subshell) with its output in
// /root/<what>, and prints "<what>=<status>".
std::string Recorded(const std::string& what, const std::string& line);

// A set-up command: a stand-in touch (/usr/sbin/touch, found before the
// real one) that kills the running setup with SIGKILL the first time it
// is asked to touch a path holding name, and touches as usual otherwise.
std::string KillSetupAtTouch(const std::string& name);
// The same for another tool of /usr/bin (cp, mv, ...): its arguments hold
// name (a case pattern's text).
std::string KillSetupAt(const std::string& tool, const std::string& name);

// A shell line run as an unprivileged user of the sandbox: nobody with the
// group given (a member of the application directory's group, say), or
// with nobody's own group alone. The line holds no single quote.
std::string AsAttacker(const std::string& line, const char* group = nullptr);

struct FileInfo {
  bool exists = false;
  mode_t type = 0;
  mode_t mode = 0;  // permission and set-id bits
  uid_t uid = 0;
  gid_t gid = 0;
  std::string link;  // target of a symbolic link
};

// What the run left at path (a deleted path does not exist).
FileInfo Info(const SandboxResult& r, const std::string& path);

gid_t Gid(const char* group);

// A file (or directory) with that mode, and that group when given.
void ExpectFile(const SandboxResult& r, const std::string& path, mode_t type, mode_t mode, const char* group = nullptr);
void ExpectAbsent(const SandboxResult& r, const std::string& path);

bool Contains(const std::string& text, const std::string& part);

// Whether an executable program of that name is on the test's PATH.
bool OnPath(const std::string& program);

// The count of one kind ("changed", "failures", "unreachable") in the
// closing stats of ansible-playbook's JSON output (the json stdout
// callback), for host or, without one, the first host listed; -1 when
// the output has none.
int PlayStat(const std::string& json, const std::string& kind, const std::string& host = "");

// The value printed as "<name>=<value>" on a line of out; "" when absent.
std::string Printed(const std::string& out, const std::string& name);

// The settings file after the package list's sed edit.
std::string EditedSettings();

// Whether the package list's line "v >= 2.6 v < 9" holds on this kernel.
bool ModernKernel();

extern const std::string kBanner;
extern const char kUpgradedAndCleaned[];

// Everything one complete installation of the sample into d leaves behind:
// the tree and spool directories, the flag file, the link under /usr, the
// scripts, what the package list places, the set-user-ID programs, the
// administration tool's runs, and no work files.
void ExpectInstalled(const SandboxResult& r, const std::string& d, const std::string& spooler = " BSD ",
                     const std::string& adminRuns = kUpgradedAndCleaned);

// Nothing of the product reached the machine.
void ExpectNothingInstalled(const SandboxResult& r);

// Whether the sandbox's tree is the host's again, outside /tmp, /root, the
// lock's files and the history (which keeps the runs' lines):
// nothing added or deleted, and every folder the run touched has the
// host's kind, mode and owners. Names what differs.
std::string DifferencesFromTheHost(const SandboxResult& r);
