// SHA-256 of texts and files, for the checksums of installation media and
// the manifest of an installation. Computed in the program itself: a
// medium runs on hosts that have only their base system, and a manifest of
// a thousand files must not cost a thousand processes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class Sha256 {
 public:
  Sha256();
  void Update(const void* data, size_t size);
  // The digest as 64 lower-case hexadecimal digits; the object is spent.
  std::string HexDigest();

 private:
  void Block(const unsigned char* block);

  uint32_t state_[8];
  unsigned char buffer_[64];
  size_t buffered_ = 0;
  uint64_t length_ = 0;  // bytes seen
};

// Digest of a whole file (links followed); false when it cannot be read.
bool Sha256File(const char* path, std::string* hex);
