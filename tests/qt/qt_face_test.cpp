// The Qt face as a user meets it: mouse clicks on the real widgets, key presses on
// the focused one, the palette at paint time, the focus order.
#include "platform/qt/qt_face.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "control/face/layout.h"
#include "platform/headless/headless_runtime.h"
#include "platform/qt/qt_runtime.h"
#include "tests/face/face_cases.h"
#include "tests/qt/qt_test_support.h"

namespace jv::testing {
namespace {

using Events = std::vector<std::string>;

class RecordingEvents final : public platform::ControlEvents {
 public:
  HRESULT Initialize() override { return S_OK; }
  HRESULT Resize() override { return Record("Resize"); }
  HRESULT InitProperties() override { return S_OK; }
  HRESULT ReadProperties(platform::PropertyBag&) override { return S_OK; }
  HRESULT WriteProperties(platform::PropertyBag&) override { return S_OK; }
  HRESULT l_Click(std::int16_t& Index) override { return Record("Click " + std::to_string(Index)); }
  HRESULT cmdNext_Click() override { return Record("cmdNext"); }
  HRESULT cmdPrevious_Click() override { return Record("cmdPrevious"); }
  HRESULT Picture1_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift) override {
    return Record("KeyDown " + std::to_string(KeyCode) + " " + std::to_string(Shift));
  }
  Events Take() { return std::exchange(events_, {}); }

 private:
  HRESULT Record(std::string event) {
    events_.push_back(std::move(event));
    return S_OK;
  }
  Events events_;
};

class QtFaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::unique_ptr<platform::Face> built;
    ASSERT_EQ(runtime_.CreateFace(control::face::JornavistaLayout(), container_, &built), S_OK);
    face_.reset(static_cast<qt::QtFace*>(built.release()));
    face_->ConnectEvents(&events_);
    form_->resize(300, 300);
    face_->surface()->setParent(form_.get());
    face_->surface()->show();
    ShowActive(*form_);
  }
  void TearDown() override { face_.reset(); }

  QWidget& W(const char* name) {
    QWidget* w = face_->widget(name);
    EXPECT_NE(w, nullptr) << name;
    return *w;
  }
  QPoint CellCentre(int index) { return face_->CellRect(static_cast<std::int16_t>(index)).center(); }
  // A point of the cell's background that its caption never covers.
  QPoint CellCorner(int index) {
    return face_->CellRect(static_cast<std::int16_t>(index)).topLeft() + QPoint(1, 1);
  }
  QColor PaletteColor(QPalette::ColorRole role) { return W("Picture1").palette().color(role); }
  platform::Label& Cell(int index) {
    platform::Label* cell = nullptr;
    EXPECT_EQ(face_->l().Item(static_cast<std::int16_t>(index), &cell), S_OK);
    return *cell;
  }

  headless::RecordingContainer container_;
  qt::QtRuntime runtime_{English()};
  RecordingEvents events_;
  std::unique_ptr<QWidget> form_ = std::make_unique<QWidget>();
  std::unique_ptr<qt::QtFace> face_;
};

TEST_F(QtFaceTest, AClickAtTheCentreOfEachCellRaisesClickWithItsIndexAndNoOther) {
  for (int i = 1; i <= kGridCells; ++i) {
    QTest::mouseClick(&W("Picture1"), Qt::LeftButton, {}, CellCentre(i));
    EXPECT_EQ(events_.Take(), Events{"Click " + std::to_string(i)}) << "cell " << i;
  }
}

// The cells are hit-tested at their place in the day-grid model and laid out from
// the design: the outermost pixels of each cell as laid out must still be that cell.
TEST_F(QtFaceTest, AClickOnEachCornerPixelOfACellRaisesClickWithItsIndex) {
  for (int i = 1; i <= kGridCells; ++i) {
    const QRect cell = face_->CellRect(static_cast<std::int16_t>(i));
    for (const QPoint corner : {cell.topLeft(), cell.topRight(), cell.bottomLeft(), cell.bottomRight()}) {
      QTest::mouseClick(&W("Picture1"), Qt::LeftButton, {}, corner);
      EXPECT_EQ(events_.Take(), Events{"Click " + std::to_string(i)})
          << "cell " << i << " at " << corner.x() << "," << corner.y();
    }
  }
}

