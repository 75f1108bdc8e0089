#include "support/TestContext.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include "core/app/DataFolders.h"
#include "core/common/Random.h"
#include "gui/common/Style.h"

namespace losfix::testing {

TestContext::TestContext() {
    const std::string root = dir_.path().toStdString() + "/";
    QDir().mkpath(dir_.path() + "/appdata");
    context_.dialogs = &dialogs;
    context_.files = &files;
    context_.clipboard = &clipboard;
    context_.shell = &shell;
    context_.network = &network;
    context_.serverUrl = "http://127.0.0.1:1";
    context_.folders = MakeDataFolders(root + "appdata", root + "home");
    CreateDataFolders(context_.folders, files);
    context_.tempProbeFile = root + "tmp.tmp";
    context_.seedSource = CountingSeedSource(12345, 7919);
}

std::string TestContext::path(const std::string& relative) const {
    return dir_.path().toStdString() + "/" + relative;
}

std::string VersionRecord(const std::string& version) {
    // Eight filler bytes, the length byte, the text padded to 15.
    std::string record(8, '\0');
    record += static_cast<char>(version.size());
    record += version;
    record.resize(24, '\0');
    return record;
}

std::string ReadFileBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().toStdString();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
           static_cast<qint64>(bytes.size());
}

void InitGuiTestEnvironment() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    RegisterFonts();
    ApplyProgramStyle();
}

}  // namespace losfix::testing
