#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace losfix::testing {

// What a sighted user reads in a shown window and a screen reader cannot reach, one line each
// ("QLabel LKombis: \"8.192\" not carried ..."); empty when everything is reachable.
//
// The screen reader's side is the accessibility tree walked down from the window's own
// interface, as AT-SPI offers it. The sighted user's side is every visible widget of the window
// that shows text: labels and elided labels, buttons (also those that paint their captions),
// line edits, combo boxes, group titles and the header sections of item views. Each text must
// be the name, value or text of the widget's own accessible object (header sections: of an
// object below the view), that object must be in the tree, and a label's role must be a text
// role, not a frame or pane. Blanks, mnemonics and line-break hyphens do not count.
QStringList UnreachableTexts(QWidget& window);

// True when needle stands in haystack as whole words, compared as UnreachableTexts compares.
bool CarriesText(const QString& haystack, const QString& needle);

}  // namespace losfix::testing
