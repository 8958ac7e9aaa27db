// The medium's signature checked against the keys root keeps
// (guards_signature.h).
#include "guards_signature.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "Fd.h"
#include "Minisign.h"
#include "PathTrust.h"
#include "RegularFile.h"
#include "RootFile.h"
#include "TerminalCharset.h"
#include "installer.h"
#include "utils.h"

namespace {

MediumSigner signer;

struct KeptKey {
  std::string file;
  MinisignPublicKey key;
};

// Up to kMinisignFileMax bytes of the open file fd, plus one to tell a
// longer file; false on a read error.
bool ReadSmallFile(int fd, std::string* text) {
  text->clear();
  char buf[4096];
  while (text->size() <= kMinisignFileMax) {
    const ssize_t got = read(fd, buf, sizeof buf);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    text->append(buf, static_cast<size_t>(got));
  }
  return true;
}

bool EndsWith(const std::string& text, const char* end) {
  const size_t n = std::strlen(end);
  return text.size() > n && text.compare(text.size() - n, n, end) == 0;
}

// The keys of the key folder, read under the rule for root's files; an
// empty list when the folder (or a folder on the way) is not there. Any
// key or folder others could have written ends the run.
std::vector<KeptKey> KeptKeys() {
  std::vector<KeptKey> keys;
  PathPlace place;
  WayBlock block;
  switch (OpenWayTo(kKeyFolder, WayOwners::kRootOnly, LastLink::kKeep, &place, &block)) {
    case kWayGone: return keys;
    case kWayBlocked: FatalError(NlsSetupStrCvt(245), kKeyFolder, block.Text().c_str());
    case kWayReached: break;
  }
  Fd folder(openat(place.folder.get(), place.leaf.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!folder.ok()) {
    if (errno == ENOENT) return keys;
    if (errno != ELOOP && errno != ENOTDIR)
      FatalError(NlsSetupStrCvt(246), kKeyFolder, std::strerror(errno));
  }
  struct stat st;
  std::string why;
  if (!folder.ok()) {
    why = NlsSetupStrCvt(errno == ELOOP ? 247 : 248);
  } else if (fstat(folder.get(), &st) != 0) {
    why = std::strerror(errno);
  } else {
    why = WhyNotRootsFolder(st);
  }
  if (!why.empty()) FatalError(NlsSetupStrCvt(245), kKeyFolder, why.c_str());
  std::vector<std::string> names;
  {
    DIR* d = fdopendir(dup(folder.get()));
    if (d == nullptr) FatalError(NlsSetupStrCvt(249), kKeyFolder, std::strerror(errno));
    std::unique_ptr<DIR, int (*)(DIR*)> owner(d, closedir);
    while (const dirent* e = readdir(d))
      if (EndsWith(e->d_name, ".pub")) names.emplace_back(e->d_name);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const std::string path = std::string(kKeyFolder) + "/" + name;
    Fd fd(OpenRootsFileAt(folder.get(), name.c_str(), O_RDONLY, &why));
    if (!fd.ok()) FatalError(NlsSetupStrCvt(250), path.c_str(), why.c_str());
    std::string text;
    KeptKey kept{path, {}};
    if (!ReadSmallFile(fd.get(), &text)) FatalError(NlsSetupStrCvt(251), path.c_str(), std::strerror(errno));
    if (!ReadMinisignPublicKey(text, &kept.key, &why)) FatalError(NlsSetupStrCvt(252), path.c_str(), why.c_str());
    keys.push_back(kept);
  }
  return keys;
}

// The medium's signature file in dir, read from one descriptor; false when
// the medium has none. Anything but a regular file in its place ends the run.
bool ReadSignatureFile(const char* dir, const char* shownDir, MinisignSignature* sig, std::string* name) {
  *name = FindFile(dir, kSignatureFile) ? kSignatureFile : kSignatureFileDos;
  if (!FindFile(dir, name->c_str())) return false;
  const std::string path = std::string(dir) + "/" + *name;
  const std::string shown = std::string(shownDir) + "/" + *name;
  const RegularFile file(path.c_str(), RegularFile::kRefuseLink);
  if (file.fd() < 0) FatalError(NlsSetupStrCvt(253), shown.c_str());
  std::string text, why;
  if (!ReadSmallFile(file.fd(), &text))
    FatalError(NlsSetupStrCvt(254), shown.c_str(), std::strerror(errno));
  if (!ReadMinisignSignature(text, sig, &why))
    FatalError(NlsSetupStrCvt(255), shown.c_str(), why.c_str());
  return true;
}

}  // namespace

std::string SignerLine(const MediumSigner& s) {
  switch (s.state) {
    case MediumSigner::kUnsigned: return NlsSetupStrCvt(260);
    case MediumSigner::kNotRecorded: return NlsSetupStrCvt(261);
    case MediumSigner::kChecked:
    case MediumSigner::kNotChecked: break;
  }
  return SetupText(s.state == MediumSigner::kChecked ? 262 : 263, s.keyId.c_str(), kKeyFolder,
                   ShownWithoutControls(s.trustedComment).c_str());
}

bool KeysKept() { return !KeptKeys().empty(); }

void CheckMediumSignature(const char* dir, const char* shownDir, const std::string& checksums) {
  signer = MediumSigner();
  const std::vector<KeptKey> keys = KeptKeys();
  MinisignSignature sig;
  std::string name;
  const bool isSigned = ReadSignatureFile(dir, shownDir, &sig, &name);
  if (!isSigned) {
    if (!keys.empty())
      FatalError(NlsSetupStrCvt(256), kKeyFolder);
    PutLogMsg("the medium is not signed\n");
    return;
  }
  signer.keyId = MinisignKeyIdText(sig.keyId);
  signer.trustedComment = sig.trustedComment;
  if (keys.empty()) {
    signer.state = MediumSigner::kNotChecked;
    // (A preview shows the signer with the rest of what it found.)
    if (!flPreview) SayText(stdout, 257, signer.keyId.c_str(), kKeyFolder);
    PutLogMsg("the medium is signed by key %s (%s); not checked: no key is kept in %s\n", signer.keyId.c_str(),
              signer.trustedComment.c_str(), kKeyFolder);
    return;
  }
  for (const KeptKey& kept : keys) {
    if (kept.key.id != sig.keyId) continue;
    std::string why;
    if (!VerifyMinisign(kept.key, sig, checksums, &why))
      FatalError(NlsSetupStrCvt(258), shownDir, name.c_str(), signer.keyId.c_str(), why.c_str());
    signer.state = MediumSigner::kChecked;
    PutLogMsg("the medium is signed by key %s (%s, %s): checked\n", signer.keyId.c_str(), kept.file.c_str(),
              signer.trustedComment.c_str());
    return;
  }
  FatalError(NlsSetupStrCvt(259), signer.keyId.c_str(), kKeyFolder);
}

const MediumSigner& LastMediumSigner() { return signer; }

bool IsSignatureFile(const char* name) {
  return std::strcmp(name, kSignatureFile) == 0 || std::strcmp(name, kSignatureFileDos) == 0;
}
