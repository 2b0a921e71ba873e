#include "calculator/control_wnd.h"

#include <variant>

#include "calculator/ks550.h"
#include "calculator/menu_bar1.h"
#include "framework/keys.h"
#include "framework/runtime.h"
#include "framework/values.h"

namespace kestrova {

namespace {

constexpr fw::Color kWhite{0xff, 0xff, 0xff, 0x00};
constexpr fw::Color kBlack{0x00, 0x00, 0x00, 0x00};
constexpr fw::Color kCreditBlue{0x02, 0x3f, 0xa8, 0x00};
constexpr fw::Color kPpvBlue{0x04, 0x3d, 0xbb, 0x00};
constexpr fw::Color kFractionBlue{0x04, 0x52, 0xc9, 0x00};

// TextAlignment codes.
constexpr std::int64_t kAlignDefault = 0;
constexpr std::int64_t kAlignCenter = 2;
constexpr std::int64_t kAlignRight = 3;

constexpr const char* kRangeTip = ">0 & <1";

struct FieldLook {
  const char* name;
  int left;
  int width;
  int tabIndex;
  bool tabStop;
  bool visible;
  bool bold;
  fw::Color textColor;
};

fw::PropertyList TextFieldProperties(const FieldLook& f) {
  return {
      {"InitialParent", ""},
      {"Name", f.name},
      {"Index", fw::kNoControlIndex},
      {"Left", f.left},
      {"Top", 145},
      {"Width", f.width},
      {"Height", 22},
      {"LockLeft", false},
      {"LockTop", false},
      {"LockRight", false},
      {"LockBottom", false},
      {"TabIndex", f.tabIndex},
      {"TabPanelIndex", 0},
      {"TabStop", f.tabStop},
      {"AllowAutoDeactivate", true},
      {"BackgroundColor", kWhite},
      {"HasBorder", true},
      {"Enabled", true},
      {"Format", ""},
      {"Tooltip", ""},
      {"Password", false},
      {"TextColor", f.textColor},
      {"Transparent", true},
      {"AllowFocusRing", true},
      {"Visible", f.visible},
      {"FontName", "System"},
      {"FontSize", 12.0f},
      {"FontUnit", fw::FontUnit::Default},
      {"Bold", f.bold},
      {"Italic", false},
      {"Underline", false},
      {"Hint", ""},
      {"Value", ""},
      {"AllowTabs", false},
      {"TextAlignment", kAlignCenter},
      {"AllowSpellChecking", false},
      {"MaximumCharactersAllowed", 4},
      {"ValidationMask", ".###"},
      {"ReadOnly", false},
      {"DataSource", ""},
      {"DataField", ""},
  };
}

struct LabelLook {
  const char* name;
  const char* parent;
  int left, top, width, height;
  bool locked;  // LockLeft and LockTop
  int tabIndex;
  bool visible;
  float fontSize;
  bool bold;
  std::int64_t alignment;
  fw::Color textColor;
  std::string text;
  const char* tooltip;
  bool multiline;
};

fw::PropertyList LabelProperties(const LabelLook& l) {
  return {
      {"InitialParent", l.parent},
      {"Name", l.name},
      {"Index", fw::kNoControlIndex},
      {"Left", l.left},
      {"Top", l.top},
      {"Width", l.width},
      {"Height", l.height},
      {"LockLeft", l.locked},
      {"LockTop", l.locked},
      {"LockRight", false},
      {"LockBottom", false},
      {"TabIndex", l.tabIndex},
      {"TabPanelIndex", 0},
      {"TabStop", false},
      {"AllowAutoDeactivate", true},
      {"Enabled", true},
      {"Tooltip", l.tooltip},
      {"Multiline", l.multiline},
      {"Selectable", false},
      {"TextAlignment", l.alignment},
      {"TextColor", l.textColor},
      {"Transparent", false},
      {"Value", l.text},
      {"Visible", l.visible},
      {"Bold", l.bold},
      {"Italic", false},
      {"FontName", "System"},
      {"Underline", false},
      {"FontSize", l.fontSize},
      {"FontUnit", fw::FontUnit::Default},
      {"DataSource", ""},
      {"DataField", ""},
  };
}

struct ButtonLook {
  const char* name;
  int left;
  int tabIndex;
  float fontSize;
  bool bold;
  const char* caption;
};

fw::PropertyList PushButtonProperties(const ButtonLook& b) {
  return {
      {"InitialParent", ""},
      {"Name", b.name},
      {"Index", fw::kNoControlIndex},
      {"Left", b.left},
      {"Top", 640},
      {"Width", 80},
      {"Height", 40},
      {"LockLeft", false},
      {"LockTop", false},
      {"LockRight", false},
      {"LockBottom", false},
      {"TabIndex", b.tabIndex},
      {"TabPanelIndex", 0},
      {"TabStop", false},
      {"AllowAutoDeactivate", true},
      {"MacButtonStyle", 0},
      {"Cancel", false},
      {"Caption", b.caption},
      {"Default", true},
      {"Enabled", true},
      {"Tooltip", ""},
      {"Transparent", true},
      {"Visible", true},
      {"FontName", "System"},
      {"FontSize", b.fontSize},
      {"FontUnit", fw::FontUnit::Default},
      {"Bold", b.bold},
      {"Italic", false},
      {"Underline", false},
  };
}

fw::PropertyList Canvas1Properties() {
  return {
      {"InitialParent", ""},
      {"Name", "Canvas1"},
      {"Index", fw::kNoControlIndex},
      {"Left", 104},
      {"Top", 0},
      {"Width", 672},
      {"Height", 80},
      {"LockLeft", true},
      {"LockTop", true},
      {"LockRight", false},
      {"LockBottom", false},
      {"TabIndex", 12},
      {"TabPanelIndex", 0},
      {"TabStop", true},
      {"AllowAutoDeactivate", true},
      {"Enabled", true},
      {"Tooltip", ""},
      {"AllowFocusRing", true},
      {"Visible", true},
      {"AllowFocus", false},
      {"AllowTabs", false},
      {"Transparent", true},
      {"DoubleBuffer", false},
  };
}

fw::PropertyList DdFldProperties() {
  return {
      {"InitialParent", ""},
      {"Name", "ddFld"},
      {"Index", fw::kNoControlIndex},
      {"Left", 30},
      {"Top", 196},
      {"Width", 812},
      {"Height", 400},
      {"LockLeft", true},
      {"LockTop", true},
      {"LockRight", false},
      {"LockBottom", false},
      {"TabIndex", 28},
      {"TabPanelIndex", 0},
      {"TabStop", false},
      {"AllowAutoDeactivate", true},
      {"BackgroundColor", kWhite},
      {"HasBorder", true},
      {"Enabled", true},
      {"Format", ""},
      {"Tooltip", ""},
      {"HideSelection", true},
      {"LineHeight", 0.0},
      {"LineSpacing", 1.0},
      {"Multiline", true},
      {"HasHorizontalScrollbar", false},
      {"HasVerticalScrollbar", true},
      {"AllowStyledText", true},
      {"TextColor", kBlack},
      {"Transparent", false},
      {"AllowFocusRing", true},
      {"Visible", true},
      {"Bold", false},
      {"Italic", false},
      {"FontName", "Courier"},
      {"FontSize", 13.0f},
      {"FontUnit", fw::FontUnit::Default},
      {"Underline", false},
      {"Value", ""},
      {"AllowTabs", false},
      {"TextAlignment", kAlignDefault},
      {"AllowSpellChecking", true},
      {"MaximumCharactersAllowed", 0},
      {"ValidationMask", ""},
      {"ReadOnly", false},
      {"DataSource", ""},
      {"DataField", ""},
  };
}

fw::PropertyList WindowProperties() {
  return {
      {"Width", 880},
      {"Height", 700},
      {"MinimumWidth", 64},
      {"MinimumHeight", 64},
      {"MaximumWidth", 32000},
      {"MaximumHeight", 32000},
      {"Type", 0},
      {"Title", "Kestrova"},
      {"HasCloseButton", true},
      {"HasMaximizeButton", false},
      {"HasMinimizeButton", true},
      {"HasFullScreenButton", false},
      {"Resizeable", false},
      {"Composite", false},
      {"MacProcID", 0},
      {"FullScreen", false},
      {"DefaultLocation", 0},
      {"Visible", true},
      {"HasBackgroundColor", true},
      {"BackgroundColor", kWhite},
      {"MenuBarVisible", true},
      {"LiveResize", true},
  };
}

// The help and about windows open this one, so it opens them by their
// registered names rather than by their classes.
constexpr std::string_view kHelpWindow = "helpWnd.helpWnd";
constexpr std::string_view kAboutWindow = "AboutWnd.AboutWnd";

const std::string kPpvExplanation = std::string("Of those who test positive, the") + '\r' +
                                    "proportion that actually have the condition:";

}  // namespace

const fw::ClassInfo& ControlWnd::Lookup() {
  static const fw::ClassInfo& info =
      fw::RegisterClass({"ControlWnd.ControlWnd",
                         "Window",
                         {"AddMenuHandlers", "Close", "CreateControls", "Layout"}});
  return info;
}

std::shared_ptr<ControlWnd> ControlWnd::Instance() {
  return fw::ImplicitWindow<ControlWnd>();
}

bool ControlWnd::IsEventImplemented(std::string_view event) const {
  return fw::RuntimeIsEventHandled(*this, Lookup().name, event, true);
}

void ControlWnd::Layout() {
  SetMenuBar(MenuBar1::Instance());
  SetProperties(WindowProperties());
}

void ControlWnd::CreateControls() {
  CreateControls0();
}

template <class C>
std::shared_ptr<C> ControlWnd::Named(std::string_view name) const {
  auto control = fw::RuntimeCheckCast<C>(ControlByName(name));
  return fw::NotNil(control, "control " + std::string(name));
}

void ControlWnd::CreateControls0() {
  AddNewControl<fw::TextField>(
      "prevFld", TextFieldProperties({"prevFld", 36, 80, 0, true, true, false, kBlack}));
  prevFld()->SetKeyDownHandler(fw::Delegate(this, &ControlWnd::prevFld_KeyDown));

  AddNewControl<fw::Label>(
      "RxxText", LabelProperties({"RxxText", "", 30, 127, 108, 20, false, 3, true, 12.0f, true,
                                  kAlignDefault, kBlack, "Prevalence Rate", kRangeTip, false}));

  AddNewControl<fw::PushButton>("clearBtn",
                                PushButtonProperties({"clearBtn", 400, 4, 12.0f, false, "Clear"}));
  clearBtn()->SetMouseDownHandler(fw::Delegate(this, &ControlWnd::clearBtn_MouseDown));

  AddNewControl<fw::PushButton>("helpBtn",
                                PushButtonProperties({"helpBtn", 770, 5, 16.0f, true, "?"}));
  helpBtn()->SetMouseDownHandler(fw::Delegate(this, &ControlWnd::helpBtn_MouseDown));

  AddNewControl<fw::PushButton>(
      "calcBtn", PushButtonProperties({"calcBtn", 30, 6, 12.0f, false, "Calculate"}));
  calcBtn()->SetMouseDownHandler(fw::Delegate(this, &ControlWnd::calcBtn_MouseDown));

  AddNewControl<fw::Label>(
      "RxxText1", LabelProperties({"RxxText1", "", 170, 127, 80, 20, false, 7, true, 12.0f, true,
                                   kAlignCenter, kBlack, "Sensitivity", kRangeTip, false}));

  AddNewControl<fw::TextField>(
      "senFld", TextFieldProperties({"senFld", 170, 80, 1, true, true, false, kBlack}));
  senFld()->SetKeyDownHandler(fw::Delegate(this, &ControlWnd::senFld_KeyDown));

  // The backdrop goes on before the canvas's own list.
  AddNewControl<fw::Canvas>("Canvas1", Canvas1Properties(),
                            [](fw::Canvas& canvas) { canvas.SetBackdrop(KS550()); });

  AddNewControl<fw::Label>(
      "Label2",
      LabelProperties({"Label2", "Canvas1", 296, 60, 264, 20, true, 0, true, 0.0f, false,
                       kAlignCenter, kCreditBlue, "Written by the Kestrova authors", "", false}));

  AddNewControl<fw::Label>(
      "specTxt", LabelProperties({"specTxt", "", 308, 127, 80, 20, false, 13, true, 12.0f, true,
                                  kAlignCenter, kBlack, "Specifity", kRangeTip, false}));

  AddNewControl<fw::TextField>(
      "specFld", TextFieldProperties({"specFld", 308, 80, 2, true, true, false, kBlack}));
  specFld()->SetKeyDownHandler(fw::Delegate(this, &ControlWnd::specFld_KeyDown));

  AddNewControl<fw::Label>(
      "pppTxt", LabelProperties({"pppTxt", "", 508, 137, 276, 39, false, 14, false, 12.0f, true,
                                 kAlignDefault, kBlack, kPpvExplanation, kRangeTip, true}));

  AddNewControl<fw::TextField>(
      "pppFld", TextFieldProperties({"pppFld", 772, 70, 15, false, false, true, kPpvBlue}));
  pppFld()->SetKeyDownHandler(fw::Delegate(this, &ControlWnd::pppFld_KeyDown));

  AddNewControl<fw::TextArea>("ddFld", DdFldProperties());

  AddNewControl<fw::Label>(
      "note", LabelProperties({"note", "", 30, 597, 812, 20, true, 29, false, 12.0f, false,
                               kAlignDefault, kBlack,
                               "True positives (+), False negatives (-), False positives (\u00f8), "
                               "and True negatives (o)",
                               "", false}));

  AddNewControl<fw::Label>(
      "ppTxt", LabelProperties({"ppTxt", "", 742, 127, 100, 20, true, 30, false, 10.0f, false,
                                kAlignRight, kFractionBlue, "", "", false}));
}

std::shared_ptr<fw::TextField> ControlWnd::prevFld() const {
  return Named<fw::TextField>("prevFld");
}
std::shared_ptr<fw::Label> ControlWnd::RxxText() const {
  return Named<fw::Label>("RxxText");
}
std::shared_ptr<fw::PushButton> ControlWnd::clearBtn() const {
  return Named<fw::PushButton>("clearBtn");
}
std::shared_ptr<fw::PushButton> ControlWnd::helpBtn() const {
  return Named<fw::PushButton>("helpBtn");
}
std::shared_ptr<fw::PushButton> ControlWnd::calcBtn() const {
  return Named<fw::PushButton>("calcBtn");
}
std::shared_ptr<fw::Label> ControlWnd::RxxText1() const {
  return Named<fw::Label>("RxxText1");
}
std::shared_ptr<fw::TextField> ControlWnd::senFld() const {
  return Named<fw::TextField>("senFld");
}
std::shared_ptr<fw::Canvas> ControlWnd::Canvas1() const {
  return Named<fw::Canvas>("Canvas1");
}
std::shared_ptr<fw::Label> ControlWnd::Label2() const {
  return Named<fw::Label>("Label2");
}
std::shared_ptr<fw::Label> ControlWnd::specTxt() const {
  return Named<fw::Label>("specTxt");
}
std::shared_ptr<fw::TextField> ControlWnd::specFld() const {
  return Named<fw::TextField>("specFld");
}
std::shared_ptr<fw::Label> ControlWnd::pppTxt() const {
  return Named<fw::Label>("pppTxt");
}
std::shared_ptr<fw::TextField> ControlWnd::pppFld() const {
  return Named<fw::TextField>("pppFld");
}
std::shared_ptr<fw::TextArea> ControlWnd::ddFld() const {
  return Named<fw::TextArea>("ddFld");
}
std::shared_ptr<fw::Label> ControlWnd::note() const {
  return Named<fw::Label>("note");
}
std::shared_ptr<fw::Label> ControlWnd::ppTxt() const {
  return Named<fw::Label>("ppTxt");
}

std::shared_ptr<fw::TextField> ControlWnd::FieldFor(InputField field) const {
  switch (field) {
    case InputField::Prevalence:
      return prevFld();
    case InputField::Sensitivity:
      return senFld();
    case InputField::Specificity:
      return specFld();
  }
  throw fw::RuntimeException("no such input field");
}

bool ControlWnd::RefuseKey(const std::string& key) {
  using namespace fw::keys;
  const std::int64_t c = fw::Asc(key);
  if ((c >= '0' && c <= '9') || c == kBackspace || c == kTab || c == kDelete || c == kLeft ||
      c == kRight || c == '.') {
    return false;
  }
  fw::Beep();
  return true;
}

bool ControlWnd::prevFld_KeyDown(fw::TextField&, const std::string& key) {
  return RefuseKey(key);
}
bool ControlWnd::senFld_KeyDown(fw::TextField&, const std::string& key) {
  return RefuseKey(key);
}
bool ControlWnd::specFld_KeyDown(fw::TextField&, const std::string& key) {
  return RefuseKey(key);
}
bool ControlWnd::pppFld_KeyDown(fw::TextField&, const std::string&) {
  return false;
}

bool ControlWnd::calcBtn_MouseDown(fw::PushButton&, std::int64_t, std::int64_t) {
  // The fields are read in the order they are checked.
  const std::string prevalence = prevFld()->Text();
  const std::string sensitivity = senFld()->Text();
  const std::string specificity = specFld()->Text();
  const Outcome outcome = Calculate(prevalence, sensitivity, specificity);
  if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
    fw::MsgBox(refusal->message);
    FieldFor(refusal->field)->SetFocus();
    return false;
  }
  const auto& result = std::get<CalculationResult>(outcome);

