// The host's history of the runs of setup that changed it (record_history.cpp):
// /var/log/setup-Vexla.history, one JSON object a line, one line a run
// (an installation, an upgrade, a removal, a rollback), appended with a
// single write when the run ends, however it ends. Other tools read the
// lines (their keys and order are fixed); `setup history` prints them.
// The file is root's alone (RootFile.h): one that others could have
// written is set aside, never appended to, and a new one begun.
#pragma once

#include <string>
#include <vector>

constexpr const char* kHistoryFolder = "/var/log";
constexpr const char* kHistoryName = "setup-Vexla.history";

// One run as its line records it.
struct HistoryEntry {
  std::string started;       // UTC, "2026-12-09T21:41:17Z"
  long long seconds = 0;     // whole seconds the run took
  std::string action;        // "install", "upgrade", "remove" or "rollback"
  std::string dir;           // the application directory acted on
  std::string medium;        // the medium's directory, "" for none
  std::string mediumSha256;  // of the medium's checksum file, "" when none was read
  std::string signer;        // key id the signature was checked against, or ""
  long long status = 0;      // the exit status the run ended with
  long long failedSteps = 0;
  std::string version;       // setup's own
};

// The entry's line: a JSON object with the keys above in that order
// (medium_sha256 and failed_steps spelt so), without a line end.
std::string HistoryLine(const HistoryEntry& e);

// Reads one line of the history: true, with the keys it knows in *e, when
// the line is a single JSON object (other keys are passed over, missing
// ones stay empty); false for anything else.
bool ParseHistoryLine(const std::string& line, HistoryEntry* e);

// The entries as `setup history` prints them: one line a run, oldest
// first, in aligned columns, control characters shown as '?'.
std::vector<std::string> HistoryTextLines(const std::vector<HistoryEntry>& entries);

// Notes the time the run began, for started and seconds.
void HistoryRunStarted();

enum class HistoryAction { kInstall, kUpgrade, kRemove, kRollback };

// From here on the run changes the host: when it ends through ExitProgram
// (FatalError included), its line is appended with the status it ends
// with. Called again, it names the action, directory and medium anew. A
// history that cannot be written is said in one WARNING on standard error
// and in the log; the status stays as it is. Nothing in a preview.
void HistoryArm(HistoryAction action, const std::string& dir, const std::string& medium);

// An installation into appDir is about to change it: an upgrade when an
// earlier installation is there (appDir holds anything), an installation
// otherwise; the medium is the one the checksum check named.
void HistoryArmInstallation(const std::string& appDir);

// setup history [--json]: prints the host's history, changing nothing. 0
// (also when there is none yet); 2 with an ERROR when the file is not
// root's alone; 1 when it cannot be read (not root). A line that is not a
// JSON object is passed over with a WARNING naming its number.
int PrintHistory(bool json);
