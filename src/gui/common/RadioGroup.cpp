#include "gui/common/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <algorithm>

namespace losfix {

RadioGroup::RadioGroup(const QString& objectName, const QString& title, const QStringList& items,
                       int columns, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)) {
    setObjectName(objectName);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setHorizontalSpacing(2);
    layout->setVerticalSpacing(2);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setObjectName(objectName + QStringLiteral("_%1").arg(i));
        // Rows as tight as the indicator allows: the board column has no height to spare.
        button->setFixedHeight(18);
        group_->addButton(button, i);
        // Items run top to bottom, then left to right, as in the classic radio group.
        layout->addWidget(button, i % rows, i / rows);
        items_.push_back(button);
    }
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && id != index_) {
            index_ = id;
            emit itemIndexChanged(id);
        }
    });
}

void RadioGroup::setItemIndex(int index) {
    if (items_.empty()) {
        return;
    }
    index = std::clamp(index, 0, count() - 1);
    items_[static_cast<std::size_t>(index)]->setChecked(true);
}

QRadioButton* RadioGroup::item(int index) const {
    if (index < 0 || index >= count()) {
        return nullptr;
    }
    return items_[static_cast<std::size_t>(index)];
}

QString RadioGroup::itemText(int index) const {
    const auto* button = item(index);
    return button != nullptr ? button->text() : QString();
}

}  // namespace losfix
