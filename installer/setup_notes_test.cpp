#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer.h"

namespace {

// Only a preview notes, and each text once, in the order first noted.
TEST(PreviewNote, OnlyAPreviewNotesEachTextOnceInOrder) {
  const size_t before = PreviewNotes().size();
  PreviewNote("note %s", "outside");
  flPreview = 1;
  for (const char* what : {"b", "a", "b"}) PreviewNote("note %s", what);
  flPreview = 0;
  const std::vector<std::string>& notes = PreviewNotes();
  ASSERT_EQ(notes.size(), before + 2);
  EXPECT_EQ(notes[before], "note b");
  EXPECT_EQ(notes[before + 1], "note a");
}

}  // namespace
