#include "support/PdfText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <sstream>
#include <stdexcept>

namespace losfix::testing {

std::vector<std::string> PdfPages(const std::string& path) {
    const QString file = QString::fromStdString(path);
    if (const QByteArray keep = qgetenv("LOSFIX_TEST_KEEP_PDF"); !keep.isEmpty()) {
        const QString copy =
            QDir(QString::fromLocal8Bit(keep)).filePath(QFileInfo(file).fileName());
        QFile::remove(copy);
        QFile::copy(file, copy);
    }
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                             QStringLiteral("UTF-8"), file, QStringLiteral("-")});
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0) {
        const std::string message =
            "pdftotext could not read " + path + ": " + tool.readAllStandardError().toStdString();
        QTest::qFail(message.c_str(), __FILE__, __LINE__);
        throw std::runtime_error(message);
    }
    const std::string text = tool.readAllStandardOutput().toStdString();
    std::vector<std::string> pages;
    std::size_t start = 0;
    // Every page ends with a form feed.
    for (std::size_t feed = text.find('\f'); feed != std::string::npos;
         feed = text.find('\f', start)) {
        pages.push_back(text.substr(start, feed - start));
        start = feed + 1;
    }
    return pages;
}

std::vector<std::string> Lines(const std::string& page) {
    std::vector<std::string> lines;
    std::istringstream stream(page);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream stream(line);
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

}  // namespace losfix::testing
