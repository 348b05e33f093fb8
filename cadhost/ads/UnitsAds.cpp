// Number text of the host's interface: acdbRToS, acdbDisToF, acdbAngToS,
// acdbAngToF and acutCvUnit, steered by LUNITS, LUPREC, AUNITS, AUPREC,
// DIMZIN and UNITMODE.
#include <string>

#include "FileSystem.h"
#include "acdbads.h"
#include "acutads.h"
#include "core/SystemVariables.h"
#include "core/Units.h"

namespace {

// What acdbRToS writes into a buffer the caller did not size.
constexpr size_t kUnsizedBuffer = 64;

tz::cad::NumberTextStyle currentStyle() {
    const tz::cad::SystemVariables& variables = tz::cad::systemVariables();
    return {variables.integer("DIMZIN"), variables.integer("UNITMODE") == 1};
}

// Copies text into a caller's buffer of `size` characters. Text that does not
// fit is not cut short (a cut number reads as another number): the buffer
// is left empty and the call fails.
int copyOut(const std::optional<std::string>& text, ACHAR* buffer, size_t size) {
    if (!text || text->size() + 1 > size) return RTERROR;
    for (size_t i = 0; i < text->size(); ++i) buffer[i] = static_cast<ACHAR>(static_cast<unsigned char>((*text)[i]));
    buffer[text->size()] = 0;
    return RTNORM;
}

std::string narrow(const ACHAR* text) { return tz::platform::toUtf8(text); }

}  // namespace

int acdbRToS(ads_real value, int unit, int precision, ACHAR* str) {
    return acdbRToS(value, unit, precision, str, kUnsizedBuffer);
}

int acdbRToS(ads_real value, int unit, int precision, ACHAR* str, size_t size) {
    if (!str || size == 0) return RTERROR;
    str[0] = 0;
    const tz::cad::SystemVariables& variables = tz::cad::systemVariables();
    if (unit == -1) unit = variables.integer("LUNITS");
    if (precision == -1) precision = variables.integer("LUPREC");
    return copyOut(tz::cad::formatDistance(value, unit, precision, currentStyle()), str, size);
}

int acdbDisToF(const ACHAR* str, int unit, ads_real* value) {
    if (!str || !value) return RTERROR;
    if (unit == -1) unit = tz::cad::systemVariables().integer("LUNITS");
    const auto parsed = tz::cad::parseDistance(narrow(str), unit);
    if (!parsed) return RTERROR;
    *value = *parsed;
    return RTNORM;
}

int acdbAngToS(ads_real angle, int unit, int precision, ACHAR* str, size_t size) {
    if (!str || size == 0) return RTERROR;
    str[0] = 0;
    const tz::cad::SystemVariables& variables = tz::cad::systemVariables();
    if (unit == -1) unit = variables.integer("AUNITS");
    if (precision == -1) precision = variables.integer("AUPREC");
    return copyOut(tz::cad::formatAngle(angle, unit, precision, currentStyle()), str, size);
}

int acdbAngToF(const ACHAR* str, int unit, ads_real* value) {
    if (!str || !value) return RTERROR;
    if (unit == -1) unit = tz::cad::systemVariables().integer("AUNITS");
    const auto parsed = tz::cad::parseAngle(narrow(str), unit);
    if (!parsed) return RTERROR;
    *value = *parsed;
    return RTNORM;
}

int acutCvUnit(ads_real value, const ACHAR* oldUnit, const ACHAR* newUnit, ads_real* result) {
    if (!oldUnit || !newUnit || !result) return RTERROR;
    const auto converted = tz::cad::convertUnit(value, narrow(oldUnit), narrow(newUnit));
    if (!converted) return RTERROR;
    *result = *converted;
    return RTNORM;
}
