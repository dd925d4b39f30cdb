#pragma once
// Unit Consiste: the checks and normalisations every screen applies to what
// the user types and to what the application server answers. Nothing here
// needs a screen; the UI-bound routines live with the toolkit.

#include <string>
#include <string_view>
#include <type_traits>

#include "data/variant.h"

// The raw result of a remote call is [true, payload] on success and
// [false, "server message"] on a refusal. Returns the payload; a refusal is
// raised as Exception with the server's message unchanged, a malformed
// result as Exception saying so. `flag` and `n` are kept for the callers'
// sake only: every combination raises on refusal, so no failure can ever
// pass for a result.
Variant CheckResultServ(const Variant& result, bool flag, int n);

// True when nothing was informed: the text holds only blanks, or only blanks
// together with what an edit mask leaves behind when nothing was typed (the
// placeholder "_" and the literals "/", ".", "-", ",", ":", "(", ")"), so
// "  /  /    " and "___.___.___-__" count as empty.
bool EmptyString(std::string_view text);

// Brings a typed code to its key width (branch 4, budget 10, bank account 3,
// operator 12). Surrounding blanks are removed. A code made only of digits is
// left-padded with zeros ("1" -> "0001"), and zeros beyond the width are
// dropped ("00001" -> "0001"), because numeric keys are stored zero-filled.
// Any other code (operator names, codes with letters) is returned trimmed and
// unpadded, as it was typed. Nothing is ever cut: a code longer than its width
// stays so and simply is not found, instead of matching another code.
std::string Ajusta(std::string_view text, int width);

// Brings a registration number to its stored form in place: the digits only,
// punctuation (".", ",", "/", "-") and blanks removed. A leading "C" marks a
// number whose person type is still unknown and is dropped. Returns the
// person type followed by the stored number: "F" for 11 digits (CPF), "J" for
// 14 digits (CNPJ), and "C" for anything else, which no client matches.
std::string Ajusta_Inscricao(std::string& number);

// Edit mask for the registration number of a person type: "F" CPF, "J" CNPJ;
// empty (no mask) for any other type.
std::string PictPess(std::string_view kind);

// Edit mask of date fields.
std::string DateMask();

// Formats a stored value with an edit mask (mask;saveLiterals;blank). For a
// mask that does not store its literals, the value's characters fill the
// mask's input positions in order and the literals are put back
// ("12345678901" with the CPF mask -> "123.456.789-01"). A value whose length
// differs from the mask's input positions, or a mask that stores its
// literals, gives the value back unchanged, so nothing stored is hidden.
std::string FormatMaskText(std::string_view mask, std::string_view value);

// RoundDec(value, places): half away from zero on the decimal value, as it is
// written, not on its binary approximation (1.005 -> 1.01). It is the money
// rule of platform/data, which the application server rounds with too.
#include "data/money.h"

// Either value, as the caller's expression reads; both are evaluated.
template <class A, class B>
std::common_type_t<A, B> iif(bool condition, A a, B b) {
  if (condition) return a;
  return b;
}
