// The medium's checksum file: the SHA-256 of every file the disks list
// names but the marker and itself, in the form sha256sum writes ("<64 hex
// digits> <name>", two blanks or a blank and '*' between). It must cover
// the whole list, and every file is checked against it in the work
// directory before anything is joined or unpacked, so a damaged medium is
// named before it can install half a product.
#include <strings.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "MediumLayout.h"
#include "RegularFile.h"
#include "Sha256.h"
#include "guards.h"
#include "guards_signature.h"
#include "installer.h"
#include "utils.h"

namespace {

std::string mediumDigest;   // of the checksum file the last check read
std::string checkedMedium;  // the medium's directory the last check named

constexpr const char* kChecksumFile = kUnixMediumNames.checksums;
constexpr const char* kChecksumFileDos = kDosMediumNames.checksums;
constexpr size_t kHexDigits = 64;

bool IsHexDigest(const std::string& text) {
  if (text.size() != kHexDigits) return false;
  for (char c : text)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// One line of the file: the digest (lower case) and the name; false when
// the line has not that form.
bool ParseChecksumLine(std::string line, std::string* hex, std::string* name) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() < kHexDigits + 3 || line[kHexDigits] != ' ' ||
      (line[kHexDigits + 1] != ' ' && line[kHexDigits + 1] != '*'))
    return false;
  *hex = line.substr(0, kHexDigits);
  if (!IsHexDigest(*hex)) return false;
  for (char& c : *hex) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  *name = line.substr(kHexDigits + 2);
  return true;
}

// Every file the disks list of dir names; nothing when dir has no list
// (the run ends where the list is read).
std::vector<std::string> ListedFiles(const char* dir) {
  std::vector<std::string> files;
  if (!FindFile(dir, kUnixMediumNames.disks) && !FindFile(dir, kDosMediumNames.disks)) return files;
  GetDisksData(dir);
  for (const std::vector<std::string>& line : DisksListFiles()) files.insert(files.end(), line.begin(), line.end());
  return files;
}

// The whole regular file path (a link followed, a FIFO never waited on),
// from one descriptor; false when it is no regular file or a read fails.
bool ReadRegularFile(const char* path, std::string* text) {
  const RegularFile file(path, RegularFile::kFollowLink);
  if (file.fd() < 0) return false;
  text->clear();
  char buf[65536];
  for (;;) {
    const ssize_t got = read(file.fd(), buf, sizeof buf);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    text->append(buf, static_cast<size_t>(got));
  }
}

bool IsChecksumFile(const std::string& name) { return strcasecmp(name.c_str(), kChecksumFile) == 0; }

}  // namespace

int CheckMediumChecksums(const char* dir, const char* mediumDir) {
  // The files are read in dir (a copy, perhaps); every message names the
  // medium's own file, the one the administrator can look at.
  const char* shown = mediumDir != nullptr ? mediumDir : dir;
  mediumDigest.clear();
  checkedMedium = shown;
  const char* file = FindFile(dir, kChecksumFile) ? kChecksumFile : kChecksumFileDos;
  if (!FindFile(dir, file)) {
    // A medium that lost its checksum file while its disks list still
    // names it is not an older medium.
    for (const std::string& listed : ListedFiles(dir))
      if (IsChecksumFile(listed))
        FatalError(NlsSetupStrCvt(235), listed.c_str(), shown);
    if (KeysKept())
      FatalError(NlsSetupStrCvt(236), kKeyFolder);
    PutLogMsg("the medium carries no checksum file: its files are not checked\n");
    return 0;
  }
  char checksums[kLineBufSize];
  if (!FormatText(checksums, sizeof checksums, "%s/%s", dir, file)) FatalError(NlsSetupStrCvt(228), shown, file);
  const std::string shownChecksums = std::string(shown) + "/" + file;
  // Read once, from one descriptor: the signature is checked over the very
  // bytes whose lines are then checked.
  std::string content;
  if (!ReadRegularFile(checksums, &content))
    FatalError(NlsSetupStrCvt(237), shownChecksums.c_str());
  if (content.find('\0') != std::string::npos)
    FatalError(NlsSetupStrCvt(238), shownChecksums.c_str());
  CheckMediumSignature(dir, shown, content);
  Sha256 digest;
  digest.Update(content.data(), content.size());
  const std::string contentDigest = digest.HexDigest();
  // The whole file is read and every name judged before anything is
  // hashed; the files are then hashed together and judged in their order.
  std::vector<std::string> names, wants, paths;
  auto missing = [shown](const char* name) {
    FatalError(NlsSetupStrCvt(239), name, shown);
  };
  int lineNo = 0;
  for (size_t at = 0; at < content.size();) {
    size_t end = content.find('\n', at);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(at, end - at);
    at = end + 1;
    ++lineNo;
    if (line.empty() || line == "\r") continue;
    std::string want, name;
    if (!ParseChecksumLine(line, &want, &name))
      FatalError(NlsSetupStrCvt(240), shown, file, lineNo);
    CheckMediumFileName(name.c_str());
    char path[kLineBufSize];
    if (!FormatText(path, sizeof path, "%s/%s", dir, name.c_str()))
      FatalError(NlsSetupStrCvt(228), shown, name.c_str());
    if (!FindFile(dir, name.c_str())) missing(name.c_str());
    names.push_back(name);
    wants.push_back(want);
    paths.push_back(path);
  }
  // A file the list names without a line would be joined or installed
  // unchecked: the checksum file covers the whole medium, or none of it.
  if (names.empty()) FatalError(NlsSetupStrCvt(241), shown, file);
  for (const std::string& listed : ListedFiles(dir))
    if (strcasecmp(listed.c_str(), kUnixMediumNames.marker) != 0 && !IsChecksumFile(listed) &&
        !IsSignatureFile(listed.c_str()) && std::find(names.begin(), names.end(), listed) == names.end())
      FatalError(NlsSetupStrCvt(242), listed.c_str(), shown, file);
  const std::vector<std::string> haves = Sha256Files(paths);
  for (size_t i = 0; i < names.size(); ++i) {
    const char* name = names[i].c_str();
    if (haves[i].empty())
      FatalError(NlsSetupStrCvt(243), name, shown);
    if (haves[i] != wants[i])
      FatalError(NlsSetupStrCvt(244), shown, name);
  }
  mediumDigest = contentDigest;
  const int checked = static_cast<int>(names.size());
  PutLogMsg("%d files match the checksum file %s\n", checked, file);
  return checked;
}

const std::string& MediumDigest() { return mediumDigest; }

const std::string& CheckedMediumDir() { return checkedMedium; }
