#include "framework/values.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Switches the C library to a locale whose decimal point is a comma, as a
// German desktop session does, and restores the previous one afterwards.
class CommaLocale {
 public:
  CommaLocale() {
    const char* current = std::setlocale(LC_ALL, nullptr);
    saved_ = current ? current : "C";
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8",
                             "nl_NL.UTF-8", "es_ES.UTF-8", "it_IT.UTF-8", "ru_RU.UTF-8",
                             "pt_BR.UTF-8", "sv_SE.UTF-8", "pl_PL.UTF-8"}) {
      if (std::setlocale(LC_ALL, name) && std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
        active_ = name;
        return;
      }
    }
    std::setlocale(LC_ALL, saved_.c_str());
  }
  ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
  CommaLocale(const CommaLocale&) = delete;
  CommaLocale& operator=(const CommaLocale&) = delete;

  bool active() const { return !active_.empty(); }
  const std::string& name() const { return active_; }

 private:
  std::string saved_;
  std::string active_;
};

// A heap copy of text with nothing after its last character, so that ASan
// reports any read past the end.
std::unique_ptr<char[]> ExactCopy(std::string_view text) {
  auto copy = std::make_unique<char[]>(text.size());
  std::memcpy(copy.get(), text.data(), text.size());
  return copy;
}

// ---- Val ----

struct ValCase {
  std::string_view text;
  double expected;
};

void PrintTo(const ValCase& c, std::ostream* os) {
  *os << '"' << c.text << '"';
}

class ValTable : public testing::TestWithParam<ValCase> {};

TEST_P(ValTable, ReadsTheLongestLeadingNumber) {
  const ValCase& c = GetParam();
  EXPECT_EQ(fw::Val(c.text), c.expected) << "text: \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Values, ValTable,
    testing::Values(
        // What the input fields produce.
        ValCase{".5", 0.5}, ValCase{".905", 0.905}, ValCase{".001", 0.001}, ValCase{".999", 0.999},
        ValCase{".000", 0.0}, ValCase{"1", 1.0}, ValCase{"0.5", 0.5}, ValCase{"5.", 5.0},
        ValCase{"1.0", 1.0},
        // No number at all.
        ValCase{"", 0.0}, ValCase{".", 0.0}, ValCase{"abc", 0.0}, ValCase{"-", 0.0},
        ValCase{"+", 0.0}, ValCase{"+.", 0.0}, ValCase{"-.", 0.0}, ValCase{"e5", 0.0},
        ValCase{".e5", 0.0}, ValCase{"x1", 0.0}, ValCase{"0x10", 0.0}, ValCase{"inf", 0.0},
        ValCase{"nan", 0.0}, ValCase{"--1", 0.0}, ValCase{"+-1", 0.0},
        // Signs.
        ValCase{"-0.5", -0.5}, ValCase{"+1.5", 1.5}, ValCase{"-.25", -0.25},
        // Exponents need a digit; a bare "e" ends the number.
        ValCase{"1e", 1.0}, ValCase{"1e+", 1.0}, ValCase{"1e-", 1.0}, ValCase{"1E3", 1000.0},
        ValCase{"1e+2", 100.0}, ValCase{"2.5E-1", 0.25}, ValCase{".5e-3x", 0.0005},
        ValCase{"1ex", 1.0}, ValCase{"1e2e3", 100.0}, ValCase{"1e2.5", 100.0},
        // The number stops at the first character that cannot continue it.
        ValCase{"1.2.3", 1.2}, ValCase{"12abc", 12.0}, ValCase{"1,5", 1.0}, ValCase{"1 000", 1.0},
        ValCase{".5\xC3\xB8", 0.5}, ValCase{"\xC3\xB8.5", 0.0},
        // Leading blanks and tabs are skipped, other white space is not.
        ValCase{"  .25", 0.25}, ValCase{"\t\t-3", -3.0}, ValCase{" \t 7", 7.0}, ValCase{"\n5", 0.0},
        ValCase{"\r5", 0.0}, ValCase{"- 5", 0.0},
        // Digits of other scripts are not decimal digits here.
        ValCase{"\xD9\xA3", 0.0}, ValCase{"\xEF\xBC\x95", 0.0},
        // Out of range saturates.
        ValCase{"1e999", kInf}, ValCase{"-1e999", -kInf}, ValCase{"1e-999", 0.0},
        ValCase{"-1e-999", 0.0}, ValCase{"1e308", 1e308}, ValCase{"4.9e-324", 4.9e-324},
        ValCase{"0e999999", 0.0}, ValCase{"1e-99999999999999999999999", 0.0},
        ValCase{"1e99999999999999999999999", kInf}));

