#pragma once

#include <QString>

#include "core/export/EvaluationText.h"

class QAbstractItemModel;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QTableWidget;
class QWidget;

namespace losfix {

// The controls both evaluation windows are made of, alike in look and in what a screen reader
// hears.

// A label that shows a value: plain text, wrapped, selectable, with room for `lines` lines kept
// while it is empty so that the window does not jump. Its text is what a screen reader reads.
QLabel* MakeValueLabel(const QString& objectName, QWidget* parent, int lines = 1);
// The caption of a field ("&Zusatzzahl:"); set the field as its buddy.
QLabel* MakeCaption(const QString& objectName, const QString& text, QWidget* parent);
QPushButton* MakeButton(const QString& objectName, const QString& caption, QWidget* parent);
// 0..1000, hidden until a computation runs.
QProgressBar* MakeProgress(const QString& objectName, QWidget* parent);
// The rows with their hits; a click on a column caption sorts by it.
QTableView* MakeHitTable(const QString& objectName, QAbstractItemModel* model,
                         const QString& accessibleName, QWidget* parent);
// A small read-only table of odds.
QTableWidget* MakeOddsTable(const QString& objectName, const QString& accessibleName,
                            QWidget* parent);
// Shows the texts; an empty table leaves no rows and no columns. With `intervalsBelow` a figure's
// interval "(… – …)" goes on a second line of its cell, so that estimated odds fit the width.
void FillOddsTable(QTableWidget* table, const ReportTable& content, bool intervalsBelow = false);
// Column widths for the widest text a column can hold (or its caption), measured once instead
// of over 99,999 rows; the last column takes what is left.
void FitColumns(QTableView* view, const QStringList& widestTexts);
// In the middle of the owner, but wholly on its screen.
void PlaceWindow(QWidget* window, const QWidget* owner);

}  // namespace losfix
