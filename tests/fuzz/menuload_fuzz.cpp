// The menu settings-file loader on a hostile file, into the whole tree.
#include <string>

#include "fuzz_menu.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  FuzzOpenDrvCore();
  FuzzStdin("");
  FuzzMenus menus(0);
  InitMenu(&menus.top);
  FuzzInputFile(std::string(reinterpret_cast<const char*>(data), size));
  FuzzRun([&] { LoadMenu(&menus.top); });
  CloseInputFile();
  for (const TtyMenuItem* item = menus.topItems; item->pTitle != nullptr; ++item)
    FuzzCheck(item->State <= kStateHidden && item->Type < kItemKinds, "an item state or kind out of range");
  return 0;
}
