#pragma once

#include <QString>

// Money rounding as the shop's programs have always done it: the value is
// taken to 18 significant digits, then rounded half away from zero at
// `digits` decimals (so 2.675, stored just below, gives 2.67).
double RoundDecimals(int digits, double value);

// The fixed-point text RoundDecimals works through, with '.' as the decimal
// point and no padding ("-1234.57"; never "-0.00"). Display code builds on it
// so screens show the same digits the stored values get.
QString FixedDecimalText(int digits, double value);

// Returns freed heap to the system, then lets pending events run once.
void TrimMemory();

// Current time of day as text, "HH:mm:ss".
QString CurrentTimeText();
