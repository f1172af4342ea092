// The change notices a form keeps for its host: handed to a listener as they come
// (the window), or kept for the next TakeChanged (scripts), never without bound.
#include <gtest/gtest.h>

#include "apps/jornavista-host/form_host.h"
#include "platform/dates/calendar.h"
#include "platform/headless/headless_face.h"

namespace jv::host {
namespace {

class ChangeNoticesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::shared_ptr<FormLibrary> library;
    const auto error = FormLibrary::Open(JV_OCX_PATH, &library);
    ASSERT_EQ(error, std::nullopt) << error.value_or("");
    DATE today = 0;
    ASSERT_EQ(dates::FromCivil({2003, 11, 9}, &today), S_OK);
    runtime_.clock().Set(today);
    host_ = std::make_unique<FormHost>(std::move(library), runtime_);
    ASSERT_EQ(host_->Create(&instance_), S_OK);
    (void)host_->TakeChanged();
  }
  void TearDown() override {
    instance_.reset();
    host_.reset();
  }

  // A day click tells the container of SDate once.
  void ClickDays(std::size_t clicks) {
    constexpr std::int16_t kTwentiethOfNovember = 20;
    auto& face = static_cast<headless::HeadlessFace&>(*instance_->face);
    for (std::size_t i = 0; i < clicks; ++i) ASSERT_EQ(face.ClickCell(kTwentiethOfNovember), S_OK);
  }

  headless::HeadlessRuntime runtime_;
  std::unique_ptr<FormHost> host_;
  std::unique_ptr<FormInstance> instance_;
};

TEST_F(ChangeNoticesTest, AFormWithAListenerKeepsNone) {
  constexpr std::size_t kClicks = 3;
  std::vector<std::string> heard;
  host_->SetChangeListener([&heard](const std::string& name) { heard.push_back(name); });
  ClickDays(kClicks);
  EXPECT_EQ(heard, std::vector<std::string>(kClicks, "SDate"));
  EXPECT_TRUE(host_->TakeChanged().empty());
}

TEST_F(ChangeNoticesTest, ScriptsGetEveryNoticeSinceTheyLastAsked) {
  constexpr std::size_t kClicks = 3;
  ClickDays(kClicks);
  EXPECT_EQ(host_->TakeChanged(), std::vector<std::string>(kClicks, "SDate"));
  EXPECT_TRUE(host_->TakeChanged().empty());
}

TEST_F(ChangeNoticesTest, AHostThatNeverAsksKeepsOnlyTheLatest) {
  constexpr std::size_t kBeyondTheBound = 10;
  ClickDays(kMaxPendingChanges + kBeyondTheBound);
  EXPECT_EQ(host_->TakeChanged().size(), kMaxPendingChanges);
}

}  // namespace
}  // namespace jv::host
