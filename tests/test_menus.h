// Builders of menus for the tests of the menu engine and its users: an
// item, and a menu over its own copy of the items, terminator added, that
// releases what the engine gave it when it goes.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "TextMenu.h"

inline TtyMenuItem Item(const char* title, unsigned type, TtyItemAction action = nullptr,
                        const char* format = nullptr) {
  TtyMenuItem item;
  item.pTitle = title;
  item.Type = type;
  item.pfnAction = action;
  item.pFormat = format;
  return item;
}

struct Menu {
  Menu(const char* title, std::vector<TtyMenuItem> list, uint16_t flags = 0, int align = kAlignCenter)
      : items(std::move(list)) {
    items.push_back(TtyMenuItem{});
    menu.pTitle = title;
    menu.TitleAlign = align;
    menu.pItems = items.data();
    menu.Flags = flags;
  }
  // A menu titled "Test menu" whose title placement is left as a fresh
  // record has it.
  explicit Menu(std::vector<TtyMenuItem> list, uint16_t flags = 0) : Menu("Test menu", std::move(list), flags) {
    menu.TitleAlign = TtyMenu{}.TitleAlign;
  }
  ~Menu() { FreeMenu(&menu); }
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;
  TtyMenuItem& operator[](int i) { return items[static_cast<size_t>(i)]; }
  std::vector<TtyMenuItem> items;
  TtyMenu menu;
};
