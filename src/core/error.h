#pragma once
// The one exception type of the program: an engine or conversion failure that
// an operation does not handle itself. It carries the text the user sees; the
// central handler of the window layer shows it in the standard error box.

#include <stdexcept>
#include <string>

namespace core {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace core
