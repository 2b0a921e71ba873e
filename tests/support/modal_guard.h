#pragma once
// Modal boxes in the GUI tests. The shared test main closes at once any modal
// box that opens while no test expects one and fails the running test with
// its text: nothing else would close it, and the test would wait out its time
// limit.

namespace kestrova::testing {

// While one lives, modal boxes are expected: the test reads and closes them.
class ExpectModalBoxes {
 public:
  ExpectModalBoxes() { ++Count(); }
  ~ExpectModalBoxes() { --Count(); }
  ExpectModalBoxes(const ExpectModalBoxes&) = delete;
  ExpectModalBoxes& operator=(const ExpectModalBoxes&) = delete;
  static bool Any() { return Count() > 0; }

 private:
  static int& Count() {
    static int count = 0;
    return count;
  }
};

}  // namespace kestrova::testing
