// SHA-256 of texts and files, for the checksums of installation media and
// the manifest of an installation. Computed in the program itself: a
// medium runs on hosts that have only their base system, and a manifest of
// a thousand files must not cost a thousand processes.
//
// Two files hold it: Sha256.cpp the digest itself (the portable rounds and
// the processor's SHA instructions), Sha256File.cpp the digests of files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

class Sha256 {
 public:
  Sha256();
  void Update(const void* data, size_t size);
  // The digest as 64 lower-case hexadecimal digits; the object is spent.
  std::string HexDigest();

 private:
  void Blocks(const unsigned char* data, size_t blocks);  // whole 64-byte blocks

  uint32_t state_[8];
  unsigned char buffer_[64];
  size_t buffered_ = 0;
  uint64_t length_ = 0;  // bytes seen
};

// Tests: true computes every digest without the processor's SHA
// instructions, as on a processor that lacks them.
void Sha256PortableOnly(bool on);

// ---------------------------------------------------------------------------
// The digests of files (Sha256File.cpp).
//
// The threads: Sha256File runs on its caller's alone. Sha256Files shares
// its files among a few threads (one a processor, at most four, the
// caller's among them), each taking the next file not yet taken and
// writing only that file's place in the result. Sha256Ahead starts a batch
// on a thread of its own, which shares the batch's files in the same way;
// at most four batches run at a time. The hashing threads only read their
// files and write their own results: the table of digests taken ahead is
// touched by the callers of Sha256Ahead and Sha256Files alone, under a
// lock, and lives to the end of the program, so that a program that ends
// while a batch runs need not wait for it.
//
// A digest taken ahead is used once, by the first Sha256Files that asks
// for its path (waiting for the batch when it still runs), and only when
// the file could be read, its change time was settled when the hashing
// began (Sha256StampSettled), it did not change while it was hashed, and
// it is still the one hashed: the same device and inode, size, and times
// of writing and change. Otherwise, and for a path never handed over, the
// file is hashed when asked for.

// Digest of a whole file; false when it cannot be read or is not a regular
// file: a link at path is not followed, and a FIFO or device there is
// refused at once, never waited on.
bool Sha256File(const char* path, std::string* hex);

// Digest of what is left to read of the open file fd (read again after an
// interruption); false when a read fails.
bool Sha256OpenFile(int fd, std::string* hex);

// Digests of many files: the i-th is that of paths[i], empty when the file
// cannot be read (as Sha256File). On a product of large files, hashing is
// most of what the program itself costs beyond its commands, hence the
// threads.
std::vector<std::string> Sha256Files(const std::vector<std::string>& paths);

// Starts hashing the files ahead, so that the caller can go on meanwhile:
// a file copied is hashed while the next is copied, a tree while the
// installation goes on. A path handed over again takes the place of its
// earlier digest. While four batches run, the files of a further one are
// not hashed ahead but when asked for.
void Sha256Ahead(const std::vector<std::string>& paths);

// Whether a file whose change time is `changed` may be hashed ahead at
// `now` (read from the coarse clock before the file's times): only when
// any later change must move that time. A file system may keep times to
// the second or coarser, showing no nanoseconds, and one keeping them to
// a grain finer than a second leaves them as they were within the grain;
// so the time must fall in an earlier second than now, and show
// nanoseconds.
bool Sha256StampSettled(const timespec& changed, const timespec& now);
