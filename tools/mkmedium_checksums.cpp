// mkmedium: the checksum file of the medium, one "<64 hex digits>  <name>"
// line for each file the disks list names but the marker (which the menu
// of setup rewrites), the checksum file itself and its signature, as sha256sum writes
// them. The pieces were hashed as they were cut; every other file is read
// again once it is written.
#include <map>

#include "Sha256.h"
#include "mkmedium.h"

namespace mkmedium {

namespace {

// Whether the checksum file covers name.
bool Checksummed(const std::string& name, const MediumNames& names) {
  return name != names.marker && name != names.checksums && name != names.signature;
}

}  // namespace

unsigned long long ChecksumFileBytes(const std::vector<std::string>& files, const MediumNames& names) {
  unsigned long long bytes = 0;
  for (const std::string& f : files)
    if (Checksummed(f, names)) bytes += 64 + 2 + f.size() + 1;
  return bytes;
}

bool WriteChecksums(const OutputDir& out, const std::vector<std::string>& files, const MediumNames& names,
                    const Archive& archive) {
  std::map<std::string, std::string> known;
  for (size_t i = 0; i < archive.pieceDigests.size(); ++i)
    known[PieceName(names, static_cast<unsigned>(i + 1))] = archive.pieceDigests[i];
  std::string text;
  for (const std::string& f : files) {
    if (!Checksummed(f, names)) continue;
    std::string hex;
    if (auto k = known.find(f); k != known.end()) {
      hex = k->second;
    } else if (!Sha256File(out.File(f).c_str(), &hex)) {
      ComplainErrno("cannot read %s for its checksum", out.File(f).c_str());
      return false;
    }
    text += hex + "  " + f + "\n";
  }
  return WriteTextFile(out.File(names.checksums), text, 0644);
}

}  // namespace mkmedium