  ddFld()->SetText("");
  {
    auto display = ddFld();
    for (const std::string_view piece : result.displayPieces) display->AddText(piece);
  }
  ddFld()->GetStyledText()->SetBold(result.bold.start, result.bold.length, true);

  note()->SetVisible(true);
  pppTxt()->SetVisible(true);
  pppFld()->SetVisible(true);
  pppFld()->SetText(result.ppvText);
  ppTxt()->SetVisible(true);
  ppTxt()->SetText(result.fractionText);
  return false;
}

bool ControlWnd::clearBtn_MouseDown(fw::PushButton&, std::int64_t, std::int64_t) {
  prevFld()->SetText("");
  senFld()->SetText("");
  specFld()->SetText("");
  ddFld()->SetText("");
  pppFld()->SetVisible(false);
  pppTxt()->SetVisible(false);
  note()->SetVisible(false);
  ppTxt()->SetVisible(false);
  prevFld()->SetFocus();
  return false;
}

bool ControlWnd::helpBtn_MouseDown(fw::PushButton&, std::int64_t, std::int64_t) {
  fw::ImplicitWindowNamed(kHelpWindow)->Show();
  return false;
}

void ControlWnd::AddMenuHandlers() {
  AddMenuHandler("FileQuit", fw::Delegate(this, &ControlWnd::FileQuit_Action));
  AddMenuHandler("InfoItem", fw::Delegate(this, &ControlWnd::InfoItem_Action));
  AddMenuHandler("AboutItem", fw::Delegate(this, &ControlWnd::AboutItem_Action));
}

void ControlWnd::Event_Close() {
  fw::Quit(0);
}

bool ControlWnd::FileQuit_Action() {
  fw::Quit(0);
  return true;
}

bool ControlWnd::InfoItem_Action() {
  fw::ImplicitWindowNamed(kHelpWindow)->Show();
  return true;
}

bool ControlWnd::AboutItem_Action() {
  fw::ImplicitWindowNamed(kAboutWindow)->Show();
  return true;
}

}  // namespace kestrova