TEST_F(QtFaceTest, PressesThatAreNoClickOnACellRaiseNothing) {
  const QRect first = face_->CellRect(1), ninth = face_->CellRect(9);
  struct Case {
    const char* what;
    std::function<void()> act;
  };
  const Case cases[] = {
      {"the gap between two columns",
       [&] {
         QTest::mouseClick(&W("Picture1"), Qt::LeftButton, {}, QPoint(first.right() + 7, first.center().y()));
       }},
      {"the gap between two rows",
       [&] {
         QTest::mouseClick(&W("Picture1"), Qt::LeftButton, {},
                           QPoint(first.center().x(), first.bottom() + 5));
       }},
      {"the gap diagonally between four cells",
       [&] {
         QTest::mouseClick(&W("Picture1"), Qt::LeftButton, {}, (first.bottomRight() + ninth.topLeft()) / 2);
       }},
      {"the picture box's border",
       [&] { QTest::mouseClick(&W("Picture1"), Qt::LeftButton, {}, QPoint(0, 0)); }},
      {"a press on one cell released on another",
       [&] {
         QTest::mousePress(&W("Picture1"), Qt::LeftButton, {}, CellCentre(1));
         QTest::mouseRelease(&W("Picture1"), Qt::LeftButton, {}, CellCentre(2));
       }},
      {"the right button", [&] { QTest::mouseClick(&W("Picture1"), Qt::RightButton, {}, CellCentre(5)); }},
      {"a heading on the band", [&] { QTest::mouseClick(&W("Frame1"), Qt::LeftButton, {}, QPoint(28, 68)); }},
      {"the frame's caption", [&] { QTest::mouseClick(&W("Frame1"), Qt::LeftButton, {}, QPoint(20, 5)); }},
  };
  for (const Case& c : cases) {
    c.act();
    EXPECT_EQ(events_.Take(), Events{}) << c.what;
  }
}

TEST_F(QtFaceTest, TheButtonsRaiseTheirClicksAndTakeTheFocus) {
  for (const char* name : {"cmdNext", "cmdPrevious"}) {
    QTest::mouseClick(&W(name), Qt::LeftButton);
    EXPECT_EQ(events_.Take(), Events{name}) << name;
    EXPECT_EQ(face_->FocusedControl(), name);
  }
}

TEST_F(QtFaceTest, KeysReachKeyDownAsVirtualKeyCodesWithTheShiftState) {
  ASSERT_EQ(face_->Picture1().SetFocus(), S_OK);
  ASSERT_EQ(QApplication::focusWidget(), &W("Picture1"));
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    Events expected;  // a modifier is a key of its own and is pressed first
  };
  const Case cases[] = {
      {Qt::Key_PageUp, {}, {"KeyDown 33 0"}},
      {Qt::Key_PageDown, {}, {"KeyDown 34 0"}},
      {Qt::Key_Left, {}, {"KeyDown 37 0"}},
      {Qt::Key_Up, {}, {"KeyDown 38 0"}},
      {Qt::Key_Right, {}, {"KeyDown 39 0"}},
      {Qt::Key_Down, {}, {"KeyDown 40 0"}},
      {Qt::Key_Home, {}, {"KeyDown 36 0"}},
      {Qt::Key_A, {}, {"KeyDown 65 0"}},
      {Qt::Key_A, Qt::ShiftModifier, {"KeyDown 16 1", "KeyDown 65 1"}},
      {Qt::Key_7, Qt::ControlModifier, {"KeyDown 17 2", "KeyDown 55 2"}},
      {Qt::Key_F5, Qt::AltModifier, {"KeyDown 18 4", "KeyDown 116 4"}},
      {Qt::Key_Down,
       Qt::ShiftModifier | Qt::ControlModifier,
       {"KeyDown 16 1", "KeyDown 17 3", "KeyDown 40 3"}},
  };
  for (const Case& c : cases) {
    QTest::keyClick(QApplication::focusWidget(), c.key, c.modifiers);
    EXPECT_EQ(events_.Take(), c.expected) << QKeySequence(c.key | c.modifiers).toString().toStdString();
  }
}

