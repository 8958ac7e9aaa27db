// The host's history of setup runs (record_history.h). The line is written
// from the exit handler, so every end of a run that changed the host
// (FatalError included) records its status; the file is reached from / a
// folder at a time and opened relative to its folder, never through a
// link, and appended to with one write so that no reader sees half a line.
#include "record_history.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "Fd.h"
#include "PathTrust.h"
#include "RootFile.h"
#include "TerminalCharset.h"
#include "installer.h"
#include "setup_extensions.h"
#include "JsonWriter.h"
#include "utils.h"

namespace {

constexpr mode_t kHistoryMode = 0640;
constexpr int kMaxJsonDepth = 32;

const std::string& HistoryPath() {
  static const std::string path = std::string(kHistoryFolder) + "/" + kHistoryName;
  return path;
}

// ---------------------------------------------------------------------------
// Reading a line: a small JSON reader, enough to take the known keys of a
// flat object and to pass over any other value.

class JsonReader {
 public:
  explicit JsonReader(const std::string& text) : text_(text) {}

  bool ReadObject(HistoryEntry* e) {
    Blanks();
    if (!Take('{')) return false;
    Blanks();
    if (Take('}')) return AtEnd();
    for (;;) {
      std::string key;
      Blanks();
      if (!ReadString(&key)) return false;
      Blanks();
      if (!Take(':')) return false;
      Blanks();
      if (!ReadMember(key, e)) return false;
      Blanks();
      if (Take('}')) return AtEnd();
      if (!Take(',')) return false;
    }
  }

 private:
  bool AtEnd() {
    Blanks();
    return at_ == text_.size();
  }
  void Blanks() {
    while (at_ < text_.size() && std::strchr(" \t\r\n", text_[at_]) != nullptr && text_[at_] != '\0') ++at_;
  }
  bool Take(char c) {
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }

  bool ReadMember(const std::string& key, HistoryEntry* e) {
    struct Text {
      const char* key;
      std::string HistoryEntry::*field;
    };
    static const Text texts[] = {{"started", &HistoryEntry::started}, {"action", &HistoryEntry::action},
                                 {"dir", &HistoryEntry::dir},         {"medium", &HistoryEntry::medium},
                                 {"medium_sha256", &HistoryEntry::mediumSha256},
                                 {"signer", &HistoryEntry::signer},   {"version", &HistoryEntry::version}};
    struct Number {
      const char* key;
      long long HistoryEntry::*field;
    };
    static const Number numbers[] = {{"seconds", &HistoryEntry::seconds},
                                     {"status", &HistoryEntry::status},
                                     {"failed_steps", &HistoryEntry::failedSteps}};
    for (const Text& t : texts)
      if (key == t.key && at_ < text_.size() && text_[at_] == '"') return ReadString(&(e->*t.field));
    for (const Number& n : numbers)
      if (key == n.key) {
        const size_t from = at_;
        if (!SkipValue(0)) return false;
        const std::string number = text_.substr(from, at_ - from);
        char* end = nullptr;
        errno = 0;
        const long long value = std::strtoll(number.c_str(), &end, 10);
        if (errno == 0 && end != nullptr && *end == '\0' && !number.empty()) e->*n.field = value;
        return true;
      }
    return SkipValue(0);
  }

  // Four hex digits at the reader, as a number; -1 when they are not.
  long Hex4() {
    if (text_.size() - at_ < 4) return -1;
    long v = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[at_ + i];
      const char* digits = "0123456789abcdef";
      const char* p = c != '\0' ? std::strchr(digits, std::tolower(static_cast<unsigned char>(c))) : nullptr;
      if (p == nullptr) return -1;
      const int d = static_cast<int>(p - digits);
      v = v * 16 + d;
    }
    at_ += 4;
    return v;
  }

