// Hands what the pure stages of the terrain modeller report to the host:
// progress lines to the command line, alerts to the alert box, Escape from
// the break test.
#pragma once

#include <string>
#include <string_view>

#include "FileSystem.h"
#include "arxHeaders.h"
#include "tin/StageReporter.h"

class HostReporter final : public tz::terrain::StageReporter {
public:
    void print(std::string_view text) override {
        acutPrintf(_T("%s"), tz::platform::fromUtf8(std::string(text)).c_str());
    }
    void alert(std::string_view text) override { acedAlert(tz::platform::fromUtf8(std::string(text)).c_str()); }
};

// The host's break test as the stages ask it.
inline bool userBroke() { return acedUsrBrk() == 1; }

// A number at the start of a text as the C runtime reads it (0 when there is none).
double leadingNumber(const std::wstring& text);

// A number typed into a dialog field: read as the field's check read it, a
// distance in the drawing's units (so 2'6" in architectural units is 2.5,
// not the 2 its leading digits give), else by its leading number.
double dialogNumber(const std::wstring& text);

// A real as the drawing shows it: decimal, at the drawing's precision, in at
// most maxLength characters: the last decimals are cut, and a number whose
// whole part does not fit is shown in scientific form.
std::wstring decimalText(double value, size_t maxLength = 15);
