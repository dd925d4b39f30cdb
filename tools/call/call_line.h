#pragma once
// One call written as a line of text, as dxr10900-call reads them from
// standard input: the method and its arguments separated by blanks, as a
// shell would split them ('single quotes' keep everything, "double quotes"
// allow \" and \\). A blank line or one starting with # holds no call.
// Thread-safe (no state).

#include <stdexcept>
#include <string>
#include <vector>

class CallLineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The words of `line`; empty for a line without a call. Throws
// CallLineError for an unclosed quote.
std::vector<std::string> SplitCallLine(const std::string& line);
