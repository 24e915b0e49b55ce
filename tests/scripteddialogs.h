#pragma once

// Dialogs for tests: every call is recorded, answers come from queues, and
// nothing ever waits for a person.
#include "core/document/dialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace testutil {

class ScriptedDialogs : public tafelbau::Dialogs
{
public:
    std::vector<std::string> calls; ///< "message: text", "yesno: title | text", ...
    std::deque<bool> yesNoAnswers;
    std::deque<tafelbau::Answer> yesNoCancelAnswers;
    /// Button indices; without one, the Escape button answers.
    std::deque<std::size_t> choiceAnswers;
    std::deque<std::optional<std::filesystem::path>> fileAnswers;
    std::deque<std::optional<std::uint32_t>> colourAnswers;
    std::deque<std::optional<std::string>> textAnswers;

    void showMessage(const std::string &text) override { calls.push_back("message: " + text); }
    bool askYesNo(const std::string &title, const std::string &text) override
    {
        calls.push_back("yesno: " + title + " | " + text);
        return take(yesNoAnswers, false);
    }
    tafelbau::Answer askYesNoCancel(const std::string &title, const std::string &text) override
    {
        calls.push_back("yesnocancel: " + title + " | " + text);
        return take(yesNoCancelAnswers, tafelbau::Answer::Cancel);
    }
    /// Recorded as "choice: title | text | A/B*/C~": "*" marks the button
    /// Return presses, "~" the one Escape presses.
    std::size_t askChoice(const std::string &title, const std::string &text, const std::vector<std::string> &buttons,
                          std::size_t defaultButton, std::size_t escapeButton) override
    {
        std::string line = "choice: " + title + " | " + text + " | ";
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            line += (i ? "/" : "") + buttons[i];
            if (i == defaultButton)
                line += "*";
            if (i == escapeButton)
                line += "~";
        }
        calls.push_back(line);
        return take(choiceAnswers, escapeButton);
    }
    std::optional<std::filesystem::path> chooseOpenFile(const std::string &title, const std::filesystem::path &start,
                                                        const std::string &filter) override
    {
        calls.push_back("open: " + title + " | " + start.string() + " | " + filter);
        return take(fileAnswers, std::optional<std::filesystem::path>());
    }
    std::optional<std::filesystem::path> chooseSaveFile(const std::string &title, const std::filesystem::path &start,
                                                        const std::string &filter) override
    {
        calls.push_back("save: " + title + " | " + start.string() + " | " + filter);
        return take(fileAnswers, std::optional<std::filesystem::path>());
    }
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override
    {
        calls.push_back("colour: " + std::to_string(initial));
        return take(colourAnswers, std::optional<std::uint32_t>());
    }
    std::optional<std::string> inputText(const std::string &title, const std::string &prompt,
                                         const std::string &initial) override
    {
        calls.push_back("input: " + title + " | " + prompt + " | " + initial);
        return take(textAnswers, std::optional<std::string>());
    }

    /// The calls so far, emptied.
    std::vector<std::string> takeCalls()
    {
        std::vector<std::string> out;
        out.swap(calls);
        return out;
    }

private:
    template<typename T>
    static T take(std::deque<T> &queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T v = std::move(queue.front());
        queue.pop_front();
        return v;
    }
};

} // namespace testutil
