// Selection of the host's ADS interface: acedSSGet (interactive from the
// session's answers, or by mode), the selection-set calls and acedEntSel.
#include <algorithm>
#include <map>
#include <sstream>
#include <unordered_set>

#include "acedads.h"
#include "commands/CommandInput.h"
#include "core/Console.h"
#include "drawing/CurrentDrawing.h"
#include "drawing/EntitySelection.h"
#include "drawing/ResultBufferLists.h"
#include "drawing/SelectionFilter.h"
#include "drawing/SessionSettings.h"

using namespace tz::cad;

namespace {

struct SelectionSet {
    intptr_t drawing;
    std::vector<uint64_t> handles;
};

std::map<intptr_t, SelectionSet>& selectionSets() {
    static std::map<intptr_t, SelectionSet> sets;
    return sets;
}

void nameSet(intptr_t number, ads_name name) {
    name[0] = number;
    name[1] = -currentDrawing().serial();
}

intptr_t storeSet(std::vector<uint64_t> handles, ads_name name) {
    static intptr_t lastNumber = 0;
    const intptr_t number = ++lastNumber;
    selectionSets()[number] = {currentDrawing().serial(), std::move(handles)};
    nameSet(number, name);
    return number;
}

SelectionSet* findSet(const ads_name name) {
    if (name == nullptr || name[1] != -currentDrawing().serial()) return nullptr;
    auto it = selectionSets().find(name[0]);
    return it == selectionSets().end() || it->second.drawing != currentDrawing().serial() ? nullptr : &it->second;
}

std::wstring lowerAscii(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    }
    return out;
}

// What a pick at (x, y) meets, within the pick box.
std::optional<uint64_t> pickAt(const Drawing& drawing, double x, double y) {
    const double pickbox = numberVariable(L"PICKBOX").value_or(3);
    return pickNearest(drawing, x, y, pickTolerance(drawing, pickbox));
}

std::optional<uint64_t> entityByHandleText(const Drawing& drawing, std::wstring_view text) {
    const uint64_t handle = parseHandle(text);
    const Entity* entity = handle != 0 ? drawing.find(handle) : nullptr;
    if (entity == nullptr || !isSelectable(*entity)) return std::nullopt;
    return handle;
}

// What one answer at "Select objects:" selects; nullopt when it is no
// selection answer.
std::optional<std::vector<uint64_t>> answerSelection(const Drawing& drawing, std::wstring_view answer) {
    const std::wstring word = lowerAscii(trimBlanks(answer));
    if (word == L"all") return selectAll(drawing);
    if (word == L"last") {
        std::optional<uint64_t> last = drawing.lastEntity();
        if (last && !isSelectable(*drawing.find(*last))) last.reset();
        return last ? std::vector<uint64_t>{*last} : std::vector<uint64_t>{};
    }
    if (!word.empty() && word.front() == L'#') {
        std::optional<uint64_t> handle = entityByHandleText(drawing, std::wstring_view(word).substr(1));
        return handle ? std::vector<uint64_t>{*handle} : std::vector<uint64_t>{};
    }
    std::wistringstream parts(word);
    std::wstring mode, first, second, extra;
    parts >> mode >> first >> second;
    if ((mode == L"w" || mode == L"c") && !second.empty() && !(parts >> extra)) {
        const std::optional<Point3> a = parsePoint(first);
        const std::optional<Point3> b = parsePoint(second);
        if (!a || !b) return std::nullopt;
        return selectByWindow(drawing, PlanWindow::fromCorners(a->x, a->y, b->x, b->y), mode == L"c");
    }
    return std::nullopt;
}

// The session's object selection: answers until an empty one. RTCAN when
// cancelled; otherwise the handles in the order they were chosen.
int selectInteractively(const Drawing& drawing, std::vector<uint64_t>& chosen) {
    std::unordered_set<uint64_t> seen;
    bool firstAnswer = true;
    for (;;) {
        std::optional<std::wstring> answer = console().prompt(L"\nSelect objects: ");
        if (!answer || lowerAscii(trimBlanks(*answer)) == L"*cancel*") return RTCAN;
        if (trimBlanks(*answer).empty()) return RTNORM;
        std::optional<std::vector<uint64_t>> found = answerSelection(drawing, *answer);
        if (!found) {
            console().print(L"*Invalid selection*\nExpects a point or Window/Crossing/ALL/Last/#handle");
            continue;
        }
        size_t duplicates = 0;
        for (uint64_t handle : *found) {
            if (seen.insert(handle).second) {
                chosen.push_back(handle);
            } else {
                ++duplicates;
            }
        }
        std::wstring report = std::to_wstring(found->size()) + L" found";
        if (duplicates > 0) report += L" (" + std::to_wstring(duplicates) + L" duplicate)";
        if (!firstAnswer) report += L", " + std::to_wstring(chosen.size()) + L" total";
        console().print(report);
        firstAnswer = false;
    }
}

}  // namespace

