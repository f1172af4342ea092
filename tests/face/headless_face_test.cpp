// The headless face on the shared face base: the layouts it refuses, the getters'
// refusal of a null out-pointer, and the fault names of the caption box.
#include <gtest/gtest.h>

#include "platform/headless/headless_face.h"
#include "tests/face/face_cases.h"

namespace jv::testing {
namespace {

using headless::Operation;

class HeadlessFaceBaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const LayoutCase whole = LayoutCases().front();
    controls_ = whole.controls;
    std::unique_ptr<platform::Face> built;
    ASSERT_EQ(runtime_.CreateFace({120, 120, controls_}, container_, &built), S_OK);
    face_.reset(static_cast<headless::HeadlessFace*>(built.release()));
  }

  headless::HeadlessRuntime runtime_{dates::RegionalSettings::ForLocale("en_US")};
  headless::RecordingContainer container_;
  std::vector<platform::ControlDesign> controls_;
  std::unique_ptr<headless::HeadlessFace> face_;
};

TEST(HeadlessRuntimeTest, BuildsOnlyTheLayoutsTheCheckPasses) {
  headless::HeadlessRuntime runtime(dates::RegionalSettings::ForLocale("en_US"));
  headless::RecordingContainer container;
  for (const LayoutCase& c : LayoutCases()) {
    const platform::FaceLayout layout{120, 120, c.controls};
    EXPECT_EQ(platform::CheckLayout(layout, nullptr), c.expected) << c.what;
    std::unique_ptr<platform::Face> face;
    EXPECT_EQ(runtime.CreateFace(layout, container, &face), c.expected) << c.what;
    EXPECT_EQ(face != nullptr, c.expected == S_OK) << c.what;
  }
}

// A runtime keeps the roles of a constant table and builds the next face from the
// same table without a second check; anything that is not that same constant
// table with the same design size is checked again. Each step builds a face on
// one runtime, in order, from the whole face's table or from a broken one.
TEST(HeadlessRuntimeTest, OnlyTheSameConstantTableSkipsTheCheck) {
  const std::vector<LayoutCase> cases = LayoutCases();
  std::vector<platform::ControlDesign> whole = cases.front().controls;
  const std::vector<platform::ControlDesign> intact = whole;
  const std::vector<platform::ControlDesign> gap = cases[7].controls;  // a gap in the array
  ASSERT_EQ(std::string_view(cases[7].what), "a gap in the array");
  struct Step {
    const char* what;
    const std::vector<platform::ControlDesign>* table;
    bool constant;
    bool break_in_place;  // the whole table's cells made a gap, in its own storage
    std::int32_t design_width;
    HRESULT expected;
    std::int16_t cells;  // of the face built
  };
  const Step steps[] = {
      {"the constant table, first", &whole, true, false, 120, S_OK, 2},
      {"the constant table again", &whole, true, false, 120, S_OK, 2},
      {"the same storage, broken and not constant", &whole, false, true, 120, E_INVALIDARG, 0},
      {"another constant table, broken", &gap, true, false, 120, E_INVALIDARG, 0},
      {"the constant table after another", &whole, true, false, 120, S_OK, 2},
      {"the constant table with a negative design size", &whole, true, false, -1, E_INVALIDARG, 0},
      {"the constant table, last", &whole, true, false, 120, S_OK, 2},
  };
  headless::HeadlessRuntime runtime(dates::RegionalSettings::ForLocale("en_US"));
  headless::RecordingContainer container;
  for (const Step& step : steps) {
    whole = intact;
    if (step.break_in_place) whole.back().index = 3;
    const platform::FaceLayout layout{step.design_width, 120, *step.table, step.constant};
    std::unique_ptr<platform::Face> face;
    EXPECT_EQ(runtime.CreateFace(layout, container, &face), step.expected) << step.what;
    std::int16_t count = 0;
    if (face != nullptr) {
      EXPECT_EQ(face->l().get_Count(&count), S_OK) << step.what;
    }
    EXPECT_EQ(count, step.cells) << step.what;
  }
}

TEST_F(HeadlessFaceBaseTest, GettersRefuseANullOutPointer) {
  for (const GetterCase& c : NullOutPointerCases()) EXPECT_EQ(c.call(*face_), E_POINTER) << c.what;
}

TEST_F(HeadlessFaceBaseTest, EachSideOfTheCaptionBoxFailsUnderItsOwnName) {
  struct Case {
    Operation armed;
    HRESULT read, write;
  };
  const Case cases[] = {
      {Operation::txtYear_Text_get, E_FAIL, S_OK},
      {Operation::txtYear_Text_put, S_OK, E_FAIL},
  };
  for (const Case& c : cases) {
    const std::string_view name = headless::OperationName(c.armed);
    runtime_.faults().DisarmAll();
    runtime_.faults().Arm(c.armed);
    Text read = u"untouched";
    EXPECT_EQ(face_->txtYear().get_Text(&read), c.read) << name;
    EXPECT_EQ(read, c.read == S_OK ? face_->year_text() : Text(u"untouched")) << name;
    EXPECT_EQ(face_->txtYear().put_Text(u"December, 2003"), c.write) << name;
    EXPECT_EQ(headless::OperationByName(name), c.armed) << name;
  }
}

TEST_F(HeadlessFaceBaseTest, TheDayCellArrayRunsFromItsLowestIndexWithoutGaps) {
  std::int16_t count = 0, lower = 0, upper = 0;
  ASSERT_EQ(face_->l().get_Count(&count), S_OK);
  ASSERT_EQ(face_->l().get_LBound(&lower), S_OK);
  ASSERT_EQ(face_->l().get_UBound(&upper), S_OK);
  EXPECT_EQ(std::vector<int>({count, lower, upper}), std::vector<int>({2, 1, 2}));
  platform::Label* cell = nullptr;
  for (std::int16_t missing : {0, 3, -1}) EXPECT_EQ(face_->l().Item(missing, &cell), CTL_E_ARRAYELEMENTMISSING);
  EXPECT_EQ(face_->ClickCell(3), E_INVALIDARG) << "no click reaches a cell that is not there";
}

}  // namespace
}  // namespace jv::testing
