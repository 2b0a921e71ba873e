// The embedded help text: its encoding and line breaks, its layout, the example
// display against the calculation, the worked numbers, and the reading list.

#include "resources/help_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <optional>
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

// Small scanners over a string_view: each one that matches drops what it
// matched from the front of the view, and one that fails leaves the view alone.
// ASCII classes only, so that UTF-8 bytes never count as letters or digits.
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsUpper(char c) {
  return c >= 'A' && c <= 'Z';
}
bool IsLower(char c) {
  return c >= 'a' && c <= 'z';
}

bool Skip(std::string_view& s, std::string_view prefix) {
  if (!s.starts_with(prefix)) return false;
  s.remove_prefix(prefix.size());
  return true;
}

// The longest run, up to `limit` characters, of characters that are `is`.
std::string_view TakeWhile(std::string_view& s, bool (*is)(char),
                           std::size_t limit = std::string_view::npos) {
  std::size_t n = 0;
  while (n < s.size() && n < limit && is(s[n])) ++n;
  const std::string_view run = s.substr(0, n);
  s.remove_prefix(n);
  return run;
}

// Exactly four digits, as a year is written; empty otherwise.
std::string_view TakeYear(std::string_view& s) {
  std::string_view rest = s;
  const std::string_view year = TakeWhile(rest, IsDigit, 4);
  if (year.size() != 4) return {};
  s = rest;
  return year;
}

// A capital and then lower-case letters, "Eddy"; empty otherwise.
std::string_view TakeWord(std::string_view& s) {
  if (s.size() < 2 || !IsUpper(s[0]) || !IsLower(s[1])) return {};
  std::string_view rest = s.substr(1);
  TakeWhile(rest, IsLower);
  const std::string_view word = s.substr(0, s.size() - rest.size());
  s = rest;
  return word;
}

// A point and at least one digit: ".101".
bool SkipFraction(std::string_view& s) {
  if (s.size() < 2 || s[0] != '.' || !IsDigit(s[1])) return false;
  s.remove_prefix(1);
  TakeWhile(s, IsDigit);
  return true;
}

// A comma and three digits: ",000". A fourth digit may follow; it starts a
// number of its own.
bool SkipThousands(std::string_view& s) {
  if (s.size() < 4 || s[0] != ',' || !std::all_of(s.begin() + 1, s.begin() + 4, IsDigit)) {
    return false;
  }
  s.remove_prefix(4);
  return true;
}

