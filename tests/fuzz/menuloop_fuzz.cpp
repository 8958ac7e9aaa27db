// The menu loop reading a hostile stream on standard input: selections,
// hot keys, entries, the state chooser, the leave dialogue, overlong lines
// and the end of input. The first byte chooses the top menu's flags (never
// the one that asks for a file name to write).
#include <string>

#include "TextMenu.h"
#include "fuzz_menu.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  FuzzOpenDrvCore();
  if (size == 0) return 0;
  const uint16_t allowed = kMenuEmptySelects | kMenuHelp | kMenuKeep | kMenuStoreAndEnd | kMenuReinit |
                           kMenuKindBefore | kMenuNoBlankLines;
  const uint16_t flags = static_cast<uint16_t>((data[0] | data[0] << 4) & allowed);
  FuzzMenus menus(flags);
  FuzzStdin(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  flExitTextMenu = 0;
  FuzzRun([&] { RunMenu(&menus.top, nullptr, 1); });
  flExitTextMenu = 0;
  pOption = nullptr;
  return 0;
}
