#include "Minisign.h"

#include <sodium.h>

#include <cstdio>
#include <cstring>

#include "UtilText.h"

namespace {

constexpr std::string_view kUntrustedPrefix = "untrusted comment: ";
constexpr std::string_view kTrustedPrefix = "trusted comment: ";
constexpr size_t kCommentMax = 1024;         // an untrusted comment, as minisign bounds it
constexpr size_t kTrustedCommentMax = 8192;  // a trusted comment, likewise

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// Lines past the last one a file needs may only be empty.
bool OnlyEmptyAfter(const std::vector<std::string_view>& lines, size_t used) {
  for (size_t i = used; i < lines.size(); ++i)
    if (!lines[i].empty()) return false;
  return true;
}

bool Fail(std::string* why, UtilText text) {
  *why = RunUtilText(text);
  return false;
}

}  // namespace

bool MinisignInit() {
  static const bool started = sodium_init() >= 0;
  return started;
}

bool MinisignLines(std::string_view text, size_t max, std::vector<std::string_view>* lines) {
  lines->clear();
  if (text.find('\0') != std::string_view::npos) return false;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > max) return false;
    lines->push_back(line);
  }
  return true;
}

bool MinisignBase64(std::string_view line, uint8_t* out, size_t size) {
  if (!MinisignInit()) return false;
  size_t got = 0;
  const char* end = nullptr;
  // The bound is one byte more than wanted, so that a longer text fails.
  std::vector<uint8_t> buf(size + 1);
  if (sodium_base642bin(buf.data(), buf.size(), line.data(), line.size(), nullptr, &got, &end,
                        sodium_base64_VARIANT_ORIGINAL) != 0)
    return false;
  if (end != line.data() + line.size() || got != size) return false;
  std::memcpy(out, buf.data(), size);
  return true;
}

bool ReadMinisignPublicKey(std::string_view text, MinisignPublicKey* key, std::string* why) {
  std::vector<std::string_view> lines;
  if (text.size() > kMinisignFileMax) return Fail(why, UtilText::kKeyTooLong);
  if (!MinisignLines(text, kUntrustedPrefix.size() + kCommentMax, &lines))
    return Fail(why, UtilText::kZeroOrLongLine);
  if (lines.size() < 2 || !StartsWith(lines[0], kUntrustedPrefix))
    return Fail(why, UtilText::kNoUntrustedComment);
  uint8_t raw[2 + 8 + 32];
  if (!MinisignBase64(lines[1], raw, sizeof raw)) return Fail(why, UtilText::kKeyLineNotBase64);
  if (std::memcmp(raw, "Ed", 2) != 0) return Fail(why, UtilText::kNotEd25519Key);
  if (!OnlyEmptyAfter(lines, 2)) return Fail(why, UtilText::kKeyTooManyLines);
  std::memcpy(key->id.data(), raw + 2, 8);
  std::memcpy(key->key.data(), raw + 10, 32);
  return true;
}

bool ReadMinisignSignature(std::string_view text, MinisignSignature* sig, std::string* why) {
  std::vector<std::string_view> lines;
  if (text.size() > kMinisignFileMax) return Fail(why, UtilText::kSignatureTooLong);
  if (!MinisignLines(text, kTrustedPrefix.size() + kTrustedCommentMax, &lines))
    return Fail(why, UtilText::kZeroOrLongLine);
  if (lines.size() < 4) return Fail(why, UtilText::kSignatureTooShort);
  if (!StartsWith(lines[0], kUntrustedPrefix) || lines[0].size() > kUntrustedPrefix.size() + kCommentMax)
    return Fail(why, UtilText::kNoUntrustedComment);
  uint8_t raw[2 + 8 + 64];
  if (!MinisignBase64(lines[1], raw, sizeof raw)) return Fail(why, UtilText::kSignatureNotBase64);
  if (std::memcmp(raw, "Ed", 2) == 0) return Fail(why, UtilText::kLegacySignature);
  if (std::memcmp(raw, "ED", 2) != 0) return Fail(why, UtilText::kNotEd25519Signature);
  if (!StartsWith(lines[2], kTrustedPrefix)) return Fail(why, UtilText::kNoTrustedComment);
  if (!MinisignBase64(lines[3], sig->global.data(), sig->global.size()))
    return Fail(why, UtilText::kGlobalNotBase64);
  if (!OnlyEmptyAfter(lines, 4)) return Fail(why, UtilText::kSignatureTooManyLines);
  std::memcpy(sig->keyId.data(), raw + 2, 8);
  std::memcpy(sig->signature.data(), raw + 10, 64);
  sig->trustedComment = lines[2].substr(kTrustedPrefix.size());
  return true;
}

bool VerifyMinisign(const MinisignPublicKey& key, const MinisignSignature& sig, std::string_view content,
                    std::string* why) {
  if (!MinisignInit()) return Fail(why, UtilText::kNoSignatureLibrary);
  if (key.id != sig.keyId) {
    *why = UtilFormat(UtilText::kOtherKey, MinisignKeyIdText(sig.keyId).c_str(), MinisignKeyIdText(key.id).c_str());
    return false;
  }
  uint8_t hash[crypto_generichash_BYTES_MAX];
  static_assert(sizeof hash == 64);
  crypto_generichash(hash, sizeof hash, reinterpret_cast<const uint8_t*>(content.data()), content.size(), nullptr, 0);
  if (crypto_sign_verify_detached(sig.signature.data(), hash, sizeof hash, key.key.data()) != 0)
    return Fail(why, UtilText::kSignatureMismatch);
  std::string global(reinterpret_cast<const char*>(sig.signature.data()), sig.signature.size());
  global += sig.trustedComment;
  if (crypto_sign_verify_detached(sig.global.data(), reinterpret_cast<const uint8_t*>(global.data()), global.size(),
                                  key.key.data()) != 0)
    return Fail(why, UtilText::kCommentMismatch);
  return true;
}

std::string MinisignKeyIdText(const MinisignKeyId& id) {
  char text[17];
  for (size_t i = 0; i < id.size(); ++i)
    std::snprintf(text + 2 * i, sizeof text - 2 * i, "%02X", static_cast<unsigned>(id[id.size() - 1 - i]));
  return text;
}
