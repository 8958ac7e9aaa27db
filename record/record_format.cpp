// The manifest's lines (the format is described at the top of
// record_manifest.cpp), the entry of a path as the host has it now, and
// the trust root puts in a file it reads back.
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "RootFile.h"
#include "Sha256.h"
#include "installer.h"
#include "record.h"
#include "record_format.h"
#include "setup_hold.h"
#include "utils.h"

namespace {

// Names of owners and groups, looked up once a run: each lookup reads the
// user or group database again, and a manifest names thousands of paths.
// A manifest is written on a thread of its own, which keeps its own names.
std::string UserName(uid_t uid) {
  thread_local std::map<uid_t, std::string> known;
  if (auto k = known.find(uid); k != known.end()) return k->second;
  const passwd* pw = getpwuid(uid);
  return known[uid] = pw != nullptr ? pw->pw_name : std::to_string(uid);
}

std::string GroupName(gid_t gid) {
  thread_local std::map<gid_t, std::string> known;
  if (auto k = known.find(gid); k != known.end()) return k->second;
  const group* gr = getgrgid(gid);
  return known[gid] = gr != nullptr ? gr->gr_name : std::to_string(gid);
}

constexpr const char* kManifestHeader = "# setup manifest 1\n";
constexpr const char* kManifestFields = "# type mode owner group size sha256 path [link target]\n";
constexpr const char* kMediumRecord = "# medium sha256 ";
constexpr const char* kSignerRecord = "# medium signature ";

std::vector<std::string> SplitAtBlanks(const std::string& line) {
  std::vector<std::string> fields;
  for (size_t at = 0;;) {
    const size_t blank = line.find(' ', at);
    fields.push_back(line.substr(at, blank == std::string::npos ? std::string::npos : blank - at));
    if (blank == std::string::npos) return fields;
    at = blank + 1;
  }
}

bool IsDigits(const std::string& text, const char* digits) {
  return !text.empty() && text.find_first_not_of(digits) == std::string::npos;
}

// One line of a manifest (not a comment), or false when it is damaged.
bool ParseEntry(const std::string& line, ManifestEntry* e) {
  const std::vector<std::string> f = SplitAtBlanks(line);
  if (f.size() < 7 || f[0].size() != 1 || std::strchr("dfnlo", f[0][0]) == nullptr) return false;
  e->type = f[0][0];
  const bool link = e->type == 'l';
  if (f.size() != (link ? 8u : 7u) || f[1].size() != 4 || !IsDigits(f[1], "01234567")) return false;
  if (f[4] != "-" && !IsDigits(f[4], "0123456789")) return false;
  if (e->type == 'f' && f[5].size() != 64) return false;
  e->mode = static_cast<unsigned>(std::strtoul(f[1].c_str(), nullptr, 8));
  e->size = f[4];
  e->sha = f[5];
  e->target.clear();
  if (!UnescapeManifestText(f[2], &e->owner) || !UnescapeManifestText(f[3], &e->group) ||
      !UnescapeManifestText(f[6], &e->path) || !IsCleanManifestPath(e->path))
    return false;
  return !link ||
         (UnescapeManifestText(f[7], &e->target) && !e->target.empty() && e->target.find('\0') == std::string::npos);
}

// The signer of the record's fields (after kSignerRecord); false when
// they cannot be read.
bool ParseSigner(const std::string& fields, MediumSigner* signer) {
  const std::vector<std::string> f = SplitAtBlanks(fields);
  MediumSigner read;
  std::string state;
  if (f.size() > 3 || !UnescapeManifestText(f[0], &state) || !MediumSigner::StateFromText(state, &read.state))
    return false;
  if (f.size() > 1 && !UnescapeManifestText(f[1], &read.keyId)) return false;
  if (f.size() > 2 && !UnescapeManifestText(f[2], &read.trustedComment)) return false;
  *signer = read;
  return true;
}

// Reads the entries of an open manifest, and the medium's digest and
// signer when it records them; 0, or the number of the first line that is
// damaged.
int ParseManifest(FILE* f, std::vector<ManifestEntry>* entries, std::string* medium, MediumSigner* signer) {
  char buf[3 * PATH_MAX + 256];
  int lineNo = 0;
  while (std::fgets(buf, sizeof buf, f) != nullptr) {
    ++lineNo;
    std::string line = buf;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (line.compare(0, std::strlen(kMediumRecord), kMediumRecord) == 0 && medium != nullptr)
      *medium = line.substr(std::strlen(kMediumRecord));
    if (line.compare(0, std::strlen(kSignerRecord), kSignerRecord) == 0 && signer != nullptr)
      ParseSigner(line.substr(std::strlen(kSignerRecord)), signer);
    if (line.empty() || line[0] == '#') continue;
    ManifestEntry e;
    if (!ParseEntry(line, &e)) return lineNo;
    entries->push_back(std::move(e));
  }
  return 0;
}

}  // namespace

