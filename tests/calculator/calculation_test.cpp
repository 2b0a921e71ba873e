#include "calculator/calculation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "framework/values.h"

namespace {

using kestrova::CalculationResult;
using kestrova::InputField;
using kestrova::Outcome;
using kestrova::Refusal;

constexpr std::string_view kO = "o ";
constexpr std::string_view kPlus = "+ ";
constexpr std::string_view kMinus = "- ";
constexpr std::string_view kSlashedO = "\xC3\xB8 ";  // "ø "
constexpr std::string_view kDivide = "\xC3\xB7";     // "÷"
constexpr char32_t kSlashedOChar = 0xF8;

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

CalculationResult Accepted(std::string_view p, std::string_view sens, std::string_view specif) {
  Outcome outcome = kestrova::Calculate(p, sens, specif);
  if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
    ADD_FAILURE() << "refused " << p << ", " << sens << ", " << specif << ": " << refusal->message;
    return {};
  }
  return std::get<CalculationResult>(std::move(outcome));
}

// The display as characters: bold runs and lengths count characters, and
// "ø" takes two bytes.
std::u32string Characters(std::string_view utf8) {
  std::u32string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += lead;
      i += 1;
    } else if ((lead & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      out += static_cast<char32_t>(((lead & 0x1F) << 6) | (utf8[i + 1] & 0x3F));
      i += 2;
    } else {
      out += U'?';  // the display holds no other characters
      i += 1;
    }
  }
  return out;
}

// The display read back into its cases.
struct Layout {
  std::string error;                   // empty when the text is well formed
  std::vector<char32_t> symbols;       // symbols[k - 1]: the symbol of case k
  std::vector<std::size_t> positions;  // character index of case k's symbol
  std::vector<bool> spaced;            // whether case k's symbol has its space
  std::size_t casesBeforeClose = 0;
  std::size_t closePosition = 0;
  std::size_t length = 0;
};

// Walks the bytes once, counting characters ("ø" is two bytes, one character).
Layout ReadLayout(const std::string& display) {
  Layout layout;
  layout.symbols.reserve(1000);
  layout.positions.reserve(1000);
  layout.spaced.reserve(1000);
  auto fail = [&layout](std::string message, std::size_t at) {
    layout.error = message + " at character " + std::to_string(at);
    return layout;
  };
  const std::size_t size = display.size();
  if (size == 0 || display[0] != '(') return fail("no opening parenthesis", 0);

  int closes = 0;
  int rows = 0;
  int inRow = 0;
  std::size_t at = 1;  // character index of display[i]
  for (std::size_t i = 1; i < size;) {
    const char c = display[i];
    if (c == ')') {
      if (++closes > 1) return fail("second closing parenthesis", at);
      layout.casesBeforeClose = layout.symbols.size();
      layout.closePosition = at;
      ++i, ++at;
    } else if (c == '\r') {
      if (inRow != 50) return fail("row of " + std::to_string(inRow) + " symbols", at);
      ++rows;
      inRow = 0;
      ++i, ++at;
    } else {
      char32_t symbol = 0;
      std::size_t bytes = 1;
      if (c == 'o' || c == '+' || c == '-') {
        symbol = static_cast<char32_t>(c);
      } else if (display.compare(i, 2, "\xC3\xB8") == 0) {
        symbol = kSlashedOChar;
        bytes = 2;
      } else {
        return fail("unexpected byte " + std::to_string(static_cast<unsigned char>(c)), at);
      }
      layout.symbols.push_back(symbol);
      layout.positions.push_back(at);
      i += bytes, ++at;
      const bool spaced = i < size && display[i] == ' ';
      layout.spaced.push_back(spaced);
      if (spaced) ++i, ++at;
      ++inRow;
    }
  }
  layout.length = at;
  if (closes != 1) return fail("no closing parenthesis", at);
  if (rows != 20 || inRow != 0) return fail("not 20 full rows ended by CR", at);
  if (display.back() != '\r') return fail("last row not ended by CR", at);
  return layout;
}

std::string Whole(double count) {
  return std::to_string(static_cast<long long>(count));
}