TEST_F(QtFaceTest, KeysReachKeyDownOnlyWhilePicture1HasTheFocus) {
  struct Case {
    const char* focus;
    std::function<void()> take_focus;
  };
  const Case cases[] = {
      {"cmdNext", [&] { QTest::mouseClick(&W("cmdNext"), Qt::LeftButton); }},
      {"txtYear", [&] { QTest::mouseClick(&W("txtYear"), Qt::LeftButton); }},
      {"Picture1", [&] { QTest::mouseClick(&W("Picture1"), Qt::LeftButton, {}, QPoint(1, 1)); }},
  };
  for (const Case& c : cases) {
    c.take_focus();
    events_.Take();
    ASSERT_EQ(face_->FocusedControl(), c.focus);
    for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Down})
      QTest::keyClick(QApplication::focusWidget(), key);
    const Events reached = events_.Take();
    if (std::string(c.focus) == "Picture1")
      EXPECT_EQ(reached, (Events{"KeyDown 34 0", "KeyDown 38 0", "KeyDown 33 0", "KeyDown 40 0"})) << c.focus;
    else
      EXPECT_EQ(reached, Events{}) << "focus on " << c.focus;
    // Arrow keys on a button move the focus on, as Qt's buttons do; bring it back.
    c.take_focus();
  }
}

TEST_F(QtFaceTest, TheFocusStartsOnPicture1AndTabsThroughTheFocusableControls) {
  EXPECT_EQ(face_->FocusedControl(), "Picture1");
  Events order;
  for (int i = 0; i < 4; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    order.push_back(face_->FocusedControl());
  }
  EXPECT_EQ(order, (Events{"txtYear", "cmdNext", "cmdPrevious", "Picture1"}));
  EXPECT_EQ(events_.Take(), Events{}) << "Tab moves the focus and is no KeyDown";
}

TEST_F(QtFaceTest, SetFocusFailsWhileThePictureBoxIsNotShown) {
  face_->surface()->hide();
  EXPECT_EQ(face_->Picture1().SetFocus(), CTL_E_ILLEGALFUNCTIONCALL);
  face_->surface()->show();
  EXPECT_EQ(face_->Picture1().SetFocus(), S_OK);
  EXPECT_EQ(face_->FocusedControl(), "Picture1");
}

TEST_F(QtFaceTest, CellsPaintSystemColoursThroughThePaletteAndRgbAsItStands) {
  struct Case {
    OLE_COLOR color;
    std::function<QColor()> expected;
  };
  const Case cases[] = {
      {kSysWindow, [&] { return PaletteColor(QPalette::Base); }},
      {kSysHighlight, [&] { return PaletteColor(QPalette::Highlight); }},
      {kSysHighlightText, [&] { return PaletteColor(QPalette::HighlightedText); }},
      {0x000000FFu, [] { return QColor(255, 0, 0); }},
      {0x0000FF00u, [] { return QColor(0, 255, 0); }},
      {0x00FF0000u, [] { return QColor(0, 0, 255); }},
      {0x00336699u, [] { return QColor(0x99, 0x66, 0x33); }},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Cell(10).put_BackColor(c.color), S_OK);
    EXPECT_EQ(Grab(W("Picture1")).pixelColor(CellCorner(10)), c.expected()) << std::hex << c.color;
  }
}

