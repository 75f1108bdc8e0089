#include "core/app/StartFile.h"

#include <algorithm>
#include <cctype>

#include "core/common/Error.h"

namespace losfix {

namespace {

constexpr const char* kStartsWithout = "\rDas Programm startet ohne Datei.";
constexpr const char* kWhatOpens =
    "\rBeim Start öffnet Losfix eine Reihen-Datei (*.lrei), eine Auswahl-Datei (*.whl) oder "
    "eine Fußball-Schnellauswahl (*.wh13).";
// An argument may be a hundred kilobytes of anything; a path is rarely longer than this.
constexpr std::size_t kQuotedCharacters = 260;

std::string Quoted(const std::string& text, std::size_t characters) {
    return "\"" + messages::Excerpt(text, characters) + "\"";
}

std::string LowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

StartFile Refused(std::string notice) {
    StartFile file;
    file.notice = std::move(notice);
    return file;
}

}  // namespace

StartFileKind StartFileKindOf(const std::string& path) {
    const std::string name = FileNameOf(path);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        return StartFileKind::None;
    }
    const std::string extension = LowerAscii(name.substr(dot + 1));
    if (extension == "lrei") {
        return StartFileKind::RowFile;
    }
    if (extension == "whl") {
        return StartFileKind::SelectionFile;
    }
    if (extension == "wh13") {
        return StartFileKind::QuickTipFile;
    }
    return StartFileKind::None;
}

StartFile ReadStartArguments(const std::vector<std::string>& arguments, const FileSystem& files) {
    if (arguments.empty()) {
        return {};
    }
    if (arguments.size() > 1) {
        return Refused("Losfix kann beim Start nur eine Datei öffnen, angegeben waren " +
                       std::to_string(arguments.size()) + "." + kStartsWithout);
    }
    const std::string& argument = arguments.front();
    if (argument.empty() || argument.front() == '-') {
        return Refused("Unbekannte Angabe " + Quoted(argument, messages::kExcerptCharacters) + "." +
                       kWhatOpens + kStartsWithout);
    }
    const std::string quoted = Quoted(argument, kQuotedCharacters);
    if (!files.exists(argument)) {
        return Refused("Die Datei " + quoted + " gibt es nicht." + kStartsWithout);
    }
    if (files.isDirectory(argument)) {
        return Refused(quoted + " ist ein Ordner, keine Datei." + kStartsWithout);
    }
    const StartFileKind kind = StartFileKindOf(argument);
    if (kind == StartFileKind::None) {
        return Refused("Die Datei " + quoted + " kann Losfix nicht öffnen." + kWhatOpens +
                       kStartsWithout);
    }
    StartFile file;
    file.kind = kind;
    file.path = argument;
    return file;
}

}  // namespace losfix
