#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace losfix::testing {

// Records every message and answers every dialog from a script; an unscripted file dialog
// counts as cancelled, an unscripted question as "Nein".
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Information, Warning, Error, Question };
    struct Message {
        Kind kind;
        std::string text;
    };

    void information(const std::string& text) override;
    void warning(const std::string& text) override;
    void error(const std::string& text) override;
    bool question(const std::string& text) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;

    // Answers, used in order.
    std::deque<bool> questionAnswers;
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;

    // What was shown.
    std::vector<Message> messages;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;

    // The text of the last message of that kind, or "" when there was none.
    std::string last(Kind kind) const;
    int count(Kind kind) const;
    void clear();
};

}  // namespace losfix::testing
