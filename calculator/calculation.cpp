#include "calculator/calculation.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

#include "framework/values.h"

namespace kestrova {

namespace {

constexpr int kCases = 1000;
constexpr int kRowLength = 50;

constexpr std::string_view kTrueNegative = "o ";
constexpr std::string_view kTruePositive = "+ ";
constexpr std::string_view kFalseNegative = "- ";
constexpr std::string_view kLastFalseNegative = "-";
constexpr std::string_view kFalsePositive = "\u00F8 ";  // "ø "
constexpr std::string_view kOpen = "(";
constexpr std::string_view kClose = ")";
constexpr std::string_view kLineEnd = "\r";

// Every case, both parentheses and one line end per row.
constexpr std::size_t kPieces = kCases + 2 + kCases / kRowLength;

// Element 0 is unused so that case i lives at index i.
using CaseSymbols = std::array<std::string_view, kCases + 1>;

// Counts are whole numbers held as doubles; an index is the double truncated.
// Indices outside the cases are ignored, although validated input never makes one.
void SetSymbol(CaseSymbols& symbols, double index, std::string_view symbol) {
  const double whole = std::trunc(index);
  if (whole >= 1 && whole <= kCases) symbols[static_cast<std::size_t>(whole)] = symbol;
}

void FillSymbols(const Counts& counts, CaseSymbols& symbols) {
  for (int i = 1; i <= kCases; ++i) {
    symbols[static_cast<std::size_t>(i)] = kTrueNegative;
    fw::RuntimeBackgroundTask();
  }
  const double tp = counts.truePos;
  const double fn = counts.falseNeg;
  const double fp = counts.falsePos;
  for (double i = 1; i <= tp; ++i) {
    SetSymbol(symbols, i, kTruePositive);
    fw::RuntimeBackgroundTask();
  }
  for (double i = 1; i <= fn; ++i) {
    SetSymbol(symbols, i + tp, kFalseNegative);
    fw::RuntimeBackgroundTask();
  }
  if (fn >= 1) SetSymbol(symbols, counts.withCondition, kLastFalseNegative);
  for (double i = 1; i <= fp; ++i) {
    SetSymbol(symbols, i + tp + fn, kFalsePositive);
    fw::RuntimeBackgroundTask();
  }
}

// Lists the pieces in the order the window appends them and spells them out in
// one pass. Both sizes are known up front, so nothing grows while writing.
void WriteDisplay(const CaseSymbols& symbols, double withCondition, CalculationResult& result) {
  auto& pieces = result.displayPieces;
  pieces.clear();
  pieces.reserve(kPieces);
  std::size_t bytes = 0;
  const auto append = [&](std::string_view piece) {
    pieces.push_back(piece);
    bytes += piece.size();
  };
  // A whole number from 0 to 1000, so the comparison below can be on ints.
  const int d = static_cast<int>(withCondition);

  int rowCount = 0;
  for (int i = 1; i <= kCases; ++i) {
    ++rowCount;
    if (i == 1) {
      append(kOpen);
      // With no case that has the condition the parentheses enclose nothing.
      if (d < 1) append(kClose);
    }
    append(symbols[static_cast<std::size_t>(i)]);
    if (i == d) append(kClose);
    if (rowCount == kRowLength) {
      append(kLineEnd);
      rowCount = 0;
    }
    fw::RuntimeBackgroundTask();
  }

  result.display.resize(bytes);
  char* out = result.display.data();
  for (const std::string_view piece : pieces) {
    // Pieces are one to three bytes: a plain loop beats a call to memcpy.
    for (const char c : piece) *out++ = c;
  }
}

}  // namespace

std::string RefusalMessage(InputField field) {
  std::string message;
  switch (field) {
    case InputField::Prevalence:
      message = "Enter prevalence rate of >.000 and less than 1.";
      break;
    case InputField::Sensitivity:
      message = "Enter sensitivity of >.000 and less than 1.";
      break;
    case InputField::Specificity:
      message = "Enter specifity of >.000 and less than 1.";
      break;
  }
  message += kLineEnd;
  return message;
}

Counts ComputeCounts(double prevalence, double sensitivity, double specificity) noexcept {
  // The order of the products is part of the result: 45 * 0.7 rounds to 31
  // only because the double product falls just below 31.5.
  Counts c;
  c.withCondition = fw::Round(1000.0 * prevalence);
  c.truePos = fw::Round(c.withCondition * sensitivity);
  c.trueNeg = fw::Round((1000.0 - c.withCondition) * specificity);
  c.falseNeg = c.withCondition - c.truePos;
  c.falsePos = (1000.0 - c.withCondition) - c.trueNeg;
  c.posPredValue = c.truePos / (c.truePos + c.falsePos);
  return c;
}

CalculationResult Compute(double prevalence, double sensitivity, double specificity) {
  const auto inRange = [](double v) { return v > 0.0 && v < 1.0; };
  if (!inRange(prevalence) || !inRange(sensitivity) || !inRange(specificity)) {
    throw fw::RuntimeException(
        "Compute: prevalence, sensitivity and specificity must lie in (0, 1)");
  }

  const Counts counts = ComputeCounts(prevalence, sensitivity, specificity);
  CalculationResult result;
  static_cast<Counts&>(result) = counts;

  CaseSymbols symbols;
  FillSymbols(counts, symbols);
  WriteDisplay(symbols, counts.withCondition, result);

  // 2D - 2 characters from just after "(": short of the D-th symbol, never negative.
  const double boldLength = std::trunc(2.0 * counts.withCondition - 2.0);
  result.bold = BoldRun{1, boldLength > 0 ? static_cast<std::int64_t>(boldLength) : 0};

  result.ppvText = fw::Format(counts.posPredValue, ".000");
  const std::string tp = fw::Format(counts.truePos, "###");
  result.fractionText = tp + " \u00F7 (" + tp + " + " + fw::Format(counts.falsePos, "###") + ")";
  return result;
}

Outcome Calculate(std::string_view prevalence, std::string_view sensitivity,
                  std::string_view specificity) {
  const std::array<std::string_view, 3> texts{prevalence, sensitivity, specificity};
  constexpr std::array<InputField, 3> fields{InputField::Prevalence, InputField::Sensitivity,
                                             InputField::Specificity};
  std::array<double, 3> values{};
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (texts[i].empty()) return Refusal{RefusalMessage(fields[i]), fields[i]};
    values[i] = fw::Val(texts[i]);
    if (values[i] <= 0.0 || values[i] >= 1.0) return Refusal{RefusalMessage(fields[i]), fields[i]};
  }
  return Compute(values[0], values[1], values[2]);
}

}  // namespace kestrova
