// A scenario that cannot be read: what is wrong and where (line and column, from 1).
#pragma once

#include <stdexcept>
#include <string>

namespace kiposim {

class ScenarioError : public std::runtime_error {
  public:
    ScenarioError(int line, int column, const std::string& message)
        : std::runtime_error(message), line_(line), column_(column) {}

    int Line() const { return line_; }
    int Column() const { return column_; }

    // "NAME:LINE:COLUMN: message", the form compilers use, so editors can jump to it.
    std::string Describe(const std::string& fileName) const {
        return fileName + ":" + std::to_string(line_) + ":" + std::to_string(column_) + ": " +
               what();
    }

  private:
    int line_;
    int column_;
};

} // namespace kiposim
