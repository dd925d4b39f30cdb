#pragma once
// The ":NAME" parameters of a statement, in order of first appearance,
// ignoring what stands inside quotes and comments.

#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> SqlParamNames(std::string_view sql);
