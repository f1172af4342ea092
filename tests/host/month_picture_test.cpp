// The month as the print command draws it: the layout rules on made-up months, and
// the whole picture of the sample's day click through the component library.
#include "apps/jornavista-host/month_picture.h"

#include <gtest/gtest.h>

#include <sstream>

#include "apps/jornavista-host/script.h"

namespace jv::host {
namespace {

constexpr OLE_COLOR kHighlight = 0x8000000Du;
constexpr OLE_COLOR kWindow = 0x80000005u;

// A month whose day 1 is in cell `first`, `days` long, with day `highlighted`
// (0 for none) in the highlight colours.
std::vector<CellView> Month(int first, int days, int highlighted) {
  std::vector<CellView> cells(42);
  for (int day = 1; day <= days; ++day) {
    CellView& cell = cells[static_cast<std::size_t>(first + day - 2)];
    const std::string number = std::to_string(day);
    cell.caption = Text(number.begin(), number.end());
    cell.back = day == highlighted ? kHighlight : kWindow;
  }
  return cells;
}

struct PictureCase {
  const char* name;
  MonthView view;
  std::string expected;
};

void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.name; }

class MonthPictureTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(MonthPictureTest, DrawsTheMonth) { EXPECT_EQ(MonthPicture(GetParam().view), GetParam().expected); }

const std::vector<std::string> kInitials = {"D", "S", "T", "Q", "Q", "S", "S"};

INSTANTIATE_TEST_SUITE_P(
    Layouts, MonthPictureTest,
    ::testing::Values(
        // A single-digit highlight keeps the columns; the date is beside its row;
        // the month's sixth row is blank and left out.
        PictureCase{"SingleDigitHighlight", {"February, 2015", kInitials, Month(1, 28, 3), "2/3/2015"},
                    "       February, 2015\n"
                    "  D   S   T   Q   Q   S   S\n"
                    "  1   2  [3]  4   5   6   7    SDate 2/3/2015\n"
                    "  8   9  10  11  12  13  14\n"
                    " 15  16  17  18  19  20  21\n"
                    " 22  23  24  25  26  27  28\n"},
        // The highlight in the last column and on the last row.
        PictureCase{"LastCell", {"May, 2021", kInitials, Month(7, 31, 31), "5/31/2021"},
                    "         May, 2021\n"
                    "  D   S   T   Q   Q   S   S\n"
                    "                          1\n"
                    "  2   3   4   5   6   7   8\n"
                    "  9  10  11  12  13  14  15\n"
                    " 16  17  18  19  20  21  22\n"
                    " 23  24  25  26  27  28  29\n"
                    " 30 [31]                       SDate 5/31/2021\n"},
        // No highlighted cell (a failed fetch, say): the date goes beside the caption;
        // an empty SDate is said to be empty.
        PictureCase{"NoHighlightEmptyDate", {"March, 2009", kInitials, Month(1, 31, 0), ""},
                    "        March, 2009            SDate (empty)\n"
                    "  D   S   T   Q   Q   S   S\n"
                    "  1   2   3   4   5   6   7\n"
                    "  8   9  10  11  12  13  14\n"
                    " 15  16  17  18  19  20  21\n"
                    " 22  23  24  25  26  27  28\n"
                    " 29  30  31\n"},
        // A caption longer than the grid is not cut.
        PictureCase{"LongCaption", {"a caption wider than the seven columns", kInitials, {}, "x"},
                    "a caption wider than the seven columns   SDate x\n"
                    "  D   S   T   Q   Q   S   S\n"}),
    [](const ::testing::TestParamInfo<PictureCase>& info) { return info.param.name; });

TEST(PrintCommandTest, DrawsTheSampleDayClickThroughTheLibrary) {
  setenv("LC_ALL", "en_US.UTF-8", 1);
  std::shared_ptr<FormLibrary> library;
  ASSERT_EQ(FormLibrary::Open(JV_OCX_PATH, &library), std::nullopt);
  auto form = MakeHeadlessDriver(library);
  std::istringstream script("today 2003-11-09\ncreate\nclick 20\nprint\n");
  std::ostringstream out, err;
  ASSERT_EQ(RunScript(script, *form, out, err), 0) << err.str();
  EXPECT_EQ(out.str(),
            "       November, 2003\n"
            "  D   S   T   Q   Q   S   S\n"
            "                          1\n"
            "  2   3   4   5   6   7   8\n"
            "  9  10  11  12  13 [14] 15    SDate 11/14/2003\n"
            " 16  17  18  19  20  21  22\n"
            " 23  24  25  26  27  28  29\n"
            " 30\n");
}

}  // namespace
}  // namespace jv::host
