// The about/splash window driven through real Qt events on the offscreen
// platform: its shape, the three ways it gives way to the calculator window,
// its one-shot timer and its picture cache.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <ostream>
#include <string>

#include "calculator/control_wnd.h"
#include "framework/picture.h"
#include "framework/runtime.h"
#include "framework/window.h"
#include "info/about_wnd.h"
#include "info/ks350.h"
#include "resources/version.h"
#include "tests/support/window_test_helpers.h"

namespace kestrova {
namespace {

using testing::Constructions;
using testing::ModalWatch;
using testing::OwnEntries;
using testing::SameEntriesAnyOrder;
using testing::SameEntriesInOrder;
using testing::WaitFor;

// The designed property lists, written out with the value types they must
// arrive with (integers as int64, FontSize single precision).
constexpr fw::Color kWhite{0xff, 0xff, 0xff, 0x00};
constexpr fw::Color kNoticeColor{0x02, 0x3f, 0xaa, 0x00};
constexpr std::int64_t kNotInAnArray = -2147483648LL;

const fw::PropertyList kWindowEntries = {
    {"Width", std::int64_t{500}},
    {"Height", std::int64_t{250}},
    {"MinimumWidth", std::int64_t{64}},
    {"MinimumHeight", std::int64_t{64}},
    {"MaximumWidth", std::int64_t{32000}},
    {"MaximumHeight", std::int64_t{32000}},
    {"Type", std::int64_t{2}},
    {"Title", std::string()},
    {"HasCloseButton", false},
    {"HasMaximizeButton", false},
    {"HasMinimizeButton", false},
    {"HasFullScreenButton", false},
    {"Resizeable", false},
    {"Composite", false},
    {"MacProcID", std::int64_t{0}},
    {"FullScreen", false},
    {"DefaultLocation", std::int64_t{0}},
    {"Visible", true},
    {"HasBackgroundColor", true},
    {"BackgroundColor", kWhite},
    {"MenuBarVisible", true},
    {"LiveResize", false},
};

// By group: position and size, text, flags, identity.
const fw::PropertyList kNoticeEntries = {
    {"Left", std::int64_t{135}},
    {"Top", std::int64_t{148}},
    {"Width", std::int64_t{229}},
    {"Height", std::int64_t{15}},
    {"LockLeft", false},
    {"LockTop", false},
    {"LockRight", false},
    {"LockBottom", false},

    {"Value", std::string(kRightsNotice)},
    {"FontName", std::string("System")},
    {"FontSize", 9.0f},
    {"FontUnit", fw::FontUnit::Default},
    {"TextAlignment", std::int64_t{2}},
    {"TextColor", kNoticeColor},
    {"Bold", false},
    {"Italic", false},
    {"Underline", false},
    {"Multiline", true},
    {"Selectable", false},

    {"Visible", true},
    {"Enabled", true},
    {"Transparent", false},
    {"AllowAutoDeactivate", true},
    {"TabStop", false},
    {"TabIndex", std::int64_t{3}},
    {"TabPanelIndex", std::int64_t{0}},

    {"Name", std::string("StaticText2")},
    {"Index", kNotInAnArray},
    {"InitialParent", std::string()},
    {"DataField", std::string()},
    {"DataSource", std::string()},
    {"Tooltip", std::string()},
};

const fw::PropertyList kTimerEntries = {
    {"Period", std::int64_t{4000}},
    {"RunMode", std::int64_t{1}},
};

// By group: position and size, flags, identity.
const fw::PropertyList kCanvasEntries = {
    {"Left", std::int64_t{33}},
    {"Top", std::int64_t{74}},
    {"Width", std::int64_t{447}},
    {"Height", std::int64_t{70}},
    {"LockLeft", true},
    {"LockTop", true},
    {"LockRight", false},
    {"LockBottom", false},

    {"Visible", true},
    {"Enabled", true},
    {"Transparent", true},
    {"DoubleBuffer", false},
    {"AllowAutoDeactivate", true},
    {"TabStop", true},
    {"TabIndex", std::int64_t{4}},
    {"TabPanelIndex", std::int64_t{0}},
    {"AllowFocusRing", true},
    {"AllowFocus", false},
    {"AllowTabs", false},

    {"Name", std::string("Canvas1")},
    {"Index", kNotInAnArray},
    {"InitialParent", std::string()},
    {"Tooltip", std::string()},
};

class AboutWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fw::testing::ResetRuntime();
    fw::SetResourceDirectory("");
    ReleaseKS350();
  }
  void TearDown() override {
    EXPECT_EQ(watch_.Seen(), 0) << "an unhandled-exception report was shown";
    fw::testing::ResetRuntime();
    fw::SetResourceDirectory("");
    ReleaseKS350();
  }

