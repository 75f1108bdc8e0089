#include "support/AccessibleTexts.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QTextDocument>
#include <QToolButton>
#include <QWidget>
#include <optional>

#include "gui/common/ElidedLabel.h"

namespace losfix::testing {

namespace {

// Mnemonics go, blanks shrink to one, and a word broken for a second line ("aufstei- gend",
// "Excel- Export") or joined by a hyphen reads as one.
QString Normalized(QString text) {
    static const QRegularExpression brokenWord(QStringLiteral("(\\p{L})- ?(\\p{L})"));
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    text = text.simplified();
    text.replace(brokenWord, QStringLiteral("\\1\\2"));
    return text;
}

bool IsWordCharacter(QChar c) {
    return c.isLetterOrNumber();
}

// What the tree offers: for every object the texts of its own interface and of the objectless
// interfaces below it (the cells and header sections of a view), and its role.
struct Tree {
    QHash<const QObject*, QStringList> texts;
    QHash<const QObject*, QAccessible::Role> roles;
};

QStringList OwnTexts(QAccessibleInterface* node) {
    QStringList texts = {node->text(QAccessible::Name), node->text(QAccessible::Value)};
    if (QAccessibleTextInterface* text = node->textInterface()) {
        texts << text->text(0, text->characterCount());
    }
    return texts;
}

void Collect(QAccessibleInterface* node, const QObject* owner, Tree& tree, int depth) {
    if (node == nullptr || !node->isValid() || depth > 64) {
        return;
    }
    if (QObject* object = node->object(); object != nullptr && object != owner) {
        owner = object;
        tree.roles.insert(object, node->role());
    } else if (object == nullptr && owner == nullptr) {
        return;
    }
    tree.texts[owner] << OwnTexts(node);
    for (int i = 0; i < node->childCount(); ++i) {
        Collect(node->child(i), owner, tree, depth + 1);
    }
}

struct Shown {
    QString text;
    bool label = false;
};

std::optional<Shown> ShownText(const QWidget& widget) {
    if (const auto* elided = qobject_cast<const ElidedLabel*>(&widget)) {
        return Shown{elided->text(), true};
    }
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        if (!label->pixmap().isNull()) {
            return std::nullopt;  // a picture: what it shows is not known here
        }
        QString text = label->text();
        if (label->textFormat() == Qt::RichText ||
            (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
            QTextDocument document;
            document.setHtml(text);
            text = document.toPlainText();
        }
        return Shown{text, true};
    }
    if (const auto* tool = qobject_cast<const QToolButton*>(&widget);
        tool != nullptr && tool->toolButtonStyle() == Qt::ToolButtonIconOnly) {
        return std::nullopt;
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        return Shown{button->text()};
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
        return edit->echoMode() == QLineEdit::Normal ? std::optional(Shown{edit->text()})
                                                     : std::nullopt;
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
        return Shown{combo->currentText()};
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
        return Shown{group->title()};
    }
    return std::nullopt;
}

// Roles a screen reader does not read as text.
bool IsContainerRole(QAccessible::Role role) {
    switch (role) {
        case QAccessible::Border:  // AT-SPI "frame"
        case QAccessible::Pane:
        case QAccessible::Client:
        case QAccessible::Grouping:
        case QAccessible::Window:
        case QAccessible::NoRole:
            return true;
        default:
            return false;
    }
}

QString Describe(const QWidget& widget) {
    return QString::fromLatin1(widget.metaObject()->className()) + QLatin1Char(' ') +
           widget.objectName();
}

bool AnyCarries(const QStringList& texts, const QString& shown) {
    for (const QString& text : texts) {
        if (CarriesText(text, shown)) {
            return true;
        }
    }
    return false;
}

void CheckHeaders(const QHeaderView& header, const Tree& tree, QStringList& faults) {
    const QObject* view = header.parentWidget();
    QStringList carried = tree.texts.value(view) + tree.texts.value(&header);
    for (int section = 0; section < header.count(); ++section) {
        if (header.isSectionHidden(section) || header.model() == nullptr) {
            continue;
        }
        const QString text =
            header.model()->headerData(section, header.orientation(), Qt::DisplayRole).toString();
        if (!Normalized(text).isEmpty() && !AnyCarries(carried, text)) {
            faults << QStringLiteral("%1: header \"%2\" is not carried by the view")
                          .arg(Describe(header), text);
        }
    }
}

}  // namespace

bool CarriesText(const QString& haystack, const QString& needle) {
    const QString hay = Normalized(haystack);
    const QString word = Normalized(needle);
    if (word.isEmpty()) {
        return true;
    }
    for (qsizetype at = hay.indexOf(word); at >= 0; at = hay.indexOf(word, at + 1)) {
        const qsizetype end = at + word.size();
        const bool startsWord =
            at == 0 || !IsWordCharacter(hay[at - 1]) || !IsWordCharacter(word.front());
        const bool endsWord =
            end == hay.size() || !IsWordCharacter(hay[end]) || !IsWordCharacter(word.back());
        if (startsWord && endsWord) {
            return true;
        }
    }
    return false;
}

QStringList UnreachableTexts(QWidget& window) {
    Tree tree;
    Collect(QAccessible::queryAccessibleInterface(&window), nullptr, tree, 0);
    QStringList faults;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->window() != &window || !widget->isVisible()) {
            continue;
        }
        if (const auto* header = qobject_cast<const QHeaderView*>(widget)) {
            CheckHeaders(*header, tree, faults);
            continue;
        }
        const std::optional<Shown> shown = ShownText(*widget);
        if (!shown || Normalized(shown->text).isEmpty()) {
            continue;
        }
        const QString what = QStringLiteral("%1: \"%2\"").arg(Describe(*widget), shown->text);
        if (!tree.roles.contains(widget)) {
            faults << what + QStringLiteral(" is not in the accessibility tree");
            continue;
        }
        const QAccessible::Role role = tree.roles.value(widget);
        if (shown->label && IsContainerRole(role)) {
            faults << what + QStringLiteral(" is shown by an object of role %1, not as text")
                                 .arg(QString::fromLatin1(
                                     QMetaEnum::fromType<QAccessible::Role>().valueToKey(role)));
        }
        const QStringList carried = tree.texts.value(widget);
        if (!AnyCarries(carried, shown->text)) {
            faults << what + QStringLiteral(" is not carried by its accessible object (%1)")
                                 .arg(carried.join(QStringLiteral(" | ")));
        }
    }
    return faults;
}

}  // namespace losfix::testing