  // A string; \u00XX gives the byte XX (as the writer of JsonWriter.h
  // writes every byte from 0x80 up), a higher code its UTF-8 bytes.
  bool ReadString(std::string* out) {
    if (!Take('"')) return false;
    out->clear();
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        *out += c;
        continue;
      }
      if (at_ >= text_.size()) return false;
      const char esc = text_[at_++];
      static const char kFrom[] = "\"\\/bfnrt";
      static const char kTo[] = "\"\\/\b\f\n\r\t";
      if (const char* p = std::strchr(kFrom, esc); p != nullptr && esc != '\0') {
        *out += kTo[p - kFrom];
        continue;
      }
      if (esc != 'u') return false;
      const long code = Hex4();
      if (code < 0) return false;
      if (code < 0x100) {
        *out += static_cast<char>(code);
      } else if (code < 0x800) {
        *out += static_cast<char>(0xc0 | (code >> 6));
        *out += static_cast<char>(0x80 | (code & 0x3f));
      } else {
        *out += static_cast<char>(0xe0 | (code >> 12));
        *out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        *out += static_cast<char>(0x80 | (code & 0x3f));
      }
    }
    return false;
  }

  bool SkipNumber() {
    const size_t from = at_;
    Take('-');
    size_t digits = 0;
    while (at_ < text_.size() && std::strchr("0123456789.eE+-", text_[at_]) != nullptr && text_[at_] != '\0') {
      ++at_;
      ++digits;
    }
    return digits > 0 && at_ > from;
  }

  bool SkipWord(const char* word) {
    const size_t n = std::strlen(word);
    if (text_.compare(at_, n, word) != 0) return false;
    at_ += n;
    return true;
  }

  // Passes over any value, objects and arrays kMaxJsonDepth deep at most.
  bool SkipValue(int depth) {
    if (at_ >= text_.size() || depth > kMaxJsonDepth) return false;
    const char c = text_[at_];
    if (c == '"') {
      std::string ignored;
      return ReadString(&ignored);
    }
    if (c == '{' || c == '[') {
      const char close = c == '{' ? '}' : ']';
      ++at_;
      Blanks();
      if (Take(close)) return true;
      for (;;) {
        Blanks();
        if (c == '{') {
          std::string ignored;
          if (!ReadString(&ignored)) return false;
          Blanks();
          if (!Take(':')) return false;
          Blanks();
        }
        if (!SkipValue(depth + 1)) return false;
        Blanks();
        if (Take(close)) return true;
        if (!Take(',')) return false;
      }
    }
    if (c == 't') return SkipWord("true");
    if (c == 'f') return SkipWord("false");
    if (c == 'n') return SkipWord("null");
    return SkipNumber();
  }

  const std::string& text_;
  size_t at_ = 0;
};

// ---------------------------------------------------------------------------
// The run, and its line written at its end.

struct Run {
  std::time_t started = 0;
  std::chrono::steady_clock::time_point clock;
  bool armed = false;
  bool written = false;
  HistoryAction action = HistoryAction::kInstall;
  std::string dir, medium;
  ExitHandler before = nullptr;  // the handler in force when the run was armed
} run;

const char* ActionName(HistoryAction a) {
  switch (a) {
    case HistoryAction::kInstall: return "install";
    case HistoryAction::kUpgrade: return "upgrade";
    case HistoryAction::kRemove: return "remove";
    case HistoryAction::kRollback: return "rollback";
  }
  return "install";
}

// UTC time t in the form format gives; "" when it cannot be shown.
std::string UtcText(std::time_t t, const char* format) {
  std::tm tm{};
  char text[32];
  if (gmtime_r(&t, &tm) == nullptr || std::strftime(text, sizeof text, format, &tm) == 0) return "";
  return text;
}

// Says once, on standard error and in the log, that something is wrong
// with the history: the tables' message with its arguments.
template <typename... Args>
void Warn(int message, Args... args) {
  SayWarning(message, args...);
  PutLogMsg("WARNING: %s\n", SetupText(message, args...).c_str());
}

