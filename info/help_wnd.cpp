#include "info/help_wnd.h"

#include <string>

#include "calculator/control_wnd.h"
#include "calculator/menu_bar1.h"
#include "resources/help_text.h"

namespace kestrova {

namespace {

constexpr fw::Color kWhite{0xff, 0xff, 0xff, 0x00};
constexpr fw::Color kBlack{0x00, 0x00, 0x00, 0x00};

const fw::PropertyList& WindowProperties() {
  static const fw::PropertyList list = {
      {"Width", 550},
      {"Height", 500},
      {"MinimumWidth", 64},
      {"MinimumHeight", 64},
      {"MaximumWidth", 32000},
      {"MaximumHeight", 32000},
      {"Type", 0},
      {"Title", "Info"},
      {"HasCloseButton", true},
      {"HasMaximizeButton", false},
      {"HasMinimizeButton", true},
      {"HasFullScreenButton", false},
      {"Resizeable", true},
      {"Composite", false},
      {"MacProcID", 0},
      {"FullScreen", false},
      {"DefaultLocation", 3},
      {"Visible", true},
      {"HasBackgroundColor", false},
      {"BackgroundColor", kWhite},
      {"MenuBarVisible", true},
      {"LiveResize", false},
  };
  return list;
}

const fw::PropertyList& TextProperties() {
  static const fw::PropertyList list = {
      {"InitialParent", ""},
      {"DataField", ""},
      {"DataSource", ""},
      {"ReadOnly", false},
      {"Underline", false},
      {"Italic", false},
      {"Bold", false},
      {"Visible", true},
      {"Transparent", true},
      {"TextColor", kBlack},
      {"Multiline", true},
      {"LineSpacing", 1.0},
      {"LineHeight", 0.0},
      {"HideSelection", true},
      {"Format", ""},
      {"Enabled", true},
      {"TabStop", true},
      {"TabPanelIndex", 0},
      {"TabIndex", 0},
      {"LockBottom", false},
      {"LockRight", false},
      {"LockTop", false},
      {"LockLeft", false},
      {"Height", 498},
      {"Width", 550},
      {"Top", -1},
      {"Left", -1},
      {"Index", fw::kNoControlIndex},
      {"Name", "EditField1"},
      {"AllowAutoDeactivate", true},
      {"BackgroundColor", kWhite},
      {"HasBorder", true},
      {"Tooltip", ""},
      {"HasHorizontalScrollbar", false},
      {"HasVerticalScrollbar", true},
      {"AllowStyledText", true},
      {"AllowFocusRing", true},
      {"FontName", "System"},
      {"FontSize", 12.0f},
      {"FontUnit", fw::FontUnit::Default},
      {"Value", std::string(HelpText())},
      {"AllowTabs", false},
      {"TextAlignment", 0},
      {"AllowSpellChecking", false},
      {"MaximumCharactersAllowed", 0},
      {"ValidationMask", ""},
  };
  return list;
}

}  // namespace

const fw::ClassInfo& helpWnd::Lookup() {
  static const fw::ClassInfo& info = fw::RegisterClass(
      {"helpWnd.helpWnd", "Window", {"Layout", "CreateControls", "AddMenuHandlers"}, [] {
         return fw::RuntimeNewObject<helpWnd>();
       }});
  return info;
}

bool helpWnd::IsEventImplemented(std::string_view event) const {
  return fw::RuntimeIsEventHandled(*this, Lookup().name, event, true);
}

void helpWnd::Layout() {
  SetMenuBar(fw::NotNil(MenuBar1::Instance(), "the menu bar"));
  SetProperties(WindowProperties());
}

void helpWnd::CreateControls() {
  CreateControls0();
}

void helpWnd::CreateControls0() {
  AddNewControl<fw::TextArea>("EditField1", TextProperties());
  fw::NotNil(EditField1(), "EditField1")
      ->SetOpenHandler(fw::Delegate(this, &helpWnd::EditField1_Open));
}

std::shared_ptr<fw::TextArea> helpWnd::EditField1() const {
  return fw::RuntimeCheckCast<fw::TextArea>(ControlByName("EditField1"));
}

void helpWnd::EditField1_Open(fw::TextArea& /*area*/) {
  // The heading's length is fixed with the text; measuring the text would
  // embolden whatever an edited first line became.
  auto styled =
      fw::NotNil(fw::NotNil(EditField1(), "EditField1")->GetStyledText(), "the styled text");
  styled->SetBold(0, kHelpHeadingLength, true);
}

void helpWnd::AddMenuHandlers() {
  AddMenuHandler("ControlItem", fw::Delegate(this, &helpWnd::ControlItem_Action));
}

bool helpWnd::ControlItem_Action() {
  fw::NotNil(ControlWnd::Instance(), "the calculator window")->Show();
  return true;
}

}  // namespace kestrova
