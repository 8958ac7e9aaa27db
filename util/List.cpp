// Doubly linked lists: nodes and items come from the memory manager.
#include "List.h"

#include <cstring>

#include "MemMgr.h"

void* ListPushItem(List* list, const void* source, int32_t size) {
  if (list == nullptr || size <= 0) return nullptr;
  auto* node = GetMemT<ListNode>(sizeof(ListNode));
  if (node == nullptr) return nullptr;
  void* item = GetMem(static_cast<size_t>(size));
  if (item == nullptr) {
    PutMem(node);
    return nullptr;
  }
  if (source != nullptr) std::memcpy(item, source, static_cast<size_t>(size));
  node->pItem = item;
  node->ItemSize = size;
  ListPushLink(list, node);
  return item;
}

void ListPushLink(List* list, ListNode* node) {
  if (list == nullptr || node == nullptr) return;
  if (list->Count == 0 || list->pFirst == nullptr || list->pLast == nullptr) {
    node->pPrev = nullptr;
    node->pNext = nullptr;
    list->pFirst = list->pLast = node;
    list->Count = 1;
  } else if (list->flPushFront) {
    node->pNext = list->pFirst;
    node->pPrev = nullptr;
    list->pFirst->pPrev = node;
    list->pFirst = node;
    ++list->Count;
  } else {
    node->pNext = nullptr;
    node->pPrev = list->pLast;
    list->pLast->pNext = node;
    list->pLast = node;
    ++list->Count;
  }
  list->TotalSize += node->ItemSize;
}

void* ListWalk(List* list, int continueWalk) {
  if (list == nullptr) return nullptr;
  if (continueWalk == 0) list->pWalk = list->pFirst;
  ListNode* node = list->pWalk;
  if (node == nullptr) return nullptr;
  list->pWalk = node->pNext;
  return node->pItem;
}

void ListFree(List* list) {
  if (list == nullptr) return;
  for (ListNode* node = list->pFirst; node != nullptr;) {
    ListNode* next = node->pNext;
    PutMem(node->pItem);
    PutMem(node);
    node = next;
  }
  const unsigned char front = list->flPushFront;
  std::memset(list, 0, sizeof *list);
  list->flPushFront = front;
}
