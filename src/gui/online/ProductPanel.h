#pragma once

#include <QFrame>
#include <QString>

#include "gui/common/AppContext.h"

class QLabel;
class QToolButton;

namespace losfix {

struct SiblingProduct;

// Two other programs of the maker, each with a picture that opens its web page and then
// refreshes the donation status. For the lower left of the main window.
class ProductPanel : public QFrame {
    Q_OBJECT
public:
    explicit ProductPanel(AppContext& context, QWidget* parent = nullptr);

    void Image1Click();
    void Image2Click();

    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QToolButton* Image1 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label12 = nullptr;
    QToolButton* Image2 = nullptr;

signals:
    // The freshly fetched donation status ("" when none came) for the main window's box.
    void donationCounterFetched(const QString& text);

private:
    void openProduct(const SiblingProduct& product);
    void setBusy(bool busy);

    AppContext& context_;
};

}  // namespace losfix