  // The about window, built and exposed as start-up builds it.
  std::shared_ptr<AboutWnd> OpenSplash() {
    auto about = AboutWnd::Instance();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(about->Widget()));
    return about;
  }

  ModalWatch watch_;
};

TEST_F(AboutWndTest, IsAPlainUntitledBoxWithoutButtonsOrMenuBar) {
  auto about = OpenSplash();
  EXPECT_EQ(about->ClassName(), "AboutWnd.AboutWnd");
  EXPECT_TRUE(about->IsVisible());
  EXPECT_EQ(about->Title(), "");
  EXPECT_EQ(about->Type(), 2);
  EXPECT_TRUE(about->Widget()->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_FALSE(about->HasCloseButton());
  EXPECT_FALSE(about->HasMinimizeButton());
  EXPECT_FALSE(about->HasMaximizeButton());
  EXPECT_FALSE(about->Resizeable());
  EXPECT_EQ(about->GetMenuBar(), nullptr);
  EXPECT_EQ(about->Width(), 500);
  EXPECT_EQ(about->Height(), 250);
  // With no menu bar the whole window is the white panel.
  EXPECT_EQ(about->Widget()->size(), QSize(500, 250));
  EXPECT_EQ(about->ContentWidget()->palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_TRUE(about->MenuHandlerNames().empty());
  EXPECT_EQ(about->AppliedProperties().size(), 22u);

  // Nothing else is built with it.
  EXPECT_EQ(fw::GetImplicitWindow(ControlWnd::Lookup().name), nullptr);
  EXPECT_EQ(Constructions(AboutWnd::Lookup().name), 1);
}

TEST_F(AboutWndTest, AppliesEveryWindowEntryInOrderWithItsType) {
  auto about = OpenSplash();
  EXPECT_TRUE(SameEntriesInOrder(about->AppliedProperties(), kWindowEntries));
}

// The control lists fix no order of application (they are kept by group): each
// listed entry once with its value and type, and nothing unlisted.
TEST_F(AboutWndTest, AppliesEveryControlEntryWithItsType) {
  auto about = OpenSplash();
  const std::pair<std::shared_ptr<fw::Control>, const fw::PropertyList*> controls[] = {
      {about->StaticText2(), &kNoticeEntries},
      {about->Timer1(), &kTimerEntries},
      {about->Canvas1(), &kCanvasEntries},
  };
  for (const auto& [control, entries] : controls) {
    ASSERT_NE(control, nullptr);
    SCOPED_TRACE(control->Name());
    EXPECT_TRUE(SameEntriesAnyOrder(OwnEntries(*control), *entries));
  }
}

TEST_F(AboutWndTest, HandlesOnlyItsFourEvents) {
  auto about = OpenSplash();
  for (const char* event : {"Layout", "CreateControls", "MouseDown", "KeyDown"}) {
    EXPECT_TRUE(about->IsEventImplemented(event)) << event;
  }
  for (const char* event : {"AddMenuHandlers", "Open", "Close", "Paint", "Activate", ""}) {
    EXPECT_FALSE(about->IsEventImplemented(event)) << event;
  }
}

TEST_F(AboutWndTest, HoldsTheNoticeTheTimerAndThePictureInThatOrder) {
  auto about = OpenSplash();
  std::vector<std::string> names;
  for (const auto& control : about->Controls()) names.push_back(control->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"StaticText2", "Timer1", "Canvas1"}));

  auto notice = about->StaticText2();
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(notice->Text(), kRightsNotice);
  EXPECT_EQ(notice->Index(), -2147483648LL);
  EXPECT_EQ(notice->Widget()->geometry(), QRect(135, 148, 229, 15));
  EXPECT_TRUE(notice->Widget()->isVisible());
  // One line: the whole notice fits the label in the label's own font.
  const QFontMetrics metrics(notice->Widget()->font());
  EXPECT_LE(metrics.horizontalAdvance(
                QString::fromUtf8(kRightsNotice.data(), static_cast<int>(kRightsNotice.size()))),
            229);

  auto timer = about->Timer1();
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->ClassName(), "AboutWnd._wrapper_Timer1");
  EXPECT_EQ(timer->Period(), 4000);
  EXPECT_EQ(timer->RunMode(), fw::Timer::Single);
  EXPECT_TRUE(timer->IsActive());
  EXPECT_EQ(timer->FireCount(), 0);
  // Only its two entries (the name comes with its registration).
  for (const auto& property : timer->AppliedProperties()) {
    EXPECT_TRUE(property.name == "Name" || property.name == "Period" || property.name == "RunMode")
        << property.name;
  }
  EXPECT_EQ(timer->GetWindow(), about);

  auto canvas = about->Canvas1();
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(canvas->Widget()->geometry(), QRect(33, 74, 447, 70));
  ASSERT_NE(canvas->Backdrop(), nullptr) << "KS350.png was not found beside the test";
  EXPECT_EQ(canvas->Backdrop(), KS350());
}

