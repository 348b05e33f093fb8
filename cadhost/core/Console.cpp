#include "core/Console.h"

#include <cstdio>

#include "FileSystem.h"

namespace tz::cad {

Console& console() {
    static Console instance;
    return instance;
}

void Console::print(std::wstring_view text) {
    if (text.empty()) return;
    const std::string bytes = tz::platform::toUtf8(std::wstring(text));
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
    atLineStart_ = text.back() == L'\n';
}

void Console::freshLine() {
    if (!atLineStart_) print(L"\n");
}

void Console::alert(std::wstring_view text) {
    freshLine();
    print(L"*** ALERT ***\n");
    print(text);
    freshLine();
    print(L"*** END ALERT ***\n");
}

void Console::messageBox(std::wstring_view text, std::wstring_view caption, std::wstring_view buttons) {
    freshLine();
    print(L"*** MESSAGE BOX [");
    print(caption);
    print(L"] (");
    print(buttons);
    print(L") ***\n");
    print(text);
    freshLine();
    print(L"*** END MESSAGE BOX ***\n");
}

std::optional<std::wstring> Console::readLine() {
    if (input_ == nullptr) return std::nullopt;
    std::string line;
    if (!std::getline(*input_, line)) {
        input_ = nullptr;
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // A script saved by an editor that marks UTF-8 starts with the mark.
    if (firstLine_ && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    firstLine_ = false;
    if (line.size() > kMaxLineLength) {
        line.resize(kMaxLineLength);
        freshLine();
        print(L"; input line longer than " + std::to_wstring(kMaxLineLength) + L" characters: the rest is not read\n");
    }
    return tz::platform::fromUtf8(line);
}

void Console::beginAnswers(std::vector<std::wstring> answers, bool typed) {
    frames_.push_back({std::deque<std::wstring>(answers.begin(), answers.end()), typed});
}

std::vector<std::wstring> Console::endAnswers() {
    if (frames_.empty()) return {};
    std::vector<std::wstring> left(frames_.back().words.begin(), frames_.back().words.end());
    frames_.pop_back();
    return left;
}

std::optional<std::wstring> Console::prompt(std::wstring_view promptText, bool wholeLine) {
    print(promptText);
    if (!frames_.empty() && !frames_.back().words.empty()) {
        Answers& given = frames_.back();
        std::wstring answer = std::move(given.words.front());
        given.words.pop_front();
        while (wholeLine && given.typed && !given.words.empty()) {
            answer += L" " + given.words.front();
            given.words.pop_front();
        }
        print(answer);
        print(L"\n");
        return answer;
    }
    std::optional<std::wstring> answer = readLine();
    if (!answer) {
        print(L"*end of input*\n");
        return std::nullopt;
    }
    if (echoAnswers_) {
        print(*answer);
        print(L"\n");
    } else {
        atLineStart_ = true;
    }
    return answer;
}

void Console::echo(std::wstring_view line) {
    if (!echoAnswers_) return;
    print(line);
    print(L"\n");
}

void Console::setInput(std::istream* input, bool echoAnswers) {
    input_ = input;
    echoAnswers_ = echoAnswers;
    firstLine_ = true;
}

}  // namespace tz::cad
