#pragma once
// The two fixed statements on the branch table, line by line as the screen
// sets them on its queries.

#include <string>
#include <vector>

namespace FilialStatements {

// Every branch, by code (the branch search list).
inline const std::vector<std::string> qryFilial = {
    "SELECT CDFILIAL, NMFILIAL",
    "  FROM FILIAL",
    " ORDER BY CDFILIAL",
};

// One branch by its code, parameter P_CDFILIAL (the branch check).
inline const std::vector<std::string> qryPesqFilial = {
    "SELECT CDFILIAL, NMFILIAL",
    "  FROM FILIAL",
    " WHERE CDFILIAL = :P_CDFILIAL",
};

inline constexpr const char* kParamCdFilial = "P_CDFILIAL";

}  // namespace FilialStatements
