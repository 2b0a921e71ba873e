// The embedded help text: its encoding and line breaks, its layout, the example
// display against the calculation, the worked numbers, and the reading list.

#include "resources/help_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calculator/calculation.h"

namespace {

using kestrova::HelpText;

constexpr char32_t kOSlash = U'\u00f8';
constexpr char32_t kBullet = U'\u2022';

// Strict UTF-8 decoding: no overlong forms, surrogates or code points past
// U+10FFFF. Empty when the bytes are not valid UTF-8.
std::optional<std::u32string> DecodeUtf8(std::string_view bytes) {
  std::u32string out;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xe0) == 0xc0) {
      extra = 1;
      cp = lead & 0x1f;
      min = 0x80;
    } else if ((lead & 0xf0) == 0xe0) {
      extra = 2;
      cp = lead & 0x0f;
      min = 0x800;
    } else if ((lead & 0xf8) == 0xf0) {
      extra = 3;
      cp = lead & 0x07;
      min = 0x10000;
    } else {
      return std::nullopt;
    }
    if (i + extra >= bytes.size()) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xc0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (next & 0x3f);
    }
    if (cp < min || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) return std::nullopt;
    out.push_back(cp);
    i += extra + 1;
  }
  return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    const std::size_t cr = text.find('\r', start);
    lines.emplace_back(text.substr(start, cr == std::string_view::npos ? cr : cr - start));
    if (cr == std::string_view::npos) return lines;
    start = cr + 1;
  }
}

const std::string kRule = std::string(5, ' ') + [] {
  std::string bullets;
  for (int i = 0; i < 94; ++i) bullets += "\u2022";
  return bullets;
}();

// Only case symbols, parentheses and spaces ("\xc3\xb8" is the UTF-8 of the
// false-positive symbol), and as long as a row of 50 cases.
bool IsDisplayRow(const std::string& line) {
  return line.size() >= 100 && line.find_first_not_of("(+-o )\xc3\xb8") == std::string::npos;
}

// One letter per line: E empty, S a single space, D a row of the example
// display, R the rule, P any other text.
char LineKind(const std::string& line) {
  if (line.empty()) return 'E';
  if (line == " ") return 'S';
  if (line == kRule) return 'R';
  if (IsDisplayRow(line)) return 'D';
  return 'P';
}

// The non-empty text lines other than the display rows, in order.
std::vector<std::string> Paragraphs() {
  std::vector<std::string> paragraphs;
  for (const std::string& line : SplitLines(HelpText())) {
    const char kind = LineKind(line);
    if (kind == 'P' || kind == 'R') paragraphs.push_back(line);
  }
  return paragraphs;
}

// Paragraph numbers in Paragraphs().
enum Paragraph : std::size_t {
  kHeading,
  kIntroduction,
  kTerms,
  kNaturalFrequencies,
  kWhatItDoes,
  kCases,
  kFirstExample,
  kReadingTheDisplay,
  kSecondExample,
  kConclusion,
  kFirstReference,
  kRuleLine = kFirstReference + 6,
  kNotice,
  kCitation,
  kDisclaimer,
  kParagraphCount,
};

// The numbers written in a text: "1,000", ".101", "89".
std::set<std::string> Numbers(const std::string& text) {
  static const std::regex number("\\d+(?:,\\d{3})*(?:\\.\\d+)?|\\.\\d+");
  std::set<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), number);
       it != std::sregex_iterator(); ++it) {
    found.insert(it->str());
  }
  return found;
}

std::string Whole(double count) {
  return std::to_string(static_cast<long long>(count));
}

kestrova::CalculationResult Calculated(std::string_view prev, std::string_view sens,
                                       std::string_view specif) {
  const kestrova::Outcome outcome = kestrova::Calculate(prev, sens, specif);
  if (const auto* refusal = std::get_if<kestrova::Refusal>(&outcome)) {
    ADD_FAILURE() << "refused: " << refusal->message;
    return {};
  }
  return std::get<kestrova::CalculationResult>(outcome);
}

struct Reference {
  std::vector<std::string> surnames;
  std::string year;
};

std::optional<Reference> ParseReference(const std::string& line) {
  // Authors, (year), then a title and a source ending in pages with a hyphen.
  static const std::regex shape("^(.+?) \\((\\d{4})\\)\\. .+ \\(?(?:pp\\. )?\\d+-\\d+\\)?\\..*$");
  static const std::regex author("([A-Z][a-z]+(?:-[A-Z][a-z]+)?), (?:[A-Z]\\. ?)+");
  std::smatch match;
  if (!std::regex_match(line, match, shape)) return std::nullopt;
  Reference reference{{}, match[2]};
  const std::string authors = match[1];
  for (auto it = std::sregex_iterator(authors.begin(), authors.end(), author);
       it != std::sregex_iterator(); ++it) {
    reference.surnames.push_back((*it)[1]);
  }
  if (reference.surnames.empty()) return std::nullopt;
  return reference;
}

