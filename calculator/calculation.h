#pragma once
// The natural-frequency calculation: three field texts in, a refusal or a
// result out. It touches no control, so it runs and is tested without a GUI.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kestrova {

enum class InputField { Prevalence, Sensitivity, Specificity };

// The first field refused, with its message (ending in a carriage return).
struct Refusal {
  std::string message;
  InputField field;
};

struct BoldRun {
  std::int64_t start = 1;
  std::int64_t length = 0;  // never negative
};

// The counts and PPV alone, without the display or the texts.
struct Counts {
  double withCondition = 0;  // D
  double truePos = 0;        // TP
  double falseNeg = 0;       // FN
  double falsePos = 0;       // FP
  double trueNeg = 0;        // TN
  double posPredValue = 0;   // PPV
};

// The counts with what the window shows of them.
struct CalculationResult : Counts {
  std::string display;  // 20 rows of 50 case symbols, each row ended by CR
  // The display as the pieces in which it is written ("(", each symbol, ")",
  // each CR: 1,022 of them), views of static text.
  std::vector<std::string_view> displayPieces;
  BoldRun bold;
  std::string ppvText;       // Format(PPV, ".000")
  std::string fractionText;  // "TP ÷ (TP + FP)"
};

using Outcome = std::variant<Refusal, CalculationResult>;

// The message for a refused field, with its trailing carriage return.
std::string RefusalMessage(InputField field);

// Validates the texts in field order, then computes the counts, the display
// and the result texts.
Outcome Calculate(std::string_view prevalence, std::string_view sensitivity,
                  std::string_view specificity);

// The counts and texts for values that have already passed validation.
// Throws fw::RuntimeException for a value outside (0, 1).
CalculationResult Compute(double prevalence, double sensitivity, double specificity);

// The counts alone, by the same arithmetic as Compute; no check of the values.
Counts ComputeCounts(double prevalence, double sensitivity, double specificity) noexcept;

}  // namespace kestrova
