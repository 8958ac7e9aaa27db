// The disks list (the medium's list of its files) and the joining of the
// archive pieces into one compressed archive in the work directory.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "MediumLayout.h"
#include "MemMgr.h"
#include "RegularFile.h"
#include "ShellWord.h"
#include "SysCmd.h"
#include "installer.h"
#include "utils.h"

const char kArchiveBase[] = "Linuxi386Vpxx";

namespace {

constexpr const char* kEndOfList = "end_of_list";

bool IsPieceName(const char* word) {
  for (const MediumNames& names : {kUnixMediumNames, kDosMediumNames})
    if (std::strncmp(word, names.piecePrefix, std::strlen(names.piecePrefix)) == 0) return true;
  return false;
}

}  // namespace

void GetDisksData(const char* dir) {
  if (GetFileContent(dir, kUnixMediumNames.disks)) return;
  if (!GetFileContent(dir, kDosMediumNames.disks)) FatalError(NlsSetupStrCvt(21), "Vexla");
  // Names on a DOS diskette are upper case; the end mark stays as it is.
  char* end = StrStr(LineBuf, kEndOfList);
  for (char* p = LineBuf; *p != '\0' && p != end; ++p)
    *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
}

std::vector<std::string> DisksListPieces() {
  std::vector<std::string> pieces;
  std::string list = LineBuf;  // the scan below must not depend on LineBuf staying put
  for (char* word = GetToken(list.c_str(), " \r\n"); word != nullptr; word = GetToken(nullptr, " \r\n")) {
    if (std::strcmp(word, kEndOfList) == 0) break;
    if (IsPieceName(word)) pieces.emplace_back(word);
  }
  return pieces;
}

std::vector<std::vector<std::string>> DisksListFiles() {
  std::vector<std::vector<std::string>> lines;
  std::string list = LineBuf;
  size_t pos = 0;
  while (pos < list.size()) {
    size_t end = list.find_first_of("\r\n", pos);
    std::string line = list.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = end == std::string::npos ? list.size() : end + 1;
    if (line == kEndOfList) break;
    std::vector<std::string> words;
    for (char* word = GetToken(line.c_str(), " \t\r\n"); word != nullptr; word = GetToken(nullptr, " \t\r\n")) {
      if (std::strcmp(word, kEndOfList) == 0) break;
      words.emplace_back(word);
    }
    if (!words.empty()) lines.push_back(std::move(words));
  }
  return lines;
}

void CheckMediumFileName(const char* word) {
  // The names go into shell command lines: a name that could break the line
  // or reach outside the directory is a damaged list, not a file to copy.
  bool usable = JudgeShellWord(word) == kShellPlain;
  for (const char* step = word; usable && step != nullptr;) {
    const char* end = std::strchr(step, '/');
    size_t len = end != nullptr ? static_cast<size_t>(end - step) : std::strlen(step);
    usable = len != 0 && !(len == 1 && step[0] == '.') && !(len == 2 && step[0] == '.' && step[1] == '.');
    step = end != nullptr ? end + 1 : nullptr;
  }
  if (!usable) FatalError(NlsSetupStrCvt(264), word);
}

int GenZFile() {
  EnterDirectory(pTmpDir, true);
  GetDisksData(pVexlaInstallDir);
  std::vector<std::string> pieces = DisksListPieces();
  DeleteFile(pVexlaInstallDir, "Linuxi386Vpxx.tar.Z");
  // Every listed piece must be there before anything is joined: an archive
  // joined from some of its pieces would unpack damaged.
  if (pieces.empty()) FatalError(NlsSetupStrCvt(265), pVexlaInstallDir);
  for (const std::string& piece : pieces) {
    CheckMediumFileName(piece.c_str());
    if (!FindFile(pVexlaInstallDir, piece.c_str()))
      FatalError(NlsSetupStrCvt(266), piece.c_str(), pVexlaInstallDir);
    // A FIFO or device in a piece's place would hold the join forever.
    const std::string path = std::string(pVexlaInstallDir) + "/" + piece;
    if (RegularFile(path.c_str(), RegularFile::kFollowLink).fd() < 0)
      FatalError(NlsSetupStrCvt(267), piece.c_str(), pVexlaInstallDir);
  }
  for (const std::string& piece : pieces)
    SysCmd(-kCmdCat, kSevFatal, "%s/%s >> %s/%s.tar.Z", pVexlaInstallDir, piece.c_str(), pVexlaInstallDir, kArchiveBase);
  return 0;
}

bool IsCompleteTarArchive(const char* path) {
  constexpr off_t kBlock = 512;
  constexpr size_t kEndBlocks = 2 * kBlock;
  const RegularFile file(path, RegularFile::kRefuseLink);
  if (file.fd() < 0) return false;
  const off_t size = file.status().st_size;
  char end[kEndBlocks];
  const bool read = size % kBlock == 0 && size >= static_cast<off_t>(kEndBlocks) &&
                    pread(file.fd(), end, kEndBlocks, size - static_cast<off_t>(kEndBlocks)) ==
                        static_cast<ssize_t>(kEndBlocks);
  return read && std::all_of(end, end + kEndBlocks, [](char c) { return c == 0; });
}

void CheckUnpackedArchive() {
  char path[kLineBufSize];
  if (!FormatText(path, sizeof path, "%s/%s.tar", pVexlaInstallDir, kArchiveBase))
    FatalError("%s", NlsSetupStrCvt(268));
  if (!IsCompleteTarArchive(path))
    FatalError(NlsSetupStrCvt(269), path);
}