// The history's folder, walked to from / through root's folders alone; an
// invalid Fd with *why otherwise.
Fd OpenHistoryFolder(std::string* why) {
  PathPlace place;
  WayBlock block;
  switch (OpenWayTo(kHistoryFolder, WayOwners::kRootOnly, LastLink::kFollow, &place, &block)) {
    case kWayGone: *why = SetupText(385, kHistoryFolder); return Fd();
    case kWayBlocked: *why = block.Text(); return Fd();
    case kWayReached: break;
  }
  Fd folder(openat(place.folder.get(), place.leaf.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat st;
  if (!folder.ok()) {
    *why = SetupText(386, kHistoryFolder, std::strerror(errno));
    return Fd();
  }
  // (A group of the system's own may write it, as some hosts have it: the
  // file itself is judged as it is opened.)
  if (fstat(folder.get(), &st) != 0 || st.st_uid != 0) {
    *why = SetupText(387, kHistoryFolder);
    return Fd();
  }
  return folder;
}

// Renames what stands at the history's name in folder to a name that says
// it is not trusted; the new name, or "" when it could not be moved.
std::string SetAside(int folder) {
  const std::string stamp = UtcText(std::time(nullptr), "%Y%m%dT%H%M%SZ");
  for (int n = 1; n <= 20; ++n) {
    std::string name = std::string(kHistoryName) + ".untrusted-" + stamp;
    if (n > 1) name += "-" + std::to_string(n);
    if (renameat2(folder, kHistoryName, folder, name.c_str(), RENAME_NOREPLACE) == 0)
      return std::string(kHistoryFolder) + "/" + name;
    if (errno != EEXIST) break;
  }
  return "";
}

// Opens the history for appending: root's own file, or a new one (mode
// 0640) where there was none; anything others could have written is set
// aside first. An invalid Fd with *why when it cannot be had.
Fd OpenForAppending(int folder, std::string* why) {
  for (int tries = 0; tries < 3; ++tries) {
    Fd fd(OpenRootsFileAt(folder, kHistoryName, O_WRONLY | O_APPEND, why));
    if (fd.ok()) return fd;
    struct stat st;
    if (fstatat(folder, kHistoryName, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno != ENOENT) {
        *why = std::strerror(errno);
        return Fd();
      }
      const mode_t umaskBefore = umask(027);
      fd = Fd(openat(folder, kHistoryName, O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                     kHistoryMode));
      const int err = errno;
      umask(umaskBefore);
      if (fd.ok()) return fd;
      if (err != EEXIST) {
        *why = std::strerror(err);
        return Fd();
      }
      continue;  // made by another run a moment ago
    }
    const std::string untrusted = WhyNotRootsFile(st);
    if (untrusted.empty()) return Fd();  // root's, yet it would not open: *why says why
    const std::string aside = SetAside(folder);
    if (aside.empty()) {
      *why = SetupText(388, untrusted.c_str(), std::strerror(errno));
      return Fd();
    }
    Warn(389, HistoryPath().c_str(), untrusted.c_str(), aside.c_str());
  }
  *why = SetupText(390);
  return Fd();
}

void AppendLine(int status) {
  const long long seconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - run.clock).count();
  HistoryEntry e;
  e.started = UtcText(run.started, "%Y-%m-%dT%H:%M:%SZ");
  e.seconds = seconds;
  e.action = ActionName(run.action);
  e.dir = run.dir;
  e.medium = run.medium;
  if (!run.medium.empty()) {
    e.mediumSha256 = Guards().MediumDigest();
    if (Guards().LastMediumSigner().state == MediumSigner::kChecked) e.signer = Guards().LastMediumSigner().keyId;
  }
  e.status = status;
  e.failedSteps = FailedStepCount();
  e.version = kVersion;
  const std::string line = HistoryLine(e) + "\n";
  std::string why;
  Fd folder = OpenHistoryFolder(&why);
  Fd fd = folder.ok() ? OpenForAppending(folder.get(), &why) : Fd();
  if (fd.ok()) {
    // One write: with O_APPEND the line lands whole after every other.
    const ssize_t w = write(fd.get(), line.data(), line.size());
    if (w == static_cast<ssize_t>(line.size()) && fd.Close()) return;
    why = w < 0 ? std::string(std::strerror(errno)) : SetupText(403);
  }
  Warn(391, HistoryPath().c_str(), why.c_str());
}

void WriteAtExit(int status) {
  if (run.armed && !run.written) {
    run.written = true;
    AppendLine(status);
  }
  if (run.before != nullptr) run.before(status);
}

// The object `setup history --json` prints: the file and its entries,
// each the JSON text of its line.
std::string HistoryJson(const std::string& entries) {
  return "{\"file\":" + JsonString(HistoryPath()) + ",\"entries\":[" + entries + "]}";
}

}  // namespace

std::string HistoryLine(const HistoryEntry& e) {
  return JsonObject()
      .Add("started", e.started)
      .Add("seconds", e.seconds)
      .Add("action", e.action)
      .Add("dir", e.dir)
      .Add("medium", e.medium)
      .Add("medium_sha256", e.mediumSha256)
      .Add("signer", e.signer)
      .Add("status", e.status)
      .Add("failed_steps", e.failedSteps)
      .Add("version", e.version)
      .Text();
}

bool ParseHistoryLine(const std::string& line, HistoryEntry* e) {
  *e = HistoryEntry();
  return JsonReader(line).ReadObject(e);
}

