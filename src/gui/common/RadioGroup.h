#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace losfix {

// A titled group of radio items in columns, addressed by item index like the choices of the
// program; itemIndexChanged fires on every change of the selected item, by the user or by code.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& objectName, const QString& title, const QStringList& items,
               int columns, QWidget* parent = nullptr);

    int itemIndex() const { return index_; }
    // Values above the last item select the last item, negative values the first.
    void setItemIndex(int index);
    int count() const { return static_cast<int>(items_.size()); }
    QRadioButton* item(int index) const;
    QString itemText(int index) const;

signals:
    void itemIndexChanged(int index);

private:
    QButtonGroup* group_;
    std::vector<QRadioButton*> items_;
    int index_ = -1;
};

}  // namespace losfix
