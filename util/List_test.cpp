// Tests of the linked list: order, the walk cursor, sizes and refusals.
#include "List.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The items' first characters in walk order.
std::string Walk(List* list) {
  std::string order;
  for (char* item = static_cast<char*>(ListWalk(list, 0)); item != nullptr;
       item = static_cast<char*>(ListWalk(list, 1)))
    order += item[0];
  return order;
}

TEST(List, AppendsOrPushesInFrontAndWalksToTheEnd) {
  List back{};
  List front{};
  front.flPushFront = 1;
  for (char c : std::string("ABC")) {
    ListPushItem(&back, &c, 1);
    ListPushItem(&front, &c, 1);
  }
  EXPECT_EQ(Walk(&back), "ABC");
  EXPECT_EQ(Walk(&front), "CBA");
  EXPECT_EQ(ListWalk(&back, 1), nullptr) << "the cursor stays at the end";
  EXPECT_EQ(back.Count, 3);
  EXPECT_EQ(back.pFirst->pPrev, nullptr);
  EXPECT_EQ(back.pLast->pNext, nullptr);
  EXPECT_EQ(back.pLast->pPrev->pNext, back.pLast);
  ListFree(&back);
  ListFree(&front);
  EXPECT_EQ(back.Count, 0);
  EXPECT_EQ(front.flPushFront, 1) << "the order of the emptied list is kept";
  EXPECT_EQ(Walk(&back), "");
}

TEST(List, NewItemsAreZeroFilledAndCountedAndBadRequestsChangeNothing) {
  List list{};
  auto* item = static_cast<unsigned char*>(ListPushItem(&list, nullptr, 12));
  ASSERT_NE(item, nullptr);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(item[i], 0);
  EXPECT_EQ(list.Count, 1);
  EXPECT_EQ(list.TotalSize, 12);
  EXPECT_EQ(ListPushItem(&list, "x", 0), nullptr);
  EXPECT_EQ(ListPushItem(nullptr, "x", 1), nullptr);
  EXPECT_EQ(list.Count, 1);
  EXPECT_EQ(list.TotalSize, 12);
  ListPushLink(&list, nullptr);
  EXPECT_EQ(list.Count, 1);
  ListFree(&list);
}

TEST(List, ANodeAppendedAtTheEndOfAWalkIsNotSeenByIt) {
  List list{};
  ListPushItem(&list, "A", 1);
  EXPECT_NE(ListWalk(&list, 0), nullptr);
  EXPECT_EQ(ListWalk(&list, 1), nullptr);
  ListPushItem(&list, "B", 1);
  EXPECT_EQ(ListWalk(&list, 1), nullptr);
  EXPECT_EQ(Walk(&list), "AB");
  ListFree(&list);
}

}  // namespace
