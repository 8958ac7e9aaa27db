// A minisign signature file on a hostile text: read, and when it reads,
// checked against a fixed key over a fixed content (the seed valid.minisig
// is that key's signature of it, so its mutations reach the checks of the
// signature and of the trusted comment). A refusal always says why.
#include <string>

#include "Minisign.h"
#include "fuzz_support.h"

namespace {

constexpr const char kPublicKey[] =
    "untrusted comment: minisign public key 7DC98325D2200694\n"
    "RWSUBiDSJYPJfaitmUnE0D4oyHIZwbU2Fexs/KyCAbUwB43R9CW6GqmD\n";
constexpr const char kContent[] = "abc\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  static const MinisignPublicKey key = [] {
    MinisignPublicKey k;
    std::string why;
    FuzzCheck(ReadMinisignPublicKey(kPublicKey, &k, &why), "the harness's own key does not read");
    return k;
  }();
  const std::string text(reinterpret_cast<const char*>(data), size);
  MinisignSignature sig;
  std::string why;
  if (!ReadMinisignSignature(text, &sig, &why)) {
    FuzzCheck(!why.empty(), "a signature refused without a reason");
    return 0;
  }
  FuzzCheck(MinisignKeyIdText(sig.keyId).size() == 16, "a key id that is not 16 hex digits");
  why.clear();
  if (!VerifyMinisign(key, sig, kContent, &why)) FuzzCheck(!why.empty(), "a bad signature without a reason");
  return 0;
}
