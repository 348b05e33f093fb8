#include "lisp/Value.h"

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <utility>
#include <vector>

namespace tz::cad::lisp {

ValuePtr makeInt(int32_t value) {
    auto v = std::make_shared<Value>(Type::Int);
    v->intValue = value;
    return v;
}

ValuePtr makeReal(double value) {
    auto v = std::make_shared<Value>(Type::Real);
    v->realValue = value;
    return v;
}

ValuePtr makeString(std::wstring text) {
    auto v = std::make_shared<Value>(Type::Str);
    v->text = std::move(text);
    return v;
}

Value::~Value() {
    // Every cell this value alone holds is unlinked from its car and cdr
    // before it goes, so its own destructor finds nothing left to follow.
    std::vector<ValuePtr> pending;
    auto take = [&](ValuePtr& p) {
        if (p && p.use_count() == 1) pending.push_back(std::move(p));
    };
    take(car);
    take(cdr);
    while (!pending.empty()) {
        ValuePtr cell = std::move(pending.back());
        pending.pop_back();
        take(cell->car);
        take(cell->cdr);
    }
}

ValuePtr cons(ValuePtr car, ValuePtr cdr) {
    auto v = std::make_shared<Value>(Type::Cons);
    v->car = std::move(car);
    v->cdr = std::move(cdr);
    return v;
}

ValuePtr makeList(const std::vector<ValuePtr>& items) {
    ValuePtr list;
    for (auto it = items.rbegin(); it != items.rend(); ++it) list = cons(*it, list);
    return list;
}

std::vector<ValuePtr> listItems(const ValuePtr& list) {
    std::vector<ValuePtr> items;
    for (ValuePtr p = list; p && p->type == Type::Cons; p = p->cdr) items.push_back(p->car);
    return items;
}

bool isNumber(const ValuePtr& v) { return v && (v->type == Type::Int || v->type == Type::Real); }

double toDouble(const ValuePtr& v) { return v->type == Type::Int ? v->intValue : v->realValue; }

bool isList(const ValuePtr& v) { return !v || v->type == Type::Cons; }

bool isTrue(const ValuePtr& v) { return v != nullptr; }

std::wstring roundTripText(double value) {
    wchar_t buffer[64];
    for (int digits = 15; digits <= 17; ++digits) {
        std::swprintf(buffer, 64, L"%.*g", digits, value);
        if (std::wcstod(buffer, nullptr) == value) break;
    }
    return buffer;
}

std::wstring formatReal(double value) {
    if (std::isnan(value)) return L"1.#QNAN";
    if (std::isinf(value)) return value > 0 ? L"1.#INF" : L"-1.#INF";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    std::string text = buffer;
    const size_t e = text.find('e');
    const std::string mantissa = text.substr(0, e);
    if (mantissa.find('.') == std::string::npos) {
        if (e == std::string::npos) text += ".0";
        else text.insert(e, ".0");
    }
    return std::wstring(text.begin(), text.end());
}

namespace {

std::wstring quoted(const std::wstring& text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        switch (c) {
            case L'"': out += L"\\\""; break;
            case L'\\': out += L"\\\\"; break;
            case L'\n': out += L"\\n"; break;
            case L'\t': out += L"\\t"; break;
            case L'\r': out += L"\\r"; break;
            case 27: out += L"\\e"; break;
            default: out += c;
        }
    }
    return out + L"\"";
}

std::wstring hex(intptr_t value) {
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%lx", static_cast<long>(value));
    return buffer;
}

// Lists nested deeper than this print as "(...)": printing goes one call
// deeper per level.
constexpr int kMaxPrintDepth = 1000;

std::wstring printForm(const ValuePtr& v, bool escaped, int depth) {
    if (!v) return L"nil";
    switch (v->type) {
        case Type::Int: return std::to_wstring(v->intValue);
        case Type::Real: return formatReal(v->realValue);
        case Type::Str: return escaped ? quoted(v->text) : v->text;
        case Type::Sym: return v->text;
        case Type::Subr: return L"<Subr: #" + hex(reinterpret_cast<intptr_t>(v.get())) + L">";
        case Type::UserFunc: return L"<Subr: #" + hex(reinterpret_cast<intptr_t>(v.get())) + L">";
        case Type::External: return L"<Exsubr: #" + hex(reinterpret_cast<intptr_t>(v.get())) + L">";
        case Type::Ename: return L"<Entity name: " + hex(v->name[0]) + L">";
        case Type::PickSet: return L"<Selection set: " + hex(v->name[0]) + L">";
        case Type::File: return L"<File: #" + hex(reinterpret_cast<intptr_t>(v->file.get())) + L">";
        case Type::Cons: {
            if (depth >= kMaxPrintDepth) return L"(...)";
            std::wstring out = L"(";
            ValuePtr p = v;
            bool first = true;
            while (p && p->type == Type::Cons) {
                if (!first) out += L" ";
                out += printForm(p->car, escaped, depth + 1);
                first = false;
                p = p->cdr;
            }
            if (p) out += L" . " + printForm(p, escaped, depth + 1);
            return out + L")";
        }
    }
    return L"";
}

}  // namespace

std::wstring printForm(const ValuePtr& v, bool escaped) { return printForm(v, escaped, 0); }

bool valuesEqual(const ValuePtr& first, const ValuePtr& second, double fuzz) {
    // Pairs still to compare are kept on a list of our own, not on the
    // machine stack: lists nested millions deep compare as any other.
    std::vector<std::pair<ValuePtr, ValuePtr>> pending{{first, second}};
    while (!pending.empty()) {
        ValuePtr a = std::move(pending.back().first), b = std::move(pending.back().second);
        pending.pop_back();
        for (bool more = true; more;) {
            more = false;
            if (a == b) break;
            if (!a || !b) return false;
            if (isNumber(a) && isNumber(b)) {
                const bool same = a->type == Type::Int && b->type == Type::Int
                                      ? a->intValue == b->intValue
                                      : std::fabs(toDouble(a) - toDouble(b)) <= fuzz;
                if (!same) return false;
                break;
            }
            if (a->type != b->type) return false;
            switch (a->type) {
                case Type::Str:
                case Type::Sym:
                    if (a->text != b->text) return false;
                    break;
                case Type::Cons:
                    pending.emplace_back(a->car, b->car);
                    a = a->cdr;
                    b = b->cdr;
                    more = true;
                    break;
                case Type::Ename:
                case Type::PickSet:
                    if (a->name[0] != b->name[0] || a->name[1] != b->name[1]) return false;
                    break;
                default: return false;
            }
        }
    }
    return true;
}

}  // namespace tz::cad::lisp
