// The medium's checksum file: the SHA-256 of every file the disks list
// names but the marker, in the form sha256sum writes ("<64 hex digits>
// <name>", two blanks or a blank and '*' between). Every file is checked
// against it in the work directory before anything is joined or unpacked,
// so a damaged medium is named before it can install half a product.
#include <strings.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "MemMgr.h"
#include "Sha256.h"
#include "installer.h"
#include "utils.h"

namespace {

constexpr const char* kChecksumFile = "sha256";
constexpr const char* kChecksumFileDos = "SHA256";
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

}  // namespace

int CheckMediumChecksums(const char* dir) {
  const char* file = kChecksumFile;
  char* text = GetSavedFileContent(dir, file);
  if (text == nullptr) {
    file = kChecksumFileDos;
    text = GetSavedFileContent(dir, file);
  }
  if (text == nullptr) {
    if (FindFile(dir, kChecksumFile) || FindFile(dir, kChecksumFileDos))
      FatalError("the checksum file of the medium in %s cannot be read, or is empty", dir);
    // A medium made with a checksum file names it in its disks list: one
    // that lost the file is not an older medium.
    // (Without a readable list the run ends where the list is read.)
    const bool listed = GetFileContent(dir, "disks") || GetFileContent(dir, "DISKS");
    for (const std::vector<std::string>& line : listed ? DisksListFiles() : std::vector<std::vector<std::string>>{})
      for (const std::string& word : line)
        if (strcasecmp(word.c_str(), kChecksumFile) == 0)
          FatalError("%s is missing from %s, whose disks list names it: the medium is not complete", word.c_str(),
                     dir);
    PutLogMsg("the medium carries no checksum file: its files are not checked\n");
    return 0;
  }
  const std::string content = text;
  PutMem(text);
  // The whole file is read and every name judged before anything is
  // hashed; the files are then hashed together and judged in their order.
  std::vector<std::string> names, wants, paths;
  auto missing = [dir](const char* name) {
    FatalError("%s is missing from %s, whose checksum file names it: the medium is not complete", name, dir);
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
      FatalError("the checksum file %s/%s is damaged, line %d", dir, file, lineNo);
    CheckMediumFileName(name.c_str());
    char path[kLineBufSize];
    if (!FormatText(path, sizeof path, "%s/%s", dir, name.c_str()))
      FatalError("path too long: %s/%s", dir, name.c_str());
    if (!FindFile(dir, name.c_str())) missing(name.c_str());
    names.push_back(name);
    wants.push_back(want);
    paths.push_back(path);
  }
  const std::vector<std::string> haves = Sha256Files(paths);
  for (size_t i = 0; i < names.size(); ++i) {
    const char* name = names[i].c_str();
    if (haves[i].empty()) missing(name);
    if (haves[i] != wants[i])
      FatalError("%s does not match its checksum: the medium is damaged (%s/%s)", name, dir, name);
  }
  const int checked = static_cast<int>(names.size());
  PutLogMsg("%d files match the checksum file %s\n", checked, file);
  return checked;
}
