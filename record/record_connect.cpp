// The record as the installer calls it (its InstallationRecord interface).
#include "record.h"
#include "record_history.h"
#include "setup_extensions.h"

namespace {

class ConnectedRecord final : public InstallationRecord {
 public:
  void Begin() override { ManifestBegin(); }
  void NoteMade(const char* path) override { ManifestNoteMade(path); }
  void NoteOwn(const char* path) override { ManifestNoteOwn(path); }
  void KeepNotes() override { ManifestKeepNotes(); }
  std::vector<std::string> NoteCopy(const char* source, const char* dest) override {
    return ManifestNoteCopy(source, dest);
  }
  void NoteContent(const char* path) override { ManifestNoteContent(path); }
  void NoteRename(const char* from, const char* to) override { ManifestNoteRename(from, to); }
  bool WouldExist(const char* path) override { return ManifestWouldExist(path); }
  void BeginManifest() override { ::BeginManifest(); }
  bool ManifestPending() override { return ::ManifestPending(); }
  bool WriteManifest() override { return ::WriteManifest(); }
  double SavedCopyNeed(const char* installDir) override { return ::SavedCopyNeed(installDir); }
  void RefuseKeepWithoutCopy(const char* installDir) override { ::RefuseKeepWithoutCopy(installDir); }
  void NoRoomToSaveEarlier() override { ::NoRoomToSaveEarlier(); }
  void SaveEarlierInstallation() override { ::SaveEarlierInstallation(); }
  void EndSavedInstallation(bool complete) override { ::EndSavedInstallation(complete); }
  int Verify(const char* appDir, bool json) override { return VerifyInstallation(appDir, json); }
  int Remove(const char* appDir) override { return RemoveInstallation(appDir); }
  int Rollback(const char* appDir) override { return RollbackInstallation(appDir); }
  void RunStarted() override { HistoryRunStarted(); }
  void ArmHistory(const char* appDir) override { HistoryArmInstallation(appDir); }
  int History(bool json) override { return PrintHistory(json); }
};

}  // namespace

void ConnectInstallationRecord() {
  static ConnectedRecord record;
  ConnectRecord(&record);
}