int acedSSGet(const ACHAR* mode, const void* point1, const void* point2, const struct resbuf* filter,
              ads_name selection) {
    if (selection == nullptr) return RTERROR;
    Drawing& drawing = currentDrawing();
    GroupList filterGroups;
    std::wstring error;
    if (!groupsFromResultBuffers(filter, drawing, filterGroups, error) || !checkFilter(filterGroups).empty()) {
        return RTERROR;
    }
    std::vector<uint64_t> handles;
    if ((mode == nullptr || *mode == 0) && point1 != nullptr) {
        // A point alone picks what passes through it, as a pick at the prompt would.
        const auto* p = static_cast<const ads_real*>(point1);
        if (const std::optional<uint64_t> picked = pickAt(drawing, p[0], p[1])) handles.push_back(*picked);
    } else if (mode == nullptr || *mode == 0) {
        const int status = selectInteractively(drawing, handles);
        if (status != RTNORM) return status;
    } else {
        std::wstring key = upperCase(mode);
        if (!key.empty() && key.front() == L'_') key.erase(0, 1);
        if (key == L"X") {
            handles = selectAll(drawing);
        } else if (key == L"L") {
            if (std::optional<uint64_t> last = drawing.lastEntity()) handles.push_back(*last);
        } else if (key == L"W" || key == L"C") {
            if (point1 == nullptr || point2 == nullptr) return RTERROR;
            const auto* a = static_cast<const ads_real*>(point1);
            const auto* b = static_cast<const ads_real*>(point2);
            handles = selectByWindow(drawing, PlanWindow::fromCorners(a[0], a[1], b[0], b[1]), key == L"C");
        } else {
            return RTERROR;  // modes this host does not offer
        }
    }
    handles = filterSelection(drawing, handles, filterGroups);
    if (handles.empty()) return RTERROR;
    storeSet(std::move(handles), selection);
    return RTNORM;
}

int acedSSFree(const ads_name selection) {
    SelectionSet* set = findSet(selection);
    if (set == nullptr) return RTERROR;
    selectionSets().erase(selection[0]);
    return RTNORM;
}

int acedSSLength(const ads_name selection, int32_t* length) {
    SelectionSet* set = findSet(selection);
    if (set == nullptr || length == nullptr) return RTERROR;
    *length = static_cast<int32_t>(set->handles.size());
    return RTNORM;
}

int acedSSName(const ads_name selection, int32_t index, ads_name entity) {
    SelectionSet* set = findSet(selection);
    if (set == nullptr || entity == nullptr || index < 0 || static_cast<size_t>(index) >= set->handles.size()) {
        return RTERROR;
    }
    makeEntityName(currentDrawing(), set->handles[static_cast<size_t>(index)], entity);
    return RTNORM;
}

int acedSSAdd(const ads_name entity, const ads_name selection, ads_name result) {
    if (result == nullptr) return RTERROR;
    Drawing& drawing = currentDrawing();
    const bool noEntity = entity == nullptr || (entity[0] == 0 && entity[1] == 0);
    const Entity* added = noEntity ? nullptr : resolveEntityName(drawing, entity);
    if (!noEntity && (added == nullptr || !isSelectable(*added))) return RTERROR;
    const bool noSet = selection == nullptr || (selection[0] == 0 && selection[1] == 0);
    if (noSet) {
        std::vector<uint64_t> handles;
        if (added != nullptr) handles.push_back(added->handle);
        storeSet(std::move(handles), result);
        return RTNORM;
    }
    SelectionSet* set = findSet(selection);
    if (set == nullptr) return RTERROR;
    if (added != nullptr &&
        std::find(set->handles.begin(), set->handles.end(), added->handle) == set->handles.end()) {
        set->handles.push_back(added->handle);
    }
    result[0] = selection[0];
    result[1] = selection[1];
    return RTNORM;
}

int acedEntSel(const ACHAR* prompt, ads_name entity, ads_point pickPoint) {
    if (entity == nullptr) return RTERROR;
    Drawing& drawing = currentDrawing();
    const std::wstring promptText = prompt != nullptr ? prompt : L"\nSelect object: ";
    for (;;) {
        std::optional<std::wstring> answer = console().prompt(promptText);
        if (!answer) return RTCAN;
        const std::wstring word = lowerAscii(trimBlanks(*answer));
        if (word == L"*cancel*") return RTCAN;
        if (word.empty()) return RTERROR;  // Enter: nothing picked
        std::optional<uint64_t> picked;
        Point3 at{};
        if (word == L"last") {
            picked = drawing.lastEntity();
            if (picked && !isSelectable(*drawing.find(*picked))) picked.reset();
        } else if (word.front() == L'#') {
            picked = entityByHandleText(drawing, std::wstring_view(word).substr(1));
        } else if (std::optional<Point3> point = parsePoint(word)) {
            at = *point;
            picked = pickAt(drawing, point->x, point->y);
            if (!picked) return RTERROR;  // a pick that meets nothing
        } else {
            console().print(L"*Invalid selection*\nExpects a point or Last/#handle");
            continue;
        }
        if (!picked) return RTERROR;
        if (word == L"last" || word.front() == L'#') {
            // A pick by name: the point is where the entity lies.
            const EntityShape shape = entityShape(drawing, *drawing.find(*picked));
            if (!shape.empty() && !shape.front().empty()) at = shape.front().front();
        }
        makeEntityName(drawing, *picked, entity);
        if (pickPoint != nullptr) {
            pickPoint[0] = at.x;
            pickPoint[1] = at.y;
            pickPoint[2] = at.z;
        }
        return RTNORM;
    }
}