// Every property that a result of accepted input must have; the empty string
// when it has them all. Kept free of gtest macros so that a grid of thousands
// of inputs stays fast.
std::string CheckResult(const CalculationResult& r) {
  const double d = r.withCondition, tp = r.truePos, fn = r.falseNeg, fp = r.falsePos,
               tn = r.trueNeg;
  for (double count : {d, tp, fn, fp, tn}) {
    if (count != std::trunc(count)) return "a count is not whole";
  }
  if (d < 0 || d > 1000) return "D out of range";
  if (tp < 0 || tp > d || fn < 0 || fn > d) return "TP or FN out of range";
  if (fp < 0 || fp > 1000 - d || tn < 0 || tn > 1000 - d) return "FP or TN out of range";
  if (d + fp + tn != 1000) return "D + FP + TN != 1000";
  if (tp + fn != d) return "TP + FN != D";

  const Layout layout = ReadLayout(r.display);
  if (!layout.error.empty()) return layout.error;
  if (layout.symbols.size() != 1000) return "not 1000 cases";
  if (layout.length != (fn >= 1 ? 2021u : 2022u)) {
    return "display of " + std::to_string(layout.length) + " characters";
  }
  if (layout.casesBeforeClose != static_cast<std::size_t>(d)) return "\")\" not after case D";
  const std::size_t cases = static_cast<std::size_t>(d);
  // The D-th symbol with its space, if it has one, then ")".
  const std::size_t afterD =
      cases == 0 ? 1 : layout.positions[cases - 1] + (layout.spaced[cases - 1] ? 2 : 1);
  if (layout.closePosition != afterD) {
    return "\")\" not directly after the D-th symbol";
  }

  const auto ntp = static_cast<std::size_t>(tp), nfn = static_cast<std::size_t>(fn),
             nfp = static_cast<std::size_t>(fp);
  for (std::size_t k = 0; k < 1000; ++k) {
    const char32_t expected = k < ntp               ? U'+'
                              : k < ntp + nfn       ? U'-'
                              : k < ntp + nfn + nfp ? kSlashedOChar
                                                    : U'o';
    if (layout.symbols[k] != expected) return "case " + std::to_string(k + 1) + " has wrong symbol";
    const bool lastFalseNegative = nfn >= 1 && k + 1 == cases;
    if (layout.spaced[k] == lastFalseNegative) {
      return "case " + std::to_string(k + 1) + " has wrong spacing";
    }
  }

  if (r.bold.start != 1) return "bold run does not start at 1";
  if (r.bold.length != std::max<std::int64_t>(0, 2 * static_cast<std::int64_t>(d) - 2)) {
    return "bold length " + std::to_string(r.bold.length);
  }
  if (cases >= 1 &&
      static_cast<std::size_t>(r.bold.start + r.bold.length) > layout.positions[cases - 1]) {
    return "bold run reaches the D-th symbol";
  }

  if (r.displayPieces.size() != 1022) return "not 1022 pieces";
  std::string joined;
  for (const std::string_view piece : r.displayPieces) joined += piece;
  if (joined != r.display) return "pieces do not spell the display";

  const std::string tpText = Whole(tp);
  if (r.fractionText !=
      tpText + " " + std::string(kDivide) + " (" + tpText + " + " + Whole(fp) + ")") {
    return "fraction text " + r.fractionText;
  }
  if (tp + fp == 0) {
    if (r.ppvText != "n/a") return "PPV text " + r.ppvText + " for 0/0";
  } else {
    const double shown = std::strtod(("0" + r.ppvText).c_str(), nullptr);
    if (std::fabs(shown - tp / (tp + fp)) > 0.0005 + 1e-12) return "PPV text " + r.ppvText;
    if (r.ppvText.size() != (shown >= 1 ? 5u : 4u)) return "PPV text " + r.ppvText;
  }
  return {};
}

std::string ThreeDigitText(int thousandths) {
  std::string text = ".000";
  text[1] = static_cast<char>('0' + thousandths / 100);
  text[2] = static_cast<char>('0' + thousandths / 10 % 10);
  text[3] = static_cast<char>('0' + thousandths % 10);
  return text;
}

// ---- Worked results ----

struct Worked {
  std::string_view p, sens, specif;
  double d, tp, fn, fp, tn;
  std::string_view ppv;
  std::string_view fraction;
};

