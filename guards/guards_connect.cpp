// The guards as the installer calls them (its RunGuards interface).
#include "guards.h"
#include "guards_signature.h"
#include "setup_extensions.h"

namespace {

class ConnectedGuards final : public RunGuards {
 public:
  void TakeHostLock(bool wait) override { ::TakeHostLock(wait); }
  void SayWhenHostLocked() override { ::SayWhenHostLocked(); }
  int Preview(unsigned char spaceCheck, bool json) override { return RunPreview(spaceCheck, json); }
  int CheckMediumChecksums(const char* dir, const char* mediumDir) override {
    return ::CheckMediumChecksums(dir, mediumDir);
  }
  const std::string& MediumDigest() override { return ::MediumDigest(); }
  const std::string& CheckedMediumDir() override { return ::CheckedMediumDir(); }
  const MediumSigner& LastMediumSigner() override { return ::LastMediumSigner(); }
  bool IsSignatureFile(const char* name) override { return ::IsSignatureFile(name); }
};

}  // namespace

void ConnectRunGuards() {
  static ConnectedGuards guards;
  ConnectGuards(&guards);
}
