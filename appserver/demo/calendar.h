#pragma once
// Civil dates as the packets carry them: days since 30/12/1899.

double DateDays(int y, int m, int d);
// The same day `count` months later (the day clamped to the month's end).
double AddMonths(int y, int m, int d, int count);
