// Reading and writing the numbers of the terrain modeller's text files
// (points, TINs, faults, boundaries) the way the C runtime's "%lf" does,
// at the speed that files of millions of points need.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace tz::terrain {

// Reads decimal numbers one at a time from an open file, as fscanf("%lf")
// would: any white space separates numbers. Text that is not a finite
// decimal number (letters, "nan", "inf", a lone sign, a number too large
// for a double) ends the data: readNumber returns false and notANumber()
// tells it apart from the end of the file. Lines of any length are fine.
// Carriage returns are white space, so text files are read in binary mode
// (the text layer's line-end translation would change nothing but speed).
class NumberReader {
public:
    explicit NumberReader(std::FILE* file);

    // Next number, or false at the end of the data.
    bool readNumber(double& value);

    // Reads `count` numbers into `values`; false when fewer could be read.
    bool readNumbers(double* values, int count);

    // True once a read stopped at text that is not a number.
    bool notANumber() const { return notANumber_; }

    // True when no character at all follows the last number read: what the
    // C runtime reports as end of file right after that read.
    bool atEndOfFile();

private:
    bool fill();  // keeps unread bytes, appends more; false when none came
    bool quickNumber(double& value);
    int peek();

    std::FILE* file_;
    std::vector<char> buffer_;
    size_t begin_ = 0;
    size_t end_ = 0;
    bool eof_ = false;
    bool notANumber_ = false;
};

// Buffered text output with the "%lf" form of numbers (fixed notation, six
// decimals, as printf writes them).
class FixedWriter {
public:
    explicit FixedWriter(std::FILE* file);
    ~FixedWriter();
    FixedWriter(const FixedWriter&) = delete;
    FixedWriter& operator=(const FixedWriter&) = delete;

    void number(double value);       // "%lf"
    void text(const char* text);
    void character(char c);
    // "%lf %lf %lf\n"
    void line3(double a, double b, double c);
    // "%lf %lf %lf %lf %lf %lf %lf %lf %lf\n"
    void line9(const double* values);
    // Writes out what is buffered; false when the file reported an error.
    bool flush();

private:
    std::FILE* file_;
    std::string buffer_;
};

// The plain decimal that starts at `first` (an optional sign, up to 16
// significant digits with an optional point, no exponent), read in one pass:
// its value into `value` and where it ends. Null when the text there is
// anything else, or runs up to `limit`, for a general reading to decide.
const char* quickDecimal(const char* first, const char* limit, double& value);

// Reads [first, last) as a decimal number without sign (digits with an
// optional point and exponent), to the same double as strtod; false when it
// is no such number or not finite.
bool parseDecimalText(const char* first, const char* last, double& value);

// "%lf" of one value, as printf formats it.
std::string formatFixed(double value);

// The value that reading "%lf" of `value` back gives: `value` rounded to
// six decimals exactly as a text work file rounds it.
double roundedAsWritten(double value);

// Appends "%lf" of one value to `out`.
void appendFixed(std::string& out, double value);

// Appends "%lf %lf %lf\n" of three values to `out`.
void appendLine3(std::string& out, double a, double b, double c);

}  // namespace tz::terrain
