#pragma once

#include "gui/common/ElidedLabel.h"

namespace losfix {

// A status text of a fixed number of lines: it wraps at blanks and cuts what does not fit with
// "…"; the whole text is its tooltip, so a long text never changes the window's layout.
class WrappedNote : public ElidedLabel {
    Q_OBJECT
public:
    WrappedNote(const QString& objectName, int lines, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The lines as they are shown, the last one cut where the text goes on.
    QStringList shownLines(int width) const;

    int lines_;
};

}  // namespace losfix