std::vector<std::string> HistoryTextLines(const std::vector<HistoryEntry>& entries) {
  std::vector<std::vector<std::string>> rows;
  for (const HistoryEntry& e : entries) {
    std::string when = e.started;
    if (when.size() == 20 && when[10] == 'T' && when[19] == 'Z')
      when = when.substr(0, 10) + " " + when.substr(11, 8) + " UTC";
    std::string medium = SetupText(397);
    if (!e.medium.empty())
      medium = e.mediumSha256.empty() ? SetupText(398, e.medium.c_str())
                                      : SetupText(399, e.medium.c_str(), e.mediumSha256.substr(0, 12).c_str());
    rows.push_back({when, e.action, e.dir,
                    e.failedSteps == 1 ? SetupText(400, static_cast<int>(e.status))
                                        : SetupText(401, static_cast<int>(e.status), static_cast<int>(e.failedSteps)),
                    std::to_string(e.seconds) + " s", medium, e.signer.empty() ? "" : SetupText(402, e.signer.c_str()),
                    "setup " + e.version});
  }
  std::vector<size_t> widths;
  for (std::vector<std::string>& row : rows)
    for (size_t i = 0; i < row.size(); ++i) {
      row[i] = ShownWithoutControls(row[i]);
      if (widths.size() <= i) widths.push_back(0);
      widths[i] = std::max(widths[i], row[i].size());
    }
  std::vector<std::string> lines;
  for (const std::vector<std::string>& row : rows) {
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) {
      if (widths[i] == 0) continue;  // a column no run fills (no signer)
      if (!line.empty()) line += "  ";
      // The seconds stand right-aligned, the rest left.
      const std::string pad(widths[i] - row[i].size(), ' ');
      line += i == 4 ? pad + row[i] : row[i] + (i + 1 < row.size() ? pad : "");
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void HistoryRunStarted() {
  run.started = std::time(nullptr);
  run.clock = std::chrono::steady_clock::now();
}

void HistoryArm(HistoryAction action, const std::string& dir, const std::string& medium) {
  if (flPreview) return;
  run.action = action;
  run.dir = dir;
  run.medium = medium;
  if (run.armed) return;
  run.armed = true;
  run.before = SetExitHandler(WriteAtExit);
}

void HistoryArmInstallation(const std::string& appDir) {
  if (flPreview) return;
  // Asked again once the directory is certain: what was found the first
  // time stands, since the run may have begun to change it since.
  if (run.armed && run.dir == appDir) return;
  std::error_code error;
  const bool earlier = std::filesystem::is_directory(appDir, error) && !std::filesystem::is_empty(appDir, error);
  HistoryArm(earlier ? HistoryAction::kUpgrade : HistoryAction::kInstall, appDir, Guards().CheckedMediumDir());
}

int PrintHistory(bool json) {
  std::string why;
  Fd folder = OpenHistoryFolder(&why);
  Fd fd;
  if (folder.ok()) fd = Fd(OpenRootsFileAt(folder.get(), kHistoryName, O_RDONLY, &why));
  if (!fd.ok()) {
    const int err = errno;
    if (folder.ok() && err == ENOENT) {
      if (json)
        std::printf("%s\n", HistoryJson("").c_str());
      else
        SayNamed(stdout, 392, HistoryPath().c_str());
      return 0;
    }
    const bool untrusted = folder.ok() && (err == EPERM || err == ELOOP);
    SayError(untrusted ? 393 : 394, HistoryPath().c_str(), why.c_str());
    return untrusted || !folder.ok() ? 2 : 1;
  }
  std::string text;
  char buf[65536];
  for (;;) {
    const ssize_t got = read(fd.get(), buf, sizeof buf);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    text.append(buf, static_cast<size_t>(got));
  }
  std::vector<HistoryEntry> entries;
  std::string objects;
  int lineNo = 0;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    ++lineNo;
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    HistoryEntry e;
    if (!ParseHistoryLine(line, &e)) {
      SayWarning(395, HistoryPath().c_str(), lineNo);
      continue;
    }
    entries.push_back(e);
    objects += (objects.empty() ? "" : ",") + line;
  }
  if (json) {
    std::printf("%s\n", HistoryJson(objects).c_str());
  } else {
    for (const std::string& line : HistoryTextLines(entries)) std::printf("%s\n", line.c_str());
    if (entries.empty()) SayNamed(stdout, 396, HistoryPath().c_str());
  }
  std::fflush(stdout);
  return 0;
}