// A cell's fore colour paints its caption and a new back colour reaches the
// grid's model (which reads a highlighted cell from it); a put of the colour
// already held is taken too.
TEST_F(QtFaceTest, ACellsColoursPaintItAndReachTheModel) {
  struct Case {
    OLE_COLOR fore;
    std::function<QColor()> expected;
  };
  const Case cases[] = {
      {0x000000FFu, [] { return QColor(255, 0, 0); }},
      {0x00FF0000u, [] { return QColor(0, 0, 255); }},
      {kSysHighlight, [&] { return PaletteColor(QPalette::Highlight); }},
  };
  ASSERT_EQ(Cell(10).put_Caption(u"28"), S_OK);
  const QRect cell = face_->CellRect(10);
  for (const Case& c : cases) {
    for (int round = 0; round < 2; ++round) ASSERT_EQ(Cell(10).put_ForeColor(c.fore), S_OK);
    // The caption is smoothed: its inkiest pixel, the one farthest from the
    // cell's background, is nearer the fore colour than the background.
    const QImage picture = Grab(W("Picture1"));
    const QColor back = picture.pixelColor(CellCorner(10));
    auto distance = [](const QColor& a, const QColor& b) {
      return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
    };
    QColor inkiest = back;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x)
        if (distance(picture.pixelColor(x, y), back) > distance(inkiest, back)) inkiest = picture.pixelColor(x, y);
    EXPECT_LT(distance(inkiest, c.expected()), distance(inkiest, back))
        << std::hex << c.fore << " inkiest " << inkiest.name().toStdString();
  }
  const std::pair<OLE_COLOR, bool> backs[] = {{kSysHighlight, true}, {kSysHighlight, true}, {kSysWindow, false}};
  for (const auto& [back, highlighted] : backs) {
    ASSERT_EQ(Cell(10).put_BackColor(back), S_OK);
    EXPECT_EQ(face_->model()->IsHighlighted(10), highlighted) << std::hex << back;
  }
}

TEST_F(QtFaceTest, SystemColoursFollowAPaletteChangeWithoutANewWrite) {
  ASSERT_EQ(Cell(3).put_BackColor(kSysHighlight), S_OK);
  QPalette changed = form_->palette();
  changed.setColor(QPalette::Highlight, QColor(0, 128, 0));
  changed.setColor(QPalette::Base, QColor(255, 255, 200));
  form_->setPalette(changed);
  const QImage picture = Grab(W("Picture1"));
  EXPECT_EQ(picture.pixelColor(CellCorner(3)), QColor(0, 128, 0));
  EXPECT_EQ(picture.pixelColor(CellCorner(4)), QColor(255, 255, 200));
  // The month caption's text colour is the highlight too.
  EXPECT_EQ(W("txtYear").palette().color(QPalette::Text), QColor(0, 128, 0));
}

TEST_F(QtFaceTest, CellEdgesStayCrispAtADevicePixelRatioOfTwo) {
  ASSERT_EQ(Cell(1).put_BackColor(kSysHighlight), S_OK);
  const QImage image = Grab(W("Picture1"), 2.0);
  const QRect cell = face_->CellRect(1);
  const QColor highlight = PaletteColor(QPalette::Highlight), base = PaletteColor(QPalette::Base);
  struct Case {
    const char* what;
    QPoint device;
    QColor expected;
  };
  const Case cases[] = {
      {"top-left device pixel inside", cell.topLeft() * 2, highlight},
      {"one device pixel left of it", cell.topLeft() * 2 - QPoint(1, 0), base},
      {"one device pixel above it", cell.topLeft() * 2 - QPoint(0, 1), base},
      {"bottom-right device pixel inside", (cell.bottomRight() + QPoint(1, 1)) * 2 - QPoint(1, 1), highlight},
      {"one device pixel right of it", (cell.bottomRight() + QPoint(1, 1)) * 2 - QPoint(0, 1), base},
  };
  for (const Case& c : cases) EXPECT_EQ(image.pixelColor(c.device), c.expected) << c.what;
}

