#include "MinisignSign.h"

#include <sodium.h>

#include <cstring>

namespace {

// The secret-key file's bytes: algorithms, scrypt's salt and costs, then
// the part that a password encrypts.
constexpr size_t kSaltBytes = crypto_pwhash_scryptsalsa208sha256_SALTBYTES;
constexpr size_t kSealedBytes = 8 + 64 + 32;  // key id, secret key, checksum
constexpr size_t kSecretFileBytes = 2 + 2 + 2 + kSaltBytes + 8 + 8 + kSealedBytes;
constexpr size_t kSaltAt = 6, kOpsAt = kSaltAt + kSaltBytes, kMemAt = kOpsAt + 8, kSealedAt = kMemAt + 8;
// The most memory a key file may ask scrypt to use; minisign asks 1 GiB.
constexpr uint64_t kMemLimitMax = uint64_t{1} << 32;

uint64_t Le64(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

void PutLe64(uint8_t* p, uint64_t v) {
  for (int i = 0; i < 8; ++i, v >>= 8) p[i] = static_cast<uint8_t>(v);
}

// BLAKE2b-256 of "Ed", the key id and the secret key: the checksum that
// tells a right password from a wrong one.
void KeyChecksum(const uint8_t* id, const uint8_t* sk, uint8_t out[32]) {
  crypto_generichash_state st;
  crypto_generichash_init(&st, nullptr, 0, 32);
  crypto_generichash_update(&st, reinterpret_cast<const uint8_t*>("Ed"), 2);
  crypto_generichash_update(&st, id, 8);
  crypto_generichash_update(&st, sk, 64);
  crypto_generichash_final(&st, out, 32);
}

// XORs the sealed part with the scrypt stream of password; false when the
// costs are out of bounds or the library fails.
bool Seal(uint8_t* sealed, std::string_view password, const uint8_t* salt, uint64_t ops, uint64_t mem) {
  if (mem > kMemLimitMax || ops > (uint64_t{1} << 40)) return false;
  uint8_t stream[kSealedBytes];
  const bool ok = crypto_pwhash_scryptsalsa208sha256(stream, sizeof stream, password.data(), password.size(), salt,
                                                     ops, static_cast<size_t>(mem)) == 0;
  if (ok)
    for (size_t i = 0; i < kSealedBytes; ++i) sealed[i] ^= stream[i];
  sodium_memzero(stream, sizeof stream);
  return ok;
}

std::string Base64(const uint8_t* data, size_t size) {
  std::string text(sodium_base64_ENCODED_LEN(size, sodium_base64_VARIANT_ORIGINAL), '\0');
  sodium_bin2base64(text.data(), text.size(), data, size, sodium_base64_VARIANT_ORIGINAL);
  text.resize(std::strlen(text.c_str()));
  return text;
}

bool SecretKeyBytes(std::string_view text, uint8_t raw[kSecretFileBytes], std::string* why) {
  std::vector<std::string_view> lines;
  if (text.size() > kMinisignFileMax || !MinisignLines(text, kMinisignFileMax, &lines) || lines.size() < 2 ||
      lines[0].substr(0, 19) != "untrusted comment: ") {
    *why = "it is not a minisign secret-key file";
    return false;
  }
  if (!MinisignBase64(lines[1], raw, kSecretFileBytes)) {
    *why = "line 2 is not the base64 of a secret key";
    return false;
  }
  if (std::memcmp(raw, "Ed", 2) != 0 || std::memcmp(raw + 4, "B2", 2) != 0 ||
      (std::memcmp(raw + 2, "Sc", 2) != 0 && std::memcmp(raw + 2, "\0\0", 2) != 0)) {
    *why = "it is not an Ed25519 key of a known form";
    return false;
  }
  return true;
}

}  // namespace

MinisignSecretKey::~MinisignSecretKey() { sodium_memzero(key.data(), key.size()); }

bool MinisignKeyNeedsPassword(std::string_view text) {
  uint8_t raw[kSecretFileBytes];
  std::string why;
  const bool needs = SecretKeyBytes(text, raw, &why) && std::memcmp(raw + 2, "Sc", 2) == 0;
  sodium_memzero(raw, sizeof raw);
  return needs;
}

bool ReadMinisignSecretKey(std::string_view text, std::string_view password, MinisignSecretKey* key,
                           std::string* why) {
  uint8_t raw[kSecretFileBytes];
  bool ok = SecretKeyBytes(text, raw, why);
  uint8_t* sealed = raw + kSealedAt;
  if (ok && std::memcmp(raw + 2, "Sc", 2) == 0 &&
      !Seal(sealed, password, raw + kSaltAt, Le64(raw + kOpsAt), Le64(raw + kMemAt))) {
    *why = "its password cannot be applied (costs out of bounds)";
    ok = false;
  }
  if (ok) {
    uint8_t sum[32], zero[32] = {}, pk[32], sk[64];
    KeyChecksum(sealed, sealed + 8, sum);
    // minisign leaves the checksum of a key stored in the clear at zero;
    // such a key must at least be whole: its seed gives its public key.
    const bool clear = std::memcmp(raw + 2, "\0\0", 2) == 0;
    crypto_sign_seed_keypair(pk, sk, sealed + 8);
    sodium_memzero(sk, sizeof sk);
    const bool whole = std::memcmp(pk, sealed + 8 + 32, 32) == 0;
    if (!whole || (sodium_memcmp(sum, sealed + 72, 32) != 0 && !(clear && sodium_memcmp(zero, sealed + 72, 32) == 0))) {
      *why = "wrong password, or the key file is damaged";
      ok = false;
    } else {
      std::memcpy(key->id.data(), sealed, 8);
      std::memcpy(key->key.data(), sealed + 8, 64);
    }
  }
  sodium_memzero(raw, sizeof raw);
  return ok;
}

std::string MinisignSign(const MinisignSecretKey& key, std::string_view content, std::string_view trustedComment,
                         std::string_view untrustedComment) {
  if (!MinisignInit() || trustedComment.find_first_of("\r\n") != std::string_view::npos ||
      untrustedComment.find_first_of("\r\n") != std::string_view::npos)
    return "";
  uint8_t hash[64];
  crypto_generichash(hash, sizeof hash, reinterpret_cast<const uint8_t*>(content.data()), content.size(), nullptr, 0);
  uint8_t sig[2 + 8 + 64];
  std::memcpy(sig, "ED", 2);
  std::memcpy(sig + 2, key.id.data(), 8);
  crypto_sign_detached(sig + 10, nullptr, hash, sizeof hash, key.key.data());
  std::string global(reinterpret_cast<const char*>(sig + 10), 64);
  global += trustedComment;
  uint8_t globalSig[64];
  crypto_sign_detached(globalSig, nullptr, reinterpret_cast<const uint8_t*>(global.data()), global.size(),
                       key.key.data());
  return "untrusted comment: " + std::string(untrustedComment) + "\n" + Base64(sig, sizeof sig) +
         "\ntrusted comment: " + std::string(trustedComment) + "\n" + Base64(globalSig, sizeof globalSig) + "\n";
}

bool MakeMinisignKeyPair(std::string_view password, std::string* secretText, std::string* publicText,
                         std::string* why) {
  if (!MinisignInit()) {
    *why = "the signature library cannot start";
    return false;
  }
  uint8_t pub[2 + 8 + 32];
  uint8_t raw[kSecretFileBytes] = {};
  uint8_t* sealed = raw + kSealedAt;
  std::memcpy(pub, "Ed", 2);
  randombytes_buf(pub + 2, 8);
  crypto_sign_keypair(pub + 10, sealed + 8);
  std::memcpy(sealed, pub + 2, 8);
  KeyChecksum(sealed, sealed + 8, sealed + 72);
  std::memcpy(raw, "Ed", 2);
  std::memcpy(raw + 4, "B2", 2);
  bool ok = true;
  if (!password.empty()) {
    std::memcpy(raw + 2, "Sc", 2);
    randombytes_buf(raw + kSaltAt, kSaltBytes);
    PutLe64(raw + kOpsAt, crypto_pwhash_scryptsalsa208sha256_OPSLIMIT_SENSITIVE);
    PutLe64(raw + kMemAt, crypto_pwhash_scryptsalsa208sha256_MEMLIMIT_SENSITIVE);
    ok = Seal(sealed, password, raw + kSaltAt, crypto_pwhash_scryptsalsa208sha256_OPSLIMIT_SENSITIVE,
              crypto_pwhash_scryptsalsa208sha256_MEMLIMIT_SENSITIVE);
  }
  if (ok) {
    MinisignKeyId id;
    std::memcpy(id.data(), pub + 2, 8);
    *secretText = "untrusted comment: minisign encrypted secret key\n" + Base64(raw, sizeof raw) + "\n";
    *publicText = "untrusted comment: minisign public key " + MinisignKeyIdText(id) + "\n" +
                  Base64(pub, sizeof pub) + "\n";
  } else {
    *why = "the key could not be sealed with the password";
  }
  sodium_memzero(raw, sizeof raw);
  return ok;
}
