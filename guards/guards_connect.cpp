// The guards as the installer calls them (its RunGuards interface).
#include "guards.h"
#include "setup_extensions.h"

namespace {

class ConnectedGuards final : public RunGuards {
 public:
  void TakeHostLock(bool wait) override { ::TakeHostLock(wait); }
  void SayWhenHostLocked() override { ::SayWhenHostLocked(); }
  int Preview(unsigned char spaceCheck, bool json) override { return RunPreview(spaceCheck, json); }
};

}  // namespace

void ConnectRunGuards() {
  static ConnectedGuards guards;
  ConnectGuards(&guards);
}
