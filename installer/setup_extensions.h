// Beyond the installer: the installation's record (record/record.h) and
// the run's guards (guards/guards.h) are built on the installer, which
// calls them only through these interfaces. The program's entry connects
// them; unconnected, each does nothing and finds nothing (an installation
// keeps no record, a run takes no lock), as the installer's own tests
// have it.
#pragma once

#include <string>
#include <vector>

#include "JsonWriter.h"

// What the installation tells its record as it goes, the earlier
// installation saved through an upgrade, and the actions on an installed
// product (each as its namesake in record/record.h describes it).
class InstallationRecord {
 public:
  virtual ~InstallationRecord() = default;
  // The notes of what the installation makes and owns.
  virtual void Begin() {}
  virtual void NoteMade(const char*) {}
  virtual void NoteOwn(const char*) {}
  virtual void KeepNotes() {}
  virtual std::vector<std::string> NoteCopy(const char*, const char*) { return {}; }
  virtual void NoteContent(const char*) {}
  virtual void NoteRename(const char*, const char*) {}
  virtual bool WouldExist(const char*) { return false; }
  // The manifest, begun at the end of the installation and written.
  virtual void BeginManifest() {}
  virtual bool ManifestPending() { return false; }
  virtual bool WriteManifest() { return true; }
  // The earlier installation saved through an upgrade.
  virtual double SavedCopyNeed(const char*) { return 0; }
  virtual void RefuseKeepWithoutCopy(const char*) {}
  virtual void NoRoomToSaveEarlier() {}
  virtual void SaveEarlierInstallation() {}
  virtual void EndSavedInstallation(bool) {}
  // verify, remove and rollback: their exit statuses.
  virtual int Verify(const char*, bool) { return 2; }
  virtual int Remove(const char*) { return 2; }
  virtual int Rollback(const char*) { return 2; }
  // The host's history of runs: the run's start, an installation into the
  // application directory about to change the host, and setup history's
  // exit status.
  virtual void RunStarted() {}
  virtual void ArmHistory(const char*) {}
  virtual int History(bool) { return 2; }
};

// Who signed the medium, as the guards' check of its signature found it
// (guards/guards_signature.h), and the record keeps it in the manifest.
struct MediumSigner {
  // kNotChecked: signed, but no key is kept; kNotRecorded: a manifest
  // written before signers were recorded does not say.
  enum State { kUnsigned, kChecked, kNotChecked, kNotRecorded };
  State state = kUnsigned;
  std::string keyId;           // 16 hex digits, as minisign shows it
  std::string trustedComment;  // the comment the signature covers
  // "checked", "not checked", "unsigned" or "not recorded", for the
  // manifest and JSON.
  const char* StateText() const;
  // The state of that text; false for any other.
  static bool StateFromText(const std::string& text, State* state);
};

// The signer as JSON: {"state", "key_id", "trusted_comment"}.
JsonObject SignerJson(const MediumSigner& s);

// The guards of a run: the host's lock, the preview, and the medium's
// checksums and signature (as guards/guards.h describes them). Unconnected,
// no medium is checked: none has a digest, a directory or a signer, and no
// file is its signature.
class RunGuards {
 public:
  virtual ~RunGuards() = default;
  virtual void TakeHostLock(bool) {}
  virtual void SayWhenHostLocked() {}
  virtual int Preview(unsigned char, bool) { return 1; }
  virtual int CheckMediumChecksums(const char*, const char*) { return 0; }
  virtual const std::string& MediumDigest();
  virtual const std::string& CheckedMediumDir();
  virtual const MediumSigner& LastMediumSigner();
  virtual bool IsSignatureFile(const char*) { return false; }
};

// The record and the guards connected (the doing-nothing ones until then);
// the objects connected live to the end of the program.
InstallationRecord& Record();
RunGuards& Guards();
void ConnectRecord(InstallationRecord* record);
void ConnectGuards(RunGuards* guards);
