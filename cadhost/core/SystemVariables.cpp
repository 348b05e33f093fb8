#include "core/SystemVariables.h"

#include <chrono>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <filesystem>

#include "FileSystem.h"
#include "adscodes.h"
#include "core/HostState.h"
#include "core/Units.h"

namespace tz::cad {

namespace {

enum class Access { Writable, ReadOnly, Derived };

// One row of the table: the initial value is written as --set would take it.
struct Definition {
    const char* name;
    VariableType type;
    const char* initial;
    Access access;
    double minimum = 0, maximum = 0;   // a range when minimum < maximum
    bool positive = false;
};

constexpr double kShortMin = -32768, kShortMax = 32767;
constexpr VariableType S = VariableType::String, R = VariableType::Real, I = VariableType::Integer,
                       P = VariableType::Point;
constexpr Access W = Access::Writable, RO = Access::ReadOnly, D = Access::Derived;

const Definition kDefinitions[] = {
    // The drawing and the session.
    {"DWGPREFIX", S, "", D},
    {"DWGNAME", S, "", D},
    {"DWGTITLED", I, "0", D, 0, 1},
    {"TEMPPREFIX", S, "", D},
    {"LOGINNAME", S, "", D},
    {"CDATE", R, "0", D},
    {"DATE", R, "0", D},
    // Units and how numbers are written.
    {"LUNITS", I, "2", W, 1, 5},
    {"LUPREC", I, "4", W, 0, 8},
    {"AUNITS", I, "0", W, 0, 4},
    {"AUPREC", I, "0", W, 0, 8},
    {"ANGBASE", R, "0", W},
    {"ANGDIR", I, "0", W, 0, 1},
    {"DIMASZ", R, "0.18", W, 0, 1e300},
    {"DIMGAP", R, "0.09", W, -1e300, 1e300},
    {"DIMTXT", R, "0.18", W, 0, 0, true},
    {"DIMZIN", I, "0", W, 0, 15},
    {"UNITMODE", I, "0", W, 0, 1},
    {"MEASUREMENT", I, "0", W, 0, 1},
    {"INSUNITS", I, "1", W, 0, 24},
    // Current properties of new entities.
    {"CLAYER", S, "0", W},
    {"CECOLOR", S, "BYLAYER", W},
    {"CELTYPE", S, "BYLAYER", W},
    {"CELTSCALE", R, "1", W, 0, 0, true},
    {"LTSCALE", R, "1", W, 0, 0, true},
    {"TEXTSIZE", R, "0.2", W, 0, 0, true},
    {"TEXTSTYLE", S, "Standard", W},
    {"DIMSTYLE", S, "Standard", RO},
    {"DIMSCALE", R, "1", W, 0, 1e300},
    {"ELEVATION", R, "0", W},
    {"THICKNESS", R, "0", W},
    {"PLINEWID", R, "0", W, 0, 1e300},
    {"PDMODE", I, "0", W, 0, 100},
    {"PDSIZE", R, "0", W},
    {"INSBASE", P, "0,0,0", W},
    {"LASTPOINT", P, "0,0,0", W},
    {"UCSORG", P, "0,0,0", RO},
    {"UCSXDIR", P, "1,0,0", RO},
    {"UCSYDIR", P, "0,1,0", RO},
    // Input, dialogs and messages.
    {"FILEDIA", I, "1", W, 0, 1},
    {"CMDDIA", I, "1", W, 0, 1},
    {"CMDECHO", I, "1", W, 0, 1},
    {"NOMUTT", I, "0", W, 0, 1},
    {"EXPERT", I, "0", W, 0, 5},
    {"ATTREQ", I, "1", W, 0, 1},
    {"ATTDIA", I, "0", W, 0, 1},
    {"ATTMODE", I, "1", W, 0, 2},
    {"PICKBOX", I, "3", W, 0, 50},
    {"PICKFIRST", I, "1", W, 0, 1},
    {"PICKADD", I, "1", W, 0, 2},
    {"OSMODE", I, "0", W, 0, 16383},
    {"ORTHOMODE", I, "0", W, 0, 1},
    {"SNAPMODE", I, "0", W, 0, 1},
    {"GRIDMODE", I, "0", W, 0, 1},
    {"HIGHLIGHT", I, "1", W, 0, 1},
    {"BLIPMODE", I, "0", W, 0, 1},
    {"REGENMODE", I, "1", W, 0, 1},
    {"TILEMODE", I, "1", W, 0, 1},
    {"FILLMODE", I, "1", W, 0, 1},
    {"MIRRTEXT", I, "0", W, 0, 1},
    {"PLINEGEN", I, "0", W, 0, 1},
    {"SURFTAB1", I, "6", W, 2, 32766},
    {"SURFTAB2", I, "6", W, 2, 32766},
    {"ERRNO", I, "0", W, kShortMin, kShortMax},
    // Free for users' programs.
    {"USERI1", I, "0", W, kShortMin, kShortMax},
    {"USERI2", I, "0", W, kShortMin, kShortMax},
    {"USERI3", I, "0", W, kShortMin, kShortMax},
    {"USERI4", I, "0", W, kShortMin, kShortMax},
    {"USERI5", I, "0", W, kShortMin, kShortMax},
    {"USERR1", R, "0", W},
    {"USERR2", R, "0", W},
    {"USERR3", R, "0", W},
    {"USERR4", R, "0", W},
    {"USERR5", R, "0", W},
    {"USERS1", S, "", W},
    {"USERS2", S, "", W},
    {"USERS3", S, "", W},
    {"USERS4", S, "", W},
    {"USERS5", S, "", W},
};

std::string upperName(std::string_view name) {
    std::string key;
    for (char c : name) key += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return key;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<double> realFromText(const std::string& text) { return parseDistance(text, kDecimal); }

std::optional<int> integerFromText(const std::string& text) {
    const std::string digits = trimmed(text);
    size_t at = (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) ? 1 : 0;
    if (at == digits.size() || digits.size() > 12) return std::nullopt;
    for (size_t i = at; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9') return std::nullopt;
    }
    return static_cast<int>(std::strtol(digits.c_str(), nullptr, 10));
}

// "x,y" or "x,y,z".
std::optional<std::array<double, 3>> pointFromText(const std::string& text) {
    std::array<double, 3> point{};
    size_t start = 0;
    int count = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        if (count == 3) return std::nullopt;
        const auto coordinate = realFromText(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!coordinate) return std::nullopt;
        point[static_cast<size_t>(count++)] = *coordinate;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (count < 2) return std::nullopt;
    return point;
}

std::optional<VariableValue> valueFromText(VariableType type, const std::string& text) {
    VariableValue value;
    value.type = type;
    switch (type) {
        case VariableType::String: value.text = text; return value;
        case VariableType::Real: {
            const auto real = realFromText(text);
            if (!real) return std::nullopt;
            value.real = *real;
            return value;
        }
        case VariableType::Integer: {
            const auto integer = integerFromText(text);
            if (!integer) return std::nullopt;
            value.integer = *integer;
            return value;
        }
        case VariableType::Point: {
            const auto point = pointFromText(text);
            if (!point) return std::nullopt;
            value.point = *point;
            return value;
        }
    }
    return std::nullopt;
}

const char* typeWanted(VariableType type) {
    switch (type) {
        case VariableType::String: return "a text";
        case VariableType::Real: return "a number";
        case VariableType::Integer: return "a whole number";
        case VariableType::Point: return "a point x,y or x,y,z";
    }
    return "a value";
}

std::string numberText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// The value of a variable that follows the session.
VariableValue derivedValue(const std::string& name, VariableValue value) {
    const HostState& host = hostState();
    if (name == "DWGPREFIX") {
        value.text = drawingFolder();
    } else if (name == "DWGNAME") {
        const std::string file =
            std::filesystem::path(tz::platform::nativePath(host.drawingPath)).filename().string();
        value.text = file.empty() ? "Drawing1.dwg" : file;
    } else if (name == "DWGTITLED") {
        value.integer = host.drawingPath.empty() ? 0 : 1;
    } else if (name == "TEMPPREFIX") {
        value.text = tz::platform::tempFolder();
        if (value.text.empty() || value.text.back() != '/') value.text += '/';
    } else if (name == "LOGINNAME") {
        const char* user = std::getenv("USER");
        value.text = (user && *user) ? user : "user";
    } else if (name == "CDATE" || name == "DATE") {
        const auto now = std::chrono::system_clock::now();
        const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
        const int milliseconds = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
        std::tm local{};
        localtime_r(&seconds, &local);
        value.real = name == "CDATE" ? calendarDate(local, milliseconds) : julianDate(local, milliseconds);
    }
    return value;
}

}  // namespace

double calendarDate(const std::tm& local, int milliseconds) {
    const double day = (local.tm_year + 1900) * 10000.0 + (local.tm_mon + 1) * 100.0 + local.tm_mday;
    const long long timeDigits =
        local.tm_hour * 1000000LL + local.tm_min * 10000LL + local.tm_sec * 100LL + milliseconds / 10;
    return day + static_cast<double>(timeDigits) / 1e8;
}

double julianDate(const std::tm& local, int milliseconds) {
    // Julian day number of the Gregorian date (Fliegel and Van Flandern).
    const long long year = local.tm_year + 1900, month = local.tm_mon + 1, dayOfMonth = local.tm_mday;
    const long long a = (month - 14) / 12;
    const long long dayNumber = (1461 * (year + 4800 + a)) / 4 + (367 * (month - 2 - 12 * a)) / 12 -
                                (3 * ((year + 4900 + a) / 100)) / 4 + dayOfMonth - 32075;
    const double secondsToday = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + milliseconds / 1000.0;
    return static_cast<double>(dayNumber) + secondsToday / 86400.0;
}

SystemVariables::SystemVariables() { reset(); }

void SystemVariables::reset() {
    entries_.clear();
    for (const Definition& definition : kDefinitions) {
        Entry entry;
        entry.value = *valueFromText(definition.type, definition.initial);
        entry.readOnly = definition.access != Access::Writable;
        entry.derived = definition.access == Access::Derived;
        entry.minimum = definition.minimum;
        entry.maximum = definition.maximum;
        entry.positive = definition.positive;
        if (definition.type == VariableType::Integer && !(entry.minimum < entry.maximum)) {
            entry.minimum = kShortMin;
            entry.maximum = kShortMax;
        }
        entries_[definition.name] = entry;
    }
}

const SystemVariables::Entry* SystemVariables::find(std::string_view name) const {
    const auto it = entries_.find(upperName(name));
    return it == entries_.end() ? nullptr : &it->second;
}

SystemVariables::Entry* SystemVariables::find(std::string_view name) {
    const auto it = entries_.find(upperName(name));
    return it == entries_.end() ? nullptr : &it->second;
}

bool SystemVariables::exists(std::string_view name) const { return find(name) != nullptr; }

bool SystemVariables::isReadOnly(std::string_view name) const {
    const Entry* entry = find(name);
    return entry && entry->readOnly;
}

std::optional<VariableValue> SystemVariables::value(std::string_view name) const {
    const Entry* entry = find(name);
    if (!entry) return std::nullopt;
    if (entry->derived && !entry->fixed) return derivedValue(upperName(name), entry->value);
    return entry->value;
}

int SystemVariables::integer(std::string_view name) const {
    const auto current = value(name);
    return current && current->type == VariableType::Integer ? current->integer : 0;
}

double SystemVariables::real(std::string_view name) const {
    const auto current = value(name);
    return current && current->type == VariableType::Real ? current->real : 0;
}

std::string SystemVariables::text(std::string_view name) const {
    const auto current = value(name);
    return current && current->type == VariableType::String ? current->text : std::string();
}

std::string SystemVariables::check(const Entry& entry, std::string_view name, const VariableValue& value) const {
    const std::string key = upperName(name);
    if (value.type != entry.value.type) return key + " needs " + typeWanted(entry.value.type) + ".";
    const bool ranged = entry.minimum < entry.maximum;
    switch (value.type) {
        case VariableType::Integer:
            if (ranged && (value.integer < entry.minimum || value.integer > entry.maximum)) {
                return key + " must be from " + numberText(entry.minimum) + " to " + numberText(entry.maximum) + ".";
            }
            break;
        case VariableType::Real:
            if (!std::isfinite(value.real)) return key + " needs " + typeWanted(value.type) + ".";
            if (entry.positive && !(value.real > 0)) return key + " needs a positive number.";
            if (ranged && (value.real < entry.minimum || value.real > entry.maximum)) {
                return key + " must not be negative.";
            }
            break;
        case VariableType::Point:
            for (double coordinate : value.point) {
                if (!std::isfinite(coordinate)) return key + " needs " + typeWanted(value.type) + ".";
            }
            break;
        case VariableType::String:
            if (key == "CLAYER" && value.text.empty()) return "CLAYER needs a layer name.";
            break;
    }
    return {};
}

std::string SystemVariables::assign(std::string_view name, const VariableValue& value) {
    Entry* entry = find(name);
    if (!entry) return "Unknown system variable: " + std::string(name) + ".";
    std::string error = check(*entry, name, value);
    if (!error.empty()) return error;
    entry->value = value;
    entry->fixed = true;
    return {};
}

bool SystemVariables::setFromText(const std::string& name, const std::string& value, std::string& error) {
    const Entry* entry = find(name);
    if (!entry) {
        error = "Unknown system variable: " + name + ".";
        return false;
    }
    const auto parsed = valueFromText(entry->value.type, value);
    if (!parsed) {
        error = upperName(name) + " needs " + typeWanted(entry->value.type) + ", not \"" + value + "\".";
        return false;
    }
    error = assign(name, *parsed);
    return error.empty();
}

int SystemVariables::get(std::string_view name, resbuf* result) const {
    const auto current = value(name);
    if (!current || !result) return RTERROR;
    switch (current->type) {
        case VariableType::String: {
            const std::wstring wide = tz::platform::fromUtf8(current->text);
            ACHAR* copy = new ACHAR[wide.size() + 1];
            std::wmemcpy(copy, wide.c_str(), wide.size() + 1);
            result->restype = RTSTR;
            result->resval.rstring = copy;
            break;
        }
        case VariableType::Real:
            result->restype = RTREAL;
            result->resval.rreal = current->real;
            break;
        case VariableType::Integer:
            result->restype = RTSHORT;
            result->resval.rint = static_cast<short>(current->integer);
            break;
        case VariableType::Point:
            result->restype = RT3DPOINT;
            for (int i = 0; i < 3; ++i) result->resval.rpoint[i] = current->point[static_cast<size_t>(i)];
            break;
    }
    return RTNORM;
}

int SystemVariables::set(std::string_view name, const resbuf* value) {
    const Entry* entry = find(name);
    if (!entry || entry->readOnly || !value) return RTERROR;
    VariableValue wanted;
    wanted.type = entry->value.type;
    switch (entry->value.type) {
        case VariableType::String:
            if (value->restype != RTSTR || !value->resval.rstring) return RTERROR;
            wanted.text = tz::platform::toUtf8(value->resval.rstring);
            break;
        case VariableType::Real:
            if (value->restype == RTREAL) wanted.real = value->resval.rreal;
            else if (value->restype == RTSHORT) wanted.real = value->resval.rint;
            else if (value->restype == RTLONG) wanted.real = value->resval.rlong;
            else return RTERROR;
            break;
        case VariableType::Integer:
            if (value->restype == RTSHORT) wanted.integer = value->resval.rint;
            else if (value->restype == RTLONG && value->resval.rlong >= kShortMin && value->resval.rlong <= kShortMax)
                wanted.integer = static_cast<int>(value->resval.rlong);
            else return RTERROR;
            break;
        case VariableType::Point:
            if (value->restype != RT3DPOINT && value->restype != RTPOINT) return RTERROR;
            wanted.point = {value->resval.rpoint[0], value->resval.rpoint[1],
                            value->restype == RT3DPOINT ? value->resval.rpoint[2] : 0.0};
            break;
    }
    return assign(name, wanted).empty() ? RTNORM : RTERROR;
}

SystemVariables& systemVariables() {
    static SystemVariables variables;
    return variables;
}

}  // namespace tz::cad
