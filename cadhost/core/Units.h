// Number text with the host's meanings: distances in the five linear unit
// modes (rtos/distof), angles in the five angular modes (angtos/angtof) and
// conversion between named units (cvunit). Pure: plain values in, plain text
// out; the system variables that steer it are passed in by the caller.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tz::cad {

// Linear unit modes, the values of LUNITS.
enum LinearUnitMode {
    kScientific = 1,
    kDecimal = 2,
    kEngineering = 3,     // feet and decimal inches
    kArchitectural = 4,   // feet, inches and fractions of an inch
    kFractional = 5,      // whole units and fractions
};

// Angular unit modes, the values of AUNITS.
enum AngularUnitMode {
    kDegrees = 0,
    kDegreesMinutesSeconds = 1,
    kGrads = 2,
    kRadians = 3,
    kSurveyor = 4,   // bearings such as N 45d E
};

// The system variables that change how numbers are written.
struct NumberTextStyle {
    // DIMZIN. Bits 0-1 (values 0..3) choose which of zero feet and precisely
    // zero inches are written: 0 neither, 1 both, 2 zero feet only, 3 zero
    // inches only. 4 drops the leading zero of decimals (0.5 -> .5), 8 the
    // trailing zeros (12.5000 -> 12.5).
    int zeroSuppression = 0;
    // UNITMODE 1: write feet-and-inches and fractions as they are typed
    // (1'5-1/2" rather than 1'-5 1/2"), bearings without blanks.
    bool asTyped = false;
};

// Highest precision the text functions take; the fraction modes stop at
// 1/256 (precision 8) and treat anything finer as 8.
constexpr int kMaxPrecision = 16;
constexpr int kMaxFractionPrecision = 8;

// `value` as distance text in linear unit `mode` with `precision` (0..16):
// decimal places, or for the fraction modes the denominator 2^precision,
// reduced. Drawing units are inches in the feet-and-inches modes. Ties round
// away from zero; a value that rounds to zero is written without a sign.
// nullopt for a value that is not finite, a mode outside 1..5 or a
// precision outside 0..16.
std::optional<std::string> formatDistance(double value, int mode, int precision,
                                          const NumberTextStyle& style = {});

// The value of distance text in linear unit `mode` (1..5), in drawing units
// (inches in the feet-and-inches modes). Every mode takes decimals ("18.5",
// ".5"), scientific notation ("1.5E+01"), fractions ("3/4") and mixed numbers
// ("17 1/2", "17-1/2"), with a leading sign; modes 3 and 4 also take feet and
// inches ("1'-6 1/2\"", "1'6", "1'", "6\"", "1'6-1/2\""), a bare number being
// inches. Blanks around the text are ignored. nullopt for anything else:
// empty text, letters, NaN or infinity texts, a zero denominator, values
// beyond the range of a double.
std::optional<double> parseDistance(std::string_view text, int mode);

// `radians` as angle text in angular unit `mode` (0..4) with `precision`
// (0..16). The angle is first brought into [0, 2*pi). Degrees "45.0000",
// degrees/minutes/seconds "45d30'15\"" (precision 0 degrees, 1-2 minutes,
// 3-4 seconds, more gives decimals of seconds), grads "50.0000g", radians
// "0.7854r", surveyor's bearings "N 45d E" (precision as for d/m/s). nullopt
// for a value that is not finite or a mode or precision out of range.
std::optional<std::string> formatAngle(double radians, int mode, int precision,
                                       const NumberTextStyle& style = {});

// The angle in radians, in [0, 2*pi), of angle text in angular unit `mode`
// (0..4). A bare number is in the mode's unit (degrees for modes 0, 1 and 4);
// any mode takes "45d30'15\"" (degrees), "50g" (grads), "0.78r" (radians) and
// bearings "N 45d30' E", "N45dE", "N", "E", "S", "W". nullopt for anything else.
std::optional<double> parseAngle(std::string_view text, int mode);

// `value` converted between two named units of the same kind (lengths such
// as "inch", "feet", "meters", "millimeter", "yard", "mile"; angles
// "degree", "radian", "grad"), names case-insensitive, singular or plural.
// nullopt for an unknown name or units of different kinds.
std::optional<double> convertUnit(double value, std::string_view fromUnit, std::string_view toUnit);

}  // namespace tz::cad
