#pragma once

namespace orlu {

// Raises a job's "starting" flag for as long as a start runs and lowers it on
// every way out, a thrown exception included. A start that waits for old
// workers serves the window's events meanwhile; a second press then sees the
// flag and is turned away.
class StartGuard {
 public:
  explicit StartGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~StartGuard() { flag_ = false; }
  StartGuard(const StartGuard&) = delete;
  StartGuard& operator=(const StartGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace orlu
