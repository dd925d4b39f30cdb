#pragma once
// Numbers and dates as the screens show and read them: the comma is the
// decimal separator and the dot groups thousands ("1.234,56"); dates are
// dd/mm/yyyy and times hh:nn:ss.

#include <optional>
#include <string>
#include <string_view>

#include "data/money.h"
#include "data/variant.h"

// --- numbers ---------------------------------------------------------------

// The platform's number-format syntax: "0" a digit always shown, "#" a digit
// shown when significant, "." the decimal point, "," anywhere groups
// thousands, quoted text and any other character are literals ("%" too: it
// does not scale). Up to three sections "positive;negative;zero"; an empty or
// missing negative section formats negatives with the first one and a "-".
// An empty format gives FloatToStr.
std::string FormatFloat(std::string_view format, double value);

// Plain text of a number, up to 15 significant digits: 1234.5 -> "1234,5".
std::string FloatToStr(double value);

// Reads a number typed with the comma as decimal separator ("-1234,56",
// "1E3"); blanks around it are ignored. No thousands separators.
std::optional<double> ParseFloat(std::string_view text);
// As ParseFloat; throws Exception "'text' não é um valor numérico válido".
double StrToFloat(std::string_view text);

// RoundDec, the rounding rule of money, lives with money.

// --- dates -----------------------------------------------------------------

bool TryEncodeDate(int year, int month, int day, DateTime& out);
// Throws Exception for a day that does not exist.
DateTime EncodeDate(int year, int month, int day);
DateTime EncodeTime(int hour, int minute, int second, int millisecond = 0);
void DecodeDate(DateTime value, int& year, int& month, int& day);
void DecodeTime(DateTime value, int& hour, int& minute, int& second, int& millisecond);
DateTime DateOf(DateTime value);  // the day without its time
bool HasTime(DateTime value);     // a time of day other than midnight

// Delphi-style patterns: d dd m mm yy yyyy h hh n nn s ss ("m" right after an
// hour means minutes), quoted literals; other characters are copied.
std::string FormatDateTime(std::string_view format, DateTime value);
std::string FormatDate(DateTime value);      // "dd/mm/yyyy"
std::string DateTimeToStr(DateTime value);   // "dd/mm/yyyy", plus " hh:nn:ss" when it has a time

// Reads "dd/mm/yyyy" (day and month of one or two digits, four-digit year),
// optionally followed by " hh:nn" or " hh:nn:ss"; blanks around are ignored.
// Days that do not exist (31/02/2027) and anything else give nullopt.
std::optional<DateTime> ParseDate(std::string_view text);
// As ParseDate; throws Exception "'text' não é uma data válida".
DateTime StrToDate(std::string_view text);