void PrintTo(const Worked& w, std::ostream* os) {
  *os << w.p << ", " << w.sens << ", " << w.specif;
}

class WorkedResults : public testing::TestWithParam<Worked> {};

TEST_P(WorkedResults, GiveTheCountsAndTexts) {
  const Worked& w = GetParam();
  const CalculationResult r = Accepted(w.p, w.sens, w.specif);
  EXPECT_EQ(r.withCondition, w.d);
  EXPECT_EQ(r.truePos, w.tp);
  EXPECT_EQ(r.falseNeg, w.fn);
  EXPECT_EQ(r.falsePos, w.fp);
  EXPECT_EQ(r.trueNeg, w.tn);
  EXPECT_EQ(r.ppvText, w.ppv);
  EXPECT_EQ(r.fractionText, w.fraction);
  EXPECT_EQ(CheckResult(r), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, WorkedResults,
    testing::Values(
        Worked{".1", ".9", ".9", 100, 90, 10, 90, 810, ".500", "90 \xC3\xB7 (90 + 90)"},
        Worked{".015", ".67", ".91", 15, 10, 5, 89, 896, ".101", "10 \xC3\xB7 (10 + 89)"},
        Worked{".01", ".90", ".91", 10, 9, 1, 89, 901, ".092", "9 \xC3\xB7 (9 + 89)"},
        // 45 * 0.7 is 31.499999999999996 in doubles.
        Worked{".045", ".7", ".8", 45, 31, 14, 191, 764, ".140", "31 \xC3\xB7 (31 + 191)"},
        Worked{".05", ".5", ".5", 50, 25, 25, 475, 475, ".050", "25 \xC3\xB7 (25 + 475)"},
        Worked{".005", ".95", ".95", 5, 5, 0, 50, 945, ".091", "5 \xC3\xB7 (5 + 50)"},
        Worked{".01", ".04", ".9", 10, 0, 10, 99, 891, ".000", "0 \xC3\xB7 (0 + 99)"},
        Worked{".001", ".4", ".9", 1, 0, 1, 100, 899, ".000", "0 \xC3\xB7 (0 + 100)"},
        Worked{".999", ".999", ".999", 999, 998, 1, 0, 1, "1.000", "998 \xC3\xB7 (998 + 0)"},
        // Exact halves: 100 * 0.905 is 90.5; 500 * 0.001 is 0.5 and 500 * 0.999 is 499.5.
        Worked{".1", ".905", ".9", 100, 91, 9, 90, 810, ".503", "91 \xC3\xB7 (91 + 90)"},
        Worked{".5", ".001", ".999", 500, 1, 499, 0, 500, "1.000", "1 \xC3\xB7 (1 + 0)"}));

// ---- The display ----

TEST(Display, HelpExampleRowByRow) {
  const CalculationResult r = Accepted(".015", ".67", ".91");
  std::string expected = "(" + Repeat(kPlus, 10) + Repeat(kMinus, 4) + "-)" +
                         Repeat(kSlashedO, 35) + "\r" + Repeat(kSlashedO, 50) + "\r" +
                         Repeat(kSlashedO, 4) + Repeat(kO, 46) + "\r";
  for (int row = 4; row <= 20; ++row) expected += Repeat(kO, 50) + "\r";
  EXPECT_EQ(r.display, expected);
  EXPECT_EQ(Characters(r.display).size(), 2021u);
  EXPECT_EQ(r.bold.start, 1);
  EXPECT_EQ(r.bold.length, 28);
  EXPECT_EQ(Characters(r.display).substr(1, 28), Characters(Repeat(kPlus, 10) + Repeat(kMinus, 4)));
}

TEST(Display, NoFalseNegativesKeepsEverySpace) {
  const CalculationResult r = Accepted(".005", ".95", ".95");
  EXPECT_EQ(r.display.rfind("(" + Repeat(kPlus, 5) + ")" + std::string(kSlashedO), 0), 0u);
  EXPECT_EQ(r.display.find('-'), std::string::npos);
  EXPECT_EQ(Characters(r.display).size(), 2022u);
  EXPECT_EQ(r.bold.length, 8);
  EXPECT_EQ(Characters(r.display).substr(1, 8), Characters(Repeat(kPlus, 4)));
}

TEST(Display, CloseBeforeTheLineEndWhenDFillsTheRow) {
  const CalculationResult r = Accepted(".05", ".5", ".5");
  const std::string firstRow = r.display.substr(0, r.display.find('\r') + 1);
  EXPECT_EQ(firstRow, "(" + Repeat(kPlus, 25) + Repeat(kMinus, 24) + "-)\r");
  EXPECT_EQ(firstRow.size(), 102u);  // 101 characters before the CR, all ASCII
  EXPECT_EQ(r.bold.length, 98);
  EXPECT_EQ(r.display.substr(1, 98), Repeat(kPlus, 25) + Repeat(kMinus, 24));
}

TEST(Display, NoTruePositives) {
  const CalculationResult r = Accepted(".01", ".04", ".9");
  EXPECT_EQ(r.display.rfind("(" + Repeat(kMinus, 9) + "-)" + std::string(kSlashedO), 0), 0u);
  EXPECT_EQ(r.bold.length, 18);
}

TEST(Display, OneCaseWithTheConditionIsNotBold) {
  const CalculationResult r = Accepted(".001", ".4", ".9");
  EXPECT_EQ(r.display.rfind("(-)" + std::string(kSlashedO), 0), 0u);
  EXPECT_EQ(r.bold.length, 0);
  EXPECT_EQ(Characters(r.display).size(), 2021u);
}

TEST(Display, BoldRunLosesACharacterToEachLineEnd) {
  // D = 100: the first 98 symbols, then only the symbol character of the 99th.
  const CalculationResult hundred = Accepted(".1", ".9", ".9");
  const Layout h = ReadLayout(hundred.display);
  ASSERT_EQ(h.error, "");
  EXPECT_EQ(hundred.bold.length, 198);
  EXPECT_EQ(hundred.bold.start + hundred.bold.length - 1,
            static_cast<std::int64_t>(h.positions[98]));

  // D = 999: the first 988 symbols with their spaces and the 989th's symbol.
  const CalculationResult r = Accepted(".999", ".999", ".999");
  const Layout layout = ReadLayout(r.display);
  ASSERT_EQ(layout.error, "");
  EXPECT_EQ(r.bold.length, 1996);
  EXPECT_EQ(r.bold.start + r.bold.length - 1, static_cast<std::int64_t>(layout.positions[988]));
  const std::size_t lastRow = r.display.rfind('\r', r.display.size() - 2) + 1;
  EXPECT_EQ(r.display.substr(lastRow), Repeat(kPlus, 48) + "-)" + std::string(kO) + "\r");
}

TEST(Display, AllCasesWithTheCondition) {
  // ".9999" passes validation although the fields cannot produce it: D = 1000.
  const CalculationResult r = Accepted(".9999", ".5", ".5");
  EXPECT_EQ(r.withCondition, 1000);
  EXPECT_EQ(r.trueNeg, 0);
  EXPECT_EQ(r.falsePos, 0);
  EXPECT_EQ(r.ppvText, "1.000");
  EXPECT_EQ(r.display.substr(r.display.size() - 3), "-)\r");
  EXPECT_EQ(r.bold.length, 1998);
  EXPECT_EQ(CheckResult(r), "");
}

TEST(Display, PiecesAreStaticText) {
  std::string display;
  std::vector<std::string_view> pieces;
  {
    const CalculationResult r = Accepted(".1", ".9", ".9");
    display = r.display;
    pieces = r.displayPieces;
  }
  // The result is gone; views of static text still read correctly (ASan
  // would report a view into the freed result).
  std::string joined;
  for (const std::string_view piece : pieces) joined += piece;
  EXPECT_EQ(joined, display);
  ASSERT_EQ(pieces.size(), 1022u);
  EXPECT_EQ(pieces.front(), "(");
  EXPECT_EQ(pieces.back(), "\r");
}

// ---- Prevalence too small for one case ----

TEST(NoCaseWithTheCondition, ParenthesesStayTogetherAndNothingIsBold) {
  const CalculationResult r = Accepted(".0004", ".5", ".5");
  EXPECT_EQ(r.withCondition, 0);
  EXPECT_EQ(r.truePos, 0);
  EXPECT_EQ(r.falseNeg, 0);
  EXPECT_EQ(r.falsePos, 500);
  EXPECT_EQ(r.trueNeg, 500);
  EXPECT_EQ(r.bold.length, 0);
  EXPECT_EQ(r.display.rfind("()" + std::string(kSlashedO), 0), 0u);
  EXPECT_EQ(r.ppvText, ".000");
  EXPECT_EQ(CheckResult(r), "");
}

TEST(NoCaseWithTheCondition, ZeroOverZeroIsNotANumberText) {
  const CalculationResult r = Accepted(".0004", ".5", ".9999");
  EXPECT_EQ(r.truePos + r.falsePos, 0);
  EXPECT_TRUE(std::isnan(r.posPredValue));
  EXPECT_EQ(r.ppvText, "n/a");
  EXPECT_EQ(r.fractionText, "0 \xC3\xB7 (0 + 0)");
  EXPECT_EQ(r.display.rfind("()" + Repeat(kO, 50) + "\r", 0), 0u);
  EXPECT_EQ(CheckResult(r), "");
}

// ---- Refusals ----

struct RefusalCase {
  std::string_view p, sens, specif;
  InputField field;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
  *os << '"' << c.p << "\", \"" << c.sens << "\", \"" << c.specif << '"';
}

class Refusals : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusals, FirstFailingFieldWins) {
  const RefusalCase& c = GetParam();
  const Outcome outcome = kestrova::Calculate(c.p, c.sens, c.specif);
  const auto* refusal = std::get_if<Refusal>(&outcome);
  ASSERT_NE(refusal, nullptr) << c.p << ", " << c.sens << ", " << c.specif;
  EXPECT_EQ(refusal->field, c.field);
  EXPECT_EQ(refusal->message, kestrova::RefusalMessage(c.field));
}

