// The host's command line: what the suite prints, the prompts it shows and
// the answers it reads, all as one diffable transcript on standard output.
#pragma once

#include <deque>
#include <istream>
#include <vector>
#include <optional>
#include <string>
#include <string_view>

namespace tz::cad {

class Console {
public:
    // Text exactly as the command line shows it.
    void print(std::wstring_view text);

    // A blocking alert box: a marked block holding the exact text.
    void alert(std::wstring_view text);
    // A message box with a caption; `buttons` names them ("OK", "Yes/No").
    void messageBox(std::wstring_view text, std::wstring_view caption, std::wstring_view buttons);

    // Shows `prompt`, reads the next input line and echoes it after the prompt.
    // nullopt when the input has ended; callers treat that as Escape. A
    // prompt that takes blanks (`wholeLine`) given words typed after a
    // command's name takes all of them that are left, as one answer.
    std::optional<std::wstring> prompt(std::wstring_view promptText, bool wholeLine = false);

    // The next input line, nothing printed (dialogs echo what they take).
    // Lines of more than kMaxLineLength characters are cut there, and the
    // cut is reported; a UTF-8 byte-order mark before the first line goes.
    std::optional<std::wstring> readLine();

    // Prints a line that echoes input taken without a prompt.
    void echo(std::wstring_view line);

    // Starts a new line unless the cursor already is at the start of one.
    void freshLine();

    // Answers given ahead to one command, as the host's command function
    // gives them (`typed`: the words typed after the command's name): the
    // command's prompts take these first, echoed as if typed. Each command
    // has its own; one it starts takes none of its caller's.
    void beginAnswers(std::vector<std::wstring> answers, bool typed);
    // Ends the innermost command's answers; answers the ones it left.
    std::vector<std::wstring> endAnswers();
    void clearQueuedAnswers() { frames_.clear(); }

    // Where input lines come from; null means no input (every prompt cancels).
    void setInput(std::istream* input, bool echoAnswers);
    bool hasInput() const { return input_ != nullptr; }

    static constexpr size_t kMaxLineLength = 1 << 20;

private:
    struct Answers {
        std::deque<std::wstring> words;
        bool typed = false;
    };
    std::vector<Answers> frames_;
    std::istream* input_ = nullptr;
    bool echoAnswers_ = true;
    bool firstLine_ = true;  // of the input set last
    bool atLineStart_ = true;
};

Console& console();

}  // namespace tz::cad
