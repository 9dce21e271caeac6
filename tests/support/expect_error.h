// Expects a call to raise an error of type E carrying exactly `message`.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace orlu::test {

template <typename E, typename F>
void ExpectError(F&& f, const std::string& message) {
  try {
    f();
    ADD_FAILURE() << "no error, expected: " << message;
  } catch (const E& e) {
    EXPECT_EQ(std::string(e.what()), message);
  }
}

}  // namespace orlu::test
