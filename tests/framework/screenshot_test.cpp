// One window with a control of each kind, drawn offscreen. With KESTROVA_SHOTS
// set, the picture is written to /work/shots/framework.png for a person to
// look at; the checks below hold either way.
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "framework/menu.h"
#include "framework/picture.h"
#include "framework/runtime.h"
#include "tests/framework/gui_support.h"

namespace fwtest {
namespace {

using ScreenshotTest = GuiTest;

std::shared_ptr<fw::MenuBar> ShotMenuBar() {
  auto bar = std::make_shared<fw::MenuBar>();
  bar->SetName("MenuBar1");
  for (const char* caption : {"&File", "&Edit", "Window"}) {
    auto menu = std::make_shared<fw::MenuItem>();
    menu->SetName(caption);
    menu->SetValue(caption);
    bar->AddMenu(menu);
  }
  return bar;
}

TEST_F(ScreenshotTest, WindowWithOneControlOfEachKind) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string saved = fw::ResourceDirectory();
  WritePng(dir.path(), "banner.png", QSize(200, 50), QColor(0x02, 0x3f, 0xa8));
  fw::SetResourceDirectory(dir.path().toStdString());
  auto banner = fw::Picture::OpenFromApp("banner.png");
  fw::SetResourceDirectory(saved);
  ASSERT_NE(banner, nullptr);

  const fw::Color black{0, 0, 0, 0};
  TestWnd::Next().layout = [](fw::Window& w) {
    w.SetMenuBar(ShotMenuBar());
    w.SetProperties(WindowList(420, 300,
                               {{"Title", "Framework"},
                                {"HasBackgroundColor", true},
                                {"BackgroundColor", fw::Color{0xff, 0xff, 0xff, 0x00}}}));
  };
  TestWnd::Next().createControls = [banner, black](fw::Window& w) {
    w.AddNewControl<fw::Canvas>("Canvas1", Bounds(10, 10, 200, 50),
                                [banner](fw::Canvas& c) { c.SetBackdrop(banner); });
    AddControl<fw::Label>(w, "Label2",
                          {{"InitialParent", "Canvas1"},
                           {"Left", 20},
                           {"Top", 35},
                           {"Width", 180},
                           {"Height", 20},
                           {"FontSize", 0.0f},
                           {"TextColor", fw::Color{0xff, 0xff, 0xff, 0x00}},
                           {"Value", "Label inside the canvas"}});
    AddControl<fw::Label>(w, "caption",
                          Bounds(230, 10, 170, 40,
                                 {{"Multiline", true},
                                  {"Bold", true},
                                  {"FontSize", 12.0f},
                                  {"Value", "Label, two\rlines"}}));
    AddControl<fw::TextField>(w, "field",
                              Bounds(10, 70, 80, 22,
                                     {{"HasBorder", true},
                                      {"TextAlignment", 2},
                                      {"TextColor", black},
                                      {"MaximumCharactersAllowed", 4},
                                      {"ValidationMask", ".###"},
                                      {"Value", "1.000"}}));
    AddControl<fw::PushButton>(w, "button", Bounds(110, 66, 90, 30, {{"Caption", "Calculate"}}));
    AddControl<fw::TextArea>(w, "area",
                             Bounds(10, 110, 400, 180,
                                    {{"FontName", "Courier"},
                                     {"FontSize", 13.0f},
                                     {"HasBorder", true},
                                     {"TextColor", black}}));
  };
  auto window = fw::ImplicitWindow<TestWnd>();
  auto area = Get<fw::TextArea>(*window, "area");
  area->SetText("Plain line, then a bold run:\r");
  area->AddText("++++----\u00f8\u00f8\u00f8\u00f8oooo\r");
  area->AddText("the end \U0001F600");
  area->GetStyledText()->SetBold(29, 16, true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window->Widget()));

  QPixmap shot = window->Widget()->grab();
  EXPECT_EQ(shot.size(), window->Widget()->size());
  QImage image = shot.toImage();
  QPoint content = window->ContentWidget()->mapTo(window->Widget(), QPoint(0, 0));
  EXPECT_GT(content.y(), 0) << "the menu bar stands above the controls";
  // The banner's blue at the canvas's top left, white window beside it.
  EXPECT_EQ(image.pixelColor(content + QPoint(12, 12)), QColor(0x02, 0x3f, 0xa8));
  EXPECT_EQ(image.pixelColor(content + QPoint(215, 100)), QColor(Qt::white));
  EXPECT_EQ(Get<fw::TextField>(*window, "field")->Text(), "1.000");
  EXPECT_TRUE(area->GetStyledText()->Bold(30));

  if (const char* shots = std::getenv("KESTROVA_SHOTS"); shots && *shots) {
    ASSERT_TRUE(QDir().mkpath("/work/shots"));
    EXPECT_TRUE(shot.save("/work/shots/framework.png", "PNG"));
  }
}

}  // namespace
}  // namespace fwtest