std::vector<Reference> References() {
  const std::vector<std::string> paragraphs = Paragraphs();
  std::vector<Reference> references;
  for (std::size_t i = kFirstReference; i < kRuleLine && i < paragraphs.size(); ++i) {
    const std::optional<Reference> reference = ParseReference(paragraphs[i]);
    EXPECT_TRUE(reference.has_value()) << "not an author-date reference: " << paragraphs[i];
    if (reference) references.push_back(*reference);
  }
  return references;
}

TEST(HelpTextTest, IsValidUtf8WithOnlyTheTwoNonAsciiSymbols) {
  const std::optional<std::u32string> decoded = DecodeUtf8(HelpText());
  ASSERT_TRUE(decoded.has_value());
  for (char32_t c : *decoded) {
    if (c >= 0x80) {
      EXPECT_TRUE(c == kOSlash || c == kBullet)
          << "U+" << std::hex << std::uppercase << static_cast<unsigned>(c);
    } else if (c < 0x20 || c == 0x7f) {
      EXPECT_EQ(c, U'\r') << "control character " << static_cast<unsigned>(c);
    }
  }
  EXPECT_EQ(std::count(decoded->begin(), decoded->end(), kBullet), 94);
}

TEST(HelpTextTest, BreaksLinesWithCarriageReturnsOnly) {
  const std::string_view text = HelpText();
  EXPECT_EQ(text.find('\n'), std::string_view::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 61);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\r');
  EXPECT_TRUE(text.starts_with("Kestrova\r\r"));
}

TEST(HelpTextTest, BoldHeadingLengthCoversTheHeadingLineExactly) {
  const std::string_view text = HelpText();
  ASSERT_GT(text.size(), static_cast<std::size_t>(kestrova::kHelpHeadingLength));
  EXPECT_EQ(text.substr(0, kestrova::kHelpHeadingLength), "Kestrova");
  EXPECT_EQ(text[kestrova::kHelpHeadingLength], '\r');
}

TEST(HelpTextTest, BlocksAndSeparatorsAreLaidOutInOrder) {
  // Heading and six prose blocks, the display's 20 rows and one blank line,
  // three more prose blocks; a space line and two empty lines; six references;
  // two empty lines, the rule with the rights notice right under it, the
  // citation line and the disclaimer.
  const std::string expected = std::string("PEPEPEPEPEPEPE") + std::string(20, 'D') + "E" +
                               "PEPEP" + "SEE" + "PEPEPEPEPEP" + "EE" + "RP" + "EPEP";
  std::string layout;
  for (const std::string& line : SplitLines(HelpText())) layout += LineKind(line);
  EXPECT_EQ(layout, expected);
  EXPECT_EQ(Paragraphs().size(), static_cast<std::size_t>(kParagraphCount));
}

TEST(HelpTextTest, ExampleDisplayEqualsTheCalculatorsDisplay) {
  const kestrova::CalculationResult result = Calculated(".015", ".67", ".91");
  ASSERT_FALSE(result.display.empty());

  const std::string_view text = HelpText();
  const std::size_t start = text.find("\r\r(");
  ASSERT_NE(start, std::string_view::npos);
  std::size_t end = start + 2;
  for (int row = 0; row < 20 && end != std::string_view::npos; ++row) {
    end = text.find('\r', end);
    if (end != std::string_view::npos) ++end;
  }
  ASSERT_NE(end, std::string_view::npos);
  EXPECT_EQ(text.substr(start + 2, end - start - 2), result.display);
  EXPECT_EQ(text.find(result.display), start + 2) << "the display appears only once";
}

// The worked examples quote their inputs and the calculator's counts and PPV.
TEST(HelpTextTest, WorkedExamplesAgreeWithTheCalculation) {
  struct Example {
    const char* prevalence;
    const char* sensitivity;
    const char* specificity;
    Paragraph inputs;
    Paragraph counts;
  };
  const Example examples[] = {
      {".015", ".67", ".91", kFirstExample, kReadingTheDisplay},
      {".01", ".90", ".91", kSecondExample, kSecondExample},
  };
  const std::vector<std::string> paragraphs = Paragraphs();
  ASSERT_EQ(paragraphs.size(), static_cast<std::size_t>(kParagraphCount));
  for (const Example& example : examples) {
    SCOPED_TRACE(example.prevalence);
    const kestrova::CalculationResult result =
        Calculated(example.prevalence, example.sensitivity, example.specificity);
    const std::set<std::string> given = Numbers(paragraphs[example.inputs]);
    for (const char* input : {example.prevalence, example.sensitivity, example.specificity}) {
      EXPECT_TRUE(given.contains(input)) << input;
    }
    EXPECT_TRUE(given.contains(result.ppvText)) << result.ppvText;
    const std::set<std::string> counted = Numbers(paragraphs[example.counts]);
    for (double count : {result.truePos, result.falseNeg, result.falsePos, result.trueNeg}) {
      EXPECT_TRUE(counted.contains(Whole(count))) << Whole(count);
    }
    EXPECT_TRUE(counted.contains(result.ppvText)) << result.ppvText;
  }
}

