// The host's system variables: a table of the settings a user and the suite
// expect (DWGPREFIX, LTSCALE, CDATE, LUNITS, LUPREC, FILEDIA, ...), each with
// its type, initial value and whether it may be set. Names are
// case-insensitive. Values derived from the session (DWGPREFIX, DWGNAME,
// CDATE, DATE, TEMPPREFIX, ...) are worked out when read, unless a start-up
// option (--set NAME=VALUE) fixed them.
#pragma once

#include <array>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "adsdef.h"

namespace tz::cad {

enum class VariableType {
    String,    // RTSTR
    Real,      // RTREAL
    Integer,   // RTSHORT
    Point,     // RT3DPOINT
};

struct VariableValue {
    VariableType type = VariableType::Integer;
    std::string text;   // UTF-8
    double real = 0;
    int integer = 0;
    std::array<double, 3> point{};
};

class SystemVariables {
public:
    SystemVariables();

    bool exists(std::string_view name) const;
    bool isReadOnly(std::string_view name) const;

    // The current value; nullopt for an unknown name.
    std::optional<VariableValue> value(std::string_view name) const;

    // Typed reads for the host's own code; 0 or "" when the name is unknown
    // or of another type.
    int integer(std::string_view name) const;
    double real(std::string_view name) const;
    std::string text(std::string_view name) const;

    // Fills result's type and value (rbnext is left alone). A string is a new
    // ACHAR array: the caller frees it with delete[] (acutRelRb does so for
    // the resbufs it releases). RTNORM, or RTERROR for an unknown name.
    int get(std::string_view name, resbuf* result) const;

    // Sets a variable from a resbuf: RTSTR for strings; RTREAL, RTSHORT or
    // RTLONG for numbers (whole numbers only for integer variables); RT3DPOINT
    // or RTPOINT for points. RTERROR for an unknown name, a read-only
    // variable, a value of the wrong type or out of the variable's range.
    int set(std::string_view name, const resbuf* value);

    // The host's own writes (a drawing opened, a layer made current): like
    // set, but read-only variables may be set too. An empty text on success,
    // otherwise why the value was refused.
    std::string assign(std::string_view name, const VariableValue& value);

    // --set NAME=VALUE: the value as text ("2", "1.5", "0,0,0", "Drawing"),
    // read-only variables included (tests fix CDATE this way). On failure
    // false and a message for the user in `error`.
    bool setFromText(const std::string& name, const std::string& value, std::string& error);

    // Back to the initial values, nothing fixed.
    void reset();

private:
    struct Entry {
        VariableValue value;
        bool readOnly = false;
        bool derived = false;   // worked out when read, unless `fixed`
        bool fixed = false;
        double minimum = 0, maximum = 0;   // range of numbers when minimum < maximum
        bool positive = false;             // a real that must be > 0
    };

    const Entry* find(std::string_view name) const;
    Entry* find(std::string_view name);
    std::string check(const Entry& entry, std::string_view name, const VariableValue& value) const;

    std::map<std::string, Entry> entries_;
};

SystemVariables& systemVariables();

// CDATE of a local time: YYYYMMDD.HHMMSSCC, hundredths of a second (a double
// of this size holds eight decimals; finer digits would round, and could make
// 59.996 seconds read as second 60 at eight places).
double calendarDate(const std::tm& local, int milliseconds);

// DATE of a local time: the Julian day number of the date plus the fraction
// of the day gone since midnight.
double julianDate(const std::tm& local, int milliseconds);

}  // namespace tz::cad
