#include "framework/values.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace fw {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Exponents and digit counts are capped far beyond any double's range, so that
// texts of any length cannot overflow the sums below.
constexpr std::int64_t kCap = 1'000'000'000'000'000;

std::int64_t Capped(std::size_t n) {
  return n > static_cast<std::size_t>(kCap) ? kCap : static_cast<std::int64_t>(n);
}

// The decimal exponent of the first significant digit of a number that
// from_chars found out of range: positive means too large, otherwise too small.
std::int64_t DecimalMagnitude(std::string_view intDigits, std::string_view fracDigits,
                              std::string_view expText) {
  std::int64_t exponent = 0;
  bool negative = false;
  std::size_t i = 0;
  if (i < expText.size() && (expText[i] == '+' || expText[i] == '-')) {
    negative = expText[i] == '-';
    ++i;
  }
  for (; i < expText.size() && exponent < kCap; ++i) exponent = exponent * 10 + (expText[i] - '0');
  if (negative) exponent = -exponent;

  const std::size_t firstInt = intDigits.find_first_not_of('0');
  if (firstInt != std::string_view::npos) return exponent + Capped(intDigits.size() - firstInt);
  const std::size_t firstFrac = fracDigits.find_first_not_of('0');
  if (firstFrac != std::string_view::npos) return exponent - Capped(firstFrac);
  return -kCap;  // all zeros cannot overflow
}

// The digits of |value| (finite) in fixed notation, in the shortest form that
// reads back as the same double.
std::string ShortestFixed(double value) {
  // Wide enough for the longest fixed form of any finite double (subnormals
  // take about 330 characters, the largest values 309).
  char buffer[std::numeric_limits<double>::max_exponent10 -
              std::numeric_limits<double>::min_exponent10 + 64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
  if (ec != std::errc()) throw RuntimeException("Format: cannot write the value");
  return std::string(buffer, end);
}

// Rounds the decimal text of |value| to `decimals` places, halves away from
// zero, giving the whole part and exactly `decimals` fraction digits. Working on
// the shortest decimal form keeps ties consistent with what the value reads as:
// 0.0075 gives .008 although the double lies a hair below the half.
void RoundDecimal(double value, std::size_t decimals, std::string& whole, std::string& fraction) {
  const std::string text = ShortestFixed(value);
  const std::size_t point = text.find('.');
  whole = text.substr(0, point);
  fraction = point == std::string::npos ? std::string() : text.substr(point + 1);

  const bool roundUp = fraction.size() > decimals && fraction[decimals] >= '5';
  fraction.resize(decimals, '0');
  if (!roundUp) return;

  // Carry through the fraction, then the whole part.
  for (std::size_t i = fraction.size(); i-- > 0;) {
    if (fraction[i] != '9') {
      ++fraction[i];
      return;
    }
    fraction[i] = '0';
  }
  for (std::size_t i = whole.size(); i-- > 0;) {
    if (whole[i] != '9') {
      ++whole[i];
      return;
    }
    whole[i] = '0';
  }
  whole.insert(whole.begin(), '1');
}

bool AllZero(std::string_view digits) {
  return digits.find_first_not_of('0') == std::string_view::npos;
}

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

double Val(std::string_view text) noexcept {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;

  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }

  const std::size_t intStart = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  const std::string_view intDigits = text.substr(intStart, pos - intStart);

  std::string_view fracDigits;
  if (pos < text.size() && text[pos] == '.') {
    const std::size_t fracStart = pos + 1;
    std::size_t end = fracStart;
    while (end < text.size() && IsDigit(text[end])) ++end;
    fracDigits = text.substr(fracStart, end - fracStart);
    pos = end;
  }
  if (intDigits.empty() && fracDigits.empty()) return 0.0;  // "", ".", "-", "+.", "abc"
  const std::size_t mantissaEnd = pos;

  // An exponent counts only with at least one digit: "1e" and "1e+" read as 1.
  std::string_view expText;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    std::size_t end = pos + 1;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
    const std::size_t digitsStart = end;
    while (end < text.size() && IsDigit(text[end])) ++end;
    if (end > digitsStart) {
      expText = text.substr(pos + 1, end - pos - 1);
      pos = end;
    }
  }
  const std::size_t numberEnd = expText.empty() ? mantissaEnd : pos;

  // from_chars takes no leading sign; the sign is applied afterwards.
  const char* first = text.data() + intStart;
  const char* last = text.data() + numberEnd;
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    value = DecimalMagnitude(intDigits, fracDigits, expText) > 0
                ? std::numeric_limits<double>::infinity()
                : 0.0;
  } else if (ec != std::errc()) {
    value = 0.0;  // cannot happen for the text checked above
  }
  (void)ptr;
  return negative ? -value : value;
}

double Round(double value) noexcept {
  return std::round(value);
}

std::string Format(double value, std::string_view mask) {
  const bool threeDecimals = mask == ".000";
  if (!threeDecimals && mask != "###") {
    throw RuntimeException("Format: unsupported mask \"" + std::string(mask) + "\"");
  }
  if (std::isnan(value)) return "n/a";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";

  std::string whole;
  std::string fraction;
  RoundDecimal(value, threeDecimals ? 3 : 0, whole, fraction);

  std::string out;
  // A value that rounds to zero carries no sign: -0.0001 is ".000", not "-.000".
  if (value < 0 && !(AllZero(whole) && AllZero(fraction))) out += '-';
  if (threeDecimals) {
    if (!AllZero(whole)) out += whole;
    out += '.';
    out += fraction;
  } else {
    out += whole;
  }
  return out;
}

std::string Chr(std::int64_t code) {
  if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
  const auto c = static_cast<std::uint32_t>(code);
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::int64_t Asc(std::string_view text) noexcept {
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  std::uint32_t code = 0;
  std::uint32_t minimum = 0;
  if (lead < 0x80) {
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    return lead;  // a stray continuation byte or an invalid lead byte
  }
  if (text.size() < length) return lead;
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!IsContinuation(byte)) return lead;
    code = (code << 6) | (byte & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return lead;
  return code;
}

}  // namespace fw
