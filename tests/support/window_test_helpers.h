#pragma once
// Helpers for the application's window tests: counting window builds in the
// runtime's trace, waiting on the event loop, a watch that closes any
// unhandled-exception report so that a fault fails a test instead of hanging
// it, comparisons of applied property lists with expected tables, and the
// lines a text area draws, read off a grab of its window.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QStyle>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "framework/controls.h"
#include "framework/properties.h"
#include "framework/runtime.h"
#include "tests/support/modal_guard.h"

namespace kestrova::testing {

// How many windows of that registered class were built since the last reset.
inline int Constructions(std::string_view registeredName) {
  const std::string line = "Window.Constructor " + std::string(registeredName);
  const auto& trace = fw::RuntimeTrace();
  return static_cast<int>(std::count(trace.begin(), trace.end(), line));
}

// Runs the event loop until condition holds or the time is up.
inline bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 10) {
    if (condition()) return true;
    QTest::qWait(10);
  }
  return condition();
}

// Closes and counts every modal dialog that opens while it lives.
class ModalWatch {
 public:
  ModalWatch() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        ++seen_;
        dialog->reject();
      }
    });
    timer_.start(20);
  }
  int Seen() const { return seen_; }

 private:
  ExpectModalBoxes expected_;
  QTimer timer_;
  int seen_ = 0;
};

// A value with the name of its type, for failure messages: an int64 500 and a
// double 500 must not read alike.
inline std::string Describe(const fw::PropertyValue& value) {
  std::ostringstream out;
  std::visit(
      [&out](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::int64_t>) {
          out << "int64 " << v;
        } else if constexpr (std::is_same_v<T, bool>) {
          out << "bool " << (v ? "true" : "false");
        } else if constexpr (std::is_same_v<T, std::string>) {
          constexpr std::size_t kShown = 40;
          out << "string \"";
          for (char c : v.substr(0, kShown))
            out << (c == '\r' ? std::string("\\r") : std::string(1, c));
          out << (v.size() > kShown ? "...\" (" + std::to_string(v.size()) + " bytes)" : "\"");
        } else if constexpr (std::is_same_v<T, fw::Color>) {
          out << "Color" << std::hex << std::setfill('0');
          for (int byte : {v.red, v.green, v.blue, v.alpha}) out << ' ' << std::setw(2) << byte;
        } else if constexpr (std::is_same_v<T, float>) {
          out << "float " << v;
        } else if constexpr (std::is_same_v<T, double>) {
          out << "double " << v;
        } else {
          static_assert(std::is_same_v<T, fw::FontUnit>, "a value type without a description");
          out << "FontUnit " << static_cast<int>(v);
        }
      },
      value);
  return out.str();
}

inline std::string Describe(const fw::Property& property) {
  return property.name + " = " + Describe(property.value);
}

// Whether actual holds exactly the expected entries in the same order: names,
// values and value types alike.
inline ::testing::AssertionResult SameEntriesInOrder(const fw::PropertyList& actual,
                                                     const fw::PropertyList& expected) {
  std::ostringstream faults;
  for (std::size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
    if (i >= actual.size()) {
      faults << "\n  entry " << i << " missing: " << Describe(expected[i]);
    } else if (i >= expected.size()) {
      faults << "\n  entry " << i << " unexpected: " << Describe(actual[i]);
    } else if (actual[i].name != expected[i].name || !(actual[i].value == expected[i].value)) {
      faults << "\n  entry " << i << " is " << Describe(actual[i]) << ", expected "
             << Describe(expected[i]);
    }
  }
  if (faults.str().empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << actual.size() << " entries, " << expected.size() << " expected:" << faults.str();
}

// Whether actual holds each expected entry exactly once, with its value and
// value type, and no entry that is not expected; the order is free.
inline ::testing::AssertionResult SameEntriesAnyOrder(const fw::PropertyList& actual,
                                                      const fw::PropertyList& expected) {
  std::ostringstream faults;
  for (const fw::Property& want : expected) {
    const auto named = [&want](const fw::Property& p) { return p.name == want.name; };
    const auto count = std::count_if(actual.begin(), actual.end(), named);
    if (count != 1) {
      faults << "\n  " << want.name << " applied " << count << " times";
      continue;
    }
    const fw::Property& got = *std::find_if(actual.begin(), actual.end(), named);
    if (!(got.value == want.value)) {
      faults << "\n  " << Describe(got) << ", expected " << Describe(want.value);
    }
  }
  for (const fw::Property& got : actual) {
    if (std::none_of(expected.begin(), expected.end(),
                     [&got](const fw::Property& p) { return p.name == got.name; })) {
      faults << "\n  unexpected " << Describe(got);
    }
  }
  if (faults.str().empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << faults.str();
}

// A control's applied entries after the Name that registering it with its
// window sets first; fails the test when that leading entry is not there.
inline fw::PropertyList OwnEntries(const fw::Control& control) {
  const fw::PropertyList& applied = control.AppliedProperties();
  if (applied.empty()) {
    ADD_FAILURE() << control.Name() << " has no applied entries";
    return {};
  }
  EXPECT_EQ(Describe(applied.front()), Describe(fw::Property("Name", control.Name())));
  return {applied.begin() + 1, applied.end()};
}

// The lines of text that a text area draws, read off a grab of its window.
struct DrawnLines {
  int lines = 0;
  // The rightmost viewport column drawn in them; -1 if nothing is drawn.
  int rightmostInk = -1;
  int viewportWidth = 0;
};

// Counts the runs of pixel rows between top and bottom (viewport coordinates)
// in which the area's viewport draws anything but its background: one run a
// line of text, for text whose lines stand apart (no glyph reaches into the
// next).
inline DrawnLines DrawnLinesOf(QWidget* window, const QTextEdit& edit, int top, int bottom) {
  const QImage shot = window->grab().toImage();
  const QWidget* viewport = edit.viewport();
  const QPoint origin = viewport->mapTo(window, QPoint(0, 0));
  const QColor background = edit.palette().color(QPalette::Base);
  DrawnLines drawn;
  drawn.viewportWidth = viewport->width();
  bool inLine = false;
  for (int y = std::max(top, 0); y <= std::min(bottom, viewport->height() - 1); ++y) {
    bool ink = false;
    for (int x = 0; x < viewport->width(); ++x) {
      if (shot.pixelColor(origin + QPoint(x, y)) == background) continue;
      ink = true;
      drawn.rightmostInk = std::max(drawn.rightmostInk, x);
    }
    if (ink && !inLine) ++drawn.lines;
    inLine = ink;
  }
  return drawn;
}

// The runs under another Qt style (QT_STYLE_OVERRIDE) and under full font
// hinting (KESTROVA_FULL_HINTING, with a fontconfig file that asks for it)
// must have them in force, or they would pass for the wrong reason. Full
// hinting rounds the advances of font, asked for with the default hinting, to
// whole pixels.
inline void ExpectTheRunsStyleAndHinting(QFont font) {
  if (const char* style = std::getenv("QT_STYLE_OVERRIDE")) {
    EXPECT_EQ(QApplication::style()->name().toStdString(),
              QString::fromUtf8(style).toLower().toStdString());
  }
  if (std::getenv("KESTROVA_FULL_HINTING")) {
    font.setHintingPreference(QFont::PreferDefaultHinting);
    const qreal advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('o'));
    EXPECT_EQ(advance, std::round(advance)) << "full hinting is not in force";
  }
}

}  // namespace kestrova::testing
