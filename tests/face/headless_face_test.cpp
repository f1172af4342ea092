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
