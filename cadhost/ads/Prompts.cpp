// Prompts answered from the session (acedInitGet, acedGetReal, acedGetInt,
// acedGetDist, acedGetString, acedGetPoint, acedGetKword, acedGetFileD),
// the break test, alerts and failure messages.
#include <algorithm>
#include <cmath>
#include <cwchar>
#include <cwctype>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "acdbads.h"
#include "acedads.h"
#include "acutads.h"
#include "core/Console.h"
#include "core/HostState.h"

using tz::cad::console;

namespace {

struct InitGet {
    int bits = 0;
    std::vector<std::wstring> keywords;
};
InitGet pendingInitGet;
std::wstring lastKeyword;

// acedInitGet applies to the next prompt only.
InitGet takeInitGet() {
    InitGet taken = std::move(pendingInitGet);
    pendingInitGet = InitGet{};
    return taken;
}

std::wstring lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

std::wstring trim(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return L"";
    const size_t last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

// Which keyword an answer names, case-insensitively, as initget defines
// them: "LType" is LT, LTY, LTYP or LTYPE (its capitals lead, and any
// longer start of the word will do); "eXit" is X or EXIT (capitals
// elsewhere are the short form); "LTYPE,LT" is LT or a longer start of
// LTYPE and answers "LTYPE"; a word without small letters ("LTYPE", "3D")
// must be typed whole.
std::optional<std::wstring> matchKeyword(const std::wstring& answer, const std::vector<std::wstring>& keywords) {
    const std::wstring typed = lower(answer);
    if (typed.empty()) return std::nullopt;
    for (const auto& given : keywords) {
        const size_t comma = given.find(L',');
        const std::wstring keyword = given.substr(0, comma);
        const std::wstring full = lower(keyword);
        if (typed == full) return keyword;
        std::wstring shortForm;
        if (comma != std::wstring::npos) {
            shortForm = lower(given.substr(comma + 1));
        } else {
            // A word without small letters ("LTYPE", "3D") has no short form.
            if (std::none_of(keyword.begin(), keyword.end(), [](wchar_t c) { return std::iswlower(c); })) continue;
            for (wchar_t c : keyword) {
                if (std::iswupper(c)) shortForm += static_cast<wchar_t>(std::towlower(c));
            }
        }
        if (shortForm.empty()) continue;
        if (typed == shortForm) return keyword;
        const bool leads = full.compare(0, shortForm.size(), shortForm) == 0;
        if (leads && typed.size() > shortForm.size() && full.compare(0, typed.size(), typed) == 0) return keyword;
    }
    return std::nullopt;
}

std::optional<double> parseReal(const std::wstring& text) {
    const std::wstring t = trim(text);
    if (t.empty()) return std::nullopt;
    wchar_t* end = nullptr;
    const double value = std::wcstod(t.c_str(), &end);
    if (end == nullptr || *end != 0 || !std::isfinite(value)) return std::nullopt;
    if (t.find_first_of(L"xXnNiI") != std::wstring::npos) return std::nullopt;  // hex, nan, inf
    return value;
}

std::optional<std::vector<double>> parseCoordinates(const std::wstring& text) {
    std::vector<double> values;
    std::wstringstream parts(trim(text));
    std::wstring part;
    while (std::getline(parts, part, L',')) {
        auto value = parseReal(part);
        if (!value) return std::nullopt;
        values.push_back(*value);
    }
    if (values.size() < 2 || values.size() > 3) return std::nullopt;
    if (values.size() == 2) values.push_back(0.0);
    return values;
}

// Whether an answer that is not a value is turned away: neither a keyword
// nor taken as any text (initget bit 128). Only then is it worth a message.
bool refused(const std::wstring& text, const InitGet& init) {
    return !matchKeyword(text, init.keywords) && !(init.bits & RSG_OTHER);
}

// The shared prompt loop. `accept` returns an empty optional (and prints
// its message) when the answer is not valid, so the prompt is asked again.
enum class Outcome { Value, Empty, Cancel, Keyword };

template <class Accept>
Outcome ask(const ACHAR* prompt, const InitGet& init, Accept accept) {
    const std::wstring text = prompt ? prompt : L"";
    for (;;) {
        std::optional<std::wstring> answer = console().prompt(text);
        if (!answer || *answer == L"*cancel*") return Outcome::Cancel;
        const std::wstring trimmed = trim(*answer);
        if (trimmed.empty()) {
            if (init.bits & RSG_NONULL) {
                console().print(L"\nPlease enter a value.\n");
                continue;
            }
            return Outcome::Empty;
        }
        if (accept(trimmed)) return Outcome::Value;
        if (auto keyword = matchKeyword(trimmed, init.keywords)) {
            lastKeyword = *keyword;
            return Outcome::Keyword;
        }
        if (init.bits & RSG_OTHER) {  // any text is taken, as a keyword
            lastKeyword = trimmed;
            return Outcome::Keyword;
        }
    }
}

int statusOf(Outcome outcome) {
    switch (outcome) {
        case Outcome::Value: return RTNORM;
        case Outcome::Empty: return RTNONE;
        case Outcome::Keyword: return RTKWORD;
        case Outcome::Cancel: break;
    }
    return RTCAN;
}

bool checkNumberLimits(double value, int bits) {
    if ((bits & RSG_NOZERO) && value == 0) {
        console().print(L"\nValue must be nonzero.\n");
        return false;
    }
    if ((bits & RSG_NONEG) && value < 0) {
        console().print(L"\nValue must be positive.\n");
        return false;
    }
    return true;
}

void copyOut(const std::wstring& text, ACHAR* result, size_t size) {
    if (result == nullptr || size == 0) return;
    const size_t n = std::min(text.size(), size - 1);
    std::wmemcpy(result, text.c_str(), n);
    result[n] = 0;
}

}  // namespace

int acedInitGet(int controlBits, const ACHAR* keywords) {
    pendingInitGet.bits = controlBits;
    pendingInitGet.keywords.clear();
    if (keywords != nullptr) {
        std::wstringstream words(keywords);
        std::wstring word;
        while (words >> word) pendingInitGet.keywords.push_back(word);
    }
    return RTNORM;
}

int acedGetReal(const ACHAR* prompt, ads_real* result) {
    const InitGet init = takeInitGet();
    double value = 0;
    const Outcome outcome = ask(prompt, init, [&](const std::wstring& text) {
        auto parsed = parseReal(text);
        if (!parsed) {
            if (refused(text, init)) console().print(L"\nRequires numeric value.\n");
            return false;
        }
        if (!checkNumberLimits(*parsed, init.bits)) return false;
        value = *parsed;
        return true;
    });
    if (outcome == Outcome::Value && result) *result = value;
    return statusOf(outcome);
}

int acedGetInt(const ACHAR* prompt, int* result) {
    const InitGet init = takeInitGet();
    int value = 0;
    const Outcome outcome = ask(prompt, init, [&](const std::wstring& text) {
        auto parsed = parseReal(text);
        if (!parsed || *parsed != std::floor(*parsed) || *parsed < -32768 || *parsed > 32767) {
            if (refused(text, init)) console().print(L"\nRequires an integer value.\n");
            return false;
        }
        if (!checkNumberLimits(*parsed, init.bits)) return false;
        value = static_cast<int>(*parsed);
        return true;
    });
    if (outcome == Outcome::Value && result) *result = value;
    return statusOf(outcome);
}

int acedGetDist(const ads_point, const ACHAR* prompt, ads_real* result) {
    const InitGet init = takeInitGet();
    double value = 0;
    const Outcome outcome = ask(prompt, init, [&](const std::wstring& text) {
        ads_real parsed = 0;
        if (acdbDisToF(text.c_str(), -1, &parsed) != RTNORM) {
            if (refused(text, init)) console().print(L"\nRequires numeric distance or two points.\n");
            return false;
        }
        if (!checkNumberLimits(parsed, init.bits)) return false;
        value = parsed;
        return true;
    });
    if (outcome == Outcome::Value && result) *result = value;
    return statusOf(outcome);
}

int acedGetString(int allowSpaces, const ACHAR* prompt, ACHAR* result, size_t size) {
    takeInitGet();
    std::optional<std::wstring> answer = console().prompt(prompt ? prompt : L"", allowSpaces != 0);
    if (!answer || *answer == L"*cancel*") return RTCAN;
    std::wstring text = *answer;
    if (!allowSpaces) text = text.substr(0, text.find(L' '));
    copyOut(text, result, size);
    return text.size() + 1 > size ? RTINPUTTRUNCATED : RTNORM;
}

int acedGetPoint(const ads_point, const ACHAR* prompt, ads_point result) {
    const InitGet init = takeInitGet();
    std::vector<double> point;
    const Outcome outcome = ask(prompt, init, [&](const std::wstring& text) {
        auto parsed = parseCoordinates(text);
        if (!parsed) {
            if (refused(text, init)) console().print(L"\nInvalid point.\n");
            return false;
        }
        point = *parsed;
        return true;
    });
    if (outcome == Outcome::Value && result) {
        result[0] = point[0];
        result[1] = point[1];
        result[2] = point[2];
    }
    return statusOf(outcome);
}

int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t size) {
    const InitGet init = takeInitGet();
    const Outcome outcome = ask(prompt, init, [&](const std::wstring& text) {
        if (refused(text, init)) {
            console().print(L"\nInvalid option keyword.\n");
        }
        return false;  // only keywords are values here
    });
    if (outcome == Outcome::Keyword) {
        copyOut(lastKeyword, result, size);
        return RTNORM;
    }
    if (outcome == Outcome::Empty) copyOut(L"", result, size);
    return statusOf(outcome);
}