INSTANTIATE_TEST_SUITE_P(Order, Refusals,
                         testing::Values(RefusalCase{"", "", "", InputField::Prevalence},
                                         RefusalCase{"", ".5", ".5", InputField::Prevalence},
                                         RefusalCase{"", "1", "abc", InputField::Prevalence},
                                         RefusalCase{".000", ".5", ".5", InputField::Prevalence},
                                         RefusalCase{"1", "", "", InputField::Prevalence},
                                         RefusalCase{"1.5", ".5", ".5", InputField::Prevalence},
                                         RefusalCase{".", ".5", ".5", InputField::Prevalence},
                                         RefusalCase{"-.5", ".5", ".5", InputField::Prevalence},
                                         RefusalCase{"abc", ".5", ".5", InputField::Prevalence},
                                         RefusalCase{"1e999", ".5", ".5", InputField::Prevalence},
                                         RefusalCase{"1e-999", ".5", ".5", InputField::Prevalence},
                                         RefusalCase{".5", ".000", ".5", InputField::Sensitivity},
                                         RefusalCase{".5", "1", ".5", InputField::Sensitivity},
                                         RefusalCase{".5", "", "", InputField::Sensitivity},
                                         RefusalCase{".5", "1.0", "", InputField::Sensitivity},
                                         RefusalCase{".5", ".5", "", InputField::Specificity},
                                         RefusalCase{".5", ".5", "1", InputField::Specificity},
                                         RefusalCase{".5", ".5", ".000", InputField::Specificity},
                                         RefusalCase{".5", ".5", "-0", InputField::Specificity},
                                         RefusalCase{".999", ".001", std::string_view("\0.5", 3),
                                                     InputField::Specificity}));

