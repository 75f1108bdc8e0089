#include "support/ScriptedDialogs.h"

namespace losfix::testing {

void ScriptedDialogs::information(const std::string& text) {
    messages.push_back({Kind::Information, text});
}

void ScriptedDialogs::warning(const std::string& text) {
    messages.push_back({Kind::Warning, text});
}

void ScriptedDialogs::error(const std::string& text) {
    messages.push_back({Kind::Error, text});
}

bool ScriptedDialogs::question(const std::string& text) {
    messages.push_back({Kind::Question, text});
    if (questionAnswers.empty()) {
        return false;
    }
    const bool answer = questionAnswers.front();
    questionAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::openFile(const FileDialogRequest& request) {
    openRequests.push_back(request);
    if (openAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::saveFile(const FileDialogRequest& request) {
    saveRequests.push_back(request);
    if (saveAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = saveAnswers.front();
    saveAnswers.pop_front();
    if (answer) {
        answer = WithDefaultExtension(*answer, request.defaultExtension);
    }
    return answer;
}

std::string ScriptedDialogs::last(Kind kind) const {
    for (auto it = messages.rbegin(); it != messages.rend(); ++it) {
        if (it->kind == kind) {
            return it->text;
        }
    }
    return {};
}

int ScriptedDialogs::count(Kind kind) const {
    int n = 0;
    for (const auto& message : messages) {
        n += message.kind == kind ? 1 : 0;
    }
    return n;
}

void ScriptedDialogs::clear() {
    messages.clear();
    openRequests.clear();
    saveRequests.clear();
}

}  // namespace losfix::testing
