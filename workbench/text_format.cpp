#include "workbench/text_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vesk {

namespace {

std::string PadLeft(std::string text, int width) {
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

// The decimal expansion of a non-negative finite value: its significant digits and the position
// of the decimal point counted from the first digit (digits "125", point 0 means 0.125).
struct TExpansion {
    std::string Digits;
    int Point = 0;
};

// glibc's printf rounds the exact binary value correctly (to nearest, ties to even) at the
// requested digit; only the digits and the exponent are taken from its text, so the locale's
// decimal separator never matters.
TExpansion Expand(long double magnitude) {
    char buffer[128];
    TExpansion e;
    if (magnitude < 10.0L) {
        std::snprintf(buffer, sizeof buffer, "%.17Lf", magnitude);
        bool seenPoint = false;
        for (const char* p = buffer; *p != '\0'; ++p) {
            if (*p >= '0' && *p <= '9') {
                e.Digits.push_back(*p);
                if (!seenPoint) ++e.Point;
            } else {
                seenPoint = true;
            }
        }
    } else {
        std::snprintf(buffer, sizeof buffer, "%.17Le", magnitude);
        const char* p = buffer;
        for (; *p != '\0' && *p != 'e'; ++p)
            if (*p >= '0' && *p <= '9') e.Digits.push_back(*p);
        e.Point = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
    }
    return e;
}

} // namespace

std::string FormatReal8_2(long double value) {
    if (std::isnan(value)) return PadLeft("NAN", 8);
    if (std::isinf(value)) return PadLeft(value < 0 ? "-INF" : "INF", 8);

    TExpansion e = Expand(std::fabs(value));
    // Integer digits, then exactly three decimals (the third one only decides the rounding).
    std::string integer, decimals;
    for (int i = 0; i < e.Point + 3; ++i) {
        char digit =
            i < static_cast<int>(e.Digits.size()) ? e.Digits[static_cast<std::size_t>(i)] : '0';
        if (i < e.Point)
            integer.push_back(digit);
        else
            decimals.push_back(digit);
    }
    std::string kept = integer + decimals.substr(0, 2);
    if (decimals[2] >= '5') {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9')
            kept[--i] = '0';
        if (i == 0)
            kept.insert(0, 1, '1');
        else
            ++kept[i - 1];
    }
    std::string whole = kept.substr(0, kept.size() - 2);
    std::size_t firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? "0" : whole.substr(firstNonZero);

    std::string text = (value < 0 ? "-" : "") + whole + "." + kept.substr(kept.size() - 2);
    return PadLeft(std::move(text), 8);
}

std::string FormatInteger(std::int32_t value, int width) {
    return PadLeft(std::to_string(value), width);
}

std::string SweepMessage(std::span<const std::int32_t> values) {
    std::string list;
    for (std::int32_t value : values)
        list += (list.empty() ? "" : ",") + FormatInteger(value, 5);
    return "Fitness (100, 500, 1000, 5000): " + list;
}

} // namespace vesk
