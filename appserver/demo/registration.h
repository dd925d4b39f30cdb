#pragma once
// Brazilian registration numbers with valid check digits, for demo clients.

#include <string>

// 9 digits -> the 11-digit CPF.
std::string MakeCpf(const std::string& base9);
// 12 digits -> the 14-digit CNPJ.
std::string MakeCnpj(const std::string& base12);
