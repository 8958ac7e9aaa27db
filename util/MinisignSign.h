// The packager's side of minisign: secret-key files read (decrypted with
// their password where they have one), signatures made in the prehashed
// form that `minisign -V` checks, and new key pairs written in minisign's
// own formats. The cryptography (Ed25519, BLAKE2b, scrypt) is libsodium's.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "Minisign.h"

struct MinisignSecretKey {
  MinisignKeyId id{};
  std::array<uint8_t, 64> key{};  // libsodium's form: the seed, then the public key
  ~MinisignSecretKey();           // wipes the key
};

// Whether the secret-key file text is protected by a password (its key
// derivation is scrypt's, "Sc"), false for one stored in the clear.
bool MinisignKeyNeedsPassword(std::string_view text);

// Reads a secret-key file, decrypting it with password when it is
// protected. False with *why ("wrong password, or the key file is
// damaged", "line 2 is not ..." ...) otherwise.
bool ReadMinisignSecretKey(std::string_view text, std::string_view password, MinisignSecretKey* key,
                           std::string* why);

// The signature file of content by key: the untrusted comment, the
// prehashed signature, the trusted comment (one line: a line end in it is
// refused by returning "") and the global signature. Deterministic: the
// same key, content and comments give the same bytes.
std::string MinisignSign(const MinisignSecretKey& key, std::string_view content, std::string_view trustedComment,
                         std::string_view untrustedComment = "signature from minisign secret key");

// A new key pair: *secretText the secret-key file (encrypted with password
// by scrypt at minisign's cost unless password is empty), *publicText the
// public-key file. False with *why when the library cannot.
bool MakeMinisignKeyPair(std::string_view password, std::string* secretText, std::string* publicText,
                         std::string* why);
