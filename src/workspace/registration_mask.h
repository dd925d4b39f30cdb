#pragma once
// Registration numbers (CPF, CNPJ) as the lists show them: the stored
// characters laid into the mask of the party's person type.

#include <string>
#include <string_view>

namespace workspace {

inline constexpr std::string_view kCpfMask = "999.999.999-99";       // person type "F"
inline constexpr std::string_view kCnpjMask = "99.999.999/9999-99";  // person type "J"

// The mask of a person type; other types have none and show the number as
// stored.
std::string_view RegistrationMask(std::string_view personType);

// Lays `raw` into `mask`: each placeholder (9 0 # a A l L c C) takes the next
// character of `raw`, every other mask character is inserted as it is. A
// value that does not fill the placeholders exactly is shown as stored, so
// nothing stored is hidden or misplaced.
std::string ApplyMask(std::string_view mask, std::string_view raw);

// The registration number as shown for its person type.
std::string FormatRegistration(std::string_view number, std::string_view personType);

}  // namespace workspace