TEST(Refusals, MessagesEndWithACarriageReturn) {
  EXPECT_EQ(kestrova::RefusalMessage(InputField::Prevalence),
            "Enter prevalence rate of >.000 and less than 1.\r");
  EXPECT_EQ(kestrova::RefusalMessage(InputField::Sensitivity),
            "Enter sensitivity of >.000 and less than 1.\r");
  EXPECT_EQ(kestrova::RefusalMessage(InputField::Specificity),
            "Enter specifity of >.000 and less than 1.\r");
}

TEST(Compute, RefusesValuesOutsideTheOpenInterval) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double bad[][3] = {{0, .5, .5},  {1, .5, .5}, {nan, .5, .5}, {.5, 1.5, .5},
                           {.5, -1, .5}, {.5, .5, 1}, {.5, .5, nan}, {-0.0, .5, .5}};
  for (const auto& v : bad) {
    EXPECT_THROW((void)kestrova::Compute(v[0], v[1], v[2]), fw::RuntimeException)
        << v[0] << ", " << v[1] << ", " << v[2];
  }
}

// ---- Properties over the inputs that the fields accept ----

// Counts alone over a dense grid: D is the typed thousandths, TP and TN are
// within a half of the exact products, and the counts add up.
TEST(Grid, CountsAddUpOverEverySeventhInput) {
  std::vector<double> values(1000);
  for (int v = 1; v <= 999; ++v) values[v] = fw::Val(ThreeDigitText(v));
  int failures = 0;
  for (int p = 1; p <= 999 && failures < 10; p += 7) {
    for (int s = 1; s <= 999; s += 7) {
      for (int t = 1; t <= 999; t += 7) {
        const kestrova::Counts c = kestrova::ComputeCounts(values[p], values[s], values[t]);
        const auto d = static_cast<long long>(c.withCondition);
        const auto tp = static_cast<long long>(c.truePos);
        const auto tn = static_cast<long long>(c.trueNeg);
        const bool ok = d == p && tp == c.truePos && tn == c.trueNeg &&
                        std::llabs(1000 * tp - d * s) <= 500 &&
                        std::llabs(1000 * tn - (1000 - d) * t) <= 500 &&
                        c.withCondition + c.falsePos + c.trueNeg == 1000 &&
                        c.truePos + c.falseNeg == c.withCondition && c.truePos + c.falsePos > 0;
        if (!ok) {
          ADD_FAILURE() << ThreeDigitText(p) << ", " << ThreeDigitText(s) << ", "
                        << ThreeDigitText(t);
          ++failures;
        }
      }
    }
  }
}

