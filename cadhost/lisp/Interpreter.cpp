#include "lisp/Interpreter.h"

#include <cwctype>

#include "FileSystem.h"
#include "core/Console.h"
#include "core/HostState.h"
#include "lisp/Reader.h"

namespace tz::cad::lisp {

LispError::LispError(const std::wstring& text) : std::runtime_error(tz::platform::toUtf8(text)), message(text) {}

void Interpreter::fail(const std::wstring& message) { throw LispError(message); }

Interpreter& interpreter() {
    static Interpreter instance;
    return instance;
}

Interpreter::Interpreter() {
    t_ = symbol(L"T");
    installCoreBuiltins(*this);
    installHostBuiltins(*this);
}

ValuePtr Interpreter::symbol(const std::wstring& name) {
    std::wstring upper = name;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
    auto found = symbols_.find(upper);
    if (found != symbols_.end()) return found->second;
    auto sym = std::make_shared<Value>(Type::Sym);
    sym->text = upper;
    symbols_.emplace(upper, sym);
    return sym;
}

ValuePtr Interpreter::global(const std::wstring& name) const {
    auto found = globals_.find(name);
    return found == globals_.end() ? nullptr : found->second;
}

void Interpreter::setGlobal(const std::wstring& name, ValuePtr value) {
    if (value) globals_[name] = std::move(value);
    else globals_.erase(name);
}

bool Interpreter::isBound(const std::wstring& name) const { return globals_.count(name) != 0; }

void Interpreter::defineBuiltin(const std::wstring& name, Builtin function, bool specialForm) {
    auto subr = std::make_shared<Value>(Type::Subr);
    subr->text = name;
    subr->builtin = std::move(function);
    subr->specialForm = specialForm;
    setGlobal(symbol(name)->text, subr);
}

std::vector<ValuePtr> Interpreter::readAll(const std::wstring& text) {
    Reader reader(text, [this](const std::wstring& name) { return symbol(name); });
    std::vector<ValuePtr> forms;
    try {
        while (auto form = reader.next()) forms.push_back(*form);
    } catch (const ReadError& error) {
        fail(tz::platform::fromUtf8(error.what()));
    }
    return forms;
}

ValuePtr Interpreter::evalText(const std::wstring& text) {
    ValuePtr result;
    for (const ValuePtr& form : readAll(text)) result = eval(form);
    return result;
}

ValuePtr Interpreter::eval(const ValuePtr& form) {
    if (!form) return nullptr;
    switch (form->type) {
        case Type::Sym:
            if (form->text == L"NIL") return nullptr;
            if (form == t_) return t_;
            return global(form->text);
        case Type::Cons: break;
        default: return form;  // numbers, strings and the rest evaluate to themselves
    }

    struct DepthGuard {
        int& depth;
        DepthGuard(int& d, int limit) : depth(d) {
            if (++depth > limit) {
                --depth;
                fail(L"LISP stack overflow");
            }
        }
        ~DepthGuard() { --depth; }
    } guard(depth_, depthLimit_);

    if (escapePressed) {
        escapePressed = 0;
        fail(L"Function cancelled");
    }

    const ValuePtr& head = form->car;
    ValuePtr function;
    if (head && head->type == Type::Sym) {
        function = global(head->text);
        if (!function || (function->type != Type::Subr && function->type != Type::UserFunc &&
                          function->type != Type::External)) {
            fail(L"no function definition: " + head->text);
        }
    } else {
        function = eval(head);
        if (!function || (function->type != Type::Subr && function->type != Type::UserFunc &&
                          function->type != Type::External)) {
            fail(L"bad function: " + printForm(function, true));
        }
    }

    std::vector<ValuePtr> args;
    ValuePtr p = form->cdr;
    for (; p && p->type == Type::Cons; p = p->cdr) {
        args.push_back(function->type == Type::Subr && function->specialForm ? p->car : eval(p->car));
    }
    if (p) fail(L"bad list: " + printForm(form, true));
    return apply(function, args);
}

ValuePtr Interpreter::apply(const ValuePtr& given, const std::vector<ValuePtr>& args) {
    // A quoted symbol or lambda expression names the function to call.
    ValuePtr function = given;
    if (function && function->type == Type::Sym) function = global(function->text);
    else if (function && function->type == Type::Cons) function = eval(function);
    if (!function) fail(L"bad function: " + printForm(given, true));
    switch (function->type) {
        case Type::Subr: return function->builtin(*this, args);
        case Type::UserFunc: return callUserFunction(function, args);
        case Type::External:
            // A plug-in's function outlives its plug-in only as a name.
            if (!callExternal || function->external.module == nullptr) {
                fail(L"no function definition: " + function->text);
            }
            return callExternal(function->external, args);
        default: fail(L"bad function: " + printForm(function, true));
    }
}

ValuePtr Interpreter::callUserFunction(const ValuePtr& function, const std::vector<ValuePtr>& args) {
    // The lambda list: parameters, then "/" and the local symbols.
    std::vector<std::wstring> params, locals;
    bool inLocals = false;
    for (const ValuePtr& item : listItems(function->car)) {
        if (!item || item->type != Type::Sym) fail(L"bad argument list");
        if (item->text == L"/") inLocals = true;
        else (inLocals ? locals : params).push_back(item->text);
    }
    if (args.size() < params.size()) fail(L"too few arguments");
    if (args.size() > params.size()) fail(L"too many arguments");

    // Dynamic binding: the old values come back however the body ends.
    struct Binding {
        std::wstring name;
        ValuePtr old;
        bool wasBound;
    };
    std::vector<Binding> saved;
    for (const auto& name : params) saved.push_back({name, global(name), isBound(name)});
    for (const auto& name : locals) saved.push_back({name, global(name), isBound(name)});
    struct Restore {
        Interpreter& lisp;
        std::vector<Binding>& saved;
        ~Restore() {
            for (auto it = saved.rbegin(); it != saved.rend(); ++it) lisp.setGlobal(it->name, it->old);
        }
    } restore{*this, saved};

    for (size_t i = 0; i < params.size(); ++i) setGlobal(params[i], args[i]);
    for (const auto& name : locals) setGlobal(name, nullptr);

    ValuePtr result;
    for (ValuePtr body = function->cdr; body && body->type == Type::Cons; body = body->cdr) result = eval(body->car);
    return result;
}

void badArgument(const wchar_t* predicate, const ValuePtr& value) {
    Interpreter::fail(std::wstring(L"bad argument type: ") + predicate + L" " + printForm(value, true));
}

void expectCount(const std::vector<ValuePtr>& args, size_t min, size_t max) {
    if (args.size() < min) Interpreter::fail(L"too few arguments");
    if (args.size() > max) Interpreter::fail(L"too many arguments");
}

const std::wstring& expectString(const std::vector<ValuePtr>& args, size_t index) {
    if (index >= args.size()) Interpreter::fail(L"too few arguments");
    const ValuePtr& v = args[index];
    if (!v || v->type != Type::Str) badArgument(L"stringp", v);
    return v->text;
}

double expectNumber(const std::vector<ValuePtr>& args, size_t index) {
    if (index >= args.size()) Interpreter::fail(L"too few arguments");
    if (!isNumber(args[index])) badArgument(L"numberp:", args[index]);
    return toDouble(args[index]);
}

int32_t expectInt(const std::vector<ValuePtr>& args, size_t index) {
    if (index >= args.size()) Interpreter::fail(L"too few arguments");
    const ValuePtr& v = args[index];
    if (!v || v->type != Type::Int) badArgument(L"fixnump:", v);
    return v->intValue;
}

ValuePtr expectList(const std::vector<ValuePtr>& args, size_t index) {
    if (index >= args.size()) Interpreter::fail(L"too few arguments");
    if (!isList(args[index])) badArgument(L"listp", args[index]);
    return args[index];
}

}  // namespace tz::cad::lisp