TEST_F(QtFaceTest, TxtDateLiesOutsideTheVisibleAreaAndNeverTakesTheFocus) {
  ASSERT_EQ(face_->RequestSize(3465, 3735), S_OK);  // no handler pins the size here
  QWidget& txtDate = W("txtDate");
  EXPECT_FALSE(face_->surface()->rect().intersects(txtDate.geometry()));
  EXPECT_TRUE(txtDate.visibleRegion().isEmpty());
  EXPECT_EQ(txtDate.focusPolicy(), Qt::NoFocus);
  ASSERT_EQ(face_->txtDate().put_Text(u"9/11/2003"), S_OK);
  Text back;
  ASSERT_EQ(face_->txtDate().get_Text(&back), S_OK);
  EXPECT_EQ(back, u"9/11/2003");
}

TEST_F(QtFaceTest, TheCaptionBoxIsArialTwelvePointAndTheRestTheDefaultFont) {
  const QFontInfo caption(W("txtYear").font()), cells(W("Picture1").font());
  // Arial resolves to its metric twin; 12 points are 16 pixels at 96 dpi.
  EXPECT_EQ(caption.family(), "Liberation Sans");
  EXPECT_EQ(caption.pixelSize(), 16);
  EXPECT_EQ(cells.family(), "Liberation Sans");
  EXPECT_EQ(cells.pixelSize(), 11);
}

TEST_F(QtFaceTest, TheSurfaceRefusesANegativeOrOversizedLengthAndKeepsItsSize) {
  EXPECT_EQ(face_->UserControl().put_Width(-1), E_INVALIDARG);
  EXPECT_EQ(face_->UserControl().put_Height(-15), E_INVALIDARG);
  EXPECT_EQ(face_->UserControl().put_Width(INT32_MAX), E_INVALIDARG);
  for (const auto& [w, h] : {std::pair{-1, 100}, std::pair{100, -15}, std::pair{INT32_MAX, 100}})
    EXPECT_EQ(face_->RequestSize(w, h), E_INVALIDARG) << w << "x" << h;
  EXPECT_EQ(events_.Take(), Events{}) << "a refused size raises no Resize";
  EXPECT_EQ(std::pair(face_->width(), face_->height()), std::pair(3525, 3795));
  EXPECT_EQ(face_->surface()->size(), QSize(235, 253));
}

TEST_F(QtFaceTest, TheFaceOutlivesAFormThatTheContainerDeletedFirst) {
  form_.reset();
  EXPECT_EQ(face_->surface(), nullptr);
  EXPECT_EQ(Cell(1).put_Caption(u"1"), S_OK);
  EXPECT_EQ(Cell(1).put_BackColor(kSysHighlight), S_OK);
  EXPECT_EQ(face_->txtYear().put_Text(u"December, 2003"), S_OK);
  EXPECT_EQ(face_->Picture1().SetFocus(), CTL_E_ILLEGALFUNCTIONCALL);
  EXPECT_EQ(face_->RequestSize(100, 100), S_OK);
  EXPECT_EQ(face_->FocusedControl(), "");
  EXPECT_EQ(face_->year_text(), u"December, 2003");
}

TEST_F(QtFaceTest, GettersRefuseANullOutPointer) {
  for (const GetterCase& c : NullOutPointerCases()) EXPECT_EQ(c.call(*face_), E_POINTER) << c.what;
}

// Layouts the runtime must refuse before it makes a single widget.
TEST(QtRuntimeTest, RefusesALayoutItCannotBuild) {
  qt::QtRuntime runtime(English());
  headless::RecordingContainer container;
  for (const LayoutCase& c : LayoutCases()) {
    std::unique_ptr<platform::Face> face;
    EXPECT_EQ(runtime.CreateFace({120, 120, c.controls}, container, &face), c.expected) << c.what;
    EXPECT_EQ(face != nullptr, c.expected == S_OK) << c.what;
  }
}

}  // namespace
}  // namespace jv::testing
