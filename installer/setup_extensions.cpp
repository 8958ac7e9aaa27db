// The installation's record and the run's guards as the program's entry
// connected them; until then the ones that do nothing.
#include "setup_extensions.h"

namespace {

InstallationRecord noRecord;
RunGuards noGuards;
InstallationRecord* record = &noRecord;
RunGuards* guards = &noGuards;

}  // namespace

InstallationRecord& Record() { return *record; }
RunGuards& Guards() { return *guards; }
void ConnectRecord(InstallationRecord* connected) { record = connected != nullptr ? connected : &noRecord; }
void ConnectGuards(RunGuards* connected) { guards = connected != nullptr ? connected : &noGuards; }
