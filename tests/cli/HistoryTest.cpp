// `history`, `undo` and `restore` over changes made by other commands.

#include "CliFixture.h"

namespace morvi::test {
namespace {

constexpr char kMerchantKey[] = "4,200,60,3,4,maps/hand/a/0_0_S.DAT";

TEST_F(CliTest, RemoveIsListedAndUndoneByteForByte) {
    const std::string before = ReadFile(handFile(0));
    const CliResult removed = Run({"rm", "3", kMerchantKey});
    ASSERT_EQ(removed.status, 0) << removed.err;
    ASSERT_NE(ReadFile(handFile(0)), before);
    const CliResult history = Run({"history", "--json"});
    ASSERT_EQ(history.status, 0) << history.err;
    EXPECT_NE(history.out.find("\"operation\": \"delete\""), std::string::npos) << history.out;
    EXPECT_NE(history.out.find("\"program\": \"command line\""), std::string::npos) << history.out;

    const CliResult undone = Run({"undo"});
    ASSERT_EQ(undone.status, 0) << undone.err;
    EXPECT_TRUE(SameBytes(ReadFile(handFile(0)), before));
    // The undo is itself listed, and there is nothing left to undo.
    EXPECT_NE(Run({"history"}).out.find("undo"), std::string::npos);
    const CliResult again = Run({"undo"});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("no change to undo"), std::string::npos) << again.err;
}

TEST_F(CliTest, UndoOfAFileChangedSinceIsRefusedAndWritesNothing) {
    ASSERT_EQ(Run({"rm", "3", kMerchantKey}).status, 0);
    const std::string outside = ReadFile(handFile(0)) + "x";
    WriteFile(handFile(0), outside);
    const CliResult refused = Run({"undo"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("no longer holds the bytes"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadFile(handFile(0)), outside);
    const CliResult restore = Run({"restore", "99"});
    EXPECT_EQ(restore.status, 1);
    EXPECT_NE(restore.err.find("there is no change 99"), std::string::npos) << restore.err;
    const CliResult undo = Run({"undo", "5"});
    EXPECT_EQ(undo.status, 1);
    EXPECT_EQ(ReadFile(handFile(0)), outside);
}

}  // namespace
}  // namespace morvi::test
