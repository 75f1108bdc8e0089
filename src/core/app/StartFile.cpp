#include "core/app/StartFile.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <string_view>

#include "core/common/Error.h"

namespace losfix {

namespace {

constexpr const char* kStartsWithout = "\rDas Programm startet ohne Datei.";
constexpr const char* kWhatOpens =
    "\rBeim Start öffnet Losfix eine Reihen-Datei (*.lrei), eine Auswahl-Datei (*.whl) oder "
    "eine Fußball-Schnellauswahl (*.wh13).";
// An argument may be a hundred kilobytes of anything; a path is rarely longer than this.
constexpr std::size_t kQuotedCharacters = 260;

// The pieces of a notice, appended one by one (GCC 12 at -O3 warns falsely about chains of +).
StartFile Refused(std::initializer_list<std::string_view> pieces) {
    StartFile file;
    for (const std::string_view piece : pieces) {
        file.notice.append(piece);
    }
    file.notice.append(kStartsWithout);
    return file;
}

std::string Quoted(const std::string& text, std::size_t characters) {
    std::string quoted = "\"";
    quoted.append(messages::Excerpt(text, characters));
    quoted.push_back('"');
    return quoted;
}

std::string LowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
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
        const std::string count = std::to_string(arguments.size());
        return Refused(
            {"Losfix kann beim Start nur eine Datei öffnen, angegeben waren ", count, "."});
    }
    const std::string& argument = arguments.front();
    if (argument.empty() || argument.front() == '-') {
        const std::string option = Quoted(argument, messages::kExcerptCharacters);
        return Refused({"Unbekannte Angabe ", option, ".", kWhatOpens});
    }
    const std::string quoted = Quoted(argument, kQuotedCharacters);
    if (!files.exists(argument)) {
        return Refused({"Die Datei ", quoted, " gibt es nicht."});
    }
    if (files.isDirectory(argument)) {
        return Refused({quoted, " ist ein Ordner, keine Datei."});
    }
    const StartFileKind kind = StartFileKindOf(argument);
    if (kind == StartFileKind::None) {
        return Refused({"Die Datei ", quoted, " kann Losfix nicht öffnen.", kWhatOpens});
    }
    StartFile file;
    file.kind = kind;
    file.path = argument;
    return file;
}

}  // namespace losfix