TEST(HelpTextTest, BlocksCarryTheirSubjects) {
  struct Expectation {
    Paragraph paragraph;
    const char* phrase;
  };
  const Expectation expectations[] = {
      {kTerms, "sensitivity is the share of people with the condition"},
      {kTerms, "specificity is the share of people without the condition"},
      {kTerms, "false negatives"},
      {kTerms, "false positives"},
      {kTerms, "prevalence"},
      {kTerms, "positive predictive value"},
      {kNaturalFrequencies, "natural frequencies"},
      {kCases, "1,000 cases"},
      {kCases, "\"+\" is a true positive"},
      {kCases, "\"-\" is a false negative"},
      {kCases, "\"\u00f8\" is a false positive"},
      {kCases, "\"o\" is a true negative"},
      {kFirstExample, "bowel cancer"},
      {kReadingTheDisplay, "20 rows of 50"},
      {kSecondExample, "mammography"},
      {kNotice, "Copyright 2026 the Kestrova authors."},
      {kNotice, "may be copied"},
      {kCitation, "the Kestrova authors (2026). Kestrova [Computer software]."},
      {kDisclaimer, "warranty"},
      {kDisclaimer, "liable"},
  };
  const std::vector<std::string> paragraphs = Paragraphs();
  ASSERT_EQ(paragraphs.size(), static_cast<std::size_t>(kParagraphCount));
  EXPECT_EQ(paragraphs[kHeading], "Kestrova");
  EXPECT_EQ(paragraphs[kRuleLine], kRule);
  EXPECT_TRUE(std::all_of(paragraphs[kNotice].begin(), paragraphs[kNotice].end(), [](char c) {
    return c >= 0x20 && c < 0x7f;
  })) << "the notice is plain ASCII";
  EXPECT_TRUE(paragraphs[kDisclaimer].starts_with("Disclaimer"));
  for (const Expectation& e : expectations) {
    EXPECT_NE(paragraphs[e.paragraph].find(e.phrase), std::string::npos)
        << "paragraph " << e.paragraph << " lacks: " << e.phrase;
  }
}

TEST(HelpTextTest, SixReferencesInAlphabeticalOrderOfAuthors) {
  const std::vector<Reference> references = References();
  ASSERT_EQ(references.size(), 6u);
  for (std::size_t i = 1; i < references.size(); ++i) {
    EXPECT_LT(references[i - 1].surnames, references[i].surnames) << "reference " << i + 1;
  }
}

// Every citation in the prose names a listed reference by its first author
// (with "&" its second, with "et al." one of three or more) and year, and every
// reference is cited.
TEST(HelpTextTest, CitationsInTheProseMatchTheReferences) {
  const std::vector<Reference> references = References();
  ASSERT_EQ(references.size(), 6u);
  const std::vector<std::string> paragraphs = Paragraphs();
  ASSERT_EQ(paragraphs.size(), static_cast<std::size_t>(kParagraphCount));

  static const std::regex group("\\(([^()]*\\d{4})\\)");
  static const std::regex citation("([A-Z][a-z]+)(?: (et al\\.)| & ([A-Z][a-z]+))?, (\\d{4})");
  std::vector<bool> cited(references.size(), false);
  int citations = 0;
  for (std::size_t p = kHeading; p < kFirstReference; ++p) {
    const std::string& prose = paragraphs[p];
    for (auto g = std::sregex_iterator(prose.begin(), prose.end(), group);
         g != std::sregex_iterator(); ++g) {
      const std::string items = (*g)[1];
      std::size_t from = 0;
      while (from <= items.size()) {
        const std::size_t semicolon = std::min(items.find("; ", from), items.size());
        const std::string item = items.substr(from, semicolon - from);
        from = semicolon + 2;
        std::smatch m;
        if (!std::regex_match(item, m, citation)) {
          ADD_FAILURE() << "malformed citation: " << item;
          continue;
        }
        ++citations;
        const auto matches = [&](const Reference& r) {
          if (r.surnames.front() != m[1] || r.year != m[4]) return false;
          if (m[2].matched) return r.surnames.size() >= 3;
          if (m[3].matched) return r.surnames.size() == 2 && r.surnames[1] == m[3];
          return r.surnames.size() == 1;
        };
        const auto found = std::find_if(references.begin(), references.end(), matches);
        if (found == references.end()) {
          ADD_FAILURE() << "cites no listed reference: " << item;
        } else {
          cited[found - references.begin()] = true;
        }
      }
    }
  }
  EXPECT_GT(citations, 0);
  for (std::size_t i = 0; i < cited.size(); ++i) {
    EXPECT_TRUE(cited[i]) << "reference " << i + 1 << " is never cited";
  }
}

}  // namespace
