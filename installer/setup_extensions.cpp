// The installation's record and the run's guards as the program's entry
// connected them; until then the ones that do nothing. And the medium's
// signer as texts, which the guards find and the record keeps.
#include "setup_extensions.h"

namespace {

InstallationRecord noRecord;
RunGuards noGuards;
InstallationRecord* record = &noRecord;
RunGuards* guards = &noGuards;

const std::string noText;
const MediumSigner noSigner;

}  // namespace

const std::string& RunGuards::MediumDigest() { return noText; }
const std::string& RunGuards::CheckedMediumDir() { return noText; }
const MediumSigner& RunGuards::LastMediumSigner() { return noSigner; }

InstallationRecord& Record() { return *record; }
RunGuards& Guards() { return *guards; }
void ConnectRecord(InstallationRecord* connected) { record = connected != nullptr ? connected : &noRecord; }
void ConnectGuards(RunGuards* connected) { guards = connected != nullptr ? connected : &noGuards; }

namespace {

const struct {
  MediumSigner::State state;
  const char* text;
} kStateTexts[] = {{MediumSigner::kUnsigned, "unsigned"},
                   {MediumSigner::kChecked, "checked"},
                   {MediumSigner::kNotChecked, "not checked"},
                   {MediumSigner::kNotRecorded, "not recorded"}};

}  // namespace

const char* MediumSigner::StateText() const {
  for (const auto& t : kStateTexts)
    if (t.state == state) return t.text;
  return "unsigned";
}

bool MediumSigner::StateFromText(const std::string& text, State* state) {
  for (const auto& t : kStateTexts) {
    if (text != t.text) continue;
    *state = t.state;
    return true;
  }
  return false;
}

JsonObject SignerJson(const MediumSigner& s) {
  return JsonObject().Add("state", s.StateText()).Add("key_id", s.keyId).Add("trusted_comment", s.trustedComment);
}