std::string FormatManifestEntry(const ManifestEntry& e) {
  char mode[8];
  std::snprintf(mode, sizeof mode, "%04o", e.mode);
  std::string line = std::string(1, e.type) + " " + mode + " " + EscapeManifestText(e.owner) + " " +
                     EscapeManifestText(e.group) + " " + e.size + " " + e.sha + " " + EscapeManifestText(e.path);
  if (e.type == 'l') line += " " + EscapeManifestText(e.target);
  return line + "\n";
}

ManifestRead ReadTrustedManifest(const std::string& path, std::vector<ManifestEntry>* entries, std::string* why,
                                 int* badLine, std::string* medium, MediumSigner* signer) {
  FilePtr f = OpenTrustedFile(path, why);
  if (!f) return errno == ENOENT ? kManifestMissing : kManifestUntrusted;
  *badLine = ParseManifest(f.get(), entries, medium, signer);
  if (*badLine == 0) return kManifestRead;
  *why = SetupText(383, *badLine);
  return kManifestDamaged;
}

std::string ManifestPath(const char* appDir) { return std::string(appDir) + "/" + kManifestName; }
std::string MadeNotesPath(const char* appDir) { return std::string(appDir) + "/" + kMadeNotesName; }
std::string ManifestHeading() { return std::string(kManifestHeader) + kManifestFields; }
std::string ManifestMediumRecord(const std::string& digest, const MediumSigner& signer) {
  if (digest.empty()) return "";
  std::string record = kMediumRecord + digest + "\n" + kSignerRecord + EscapeManifestText(signer.StateText());
  if (!signer.keyId.empty()) record += " " + EscapeManifestText(signer.keyId) + " " + EscapeManifestText(signer.trustedComment);
  return record + "\n";
}

bool LoadManifest(const std::string& path, const char* nothing, std::vector<ManifestEntry>* entries) {
  std::string why;
  int badLine = 0;
  const ManifestRead result = ReadTrustedManifest(path, entries, &why, &badLine);
  if (result == kManifestRead) return true;
  std::fflush(stdout);
  if (result == kManifestDamaged) {
    SayError(300, path.c_str(), badLine);
    ExitProgram(2);
  }
  if (result == kManifestMissing)
    SayNamed(stderr, 301, path.c_str(), nothing);
  else
    SayNamed(stderr, 302, path.c_str(), why.c_str(), nothing);
  return false;
}

bool DescribeEntryUnhashed(const std::string& path, bool withContent, ManifestEntry* e) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return false;
  *e = ManifestEntry{};
  e->path = path;
  e->mode = ModeAfterHold(st);  // a folder held for the run is listed with the mode it gets back
  e->owner = UserName(st.st_uid);
  e->group = GroupName(st.st_gid);
  if (S_ISDIR(st.st_mode)) {
    e->type = 'd';
  } else if (S_ISLNK(st.st_mode)) {
    e->type = 'l';
    char buf[PATH_MAX];
    ssize_t n = readlink(path.c_str(), buf, sizeof buf);
    if (n > 0) e->target.assign(buf, static_cast<size_t>(n));
  } else if (S_ISREG(st.st_mode)) {
    e->type = withContent ? 'f' : 'n';
    if (withContent) {
      e->size = std::to_string(static_cast<long long>(st.st_size));
    }
  }
  return true;
}

std::string DigestOrUnreadable(const std::string& digest) { return digest.empty() ? "unreadable" : digest; }

bool DescribeEntry(const std::string& path, bool withContent, ManifestEntry* e) {
  if (!DescribeEntryUnhashed(path, withContent, e)) return false;
  std::string digest;
  if (e->type == 'f') e->sha = DigestOrUnreadable(Sha256File(path.c_str(), &digest) ? digest : "");
  return true;
}
