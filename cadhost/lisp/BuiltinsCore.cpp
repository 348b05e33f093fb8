// Builtins of the host's LISP that need nothing of the host: arithmetic,
// comparison, lists, strings and predicates.
#include <algorithm>
#include <cmath>
#include <cwctype>

#include "lisp/Interpreter.h"

namespace tz::cad::lisp {

namespace {

using Args = std::vector<ValuePtr>;

bool allInts(const Args& a) {
    return std::all_of(a.begin(), a.end(), [](const ValuePtr& v) { return v && v->type == Type::Int; });
}

// Integer arithmetic wraps around at 32 bits, as the host's does.
int32_t wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

ValuePtr arithmetic(const Args& a, wchar_t op) {
    for (size_t i = 0; i < a.size(); ++i) expectNumber(a, i);
    if (a.empty()) return makeInt(op == L'*' ? 1 : 0);
    if (allInts(a)) {
        int64_t acc = a[0]->intValue;
        if (a.size() == 1 && op == L'-') return makeInt(wrap(-acc));
        for (size_t i = 1; i < a.size(); ++i) {
            const int64_t v = a[i]->intValue;
            switch (op) {
                case L'+': acc = wrap(acc + v); break;
                case L'-': acc = wrap(acc - v); break;
                case L'*': acc = wrap(acc * v); break;
                case L'/':
                    if (v == 0) Interpreter::fail(L"divide by zero");
                    acc = wrap(acc / v);
                    break;
            }
        }
        return makeInt(static_cast<int32_t>(acc));
    }
    double acc = toDouble(a[0]);
    if (a.size() == 1 && op == L'-') return makeReal(-acc);
    for (size_t i = 1; i < a.size(); ++i) {
        const double v = toDouble(a[i]);
        switch (op) {
            case L'+': acc += v; break;
            case L'-': acc -= v; break;
            case L'*': acc *= v; break;
            case L'/':
                if (v == 0) Interpreter::fail(L"divide by zero");
                acc /= v;
                break;
        }
    }
    return makeReal(acc);
}

// Compares numbers with numbers and strings with strings.
int compare(const ValuePtr& x, const ValuePtr& y) {
    if (isNumber(x) && isNumber(y)) {
        const double a = toDouble(x), b = toDouble(y);
        return a < b ? -1 : (a > b ? 1 : 0);
    }
    if (x && y && x->type == Type::Str && y->type == Type::Str) return x->text.compare(y->text) < 0 ? -1 : (x->text == y->text ? 0 : 1);
    badArgument(L"numberp:", isNumber(x) ? y : x);
}

template <class Pred>
ValuePtr chainCompare(Interpreter& l, const Args& a, Pred pred) {
    expectCount(a, 1, SIZE_MAX);
    for (size_t i = 0; i + 1 < a.size(); ++i) {
        if (!pred(compare(a[i], a[i + 1]))) return nullptr;
    }
    return l.t();
}

ValuePtr truth(Interpreter& l, bool value) { return value ? l.t() : nullptr; }

ValuePtr nthCdr(ValuePtr list, long n) {
    while (n-- > 0 && list && list->type == Type::Cons) list = list->cdr;
    return list;
}

ValuePtr carOf(const ValuePtr& v) {
    if (!v) return nullptr;
    if (v->type != Type::Cons) badArgument(L"consp", v);
    return v->car;
}

ValuePtr cdrOf(const ValuePtr& v) {
    if (!v) return nullptr;
    if (v->type != Type::Cons) badArgument(L"consp", v);
    return v->cdr;
}

// car/cdr combinations named by their letters: "ADD" for cADDr.
void defineAccessor(Interpreter& lisp, const std::wstring& letters) {
    lisp.defineBuiltin(L"C" + letters + L"R", [letters](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        ValuePtr v = a[0];
        for (auto it = letters.rbegin(); it != letters.rend(); ++it) v = (*it == L'A') ? carOf(v) : cdrOf(v);
        return v;
    });
}

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

std::wstring lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

}  // namespace

void installCoreBuiltins(Interpreter& lisp) {
    installControlForms(lisp);

    for (wchar_t op : std::wstring(L"+-*/")) {
        lisp.defineBuiltin(std::wstring(1, op), [op](Interpreter&, const Args& a) { return arithmetic(a, op); });
    }
    lisp.defineBuiltin(L"1+", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        return arithmetic({a[0], makeInt(1)}, L'+');
    });
    lisp.defineBuiltin(L"1-", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        return arithmetic({a[0], makeInt(1)}, L'-');
    });
    lisp.defineBuiltin(L"=", [](Interpreter& l, const Args& a) { return chainCompare(l, a, [](int c) { return c == 0; }); });
    lisp.defineBuiltin(L"<", [](Interpreter& l, const Args& a) { return chainCompare(l, a, [](int c) { return c < 0; }); });
    lisp.defineBuiltin(L">", [](Interpreter& l, const Args& a) { return chainCompare(l, a, [](int c) { return c > 0; }); });
    lisp.defineBuiltin(L"<=", [](Interpreter& l, const Args& a) { return chainCompare(l, a, [](int c) { return c <= 0; }); });
    lisp.defineBuiltin(L">=", [](Interpreter& l, const Args& a) { return chainCompare(l, a, [](int c) { return c >= 0; }); });
    lisp.defineBuiltin(L"/=", [](Interpreter& l, const Args& a) {
        expectCount(a, 1, SIZE_MAX);
        for (size_t i = 0; i + 1 < a.size(); ++i) {
            if (compare(a[i], a[i + 1]) == 0) return ValuePtr();
        }
        return l.t();
    });
    lisp.defineBuiltin(L"ABS", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        expectNumber(a, 0);
        return a[0]->type == Type::Int ? makeInt(wrap(std::llabs(a[0]->intValue))) : makeReal(std::fabs(a[0]->realValue));
    });
    lisp.defineBuiltin(L"MAX", [](Interpreter&, const Args& a) {
        expectCount(a, 1, SIZE_MAX);
        ValuePtr best = a[0];
        for (size_t i = 0; i < a.size(); ++i) {
            expectNumber(a, i);
            if (toDouble(a[i]) > toDouble(best)) best = a[i];
        }
        return allInts(a) ? best : makeReal(toDouble(best));
    });
    lisp.defineBuiltin(L"MIN", [](Interpreter&, const Args& a) {
        expectCount(a, 1, SIZE_MAX);
        ValuePtr best = a[0];
        for (size_t i = 0; i < a.size(); ++i) {
            expectNumber(a, i);
            if (toDouble(a[i]) < toDouble(best)) best = a[i];
        }
        return allInts(a) ? best : makeReal(toDouble(best));
    });
    lisp.defineBuiltin(L"REM", [](Interpreter&, const Args& a) {
        expectCount(a, 1, SIZE_MAX);
        for (size_t i = 0; i < a.size(); ++i) expectNumber(a, i);
        if (allInts(a)) {
            int32_t acc = a[0]->intValue;
            for (size_t i = 1; i < a.size(); ++i) {
                if (a[i]->intValue == 0) Interpreter::fail(L"divide by zero");
                acc = static_cast<int32_t>(static_cast<int64_t>(acc) % a[i]->intValue);
            }
            return makeInt(acc);
        }
        double acc = toDouble(a[0]);
        for (size_t i = 1; i < a.size(); ++i) {
            if (toDouble(a[i]) == 0) Interpreter::fail(L"divide by zero");
            acc = std::fmod(acc, toDouble(a[i]));
        }
        return makeReal(acc);
    });
    lisp.defineBuiltin(L"FIX", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        const double v = expectNumber(a, 0);
        if (!(v > -2147483649.0 && v < 2147483648.0)) Interpreter::fail(L"bad argument value: fix " + printForm(a[0], true));
        return makeInt(static_cast<int32_t>(v));
    });
    lisp.defineBuiltin(L"FLOAT", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        return makeReal(expectNumber(a, 0));
    });
    auto unary = [&lisp](const wchar_t* name, double (*f)(double), bool positiveOnly) {
        lisp.defineBuiltin(name, [f, positiveOnly, name](Interpreter&, const Args& a) {
            expectCount(a, 1, 1);
            const double v = expectNumber(a, 0);
            if (positiveOnly && v < 0) Interpreter::fail(std::wstring(L"function undefined for argument: ") + printForm(a[0], true));
            return makeReal(f(v));
        });
    };
    unary(L"SQRT", [](double v) { return std::sqrt(v); }, true);
    unary(L"SIN", [](double v) { return std::sin(v); }, false);
    unary(L"COS", [](double v) { return std::cos(v); }, false);
    unary(L"EXP", [](double v) { return std::exp(v); }, false);
    lisp.defineBuiltin(L"LOG", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        const double v = expectNumber(a, 0);
        if (v <= 0) Interpreter::fail(L"function undefined for argument: " + printForm(a[0], true));
        return makeReal(std::log(v));
    });
    lisp.defineBuiltin(L"ATAN", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 2);
        const double y = expectNumber(a, 0);
        return makeReal(a.size() == 2 ? std::atan2(y, expectNumber(a, 1)) : std::atan(y));
    });
    lisp.defineBuiltin(L"EXPT", [](Interpreter&, const Args& a) {
        expectCount(a, 2, 2);
        const double r = std::pow(expectNumber(a, 0), expectNumber(a, 1));
        if (!allInts(a)) return makeReal(r);
        // Beyond 64 bits converting the power to an integer is undefined,
        // and its low bits are lost to the double anyway: it gives 0.
        if (!(std::fabs(r) < 9.2e18)) return makeInt(0);
        return makeInt(wrap(static_cast<int64_t>(r)));
    });
    lisp.setGlobal(L"PI", makeReal(3.14159265358979323846));

    // Lists.
    for (const wchar_t* letters : {L"A", L"D", L"AA", L"AD", L"DA", L"DD", L"AAA", L"AAD", L"ADA", L"ADD", L"DAA", L"DAD", L"DDA", L"DDD"}) {
        defineAccessor(lisp, letters);
    }
    lisp.defineBuiltin(L"CONS", [](Interpreter&, const Args& a) {
        expectCount(a, 2, 2);
        return cons(a[0], a[1]);
    });
    lisp.defineBuiltin(L"LIST", [](Interpreter&, const Args& a) { return makeList(a); });
    lisp.defineBuiltin(L"APPEND", [](Interpreter&, const Args& a) {
        std::vector<ValuePtr> items;
        for (size_t i = 0; i < a.size(); ++i) {
            const auto part = listItems(expectList(a, i));
            items.insert(items.end(), part.begin(), part.end());
        }
        return makeList(items);
    });
    lisp.defineBuiltin(L"NTH", [](Interpreter&, const Args& a) {
        expectCount(a, 2, 2);
        const int32_t n = expectInt(a, 0);
        const ValuePtr rest = nthCdr(expectList(a, 1), n);
        return (n < 0 || !rest || rest->type != Type::Cons) ? nullptr : rest->car;
    });
    lisp.defineBuiltin(L"LENGTH", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        return makeInt(static_cast<int32_t>(listItems(expectList(a, 0)).size()));
    });
    lisp.defineBuiltin(L"REVERSE", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        auto items = listItems(expectList(a, 0));
        std::reverse(items.begin(), items.end());
        return makeList(items);
    });
    lisp.defineBuiltin(L"LAST", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        const auto items = listItems(expectList(a, 0));
        return items.empty() ? nullptr : items.back();
    });
    lisp.defineBuiltin(L"ASSOC", [](Interpreter&, const Args& a) {
        expectCount(a, 2, 2);
        for (const ValuePtr& item : listItems(expectList(a, 1))) {
            if (item && item->type == Type::Cons && valuesEqual(item->car, a[0])) return item;
        }
        return ValuePtr();
    });
    lisp.defineBuiltin(L"MEMBER", [](Interpreter&, const Args& a) {
        expectCount(a, 2, 2);
        for (ValuePtr p = expectList(a, 1); p && p->type == Type::Cons; p = p->cdr) {
            if (valuesEqual(p->car, a[0])) return p;
        }
        return ValuePtr();
    });
    lisp.defineBuiltin(L"SUBST", [](Interpreter&, const Args& a) {
        expectCount(a, 3, 3);
        auto items = listItems(expectList(a, 2));
        for (ValuePtr& item : items) {
            if (valuesEqual(item, a[1])) item = a[0];
        }
        return makeList(items);
    });
    lisp.defineBuiltin(L"MAPCAR", [](Interpreter& l, const Args& a) {
        expectCount(a, 2, SIZE_MAX);
        std::vector<std::vector<ValuePtr>> lists;
        size_t n = SIZE_MAX;
        for (size_t i = 1; i < a.size(); ++i) {
            lists.push_back(listItems(expectList(a, i)));
            n = std::min(n, lists.back().size());
        }
        std::vector<ValuePtr> out;
        for (size_t k = 0; k < n; ++k) {
            std::vector<ValuePtr> callArgs;
            for (const auto& list : lists) callArgs.push_back(list[k]);
            out.push_back(l.apply(a[0], callArgs));
        }
        return makeList(out);
    });
    lisp.defineBuiltin(L"APPLY", [](Interpreter& l, const Args& a) {
        expectCount(a, 2, 2);
        return l.apply(a[0], listItems(expectList(a, 1)));
    });
    lisp.defineBuiltin(L"EVAL", [](Interpreter& l, const Args& a) {
        expectCount(a, 1, 1);
        return l.eval(a[0]);
    });
    lisp.defineBuiltin(L"READ", [](Interpreter& l, const Args& a) {
        expectCount(a, 0, 1);
        if (a.empty()) return ValuePtr();
        const auto forms = l.readAll(expectString(a, 0));
        return forms.empty() ? nullptr : forms.front();
    });

    // Predicates.
    lisp.defineBuiltin(L"NULL", [](Interpreter& l, const Args& a) {
        expectCount(a, 1, 1);
        return truth(l, !a[0]);
    });
    lisp.defineBuiltin(L"NOT", [](Interpreter& l, const Args& a) {
        expectCount(a, 1, 1);
        return truth(l, !a[0]);
    });
    lisp.defineBuiltin(L"ATOM", [](Interpreter& l, const Args& a) {
        expectCount(a, 1, 1);
        return truth(l, !a[0] || a[0]->type != Type::Cons);
    });
    lisp.defineBuiltin(L"LISTP", [](Interpreter& l, const Args& a) {
        expectCount(a, 1, 1);
        return truth(l, isList(a[0]));
    });
    lisp.defineBuiltin(L"NUMBERP", [](Interpreter& l, const Args& a) {
        expectCount(a, 1, 1);
        return truth(l, isNumber(a[0]));
    });
    lisp.defineBuiltin(L"ZEROP", [](Interpreter& l, const Args& a) {
        expectCount(a, 1, 1);
        return truth(l, expectNumber(a, 0) == 0);
    });
    lisp.defineBuiltin(L"MINUSP", [](Interpreter& l, const Args& a) {
        expectCount(a, 1, 1);
        return truth(l, expectNumber(a, 0) < 0);
    });
    lisp.defineBuiltin(L"BOUNDP", [](Interpreter& l, const Args& a) {
        expectCount(a, 1, 1);
        return truth(l, a[0] && a[0]->type == Type::Sym && l.isBound(a[0]->text));
    });
    lisp.defineBuiltin(L"EQ", [](Interpreter& l, const Args& a) {
        expectCount(a, 2, 2);
        bool same = a[0] == a[1];
        if (!same && a[0] && a[1] && a[0]->type == a[1]->type && a[0]->type != Type::Cons && a[0]->type != Type::Str) {
            same = valuesEqual(a[0], a[1]);  // atoms of equal value are the same atom
        }
        return truth(l, same);
    });
    lisp.defineBuiltin(L"EQUAL", [](Interpreter& l, const Args& a) {
        expectCount(a, 2, 3);
        return truth(l, valuesEqual(a[0], a[1], a.size() == 3 ? expectNumber(a, 2) : 0));
    });
    lisp.defineBuiltin(L"TYPE", [](Interpreter& l, const Args& a) -> ValuePtr {
        expectCount(a, 1, 1);
        if (!a[0]) return nullptr;
        switch (a[0]->type) {
            case Type::Int: return l.symbol(L"INT");
            case Type::Real: return l.symbol(L"REAL");
            case Type::Str: return l.symbol(L"STR");
            case Type::Sym: return l.symbol(L"SYM");
            case Type::Cons: return l.symbol(L"LIST");
            case Type::Subr: return l.symbol(L"SUBR");
            case Type::UserFunc: return l.symbol(L"USUBR");
            case Type::External: return l.symbol(L"EXRXSUBR");
            case Type::Ename: return l.symbol(L"ENAME");
            case Type::PickSet: return l.symbol(L"PICKSET");
            case Type::File: return l.symbol(L"FILE");
        }
        return nullptr;
    });

    // Strings.
    lisp.defineBuiltin(L"STRCAT", [](Interpreter&, const Args& a) {
        std::wstring out;
        for (size_t i = 0; i < a.size(); ++i) out += expectString(a, i);
        return makeString(out);
    });
    lisp.defineBuiltin(L"STRLEN", [](Interpreter&, const Args& a) {
        size_t n = 0;
        for (size_t i = 0; i < a.size(); ++i) n += expectString(a, i).size();
        return makeInt(static_cast<int32_t>(n));
    });
    lisp.defineBuiltin(L"SUBSTR", [](Interpreter&, const Args& a) {
        expectCount(a, 2, 3);
        const std::wstring& text = expectString(a, 0);
        const int32_t start = expectInt(a, 1);
        if (start < 1) Interpreter::fail(L"bad argument value: positive " + printForm(a[1], true));
        if (static_cast<size_t>(start) > text.size()) return makeString(L"");
        size_t count = std::wstring::npos;
        if (a.size() == 3) {
            const int32_t n = expectInt(a, 2);
            if (n < 0) Interpreter::fail(L"bad argument value: non-negative " + printForm(a[2], true));
            count = static_cast<size_t>(n);
        }
        return makeString(text.substr(static_cast<size_t>(start) - 1, count));
    });
    lisp.defineBuiltin(L"STRCASE", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 2);
        const std::wstring& text = expectString(a, 0);
        return makeString(a.size() == 2 && a[1] ? lower(text) : upper(text));
    });
    lisp.defineBuiltin(L"ITOA", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        return makeString(std::to_wstring(expectInt(a, 0)));
    });
    lisp.defineBuiltin(L"ATOI", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        return makeInt(static_cast<int32_t>(std::wcstol(expectString(a, 0).c_str(), nullptr, 10)));
    });
    lisp.defineBuiltin(L"ATOF", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        const double v = std::wcstod(expectString(a, 0).c_str(), nullptr);
        return makeReal(std::isfinite(v) ? v : 0.0);
    });
    lisp.defineBuiltin(L"ASCII", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        const std::wstring& text = expectString(a, 0);
        return makeInt(text.empty() ? 0 : static_cast<int32_t>(text[0]));
    });
    lisp.defineBuiltin(L"CHR", [](Interpreter&, const Args& a) {
        expectCount(a, 1, 1);
        const int32_t code = expectInt(a, 0);
        return makeString(code == 0 ? L"" : std::wstring(1, static_cast<wchar_t>(code)));
    });
}

}  // namespace tz::cad::lisp
