// The caption store of faces and the day-grid model: short texts inline, long
// ones behind a pointer, through every change of length, copy and move.
#include "platform/face/cell_text.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/automation/bstr.h"

namespace jv::platform {
namespace {

const Text kLong = u"a caption longer than the inline room";

// Each step assigns a text to the one store, which then holds it, and a copy
// and a move of the store hold it too, the moved-from store left empty.
TEST(CellText, HoldsWhatWasLastAssignedThroughEveryChangeOfLength) {
  const Text steps[] = {u"", u"7", u"31", kLong, u"", u"12", kLong + u"!", u"fifteen chars!!", u"sixteen chars!!!", u"1"};
  CellText text;
  EXPECT_EQ(text.view(), u"");
  for (const Text& step : steps) {
    text.Assign(step);
    EXPECT_EQ(text.view(), step);
    EXPECT_EQ(text.size(), step.size());
    EXPECT_EQ(text.empty(), step.empty());
    EXPECT_TRUE(text == TextView(step)) << ToUtf8Lossy(step);
    EXPECT_FALSE(text == TextView(step + u"x")) << ToUtf8Lossy(step);
    if (!step.empty()) {
      EXPECT_FALSE(text == TextView(step).substr(1)) << ToUtf8Lossy(step);
    }

    CellText copy(text);
    EXPECT_EQ(copy.view(), step);
    CellText assigned(u"something else entirely, and long too");
    assigned = text;
    EXPECT_EQ(assigned.view(), step);
    CellText moved(std::move(copy));
    EXPECT_EQ(moved.view(), step);
    EXPECT_EQ(copy.view(), u"") << "a moved-from store is empty";
    copy.Assign(u"22");  // and usable again
    EXPECT_EQ(copy.view(), u"22");
    CellText move_assigned(kLong);
    move_assigned = std::move(moved);
    EXPECT_EQ(move_assigned.view(), step);
  }
}

// Copying a store's text into a caller's string, whatever that string held.
TEST(CellText, CopiesIntoAStringOfAnyLength) {
  for (const Text& held : {Text(u""), Text(u"9"), Text(u"10"), kLong}) {
    for (const Text& before : {Text(), Text(u"3"), Text(u"45"), Text(u"previous contents of some length")}) {
      Text out = before;
      CellText(held).CopyTo(&out);
      EXPECT_EQ(out, held) << ToUtf8Lossy(held) << " over " << ToUtf8Lossy(before);
    }
  }
}

}  // namespace
}  // namespace jv::platform
