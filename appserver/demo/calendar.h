#pragma once
// Civil dates as the packets carry them: days since 30/12/1899.

double DateDays(int year, int month, int day);
// The same day `months` months later (the day clamped to the month's end).
double AddMonths(int year, int month, int day, int months);