TEST_F(AboutWndTest, TimerRefersToItsWindowWithoutKeepingItAlive) {
  auto timer = std::make_shared<wrapper_Timer1>();
  EXPECT_EQ(timer->GetWindow(), nullptr);
  timer->SetIndex(7);
  EXPECT_EQ(timer->GetIndex(), 7);
  std::weak_ptr<fw::Window> gone;
  {
    auto window = std::make_shared<AboutWnd>();
    timer->SetWindow(window);
    EXPECT_EQ(timer->GetWindow(), window);
    gone = window;
  }
  EXPECT_TRUE(gone.expired());
  EXPECT_EQ(timer->GetWindow(), nullptr);
}

// How a person makes the splash give way.
struct Press {
  const char* name;
  std::function<void(QWindow*)> act;
};

void PrintTo(const Press& press, std::ostream* out) {
  *out << press.name;
}

const Press kPresses[] = {
    {"mouse on the bare panel",
     [](QWindow* w) {
       QTest::mouseClick(w, Qt::LeftButton, {}, {5, 5});
     }},
    {"mouse on the notice",
     [](QWindow* w) {
       QTest::mouseClick(w, Qt::LeftButton, {}, {250, 155});
     }},
    {"mouse on the picture",
     [](QWindow* w) {
       QTest::mouseClick(w, Qt::LeftButton, {}, {100, 100});
     }},
    {"right button",
     [](QWindow* w) {
       QTest::mouseClick(w, Qt::RightButton, {}, {490, 240});
     }},
    {"letter key", [](QWindow* w) { QTest::keyClick(w, Qt::Key_A); }},
    {"escape key", [](QWindow* w) { QTest::keyClick(w, Qt::Key_Escape); }},
    {"return key", [](QWindow* w) { QTest::keyClick(w, Qt::Key_Return); }},
    {"space key", [](QWindow* w) { QTest::keyClick(w, Qt::Key_Space); }},
};

class GiveWayTest : public AboutWndTest, public ::testing::WithParamInterface<Press> {};

TEST_P(GiveWayTest, HidesTheSplashAndShowsOneCalculatorWindow) {
  auto about = OpenSplash();
  QWindow* handle = about->Widget()->windowHandle();
  ASSERT_NE(handle, nullptr);

  GetParam().act(handle);
  ASSERT_TRUE(WaitFor([&] { return !about->IsVisible(); }, 2000));
  EXPECT_FALSE(about->IsClosed()) << "hidden, not closed";
  EXPECT_EQ(AboutWnd::Instance(), about);
  auto calculator =
      std::dynamic_pointer_cast<ControlWnd>(fw::GetImplicitWindow(ControlWnd::Lookup().name));
  ASSERT_NE(calculator, nullptr);
  EXPECT_TRUE(calculator->IsVisible());
  EXPECT_EQ(Constructions(ControlWnd::Lookup().name), 1);
  // The timer is left alone.
  EXPECT_TRUE(about->Timer1()->IsActive());

  // The About item shows the very same window; a second press gives way to
  // the same calculator window.
  EXPECT_TRUE(calculator->ChooseMenuItem("AboutItem"));
  ASSERT_TRUE(WaitFor([&] { return about->IsVisible(); }, 2000));
  EXPECT_EQ(Constructions(AboutWnd::Lookup().name), 1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(about->Widget()));
  GetParam().act(about->Widget()->windowHandle());
  ASSERT_TRUE(WaitFor([&] { return !about->IsVisible(); }, 2000));
  EXPECT_EQ(fw::GetImplicitWindow(ControlWnd::Lookup().name), calculator);
  EXPECT_EQ(Constructions(ControlWnd::Lookup().name), 1);
  EXPECT_EQ(Constructions(AboutWnd::Lookup().name), 1);
}

INSTANTIATE_TEST_SUITE_P(Presses, GiveWayTest, ::testing::ValuesIn(kPresses),
                         [](const ::testing::TestParamInfo<Press>& info) {
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), ' ', '_');
                           return name;
                         });

TEST_F(AboutWndTest, HandlersLeaveThePressAndTheKeyToTheFramework) {
  auto about = OpenSplash();
  EXPECT_FALSE(about->Event_MouseDown(-5, 100000));
  EXPECT_FALSE(about->IsVisible());
  about->Show();
  EXPECT_FALSE(about->Event_KeyDown(""));
  EXPECT_FALSE(about->IsVisible());
  EXPECT_EQ(Constructions(ControlWnd::Lookup().name), 1);
}