TEST(Val, EmbeddedNulEndsTheNumberAndIsNotTheEnd) {
  EXPECT_EQ(fw::Val(std::string_view("1\0"
                                     "5",
                                     3)),
            1.0);
  EXPECT_EQ(fw::Val(std::string_view("\0"
                                     ".5",
                                     3)),
            0.0);
  EXPECT_EQ(fw::Val(std::string_view(".5\0"
                                     "e3",
                                     5)),
            0.5);
  EXPECT_EQ(fw::Val(std::string_view("\0", 1)), 0.0);
}

TEST(Val, ReadsOnlyTheViewItIsGiven) {
  const std::string_view whole = "0.55e2";
  EXPECT_EQ(fw::Val(whole.substr(0, 3)), 0.5);
  EXPECT_EQ(fw::Val(whole.substr(0, 5)), 0.55);  // "0.55e": no exponent digit in view
  EXPECT_EQ(fw::Val(whole.substr(0, 0)), 0.0);

  for (std::string_view text : {"123", "1.5e", "1e+", "-", ".", "  ", "9e-", "+.5"}) {
    const auto copy = ExactCopy(text);
    const double expected = fw::Val(std::string(text));
    EXPECT_EQ(fw::Val(std::string_view(copy.get(), text.size())), expected) << text;
  }
}

TEST(Val, HandlesVeryLongDigitRuns) {
  constexpr std::size_t kDigits = 100'000;
  const std::string zeros(kDigits, '0');

  EXPECT_EQ(fw::Val(std::string(kDigits, '9')), kInf);
  EXPECT_EQ(fw::Val("-" + std::string(kDigits, '9')), -kInf);
  EXPECT_EQ(fw::Val("0." + zeros + "1"), 0.0);
  EXPECT_EQ(fw::Val(zeros + "42"), 42.0);
  EXPECT_EQ(fw::Val("1" + zeros + "e-100000"), 1.0);
  EXPECT_EQ(fw::Val("0." + zeros + "1e100001"), 1.0);
  EXPECT_EQ(fw::Val("0." + std::string(kDigits, '3')), 1.0 / 3.0);
  EXPECT_EQ(fw::Val("1e" + zeros + "1"), 10.0);
  EXPECT_EQ(fw::Val("1e" + std::string(kDigits, '9')), kInf);
  EXPECT_EQ(fw::Val("1e-" + std::string(kDigits, '9')), 0.0);
  EXPECT_EQ(fw::Val(".5" + zeros + "x"), 0.5);

  const std::string big = std::string(kDigits, '7') + "e";
  const auto copy = ExactCopy(big);
  EXPECT_EQ(fw::Val(std::string_view(copy.get(), big.size())), kInf);
}

TEST(Val, NeverGivesNotANumber) {
  for (std::string_view text : {"nan", "NaN", "-nan", "inf", "infinity", "1e999e", "0e-999999"}) {
    EXPECT_FALSE(std::isnan(fw::Val(text))) << text;
  }
}

// ---- Round ----

TEST(Round, TakesHalvesAwayFromZero) {
  const struct {
    double value, expected;
  } cases[] = {
      {0.5, 1.0},
      {-0.5, -1.0},
      {1.5, 2.0},
      {2.5, 3.0},
      {-2.5, -3.0},
      {90.5, 91.0},
      {499.5, 500.0},
      {0.4, 0.0},
      {0.49999999999999994, 0.0},
      {31.499999999999996, 31.0},
      {100.0, 100.0},
      {-7.2, -7.0},
      {4503599627370497.0, 4503599627370497.0},
      {1e300, 1e300},
  };
  for (const auto& c : cases) EXPECT_EQ(fw::Round(c.value), c.expected) << c.value;
}

TEST(Round, PassesNonFiniteValuesThrough) {
  EXPECT_EQ(fw::Round(kInf), kInf);
  EXPECT_EQ(fw::Round(-kInf), -kInf);
  EXPECT_TRUE(std::isnan(fw::Round(kNaN)));
}

// ---- Format ----

struct FormatCase {
  double value;
  std::string_view mask;
  std::string_view expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
  *os << c.value << " \"" << c.mask << '"';
}

