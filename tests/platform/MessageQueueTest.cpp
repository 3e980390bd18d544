#include "platform/MessageQueue.h"

#include <gtest/gtest.h>

#include <thread>

namespace tavlin {
namespace {

TEST(MessageQueue, PostFailsWhileTheThreadDoesNotExist) {
    MessageQueue q;
    EXPECT_FALSE(q.Post({1, {}, 0, nullptr, {}}));
    q.Open();
    EXPECT_TRUE(q.Post({1, {}, 0, nullptr, {}}));
    q.Close();
    EXPECT_FALSE(q.Post({2, {}, 0, nullptr, {}}));
}

TEST(MessageQueue, ServesInPostingOrderAndQuitIsJustAMessage) {
    MessageQueue q;
    q.Open();
    ASSERT_TRUE(q.Post({10, {}, 0, nullptr, {}}));
    ASSERT_TRUE(q.PostQuit());
    ASSERT_TRUE(q.Post({11, {}, 0, nullptr, {}}));
    ThreadMessage m;
    EXPECT_TRUE(q.Get(m));
    EXPECT_EQ(m.id, 10u);
    EXPECT_FALSE(q.Get(m)) << "a quit is reported";
    EXPECT_TRUE(q.Get(m)) << "and the loop may go on after it";
    EXPECT_EQ(m.id, 11u);
}

TEST(MessageQueue, MessageCarriesACopyOfItsBlock) {
    MessageQueue q;
    q.Open();
    {
        std::vector<uint8_t> posterMemory = {1, 2, 3};
        ASSERT_TRUE(q.Post({5, posterMemory, 7, nullptr, {}}));
        posterMemory.assign({9, 9, 9});
    }
    ThreadMessage m;
    ASSERT_TRUE(q.Get(m));
    EXPECT_EQ(m.block, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(m.lParam, 7u);
}

TEST(MessageQueue, CloseHandsBackWhatWasStillQueued) {
    MessageQueue q;
    q.Open();
    q.Post({1, {}, 0, nullptr, {}});
    q.Post({2, {}, 0, nullptr, {}});
    auto left = q.Close();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[1].id, 2u);
}

TEST(MessageQueue, GetBlocksUntilAnotherThreadPosts) {
    MessageQueue q;
    q.Open();
    std::thread poster([&] { q.Post({42, {}, 0, nullptr, {}}); });
    ThreadMessage m;
    EXPECT_TRUE(q.Get(m));
    EXPECT_EQ(m.id, 42u);
    poster.join();
}

}  // namespace
}  // namespace tavlin
