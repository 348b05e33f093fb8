// The forms whose arguments are not evaluated first: quote, setq, defun,
// lambda, progn, if, cond, while, repeat, foreach, and, or.
#include "lisp/Interpreter.h"

namespace tz::cad::lisp {

namespace {

ValuePtr evalBody(Interpreter& lisp, const std::vector<ValuePtr>& forms, size_t from) {
    ValuePtr result;
    for (size_t i = from; i < forms.size(); ++i) result = lisp.eval(forms[i]);
    return result;
}

const std::wstring& expectSymbolName(const ValuePtr& v) {
    if (!v || v->type != Type::Sym || v->text == L"NIL" || v->text == L"T") badArgument(L"symbolp", v);
    return v->text;
}

ValuePtr makeUserFunction(const std::wstring& name, const ValuePtr& lambdaList, ValuePtr body) {
    if (!isList(lambdaList)) badArgument(L"listp", lambdaList);
    auto function = std::make_shared<Value>(Type::UserFunc);
    function->text = name;
    function->car = lambdaList;
    function->cdr = std::move(body);
    return function;
}

ValuePtr restAfter(const std::vector<ValuePtr>& items, size_t from) {
    return makeList(std::vector<ValuePtr>(items.begin() + static_cast<long>(std::min(from, items.size())), items.end()));
}

}  // namespace

void installControlForms(Interpreter& lisp) {
    lisp.defineBuiltin(L"QUOTE", [](Interpreter&, const std::vector<ValuePtr>& a) {
        expectCount(a, 1, 1);
        return a[0];
    }, true);
    lisp.defineBuiltin(L"FUNCTION", [](Interpreter&, const std::vector<ValuePtr>& a) {
        expectCount(a, 1, 1);
        return a[0];
    }, true);
    lisp.defineBuiltin(L"SETQ", [](Interpreter& l, const std::vector<ValuePtr>& a) {
        if (a.size() % 2 != 0) Interpreter::fail(L"too few arguments");
        ValuePtr value;
        for (size_t i = 0; i < a.size(); i += 2) {
            const std::wstring& name = expectSymbolName(a[i]);
            value = l.eval(a[i + 1]);
            l.setGlobal(name, value);
        }
        return value;
    }, true);
    lisp.defineBuiltin(L"DEFUN", [](Interpreter& l, const std::vector<ValuePtr>& a) {
        expectCount(a, 2, SIZE_MAX);
        const std::wstring& name = expectSymbolName(a[0]);
        l.setGlobal(name, makeUserFunction(name, a[1], restAfter(a, 2)));
        return a[0];
    }, true);
    lisp.defineBuiltin(L"LAMBDA", [](Interpreter&, const std::vector<ValuePtr>& a) {
        expectCount(a, 1, SIZE_MAX);
        return makeUserFunction(L"LAMBDA", a[0], restAfter(a, 1));
    }, true);
    lisp.defineBuiltin(L"PROGN", [](Interpreter& l, const std::vector<ValuePtr>& a) { return evalBody(l, a, 0); }, true);
    lisp.defineBuiltin(L"IF", [](Interpreter& l, const std::vector<ValuePtr>& a) {
        expectCount(a, 2, 3);
        if (isTrue(l.eval(a[0]))) return l.eval(a[1]);
        return a.size() == 3 ? l.eval(a[2]) : nullptr;
    }, true);
    lisp.defineBuiltin(L"COND", [](Interpreter& l, const std::vector<ValuePtr>& a) {
        for (const ValuePtr& clause : a) {
            if (!clause || clause->type != Type::Cons) badArgument(L"listp", clause);
            ValuePtr test = l.eval(clause->car);
            if (isTrue(test)) {
                const std::vector<ValuePtr> body = listItems(clause->cdr);
                return body.empty() ? test : evalBody(l, body, 0);
            }
        }
        return ValuePtr();
    }, true);
    lisp.defineBuiltin(L"WHILE", [](Interpreter& l, const std::vector<ValuePtr>& a) {
        expectCount(a, 1, SIZE_MAX);
        ValuePtr result;
        while (isTrue(l.eval(a[0]))) result = evalBody(l, a, 1);
        return result;
    }, true);
    lisp.defineBuiltin(L"REPEAT", [](Interpreter& l, const std::vector<ValuePtr>& a) {
        expectCount(a, 1, SIZE_MAX);
        const ValuePtr count = l.eval(a[0]);
        if (!count || count->type != Type::Int) badArgument(L"fixnump:", count);
        ValuePtr result;
        for (int32_t i = 0; i < count->intValue; ++i) result = evalBody(l, a, 1);
        return result;
    }, true);
    lisp.defineBuiltin(L"FOREACH", [](Interpreter& l, const std::vector<ValuePtr>& a) {
        expectCount(a, 2, SIZE_MAX);
        const std::wstring& name = expectSymbolName(a[0]);
        const ValuePtr list = l.eval(a[1]);
        if (!isList(list)) badArgument(L"listp", list);
        const ValuePtr old = l.global(name);
        ValuePtr result;
        try {
            for (const ValuePtr& item : listItems(list)) {
                l.setGlobal(name, item);
                result = evalBody(l, a, 2);
            }
        } catch (...) {
            l.setGlobal(name, old);
            throw;
        }
        l.setGlobal(name, old);
        return result;
    }, true);
    lisp.defineBuiltin(L"AND", [](Interpreter& l, const std::vector<ValuePtr>& a) {
        for (const ValuePtr& form : a) {
            if (!isTrue(l.eval(form))) return ValuePtr();
        }
        return l.t();
    }, true);
    lisp.defineBuiltin(L"OR", [](Interpreter& l, const std::vector<ValuePtr>& a) {
        for (const ValuePtr& form : a) {
            if (isTrue(l.eval(form))) return l.t();
        }
        return ValuePtr();
    }, true);
}

}  // namespace tz::cad::lisp