// The one test that waits for the real 4-second timer.
TEST_F(AboutWndTest, TimerFiresOnceAfterAnEarlyPressAndBuildsNothingNew) {
  auto about = OpenSplash();
  auto timer = about->Timer1();
  ASSERT_NE(timer, nullptr);

  QTest::keyClick(about->Widget()->windowHandle(), Qt::Key_X);
  ASSERT_TRUE(WaitFor([&] { return !about->IsVisible(); }, 2000));
  auto calculator = fw::GetImplicitWindow(ControlWnd::Lookup().name);
  ASSERT_NE(calculator, nullptr);
  EXPECT_EQ(timer->FireCount(), 0);

  // Shown again before the timer fires: the timer alone makes it give way.
  ASSERT_TRUE(calculator->ChooseMenuItem("AboutItem"));
  ASSERT_TRUE(WaitFor([&] { return about->IsVisible(); }, 2000));
  calculator->Hide();

  ASSERT_TRUE(WaitFor([&] { return timer->FireCount() == 1; }, 4000 + 3000));
  EXPECT_FALSE(about->IsVisible());
  EXPECT_TRUE(calculator->IsVisible());
  EXPECT_EQ(fw::GetImplicitWindow(ControlWnd::Lookup().name), calculator);
  EXPECT_EQ(Constructions(ControlWnd::Lookup().name), 1);
  EXPECT_EQ(Constructions(AboutWnd::Lookup().name), 1);
  EXPECT_FALSE(timer->IsActive());

  // With the timer spent, the splash stays until it is pressed.
  ASSERT_TRUE(calculator->ChooseMenuItem("AboutItem"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(about->Widget()));
  QTest::qWait(300);
  EXPECT_TRUE(about->IsVisible());
  EXPECT_EQ(timer->FireCount(), 1);
  QTest::mouseClick(about->Widget()->windowHandle(), Qt::LeftButton, {}, {20, 20});
  ASSERT_TRUE(WaitFor([&] { return !about->IsVisible(); }, 2000));
  EXPECT_EQ(Constructions(ControlWnd::Lookup().name), 1);
  EXPECT_EQ(timer->FireCount(), 1);
}

class Ks350Test : public AboutWndTest {
 protected:
  void SetUp() override {
    AboutWndTest::SetUp();
    ASSERT_TRUE(empty_.isValid());
  }
  QTemporaryDir empty_;
};

TEST_F(Ks350Test, OpensThePictureOnceAndHandsOutTheSameOne) {
  const int before = fw::Picture::OpenCount();
  auto first = KS350();
  ASSERT_NE(first, nullptr);
  EXPECT_GT(first->Width(), 0);
  auto second = KS350();
  EXPECT_EQ(second, first);
  EXPECT_EQ(fw::Picture::OpenCount(), before + 1);

  // A second about window shows the cached picture without reading it again.
  auto about = OpenSplash();
  EXPECT_EQ(about->Canvas1()->Backdrop(), first);
  about->Close();
  auto again = OpenSplash();
  EXPECT_NE(again, about);
  EXPECT_EQ(again->Canvas1()->Backdrop(), first);
  EXPECT_EQ(fw::Picture::OpenCount(), before + 1);
}

TEST_F(Ks350Test, MissingPictureIsNotCachedAndTheWindowIsBuiltAllTheSame) {
  fw::SetResourceDirectory(empty_.path().toStdString());
  const int before = fw::Picture::OpenCount();
  EXPECT_EQ(KS350(), nullptr);
  EXPECT_EQ(KS350(), nullptr);
  EXPECT_EQ(fw::Picture::OpenCount(), before + 2) << "every call tries again";

  auto about = OpenSplash();
  EXPECT_TRUE(about->IsVisible());
  ASSERT_NE(about->Canvas1(), nullptr);
  EXPECT_EQ(about->Canvas1()->Backdrop(), nullptr);
  EXPECT_EQ(about->Canvas1()->Widget()->geometry(), QRect(33, 74, 447, 70));
  ASSERT_NE(about->StaticText2(), nullptr);
  EXPECT_EQ(about->StaticText2()->Text(), kRightsNotice);
  EXPECT_TRUE(about->Timer1()->IsActive());

  // Once the file is there, the next call finds it.
  fw::SetResourceDirectory("");
  auto found = KS350();
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(KS350(), found);
  EXPECT_EQ(fw::Picture::OpenCount(), before + 4);
}

}  // namespace
}  // namespace kestrova
