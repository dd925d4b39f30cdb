#pragma once
// The ":NAME" parameters of a statement, ignoring what stands inside quotes
// and comments: their names, and the statement rewritten for databases that
// number their parameters ($1, $2, ...).

#include <string>
#include <string_view>
#include <vector>

// What a name is looked up by: parameters and fields match whatever the case
// of their letters, so the key is the name in upper case.
std::string SqlParamKey(std::string_view name);

// Each name once, in order of first appearance.
std::vector<std::string> SqlParamNames(std::string_view sql);

// The statement with every ":NAME" replaced by "$n", where n is the name's
// 1-based place in SqlParamNames (a name used twice gets the same number).
std::string SqlWithNumberedParams(std::string_view sql);
