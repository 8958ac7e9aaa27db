// mkmedium: what the two size files say, in kilobyte blocks: isize, the
// product tree as du -sk counts it, and tsize, the work area at its peak
// during an install. Every file and folder counts in whole blocks of the
// usual file systems of the target at least.
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <utility>

#include "mkmedium.h"

namespace fs = std::filesystem;

namespace mkmedium {

namespace {

// Sizes are counted in whole blocks of the usual file systems of the target.
constexpr unsigned long long kBlock = 4096;

// Kilobyte blocks an entry of this size occupies: whole 4 KiB blocks, or
// what the file system here allocates when that is more.
unsigned long long EntryKiB(unsigned long long bytes, unsigned long long allocated = 0) {
  unsigned long long rounded = (bytes + kBlock - 1) / kBlock * kBlock;
  if (allocated > rounded) rounded = allocated;
  return (rounded + 1023) / 1024;
}

unsigned long long FileSize(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 ? static_cast<unsigned long long>(st.st_size) : 0;
}

unsigned long long FileKiB(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return 0;
  return EntryKiB(static_cast<unsigned long long>(st.st_size), static_cast<unsigned long long>(st.st_blocks) * 512);
}

// Bytes a folder's entries take as ext4 stores them (8 bytes and the name
// rounded up to 4), "." and ".." included: a folder counted from its names
// alone, the same in every copy of it.
unsigned long long FolderBytesByNames(const std::string& dir) {
  unsigned long long bytes = 12 + 12;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(dir, ec))
    bytes += 8 + (e.path().filename().native().size() + 3) / 4 * 4;
  return bytes;
}

// Kilobyte blocks of the entry at path with status st, counted from what it
// holds alone when byContent is set.
unsigned long long TreeEntryKiB(const std::string& path, const struct stat& st, bool byContent) {
  if (!byContent)
    return EntryKiB(static_cast<unsigned long long>(st.st_size), static_cast<unsigned long long>(st.st_blocks) * 512);
  if (S_ISDIR(st.st_mode)) return EntryKiB(FolderBytesByNames(path));
  return EntryKiB(static_cast<unsigned long long>(st.st_size));
}

}  // namespace

bool TreeKiB(const std::string& dir, bool byContent, unsigned long long* total) {
  struct stat top;
  if (lstat(dir.c_str(), &top) != 0) {
    ComplainErrno("cannot read %s", dir.c_str());
    return false;
  }
  *total += TreeEntryKiB(dir, top, byContent);
  std::set<std::pair<dev_t, ino_t>> seen;
  std::error_code ec;
  fs::recursive_directory_iterator it(dir, fs::directory_options::none, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    struct stat st;
    if (lstat(it->path().c_str(), &st) != 0) {
      ComplainErrno("cannot read %s", it->path().c_str());
      return false;
    }
    if (st.st_nlink > 1 && !S_ISDIR(st.st_mode) && !seen.insert({st.st_dev, st.st_ino}).second) continue;
    *total += TreeEntryKiB(it->path(), st, byContent);
  }
  if (ec) {
    Complain("cannot read the product folder %s: %s", dir.c_str(), ec.message().c_str());
    return false;
  }
  return true;
}

// The work folder itself, a copy of every file of the medium (tsize, still
// to be written, holds a short number: one block; the checksum file is
// counted from its line lengths), the joined archive, the tar it
// uncompresses to and the tree.
unsigned long long WorkAreaKiB(const Options& opts, const OutputDir& out, const MediumNames& names,
                               const std::vector<std::string>& files, const Archive& archive,
                               unsigned long long treeKiB) {
  const unsigned long long workFolderKiB = EntryKiB(1), tsizeFileKiB = EntryKiB(1);
  unsigned long long tsize = workFolderKiB + tsizeFileKiB;
  // The db folder and its language folders in the work folder.
  if (!opts.dbFile.empty()) tsize += EntryKiB(1) * (1 + opts.languages.size());
  for (const std::string& f : files) {
    if (f == names.checksums) {
      tsize += EntryKiB(ChecksumFileBytes(files, names));
    } else if (f == names.signature) {
      tsize += EntryKiB(1);  // written last; a few hundred bytes
    } else if (f != names.tsize) {
      tsize += opts.Reproducible() ? EntryKiB(FileSize(out.File(f))) : FileKiB(out.File(f));
    }
  }
  return tsize + EntryKiB(archive.bytes) + EntryKiB(archive.tarBytes) + treeKiB;
}

}  // namespace mkmedium
