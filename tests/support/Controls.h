#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTest>
#include <QWidget>
#include <stdexcept>
#include <string>

namespace losfix::testing {

// Raised when a control is missing or ambiguous; Qt Test reports it as a failure.
class ControlNotFound : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The controls of that type and object name in root's window; image windows and other windows
// owned by root do not count.
template <typename T = QWidget>
QList<T*> Matches(const QObject& root, const char* name) {
    const QWidget* rootWindow =
        root.isWidgetType() ? static_cast<const QWidget&>(root).window() : nullptr;
    QList<T*> matches;
    for (T* candidate : root.findChildren<T*>(QString::fromUtf8(name))) {
        const auto* widget = qobject_cast<const QWidget*>(candidate);
        if (rootWindow == nullptr || widget == nullptr || widget->window() == rootWindow) {
            matches.append(candidate);
        }
    }
    return matches;
}

// The one control of that type and name in root's window. Anything else fails the test, and
// the program stops there: a missing control would only crash a few lines later.
template <typename T = QWidget>
T* Find(const QObject& root, const char* name) {
    const QList<T*> matches = Matches<T>(root, name);
    if (matches.size() != 1) {
        const std::string message = "control \"" + std::string(name) +
                                    "\": " + std::to_string(matches.size()) + " found, 1 expected";
        QTest::qFail(message.c_str(), __FILE__, __LINE__);
        throw ControlNotFound(message);
    }
    return matches.front();
}

// A left click on the named control, then the events it queued (long work starts queued).
void Press(const QObject& root, const char* name);

}  // namespace losfix::testing
