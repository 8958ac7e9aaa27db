// Minisign's public-key and signature files, read and checked: a
// signature of the prehashed form ("ED": Ed25519 over the BLAKE2b-512 hash
// of the signed bytes) with its trusted comment, which a second Ed25519
// signature binds to the first. The cryptography is libsodium's.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using MinisignKeyId = std::array<uint8_t, 8>;

struct MinisignPublicKey {
  MinisignKeyId id{};
  std::array<uint8_t, 32> key{};
};

struct MinisignSignature {
  MinisignKeyId keyId{};
  std::array<uint8_t, 64> signature{};  // of the BLAKE2b-512 hash of the signed bytes
  std::string trustedComment;           // without "trusted comment: "
  std::array<uint8_t, 64> global{};     // of signature followed by trustedComment
};

// Longest file either reader takes; a longer one is refused.
constexpr size_t kMinisignFileMax = 16384;

// Reads a public-key file ("untrusted comment: ..." then the base64 of
// "Ed", the key id and the key). False with *why ("line 2 is not base64",
// "it is not an Ed25519 key" ...) when text is not such a file.
bool ReadMinisignPublicKey(std::string_view text, MinisignPublicKey* key, std::string* why);

// Reads a signature file (untrusted comment, base64 of "ED", key id and
// signature, "trusted comment: ...", base64 of the global signature).
// False with *why when text is not one; a legacy "Ed" signature (of the
// bytes themselves) is refused.
bool ReadMinisignSignature(std::string_view text, MinisignSignature* sig, std::string* why);

// Whether sig is key's signature of content and of its trusted comment;
// false with *why ("the signature does not match the file", "the trusted
// comment does not match its signature", "it is by key X, not Y").
bool VerifyMinisign(const MinisignPublicKey& key, const MinisignSignature& sig, std::string_view content,
                    std::string* why);

// The key id as minisign shows it: 16 upper-case hex digits, the bytes read
// as a little-endian number.
std::string MinisignKeyIdText(const MinisignKeyId& id);

// The lines of a minisign file: text split at '\n', a '\r' before it
// dropped. False when a line is longer than max or a byte 0 is in it.
bool MinisignLines(std::string_view text, size_t max, std::vector<std::string_view>* lines);
// Decodes the base64 line to exactly size bytes; false otherwise.
bool MinisignBase64(std::string_view line, uint8_t* out, size_t size);
// Starts libsodium once (idempotent, safe on any thread); false when it cannot.
bool MinisignInit();
