#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "record_format.h"

namespace {

std::vector<std::string> Paths(const std::vector<const ManifestEntry*>& entries) {
  std::vector<std::string> out;
  for (const ManifestEntry* e : entries) out.push_back(e->path);
  return out;
}

// remove empties every folder before it takes it off, and leaves the
// application directory and the folders above it to the end; a folder
// whose name only starts like one of them is no holder.
TEST(OrderOfRemoval, DeepestFirstAndTheHoldersOfTheApplicationDirectoryLast) {
  std::vector<ManifestEntry> entries;
  for (const auto& [type, path] : std::vector<std::pair<char, std::string>>{
           {'d', "/opt/Vexla"}, {'d', "/opt/Vexla/vpxx"}, {'f', "/opt/Vexla/vpxx/a"}, {'d', "/opt/Vexla/vpxx/lib"},
           {'f', "/opt/Vexla/vpxx/lib/b"}, {'d', "/opt/Vexla/vpxx2"}, {'l', "/usr/Vexla"}, {'d', "/var/spool/Vexla"}}) {
    ManifestEntry e;
    e.type = type;
    e.path = path;
    entries.push_back(e);
  }
  const RemovalOrder order = OrderOfRemoval(entries, "/opt/Vexla/vpxx");
  EXPECT_EQ(Paths(order.first),
            (std::vector<std::string>{"/opt/Vexla/vpxx/lib/b", "/opt/Vexla/vpxx/a", "/opt/Vexla/vpxx/lib",
                                      "/opt/Vexla/vpxx2", "/var/spool/Vexla", "/usr/Vexla"}));
  EXPECT_EQ(Paths(order.holders), (std::vector<std::string>{"/opt/Vexla/vpxx", "/opt/Vexla"}));
}

}  // namespace
