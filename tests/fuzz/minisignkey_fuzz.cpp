// A minisign key file on a hostile text, read as a public key and as a
// secret key (only one stored without a password: opening another costs
// scrypt at minisign's price, seconds an input). A refusal always says
// why; a secret key that reads signs what its public half then verifies.
#include <string>

#include "Minisign.h"
#include "MinisignSign.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string why;
  MinisignPublicKey pub;
  if (!ReadMinisignPublicKey(text, &pub, &why)) FuzzCheck(!why.empty(), "a public key refused without a reason");
  if (MinisignKeyNeedsPassword(text)) return 0;
  why.clear();
  MinisignSecretKey secret;
  if (!ReadMinisignSecretKey(text, "", &secret, &why)) {
    FuzzCheck(!why.empty(), "a secret key refused without a reason");
    return 0;
  }
  MinisignPublicKey half;
  half.id = secret.id;
  std::copy(secret.key.begin() + 32, secret.key.end(), half.key.begin());
  MinisignSignature sig;
  FuzzCheck(ReadMinisignSignature(MinisignSign(secret, "abc", "t"), &sig, &why), "its own signature does not read");
  FuzzCheck(VerifyMinisign(half, sig, "abc", &why), "a secret key that reads signs what its public half refuses");
  return 0;
}
