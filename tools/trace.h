#pragma once
// spring-pendulum-trace: the model without a window. It prints a run as CSV or the
// characteristics of a parameter set, for teachers' worksheets and for checking the model.

#include <iosfwd>
#include <span>
#include <string_view>

namespace sp::trace {

// Exit statuses.
inline constexpr int kOk = 0;
inline constexpr int kBadInput = 2;
inline constexpr int kRunCutShort = 3;  // the motion left the doubles, or time stopped advancing
inline constexpr int kCannotWrite = 4;  // a picture could not be written

// Runs the tool on its arguments (without the program name). A sweep shows its progress on
// `err` when that is std::cerr and standard error is a terminal.
int run(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

}  // namespace sp::trace
