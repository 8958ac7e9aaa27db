// The menu tree the menu harnesses run: every kind of item, state rules,
// conditions, a bar of hot keys, sub-menus nested past the depth limit,
// and a menu that reaches itself again.
#pragma once

#include <cstdint>

#include "TextMenu.h"

struct FuzzMenus {
  // A fresh tree with the given flags on its top menu.
  explicit FuzzMenus(uint16_t flags);
  // Gives back the text buffers of every menu of the tree.
  ~FuzzMenus();
  FuzzMenus(const FuzzMenus&) = delete;
  FuzzMenus& operator=(const FuzzMenus&) = delete;

  TtyMenu top;
  TtyMenu sub;
  TtyMenu other;
  TtyMenu* conditional[2];
  TtyMenuItem topItems[20];
  TtyMenuItem subItems[8];
  TtyMenuItem otherItems[3];
};

// Opens the real string database of the menu engine (once), so the texts
// that serve as formats are those a user meets.
void FuzzOpenDrvCore();