// TP depends on prevalence and sensitivity only, FP on prevalence and
// specificity only, so every accepted input is covered by two sweeps.
TEST(Grid, NoAcceptedInputDividesByZero) {
  std::vector<double> values(1000);
  for (int v = 1; v <= 999; ++v) values[v] = fw::Val(ThreeDigitText(v));
  for (int p = 1; p <= 999; ++p) {
    bool someTpZero = false;
    bool someFpZero = false;
    for (int x = 1; x <= 999; ++x) {
      someTpZero |= kestrova::ComputeCounts(values[p], values[x], 0.5).truePos == 0;
      someFpZero |= kestrova::ComputeCounts(values[p], 0.5, values[x]).falsePos == 0;
    }
    EXPECT_FALSE(someTpZero && someFpZero) << "prevalence " << ThreeDigitText(p);
  }
}

// The whole result, display included: every prevalence with a seeded sample of
// sensitivity and specificity, plus a coarse grid over all three.
TEST(Grid, DisplayPropertiesHold) {
  std::mt19937 random(20240607);
  std::uniform_int_distribution<int> thousandths(1, 999);
  std::vector<std::array<int, 3>> inputs;
  for (int p = 1; p <= 999; ++p) {
    // The extremes: no or all true positives, all or no false positives.
    inputs.push_back(p % 2 == 0 ? std::array<int, 3>{p, 1, 999} : std::array<int, 3>{p, 999, 1});
    inputs.push_back({p, thousandths(random), thousandths(random)});
  }
  for (int p = 1; p <= 999; p += 97) {
    for (int s = 1; s <= 999; s += 97) {
      for (int t = 1; t <= 999; t += 97) inputs.push_back({p, s, t});
    }
  }

  int failures = 0;
  for (const auto& [p, s, t] : inputs) {
    const std::string texts[] = {ThreeDigitText(p), ThreeDigitText(s), ThreeDigitText(t)};
    const Outcome outcome = kestrova::Calculate(texts[0], texts[1], texts[2]);
    const auto* r = std::get_if<CalculationResult>(&outcome);
    const std::string error = r == nullptr ? "refused" : CheckResult(*r);
    if (!error.empty()) {
      ADD_FAILURE() << texts[0] << ", " << texts[1] << ", " << texts[2] << ": " << error;
      if (++failures == 10) break;
    }
    if (r != nullptr && r->withCondition != p) {
      ADD_FAILURE() << texts[0] << ": D = " << r->withCondition;
      if (++failures == 10) break;
    }
  }
}

}  // namespace
