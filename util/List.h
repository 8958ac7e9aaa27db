// Doubly linked lists of items the list owns, with a walk cursor in the
// header so that iterating needs no iterator object. A zero-filled header
// is the empty list; records usually embed one and fill new items in place.
#pragma once

#include <cstdint>

struct ListNode {
  ListNode* pPrev;  // NULL for the first node
  ListNode* pNext;  // NULL for the last node
  void* pItem;      // the item, a separate allocation the list owns
  int32_t ItemSize;
};

struct List {
  ListNode* pFirst;  // NULL when empty
  ListNode* pLast;   // NULL when empty
  ListNode* pWalk;   // the node whose item the next continuing ListWalk returns
  int32_t Count;
  int32_t TotalSize;          // sum of the ItemSize of all nodes
  unsigned char flPushFront;  // new nodes go in front instead of at the end
};

// A new zero-filled item of size bytes, filled from source when it is not
// NULL, linked into list. NULL (the list unchanged) for a NULL list, a
// size of 0 or when memory cannot be had. Callers keep item pointers, never
// node pointers, and never free items themselves.
void* ListPushItem(List* list, const void* source, int32_t size);

// Links node at the end (or in front, with flPushFront); NULL for either
// argument does nothing. The walk cursor is not touched.
void ListPushLink(List* list, ListNode* node);

// continueWalk 0 starts at the first node, otherwise the walk goes on from
// the cursor. Returns the item at the cursor and moves the cursor on; NULL
// at the end (or for a NULL list).
void* ListWalk(List* list, int continueWalk);

// Gives back every node and item and empties the header (flPushFront is
// kept). What the items point to is the caller's to give back first.
void ListFree(List* list);

// Typed convenience: a new zero-filled T in list, or NULL.
template <typename T>
inline T* ListPushT(List* list) {
  return static_cast<T*>(ListPushItem(list, nullptr, static_cast<int32_t>(sizeof(T))));
}
