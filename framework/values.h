#pragma once
// The value part of the runtime: text and number helpers and the exception
// kinds. Plain C++ with no GUI library, so that the calculation and its tests
// build and run without one. None of it depends on the process locale.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace fw {

// Failures inside the runtime. They pass up unchanged to the unhandled-exception
// report; user-input errors are never raised as exceptions.
class RuntimeException : public std::runtime_error {
 public:
  explicit RuntimeException(const std::string& message) : std::runtime_error(message) {}
  // The kind's name, as the unhandled-exception report shows it.
  virtual std::string_view Kind() const noexcept { return "RuntimeException"; }
};

class NilObjectException : public RuntimeException {
 public:
  explicit NilObjectException(const std::string& message) : RuntimeException(message) {}
  std::string_view Kind() const noexcept override { return "NilObjectException"; }
};

class IllegalCastException : public RuntimeException {
 public:
  explicit IllegalCastException(const std::string& message) : RuntimeException(message) {}
  std::string_view Kind() const noexcept override { return "IllegalCastException"; }
};

// The value of the longest leading decimal number of text (optional sign,
// digits, one decimal point, optional exponent); 0 where there is none.
// Overflow saturates to infinity.
double Val(std::string_view text) noexcept;

// The nearest whole number, halves away from zero.
double Round(double value) noexcept;

// Writes value under a mask. ".000": three decimals, no "0" before the point
// below 1 (".500", "1.000"); "###": the whole number without leading zeros,
// 0 as "0". Not a number is written "n/a".
std::string Format(double value, std::string_view mask);

// The UTF-8 text of one Unicode code point (empty for an invalid one).
std::string Chr(std::int64_t code);

// The code point of text's first character; 0 for an empty text.
std::int64_t Asc(std::string_view text) noexcept;

// Called once per pass of a long loop. Nothing runs in the background here.
inline void RuntimeBackgroundTask() noexcept {}

}  // namespace fw
