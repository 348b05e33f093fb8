// Builtins of the host's LISP that ask the user (prompts and file dialog)
// and compute plane geometry and number text through the host.
#include "acdbads.h"
#include "acedads.h"
#include "acutads.h"
#include "lisp/BuiltinSupport.h"
#include "lisp/Interpreter.h"

namespace tz::cad::lisp {

// A point argument: a list of two or three numbers.
void expectPoint(const std::vector<ValuePtr>& a, size_t index, ads_point out) {
    if (index >= a.size()) Interpreter::fail(L"too few arguments");
    const auto items = listItems(a[index]);
    if (!isList(a[index]) || items.size() < 2 || items.size() > 3) badArgument(L"pointp", a[index]);
    for (size_t i = 0; i < 3; ++i) {
        if (i < items.size() && !isNumber(items[i])) badArgument(L"pointp", a[index]);
        out[i] = i < items.size() ? toDouble(items[i]) : 0.0;
    }
}

ValuePtr pointValue(const ads_point p) { return makeList({makeReal(p[0]), makeReal(p[1]), makeReal(p[2])}); }

namespace {

using Args = std::vector<ValuePtr>;

// What a prompt's status means to LISP: Escape abandons the expression.
void failOnCancel(int status) {
    if (status == RTCAN || status == RTERROR) Interpreter::fail(L"Function cancelled");
}

// The keyword an input function was answered with (its status RTKWORD).
ValuePtr keywordTyped() {
    ACHAR word[512];
    acedGetInput(word, 512);
    return makeString(word);
}

std::wstring optionalPrompt(const Args& a, size_t index) {
    if (index >= a.size() || !a[index]) return L"";
    return expectString(a, index);
}

void installPrompts(Interpreter& lisp) {
    lisp.defineBuiltin(L"INITGET", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 0, 2);
        int bits = 0;
        std::wstring keywords;
        for (const ValuePtr& v : a) {
            if (v && v->type == Type::Int) bits = v->intValue;
            else if (v && v->type == Type::Str) keywords = v->text;
            else badArgument(L"stringp", v);
        }
        acedInitGet(bits, keywords.empty() ? nullptr : keywords.c_str());
        return nullptr;
    });
    lisp.defineBuiltin(L"GETREAL", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 0, 1);
        ads_real value = 0;
        const int status = acedGetReal(optionalPrompt(a, 0).c_str(), &value);
        failOnCancel(status);
        if (status == RTKWORD) return keywordTyped();
        return status == RTNORM ? makeReal(value) : nullptr;
    });
    lisp.defineBuiltin(L"GETINT", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 0, 1);
        int value = 0;
        const int status = acedGetInt(optionalPrompt(a, 0).c_str(), &value);
        failOnCancel(status);
        if (status == RTKWORD) return keywordTyped();
        return status == RTNORM ? makeInt(value) : nullptr;
    });
    lisp.defineBuiltin(L"GETPOINT", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 0, 2);
        ads_point base{}, result{};
        size_t promptIndex = 0;
        if (!a.empty() && a[0] && a[0]->type == Type::Cons) {
            expectPoint(a, 0, base);
            promptIndex = 1;
        }
        const int status = acedGetPoint(promptIndex ? base : nullptr, optionalPrompt(a, promptIndex).c_str(), result);
        failOnCancel(status);
        if (status == RTKWORD) return keywordTyped();
        return status == RTNORM ? pointValue(result) : nullptr;
    });
    lisp.defineBuiltin(L"GETSTRING", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 0, 2);
        int allowSpaces = 0;
        size_t promptIndex = 0;
        if (!a.empty() && (!a[0] || a[0]->type != Type::Str)) {
            allowSpaces = a[0] ? 1 : 0;
            promptIndex = 1;
        }
        std::vector<ACHAR> buffer(4096);
        const int status = acedGetString(allowSpaces, optionalPrompt(a, promptIndex).c_str(), buffer.data(), buffer.size());
        failOnCancel(status);
        // Cut short, the answer would pass for what was typed.
        if (status == RTINPUTTRUNCATED) Interpreter::fail(L"the answer is longer than 4095 characters");
        return makeString(buffer.data());
    });
    lisp.defineBuiltin(L"GETKWORD", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 0, 1);
        ACHAR word[512];
        const int status = acedGetKword(optionalPrompt(a, 0).c_str(), word, 512);
        failOnCancel(status);
        return status == RTNORM ? makeString(word) : nullptr;
    });
    lisp.defineBuiltin(L"GETFILED", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 4, 4);
        resbuf result{};
        const int status = acedGetFileD(expectString(a, 0).c_str(), expectString(a, 1).c_str(),
                                        expectString(a, 2).c_str(), expectInt(a, 3), &result);
        if (status != RTNORM) return nullptr;
        ValuePtr path = makeString(result.resval.rstring);
        delete[] result.resval.rstring;
        return path;
    });
}

void installGeometry(Interpreter& lisp) {
    lisp.defineBuiltin(L"POLAR", [](Interpreter&, const Args& a) {
        expectCount(a, 3, 3);
        ads_point from, result;
        expectPoint(a, 0, from);
        acutPolar(from, expectNumber(a, 1), expectNumber(a, 2), result);
        return pointValue(result);
    });
    lisp.defineBuiltin(L"ANGLE", [](Interpreter&, const Args& a) {
        expectCount(a, 2, 2);
        ads_point p1, p2;
        expectPoint(a, 0, p1);
        expectPoint(a, 1, p2);
        return makeReal(acutAngle(p1, p2));
    });
    lisp.defineBuiltin(L"DISTANCE", [](Interpreter&, const Args& a) {
        expectCount(a, 2, 2);
        ads_point p1, p2;
        expectPoint(a, 0, p1);
        expectPoint(a, 1, p2);
        return makeReal(acutDistance(p1, p2));
    });
    lisp.defineBuiltin(L"INTERS", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 4, 5);
        ads_point p[4], result;
        for (size_t i = 0; i < 4; ++i) expectPoint(a, i, p[i]);
        const int onSegments = a.size() == 5 && !a[4] ? 0 : 1;
        return acdbInters(p[0], p[1], p[2], p[3], onSegments, result) == RTNORM ? pointValue(result) : nullptr;
    });
    lisp.defineBuiltin(L"RTOS", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 3);
        const double value = expectNumber(a, 0);
        const int unit = a.size() > 1 ? expectInt(a, 1) : -1;
        const int precision = a.size() > 2 ? expectInt(a, 2) : -1;
        ACHAR text[512];
        if (acdbRToS(value, unit, precision, text, 512) != RTNORM) Interpreter::fail(L"bad argument value: " + printForm(a[0], true));
        return makeString(text);
    });
    lisp.defineBuiltin(L"DISTOF", [](Interpreter&, const Args& a) -> ValuePtr {
        expectCount(a, 1, 2);
        ads_real value = 0;
        const int unit = a.size() > 1 ? expectInt(a, 1) : -1;
        return acdbDisToF(expectString(a, 0).c_str(), unit, &value) == RTNORM ? makeReal(value) : nullptr;
    });
}

}  // namespace

void installInputBuiltins(Interpreter& lisp) {
    installPrompts(lisp);
    installGeometry(lisp);
}

}  // namespace tz::cad::lisp