int acedGetInput(ACHAR* result, size_t size) {
    copyOut(lastKeyword, result, size);
    return RTNORM;
}

int acedPrompt(const ACHAR* text) {
    if (text) console().print(text);
    return RTNORM;
}

int acedUsrBrk() {
    tz::cad::HostState& state = tz::cad::hostState();
    ++state.userBreakTests;
    if (state.userBreakAt > 0 && state.userBreakTests == state.userBreakAt) return 1;
    if (tz::cad::escapePressed) {
        tz::cad::escapePressed = 0;
        return 1;
    }
    return 0;
}

int acedAlert(const ACHAR* text) {
    console().alert(text ? text : L"");
    return RTNORM;
}

int acdbFail(const ACHAR* text) {
    if (text) console().print(text);
    return RTNORM;
}

int acedGetFileD(const ACHAR* title, const ACHAR* defaultPath, const ACHAR* ext, int flags, struct resbuf* result) {
    if (result == nullptr) return RTERROR;
    takeInitGet();
    std::wstring prompt = L"\n";
    prompt += title ? title : L"Select file";
    if (defaultPath && *defaultPath) prompt += std::wstring(L" <") + defaultPath + L">";
    prompt += L": ";
    const std::wstring extension = ext ? ext : L"";
    for (;;) {
        std::optional<std::wstring> answer = console().prompt(prompt);
        if (!answer || *answer == L"*cancel*") return RTCAN;
        std::wstring path = trim(*answer);
        if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = path.substr(1, path.size() - 2);
        if (path.empty()) {
            if (!(defaultPath && *defaultPath)) return RTCAN;
            path = defaultPath;
        }
        // A name without an extension takes the default one.
        const std::string native = tz::platform::nativePath(tz::platform::toUtf8(path));
        if (!extension.empty() && extension != L"*" && std::filesystem::path(native).extension().empty()) {
            path += L"." + extension;
        }
        const bool newFile = (flags & 1) != 0;
        if (!newFile && !tz::platform::canRead(tz::platform::toUtf8(path))) {
            // A script cannot pick again, so a missing file ends the dialog.
            console().print(L"\nFile not found: " + path + L"\n");
            return RTERROR;
        }
        result->restype = RTSTR;
        result->resval.rstring = new ACHAR[path.size() + 1];
        std::wmemcpy(result->resval.rstring, path.c_str(), path.size() + 1);
        return RTNORM;
    }
}

int acedFindFile(const ACHAR* name, ACHAR* result, size_t size) {
    if (name == nullptr) return RTERROR;
    auto found = tz::cad::findSupportFile(tz::platform::toUtf8(name));
    if (!found) return RTERROR;
    copyOut(tz::platform::fromUtf8(*found), result, size);
    return RTNORM;
}

int acedGetEnv(const ACHAR* name, ACHAR* value, size_t size) {
    if (name == nullptr) return RTERROR;
    const char* found = std::getenv(tz::platform::toUtf8(name).c_str());
    if (found == nullptr) return RTERROR;
    copyOut(tz::platform::fromUtf8(found), value, size);
    return RTNORM;
}
