#include "gui/lottery/BoardPanel.h"

#include "gui/common/Style.h"

namespace losfix {

BoardPanel::BoardPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("P4"));
    setFixedSize(kWidth, kHeight);
    setFrameShape(QFrame::StyledPanel);
    SetPanelBackground(this);
    for (int n = 1; n <= kMaxNumber; ++n) {
        auto* button = new TBZahl(n, this);
        button->hide();
        connect(button, &TBZahl::stepRequested, this, &BoardPanel::stepRequested);
        buttons_[static_cast<std::size_t>(n - 1)] = button;
    }
}

TBZahl* BoardPanel::button(int number) const {
    if (number < 1 || number > kMaxNumber) {
        return nullptr;
    }
    return buttons_[static_cast<std::size_t>(number - 1)];
}

void BoardPanel::applyGeometry(const BoardGeometry& geometry) {
    const bool wasVisible = isVisible();
    // Hidden while the buttons move, so the panel repaints once.
    setUpdatesEnabled(false);
    for (auto* button : buttons_) {
        button->hide();
    }
    for (std::size_t i = 0; i < geometry.buttons.size() && i < buttons_.size(); ++i) {
        const Rect& r = geometry.buttons[i];
        buttons_[i]->setGeometry(r.left, r.top, r.width, r.height);
        buttons_[i]->setCaptionPointSize(geometry.captionPointSize);
        buttons_[i]->show();
    }
    setUpdatesEnabled(true);
    if (wasVisible) {
        update();
    }
}

void BoardPanel::showStatus(int number, NumberStatus status) {
    if (auto* b = button(number)) {
        b->setStatus(status);
    }
}

void BoardPanel::showStatuses(const std::array<NumberStatus, kMaxNumber>& statuses) {
    for (int n = 1; n <= kMaxNumber; ++n) {
        showStatus(n, statuses[static_cast<std::size_t>(n - 1)]);
    }
}

}  // namespace losfix