// The numbers written in a text: "1,000", ".101", "89". Each is read as far as
// it goes, and the search goes on after it.
std::set<std::string> Numbers(std::string_view text) {
  std::set<std::string> found;
  std::size_t start = 0;
  while (start < text.size()) {
    std::string_view rest = text.substr(start);
    if (!TakeWhile(rest, IsDigit).empty()) {
      while (SkipThousands(rest)) {
      }
      SkipFraction(rest);
    } else if (!SkipFraction(rest)) {
      ++start;
      continue;
    }
    const std::size_t end = text.size() - rest.size();
    found.emplace(text.substr(start, end - start));
    start = end;
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

// Pages at the start of `s` and the full stop after them: "53-96." or
// "(pp. 249-267).", the bracket and the "pp. " each optional.
bool StartsWithPages(std::string_view s) {
  Skip(s, "(");
  Skip(s, "pp. ");
  if (TakeWhile(s, IsDigit).empty() || !Skip(s, "-") || TakeWhile(s, IsDigit).empty()) {
    return false;
  }
  Skip(s, ")");
  return s.starts_with('.');
}

// A title and a source: some text, then a space and the pages.
bool IsTitleAndSource(std::string_view s) {
  for (std::size_t space = s.find(' ', 1); space != std::string_view::npos;
       space = s.find(' ', space + 1)) {
    if (StartsWithPages(s.substr(space + 1))) return true;
  }
  return false;
}

// One initial, "W." or "W. ".
bool SkipInitial(std::string_view& s) {
  if (s.size() < 2 || !IsUpper(s[0]) || s[1] != '.') return false;
  s.remove_prefix(2);
  Skip(s, " ");
  return true;
}

// An author, "Kurz-Milcke, E." or "Graboys, T. B. ", and its surname; empty
// when `s` does not start with one.
std::string_view TakeAuthor(std::string_view& s) {
  std::string_view rest = s;
  if (TakeWord(rest).empty()) return {};
  std::string_view barrel = rest;
  if (Skip(barrel, "-") && !TakeWord(barrel).empty()) rest = barrel;
  const std::string_view surname = s.substr(0, s.size() - rest.size());
  if (!Skip(rest, ", ") || !SkipInitial(rest)) return {};
  while (SkipInitial(rest)) {
  }
  s = rest;
  return surname;
}

std::optional<Reference> ParseReference(std::string_view line) {
  // One line: authors, (year), then a title and a source ending in pages with
  // a hyphen. The authors end at the first " (year). " that such a rest follows.
  if (line.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
  for (std::size_t open = line.find(" (", 1); open != std::string_view::npos;
       open = line.find(" (", open + 1)) {
    std::string_view rest = line.substr(open + 2);
    const std::string_view year = TakeYear(rest);
    if (year.empty() || !Skip(rest, "). ") || !IsTitleAndSource(rest)) continue;
    Reference reference{{}, std::string(year)};
    // Surnames are looked for anywhere in the authors, skipping what is not one.
    std::string_view authors = line.substr(0, open);
    while (!authors.empty()) {
      const std::string_view surname = TakeAuthor(authors);
      if (surname.empty()) {
        authors.remove_prefix(1);
      } else {
        reference.surnames.emplace_back(surname);
      }
    }
    if (reference.surnames.empty()) return std::nullopt;
    return reference;
  }
  return std::nullopt;
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

// What is inside each bracket that holds no other bracket and ends in a year:
// "Eddy, 1982" from "(Eddy, 1982)".
std::vector<std::string_view> YearBrackets(std::string_view prose) {
  std::vector<std::string_view> found;
  for (std::size_t open = prose.find('('); open != std::string_view::npos;
       open = prose.find('(', open + 1)) {
    const std::size_t close = prose.find_first_of("()", open + 1);
    if (close == std::string_view::npos || prose[close] != ')') continue;
    const std::string_view inside = prose.substr(open + 1, close - open - 1);
    if (inside.size() >= 4 && std::all_of(inside.end() - 4, inside.end(), IsDigit)) {
      found.push_back(inside);
    }
  }
  return found;
}

// "Eddy, 1982", "Gigerenzer & Hoffrage, 1995" or "Hoffrage et al., 2000".
struct Citation {
  std::string_view first;
  bool etAl = false;
  std::string_view second;  // empty unless two authors are named
  std::string_view year;
};

std::optional<Citation> ParseCitation(std::string_view item) {
  Citation citation;
  citation.first = TakeWord(item);
  if (citation.first.empty()) return std::nullopt;
  if (Skip(item, " et al.")) {
    citation.etAl = true;
  } else if (Skip(item, " & ")) {
    citation.second = TakeWord(item);
    if (citation.second.empty()) return std::nullopt;
  }
  if (!Skip(item, ", ")) return std::nullopt;
  citation.year = TakeYear(item);
  if (citation.year.empty() || !item.empty()) return std::nullopt;
  return citation;
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

  std::vector<bool> cited(references.size(), false);
  int citations = 0;
  for (std::size_t p = kHeading; p < kFirstReference; ++p) {
    for (const std::string_view items : YearBrackets(paragraphs[p])) {
      std::size_t from = 0;
      while (from <= items.size()) {
        const std::size_t semicolon = std::min(items.find("; ", from), items.size());
        const std::string_view item = items.substr(from, semicolon - from);
        from = semicolon + 2;
        const std::optional<Citation> c = ParseCitation(item);
        if (!c) {
          ADD_FAILURE() << "malformed citation: " << item;
          continue;
        }
        ++citations;
        const auto matches = [&](const Reference& r) {
          if (r.surnames.front() != c->first || r.year != c->year) return false;
          if (c->etAl) return r.surnames.size() >= 3;
          if (!c->second.empty()) return r.surnames.size() == 2 && r.surnames[1] == c->second;
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
