// The face as the runtime builds it from the layout, and the resize rule.
#include "control/face/layout.h"
#include "tests/control/control_fixture.h"

namespace jv::testing {
namespace {

TEST(LayoutTest, DayGridPlacesCellsInReadingOrderSundayFirst) {
  struct Cell {
    std::int16_t index;
    std::int32_t left, top;
  };
  for (const Cell& c : {Cell{1, 135, 45}, Cell{7, 2835, 45}, Cell{8, 135, 420}, Cell{36, 135, 1920},
                        Cell{42, 2835, 1920}, Cell{26, 1935, 1170}}) {
    EXPECT_EQ(control::face::CellLeft(c.index), c.left) << "cell " << c.index;
    EXPECT_EQ(control::face::CellTop(c.index), c.top) << "cell " << c.index;
  }
  const platform::FaceLayout& layout = control::face::JornavistaLayout();
  EXPECT_EQ(layout.design_width, 3525);
  EXPECT_EQ(layout.design_height, 3795);
  int cells = 0;
  for (const platform::ControlDesign& c : layout.controls) {
    if (c.name != "l") continue;
    ++cells;
    EXPECT_EQ(c.left, control::face::CellLeft(c.index));
    EXPECT_EQ(c.tab_index, 13 + c.index);
    EXPECT_EQ(c.parent, "Picture1");
  }
  EXPECT_EQ(cells, kGridCells);
}

TEST(HeadlessFaceTest, StartsWithTheDesignValues) {
  headless::HeadlessRuntime runtime(English());
  headless::RecordingContainer container;
  std::unique_ptr<platform::Face> built;
  ASSERT_EQ(runtime.CreateFace(control::face::JornavistaLayout(), container, &built), S_OK);
  auto& face = static_cast<headless::HeadlessFace&>(*built);
  std::int16_t count = 0, lower = 0, upper = 0;
  ASSERT_EQ(face.l().get_Count(&count), S_OK);
  ASSERT_EQ(face.l().get_LBound(&lower), S_OK);
  ASSERT_EQ(face.l().get_UBound(&upper), S_OK);
  EXPECT_EQ(std::vector<int>({count, lower, upper}), std::vector<int>({42, 1, 42}));
  for (std::int16_t i = 1; i <= kGridCells; ++i) {
    EXPECT_EQ(face.cell(i).caption, u"") << i;
    EXPECT_EQ(face.cell(i).fore, kSysWindowText) << i;
    EXPECT_EQ(face.cell(i).back, kSysWindow) << i;
  }
  platform::Label* cell = nullptr;
  for (std::int16_t missing : {0, 43, -6, 44})
    EXPECT_EQ(face.l().Item(missing, &cell), CTL_E_ARRAYELEMENTMISSING) << missing;
  EXPECT_EQ(ToUtf8Lossy(face.year_text()), "November, 2003");
  EXPECT_EQ(face.date_text(), u"");
  EXPECT_EQ(face.width(), 3525);
  EXPECT_EQ(face.height(), 3795);
}

class ResizeTest : public ControlTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(ResizeTest, ControlTakesTheFramesSizeWhateverTheContainerAsks) {
  Start(2003, 11, 9);
  runtime_.journal().Enable(true);
  ASSERT_EQ(face().RequestSize(GetParam().first, GetParam().second), S_OK);
  EXPECT_EQ(face().width(), 3465);
  EXPECT_EQ(face().height(), 3735);
  EXPECT_LE(runtime_.journal().Take().size(), 2u) << "one size change for each length, no loop";
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResizeTest,
                         ::testing::Values(std::pair{0, 0}, std::pair{1500, 1500}, std::pair{15000, 15000},
                                           std::pair{3465, 100}, std::pair{3465, 3735}));

TEST_F(ControlTest, ResizeHandsBackItsFirstFailureKeepingTheWidthSet) {
  Start(2003, 11, 9);
  runtime_.faults().Arm(headless::Operation::UserControl_Height_put);
  EXPECT_EQ(face().RequestSize(100, 100), E_FAIL);
  EXPECT_EQ(face().width(), 3465);
  EXPECT_EQ(face().height(), 100);
  runtime_.faults().DisarmAll();
  runtime_.faults().Arm(headless::Operation::Frame1_Width_get);
  EXPECT_EQ(face().RequestSize(200, 200), E_FAIL);
  EXPECT_EQ(face().width(), 200);
}

}  // namespace
}  // namespace jv::testing
