#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "record_format.h"

namespace {

std::vector<ManifestEntry> Entries(const std::vector<std::pair<char, std::string>>& lines) {
  std::vector<ManifestEntry> out;
  for (const auto& [type, path] : lines) {
    ManifestEntry e;
    e.type = type;
    e.path = path;
    out.push_back(e);
  }
  return out;
}

// A saved copy holds the earlier installation's files and links outside
// its tree (never a folder, a device or a path a shell line would misread);
// rollback takes off what only the new installation made outside it, each
// path once.
TEST(RollbackChoices, WhatIsSavedAndWhatIsTakenOff) {
  const std::string app = "/opt/Vexla/vpxx";
  const std::vector<ManifestEntry> earlier =
      Entries({{'d', app}, {'f', app + "/a"}, {'l', "/usr/Vexla"}, {'f', "/usr/bin/vprint"}, {'d', "/var/spool/Vexla"},
               {'f', "/usr/bin/odd name"}, {'o', "/dev/vp0"}});
  std::vector<std::string> saved;
  for (const ManifestEntry* e : OutsideFiles(earlier, app)) saved.push_back(e->path);
  EXPECT_EQ(saved, (std::vector<std::string>{"/usr/Vexla", "/usr/bin/vprint"}));

  const std::vector<ManifestEntry> now = Entries({{'f', app + "/b"}, {'l', "/usr/Vexla"}, {'l', "/usr/bin/vpnew"},
                                                  {'l', "/usr/bin/vpnew"}, {'d', "/var/spool/Vexla2"}});
  std::vector<std::string> takenOff;
  for (const ManifestEntry& e : NewOutsideEntries(now, earlier, app)) takenOff.push_back(e.path);
  EXPECT_EQ(takenOff, (std::vector<std::string>{"/usr/bin/vpnew", "/var/spool/Vexla2"}));
}

}  // namespace
