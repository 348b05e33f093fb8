// Values of the host's LISP: nil, integers, reals, strings, symbols, cons
// cells, functions, entity names, selection sets and files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tz::cad::lisp {

struct Value;
using ValuePtr = std::shared_ptr<Value>;  // nullptr is nil

class Interpreter;
using Builtin = std::function<ValuePtr(Interpreter&, const std::vector<ValuePtr>& args)>;

enum class Type { Int, Real, Str, Sym, Cons, Subr, UserFunc, External, Ename, PickSet, File };

// A function a plug-in defined with acedDefun: the module and its function code.
struct ExternalFunction {
    void* module;  // the host's record of the plug-in; null once it is unloaded
    int code;
};

struct FileHandle {
    std::FILE* file = nullptr;
    std::string mode;
    ~FileHandle() {
        if (file) std::fclose(file);
    }
};

struct Value {
    Type type;
    int32_t intValue = 0;
    double realValue = 0;
    std::wstring text;        // string contents, symbol name (upper case), function name
    ValuePtr car, cdr;        // cons cells; a user function keeps its lambda list in car, body in cdr
    Builtin builtin;          // SUBR
    bool specialForm = false; // arguments reach the builtin unevaluated
    ExternalFunction external{};
    intptr_t name[2] = {0, 0};  // entity name or selection set
    std::shared_ptr<FileHandle> file;

    explicit Value(Type t) : type(t) {}
    // Frees the cells it alone holds, through car and cdr, in a loop: left
    // to the members, a list of a million would free itself a million
    // calls deep.
    ~Value();
    Value(const Value&) = delete;
    Value& operator=(const Value&) = delete;
};

ValuePtr makeInt(int32_t value);
ValuePtr makeReal(double value);
ValuePtr makeString(std::wstring text);
ValuePtr cons(ValuePtr car, ValuePtr cdr);
ValuePtr makeList(const std::vector<ValuePtr>& items);
std::vector<ValuePtr> listItems(const ValuePtr& list);  // proper part only

bool isNumber(const ValuePtr& v);
double toDouble(const ValuePtr& v);
bool isList(const ValuePtr& v);  // nil or a cons
bool isTrue(const ValuePtr& v);

// The host's two printed forms: prin1 (strings quoted and escaped) and princ.
std::wstring printForm(const ValuePtr& v, bool escaped);
// Reals as the host's LISP prints them: six significant digits, always with a point.
std::wstring formatReal(double value);
// The shortest of 15 to 17 significant digits that reads back as the same
// double: how numbers reach commands given as lists of values.
std::wstring roundTripText(double value);

// Structural equality as `equal` tests it (reals within `fuzz`).
bool valuesEqual(const ValuePtr& a, const ValuePtr& b, double fuzz = 0);

}  // namespace tz::cad::lisp
