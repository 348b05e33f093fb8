#include "lisp/ResbufConversion.h"

#include <climits>
#include <cwchar>

#include "acutads.h"
#include "drawing/GroupCodes.h"
#include "lisp/Interpreter.h"

namespace tz::cad::lisp {

namespace {

ACHAR* copyString(const std::wstring& text) {
    auto* copy = new ACHAR[text.size() + 1];
    std::wmemcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

bool isPointList(const ValuePtr& v, size_t& count) {
    const auto items = listItems(v);
    count = items.size();
    if (count < 2 || count > 3) return false;
    ValuePtr p = v;
    for (size_t i = 0; i < count; ++i) p = p->cdr;
    if (p) return false;  // dotted
    for (const auto& item : items) {
        if (!isNumber(item)) return false;
    }
    return true;
}

struct Builder {
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    resbuf* add(int type) {
        resbuf* rb = acutNewRb(type);
        if (tail) tail->rbnext = rb;
        else head = rb;
        tail = rb;
        return rb;
    }
};

// A result buffer list nests as deep as the value; deeper than anything
// the host's functions read, it is an error rather than a stack overflow.
constexpr int kMaxResbufDepth = 1000;

void appendValue(Builder& out, const ValuePtr& v, int depth = 0) {
    if (!v) {
        out.add(RTNIL);
        return;
    }
    switch (v->type) {
        case Type::Int:
            if (v->intValue >= SHRT_MIN && v->intValue <= SHRT_MAX) out.add(RTSHORT)->resval.rint = static_cast<short>(v->intValue);
            else out.add(RTLONG)->resval.rlong = v->intValue;
            break;
        case Type::Real: out.add(RTREAL)->resval.rreal = v->realValue; break;
        case Type::Str: out.add(RTSTR)->resval.rstring = copyString(v->text); break;
        case Type::Sym:
            if (v->text == L"T") out.add(RTT);
            else out.add(RTSTR)->resval.rstring = copyString(v->text);  // other symbols pass by name
            break;
        case Type::Ename:
        case Type::PickSet: {
            resbuf* rb = out.add(v->type == Type::Ename ? RTENAME : RTPICKS);
            rb->resval.rlname[0] = v->name[0];
            rb->resval.rlname[1] = v->name[1];
            break;
        }
        case Type::Cons: {
            size_t count = 0;
            if (isPointList(v, count)) {
                resbuf* rb = out.add(count == 2 ? RTPOINT : RT3DPOINT);
                const auto items = listItems(v);
                for (size_t i = 0; i < count; ++i) rb->resval.rpoint[i] = toDouble(items[i]);
                if (count == 2) rb->resval.rpoint[2] = 0;
                break;
            }
            if (depth >= kMaxResbufDepth) throw LispError(L"LISP stack overflow: lists nested too deep");
            out.add(RTLB);
            ValuePtr p = v;
            for (; p && p->type == Type::Cons; p = p->cdr) appendValue(out, p->car, depth + 1);
            if (p) {
                out.add(RTDOTE);
                appendValue(out, p, depth + 1);
            }
            out.add(RTLE);
            break;
        }
        default: out.add(RTNIL); break;  // functions and files have no result buffer form
    }
}

ValuePtr pointValue(const resbuf* rb, bool threeD) {
    std::vector<ValuePtr> items{makeReal(rb->resval.rpoint[0]), makeReal(rb->resval.rpoint[1])};
    if (threeD) items.push_back(makeReal(rb->resval.rpoint[2]));
    return makeList(items);
}

// Reads one value starting at rb; leaves rb on the next unread buffer.
ValuePtr readValue(const resbuf*& rb);

ValuePtr readListBody(const resbuf*& rb) {
    std::vector<ValuePtr> items;
    ValuePtr tail;
    while (rb && rb->restype != RTLE) {
        if (rb->restype == RTDOTE) {
            rb = rb->rbnext;
            if (rb && rb->restype != RTLE) tail = readValue(rb);
            continue;
        }
        items.push_back(readValue(rb));
    }
    if (rb) rb = rb->rbnext;  // RTLE
    ValuePtr list = tail;
    for (auto it = items.rbegin(); it != items.rend(); ++it) list = cons(*it, list);
    return list;
}

ValuePtr readValue(const resbuf*& rb) {
    const resbuf* here = rb;
    rb = rb->rbnext;
    if (here->restype == RTLB) return readListBody(rb);
    return fromResbufValue(here);
}

}  // namespace

ValuePtr makeEname(const intptr_t name[2]) {
    auto v = std::make_shared<Value>(Type::Ename);
    v->name[0] = name[0];
    v->name[1] = name[1];
    return v;
}

ValuePtr makePickSet(const intptr_t name[2]) {
    auto v = std::make_shared<Value>(Type::PickSet);
    v->name[0] = name[0];
    v->name[1] = name[1];
    return v;
}

resbuf* toResbufList(const std::vector<ValuePtr>& values) {
    Builder out;
    try {
        for (const auto& v : values) appendValue(out, v);
    } catch (...) {
        acutRelRb(out.head);
        throw;
    }
    return out.head;
}

ValuePtr fromResbufValue(const resbuf* rb) {
    if (!rb) return nullptr;
    switch (rb->restype) {
        case RTREAL:
        case RTANG:
        case RTORINT: return makeReal(rb->resval.rreal);
        case RTSHORT: return makeInt(rb->resval.rint);
        case RTLONG: return makeInt(rb->resval.rlong);
        case RTSTR: return makeString(rb->resval.rstring ? rb->resval.rstring : L"");
        case RTPOINT: return pointValue(rb, false);
        case RT3DPOINT: return pointValue(rb, true);
        case RTENAME: return makeEname(rb->resval.rlname);
        case RTPICKS: return makePickSet(rb->resval.rlname);
        case RTT: return interpreter().t();
        default: return nullptr;  // RTNIL, RTNONE, RTVOID
    }
}

ValuePtr fromResbufList(const resbuf* list) {
    std::vector<ValuePtr> items;
    const resbuf* rb = list;
    ValuePtr tail;
    while (rb) {
        if (rb->restype == RTLE) {  // stray list end
            rb = rb->rbnext;
            continue;
        }
        if (rb->restype == RTDOTE) {
            rb = rb->rbnext;
            if (rb) tail = readValue(rb);
            continue;
        }
        items.push_back(readValue(rb));
    }
    // A list that is one RTLB ... RTLE group is that list itself.
    if (items.size() == 1 && !tail && list && list->restype == RTLB) return items[0];
    ValuePtr out = tail;
    for (auto it = items.rbegin(); it != items.rend(); ++it) out = cons(*it, out);
    return out;
}

resbuf* toEntityList(const ValuePtr& list) {
    if (!isList(list)) badArgument(L"listp", list);
    Builder out;
    try {
        for (const ValuePtr& group : listItems(list)) {
            if (!group || group->type != Type::Cons || !group->car || group->car->type != Type::Int) {
                Interpreter::fail(L"bad DXF group: " + printForm(group, true));
            }
            const int code = group->car->intValue;
            const ValuePtr& value = group->cdr;
            resbuf* rb = out.add(code);
            switch (groupValueType(code)) {
                case RTSTR:
                    if (!value || value->type != Type::Str) Interpreter::fail(L"bad DXF group: " + printForm(group, true));
                    rb->resval.rstring = copyString(value->text);
                    break;
                case RT3DPOINT: {
                    const auto items = listItems(value);
                    if (items.size() < 2 || items.size() > 3) Interpreter::fail(L"bad DXF group: " + printForm(group, true));
                    for (size_t i = 0; i < 3; ++i) {
                        if (i < items.size() && !isNumber(items[i])) Interpreter::fail(L"bad DXF group: " + printForm(group, true));
                        rb->resval.rpoint[i] = i < items.size() ? toDouble(items[i]) : 0.0;
                    }
                    break;
                }
                case RTREAL:
                    if (!isNumber(value)) Interpreter::fail(L"bad DXF group: " + printForm(group, true));
                    rb->resval.rreal = toDouble(value);
                    break;
                case RTSHORT:
                    // A 16-bit group: a value beyond its range would wrap into another one.
                    if (!value || value->type != Type::Int || value->intValue < SHRT_MIN || value->intValue > SHRT_MAX)
                        Interpreter::fail(L"bad DXF group: " + printForm(group, true));
                    rb->resval.rint = static_cast<short>(value->intValue);
                    break;
                case RTLONG:
                    if (!value || value->type != Type::Int) Interpreter::fail(L"bad DXF group: " + printForm(group, true));
                    rb->resval.rlong = value->intValue;
                    break;
                case RTENAME:
                    if (!value || (value->type != Type::Ename && value->type != Type::PickSet)) {
                        Interpreter::fail(L"bad DXF group: " + printForm(group, true));
                    }
                    rb->resval.rlname[0] = value->name[0];
                    rb->resval.rlname[1] = value->name[1];
                    break;
                default: Interpreter::fail(L"bad DXF group: " + printForm(group, true));
            }
        }
    } catch (...) {
        acutRelRb(out.head);
        throw;
    }
    return out.head;
}

ValuePtr fromEntityList(const resbuf* list) {
    std::vector<ValuePtr> groups;
    for (const resbuf* rb = list; rb; rb = rb->rbnext) {
        ValuePtr value;
        switch (groupValueType(rb->restype)) {
            case RTSTR: value = makeString(rb->resval.rstring ? rb->resval.rstring : L""); break;
            case RT3DPOINT: value = pointValue(rb, true); break;
            case RTREAL: value = makeReal(rb->resval.rreal); break;
            case RTSHORT: value = makeInt(rb->resval.rint); break;
            case RTLONG: value = makeInt(rb->resval.rlong); break;
            case RTENAME: value = makeEname(rb->resval.rlname); break;
            default: break;
        }
        groups.push_back(cons(makeInt(rb->restype), value));
    }
    return makeList(groups);
}

}  // namespace tz::cad::lisp
