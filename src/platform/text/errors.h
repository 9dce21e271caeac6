// Error types carrying the system's messages (GBK text).
#pragma once

#include <stdexcept>
#include <string>

namespace orlu {

// Base of every error the system raises and the application object shows.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// "List index out of bounds (%d)"
class ListIndexError : public Error {
 public:
  explicit ListIndexError(long long index);
};

// A number box that holds no whole number: “%s”不是有效的整数 (the text named).
class ConvertError : public Error {
 public:
  explicit ConvertError(const std::string& text);
};

// "Cannot create file %s", "Cannot open file %s", "Unable to write to %s".
class FileError : public Error {
 public:
  using Error::Error;
};

}  // namespace orlu
