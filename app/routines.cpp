#include "app/routines.h"

#include <QCoreApplication>
#include <QTime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// 18 significant digits: what the old extended-precision conversion kept.
constexpr int kSignificant = 18;
constexpr int kMaxDecimals = 18;

// Fixed-point text of |value| with `digits` decimals, rounded half away from
// zero on its 18-significant-digit expansion. Sets *negative only when the
// rounded text is not zero, so callers never show "-0.00".
std::string fixedText(int digits, double value, bool *negative) {
    *negative = false;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.*e", kSignificant - 1, std::fabs(value));
    // buf = "d.ddddddddddddddddde[+-]xx"
    std::string mantissa;
    mantissa.reserve(kSignificant);
    mantissa += buf[0];
    mantissa.append(buf + 2, kSignificant - 1);
    const int exponent = std::atoi(buf + kSignificant + 2);

    // Number of digits of `mantissa` that stay before the rounding position.
    const int kept = exponent + 1 + digits;
    std::string units;  // the result as a count of 10^-digits
    if (kept >= kSignificant) {
        units = mantissa + std::string(kept - kSignificant, '0');
    } else if (kept < 0) {
        units = "0";
    } else {
        units = mantissa.substr(0, kept);
        if (mantissa[kept] >= '5') {
            int i = kept - 1;
            for (; i >= 0 && units[i] == '9'; --i) units[i] = '0';
            if (i < 0)
                units.insert(units.begin(), '1');
            else
                ++units[i];
        }
        if (units.empty()) units = "0";
    }

    if (units.size() < static_cast<size_t>(digits) + 1)
        units.insert(0, digits + 1 - units.size(), '0');
    if (digits > 0) units.insert(units.size() - digits, 1, '.');
    *negative = std::signbit(value) && units.find_first_not_of("0.") != std::string::npos;
    return units;
}

int clampDigits(int digits) {
    return digits < 0 ? 0 : (digits > kMaxDecimals ? kMaxDecimals : digits);
}

}  // namespace

QString FixedDecimalText(int digits, double value) {
    if (!std::isfinite(value)) return QString::number(value);
    bool negative = false;
    const std::string text = fixedText(clampDigits(digits), value, &negative);
    return (negative ? QStringLiteral("-") : QString()) + QString::fromLatin1(text);
}

double RoundDecimals(int digits, double value) {
    if (!std::isfinite(value)) return value;
    digits = clampDigits(digits);
    bool negative = false;
    const std::string text = fixedText(digits, value, &negative);
    const double magnitude = std::strtod(text.c_str(), nullptr);
    // A zero result is always +0, whatever the sign of the input.
    if (magnitude == 0) return 0.0;
    return negative ? -magnitude : magnitude;
}

void TrimMemory() {
    try {
#ifdef __GLIBC__
        malloc_trim(0);
#endif
        if (QCoreApplication::instance()) QCoreApplication::processEvents();
    } catch (...) {
        // Housekeeping only: nothing here may break the caller's flow.
    }
}

QString CurrentTimeText() { return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")); }