class FormatTable : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatTable, WritesTheMask) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(fw::Format(c.value, c.mask), c.expected)
      << "value " << c.value << " mask \"" << c.mask << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    ThreeDecimals, FormatTable,
    testing::Values(FormatCase{0.0, ".000", ".000"}, FormatCase{1.0, ".000", "1.000"},
                    FormatCase{0.5, ".000", ".500"}, FormatCase{90.0 / 180.0, ".000", ".500"},
                    FormatCase{10.0 / 99.0, ".000", ".101"}, FormatCase{9.0 / 98.0, ".000", ".092"},
                    FormatCase{31.0 / 222.0, ".000", ".140"},
                    FormatCase{5.0 / 55.0, ".000", ".091"},
                    FormatCase{91.0 / 181.0, ".000", ".503"},
                    // The fourth decimal rounds to nearest, halves away from zero
                    // as the value reads in decimal.
                    FormatCase{0.0005, ".000", ".001"}, FormatCase{0.00049, ".000", ".000"},
                    FormatCase{0.9995, ".000", "1.000"}, FormatCase{0.99949, ".000", ".999"},
                    FormatCase{3.0 / 400.0, ".000", ".008"}, FormatCase{0.0025, ".000", ".003"},
                    FormatCase{9.9996, ".000", "10.000"}, FormatCase{12.3456, ".000", "12.346"},
                    FormatCase{1e-300, ".000", ".000"}, FormatCase{5e-324, ".000", ".000"},
                    FormatCase{-0.5, ".000", "-.500"}, FormatCase{-1.5, ".000", "-1.500"},
                    FormatCase{-0.0001, ".000", ".000"}, FormatCase{-0.0, ".000", ".000"},
                    FormatCase{kNaN, ".000", "n/a"}, FormatCase{-kNaN, ".000", "n/a"},
                    FormatCase{0.0 / 1.0, ".000", ".000"}, FormatCase{kInf, ".000", "inf"},
                    FormatCase{-kInf, ".000", "-inf"}));

INSTANTIATE_TEST_SUITE_P(
    WholeNumber, FormatTable,
    testing::Values(FormatCase{0.0, "###", "0"}, FormatCase{-0.0, "###", "0"},
                    FormatCase{5.0, "###", "5"}, FormatCase{90.0, "###", "90"},
                    FormatCase{191.0, "###", "191"}, FormatCase{1000.0, "###", "1000"},
                    FormatCase{0.4, "###", "0"}, FormatCase{0.5, "###", "1"},
                    FormatCase{2.5, "###", "3"}, FormatCase{-2.5, "###", "-3"},
                    FormatCase{-0.4, "###", "0"}, FormatCase{999.5, "###", "1000"},
                    FormatCase{1e20, "###", "100000000000000000000"},
                    FormatCase{kNaN, "###", "n/a"}, FormatCase{kInf, "###", "inf"},
                    FormatCase{-kInf, "###", "-inf"}));

TEST(Format, RefusesOtherMasksNamingThem) {
  for (std::string_view mask : {"", "##", ".00", "0.000", "#,###", "###.000", ".000 "}) {
    try {
      (void)fw::Format(0.5, mask);
      ADD_FAILURE() << "no exception for mask \"" << mask << "\"";
    } catch (const fw::RuntimeException& e) {
      EXPECT_NE(std::string_view(e.what()).find("\"" + std::string(mask) + "\""),
                std::string_view::npos)
          << e.what();
      EXPECT_EQ(e.Kind(), "RuntimeException");
    }
  }
}

TEST(Format, WritesTheLargestValuesInFull) {
  const std::string text = fw::Format(std::numeric_limits<double>::max(), "###");
  EXPECT_EQ(text.size(), 309u);
  EXPECT_EQ(text.substr(0, 6), "179769");
  EXPECT_EQ(fw::Format(std::numeric_limits<double>::max(), ".000").substr(309), ".000");
  EXPECT_EQ(fw::Format(std::numeric_limits<double>::denorm_min(), ".000"), ".000");
}

// ---- The process locale ----

TEST(Locale, ValAndFormatIgnoreACommaDecimalLocale) {
  const CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no installed locale writes decimals with a comma";

  EXPECT_EQ(fw::Val("0.5"), 0.5) << locale.name();
  EXPECT_EQ(fw::Val(".905"), 0.905);
  EXPECT_EQ(fw::Val("0,5"), 0.0);
  EXPECT_EQ(fw::Val("1,5"), 1.0);
  EXPECT_EQ(fw::Val("2.5e-1"), 0.25);
  EXPECT_EQ(fw::Format(0.5, ".000"), ".500");
  EXPECT_EQ(fw::Format(12.3456, ".000"), "12.346");
  EXPECT_EQ(fw::Format(1234567.0, "###"), "1234567");
  EXPECT_EQ(fw::Format(-0.5, ".000"), "-.500");
}

