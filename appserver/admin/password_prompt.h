#pragma once
// Reads a new password for the server's command line: from the terminal
// without echo, typed twice, or as the first line of standard input when it
// is not a terminal (scripts). Throws std::runtime_error on a mismatch or
// when nothing could be read.

#include <string>

std::string ReadNewPassword();
