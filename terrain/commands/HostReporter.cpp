#include "HostReporter.h"

#include <cmath>
#include <cwchar>

double leadingNumber(const std::wstring& text) {
    const double value = std::wcstod(text.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

double dialogNumber(const std::wstring& text) {
    ads_real value = 0;
    if (acdbDisToF(text.c_str(), -1, &value) == RTNORM && std::isfinite(value)) return value;
    return leadingNumber(text);
}

std::wstring decimalText(double value, size_t maxLength) {
    ACHAR text[512] = {0};
    if (acdbRToS(value, 2, -1, text, 512) != RTNORM) return L"0";
    std::wstring decimal(text);
    if (decimal.size() <= maxLength) return decimal;
    // Too long for the field: the last decimals go, but cutting into the
    // whole part would show another number, so that takes the scientific form.
    const size_t point = decimal.find(L'.');
    if (point != std::wstring::npos && point < maxLength) {
        decimal.resize(maxLength);
        if (decimal.back() == L'.') decimal.pop_back();
        return decimal;
    }
    if (acdbRToS(value, 1, -1, text, 512) != RTNORM) return L"0";
    return std::wstring(text).substr(0, maxLength);
}