// ---- Chr and Asc ----

TEST(ChrAsc, EncodeAndDecodeUtf8) {
  const struct {
    std::int64_t code;
    std::string_view bytes;
  } cases[] = {
      {0, std::string_view("\0", 1)},
      {13, "\r"},
      {65, "A"},
      {0x7F, "\x7F"},
      {0x80, "\xC2\x80"},
      {0xF7, "\xC3\xB7"},  // division sign
      {0xF8, "\xC3\xB8"},  // small o with stroke
      {0x7FF, "\xDF\xBF"},
      {0x800, "\xE0\xA0\x80"},
      {0x20AC, "\xE2\x82\xAC"},
      {0xFFFD, "\xEF\xBF\xBD"},
      {0xFFFF, "\xEF\xBF\xBF"},
      {0x10000, "\xF0\x90\x80\x80"},
      {0x1F600, "\xF0\x9F\x98\x80"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fw::Chr(c.code), c.bytes) << c.code;
    EXPECT_EQ(fw::Asc(c.bytes), c.code) << c.code;
    EXPECT_EQ(fw::Asc(std::string(c.bytes) + "xyz"), c.code) << c.code;
  }
}

TEST(ChrAsc, RoundTripEveryPlaneBoundaryAndASweep) {
  std::vector<std::int64_t> codes;
  for (std::int64_t c = 0; c <= 0x10FFFF; c += 0x3F1) codes.push_back(c);
  for (std::int64_t c : {0xD7FF, 0xE000, 0xFFFE, 0x1FFFF, 0x10FFFE}) codes.push_back(c);
  for (const std::int64_t code : codes) {
    if (code >= 0xD800 && code <= 0xDFFF) continue;
    const std::string text = fw::Chr(code);
    ASSERT_FALSE(text.empty()) << code;
    EXPECT_EQ(fw::Asc(text), code) << code;
  }
}

TEST(ChrAsc, ChrGivesNothingForNonCharacters) {
  for (std::int64_t code :
       {std::int64_t{-1}, std::int64_t{0xD800}, std::int64_t{0xDFFF}, std::int64_t{0x110000},
        std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min()}) {
    EXPECT_EQ(fw::Chr(code), "") << code;
  }
}

TEST(ChrAsc, AscOfEmptyAndInvalidText) {
  EXPECT_EQ(fw::Asc(""), 0);
  EXPECT_EQ(fw::Asc("\xC3\xB8"), 248);
  const struct {
    std::string_view bytes;
    std::int64_t expected;
  } invalid[] = {
      {"\xFF", 0xFF},
      {"\x80", 0x80},  // no lead byte
      {"\xC3", 0xC3},
      {"\xE2\x82", 0xE2},  // cut short
      {"\xF0\x9F\x98", 0xF0},
      {"\xC3"
       "A",
       0xC3},  // no continuation
      {"\xC0\xAF", 0xC0},
      {"\xE0\x80\xAF", 0xE0},  // overlong
      {"\xED\xA0\x80", 0xED},
      {"\xF4\x90\x80\x80", 0xF4},  // surrogate, past U+10FFFF
      {"\xF8\x88\x80\x80\x80", 0xF8},
  };
  for (const auto& c : invalid) {
    const auto copy = ExactCopy(c.bytes);
    EXPECT_EQ(fw::Asc(std::string_view(copy.get(), c.bytes.size())), c.expected)
        << "first byte " << static_cast<int>(static_cast<unsigned char>(c.bytes[0]));
  }
}

// ---- Exception kinds ----

TEST(Exceptions, KindsPassAsRuntimeExceptions) {
  try {
    throw fw::NilObjectException("prevFld");
  } catch (const fw::RuntimeException& e) {
    EXPECT_EQ(e.Kind(), "NilObjectException");
    EXPECT_STREQ(e.what(), "prevFld");
  }
  try {
    throw fw::IllegalCastException("TextField");
  } catch (const fw::RuntimeException& e) {
    EXPECT_EQ(e.Kind(), "IllegalCastException");
  }
}

}  // namespace
