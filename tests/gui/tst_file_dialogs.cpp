// The real file dialogs, driven as a user drives them: a timer acts on whatever modal window is
// open while the dialog runs its own event loop.
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/Dialogs.h"
#include "support/TestContext.h"

using namespace losfix;

namespace {

// Types the name into the first file dialog that opens and accepts it. A message box that comes
// up (Qt's own "file not found") is recorded and closed; a file dialog still open after that is
// cancelled, so no test waits for a user.
class DialogUser : public QObject {
public:
    explicit DialogUser(QString name) : name_(std::move(name)) {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this] { act(); });
        timer_.start();
    }

    QStringList boxes;  // the texts of the message boxes that came up
    QFileDialog::FileMode fileMode = QFileDialog::Directory;

private:
    void act() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxes << box->text();
            box->buttons().first()->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (typed_) {
                dialog->reject();
                return;
            }
            typed_ = true;
            fileMode = dialog->fileMode();
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name_);
            // Queued: a question the dialog asks runs its own loop, in which this timer must fire
            // again (a timer does not fire inside its own handler).
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    }

    QString name_;
    bool typed_ = false;
    QTimer timer_;
};

struct Answered {
    std::optional<std::string> path;
    QStringList boxes;
    QFileDialog::FileMode fileMode = QFileDialog::Directory;
};

// Runs one dialog call while a user answers it with the name.
Answered Answer(const QString& name, const std::function<std::optional<std::string>()>& call) {
    DialogUser user(name);
    Answered answered;
    answered.path = call();
    answered.boxes = user.boxes;
    answered.fileMode = user.fileMode;
    return answered;
}

}  // namespace

class FileDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::InitGuiTestEnvironment(); }

    void theOpenDialogReturnsATypedNameOfAMissingFile() {
        testing::TestContext env;
        QtDialogs dialogs;
        const Answered missing = Answer(QStringLiteral("fehlt"), [&] {
            return dialogs.openFile(
                FileDialogFor("Auswahl öffnen", "Auswahl-Datei", "whl", env.folders().base));
        });
        QCOMPARE(missing.boxes, QStringList());
        QCOMPARE(missing.fileMode, QFileDialog::AnyFile);
        QCOMPARE(QString::fromStdString(missing.path.value_or("(abgebrochen)")),
                 QString::fromStdString(env.folders().base + "fehlt.whl"));

        // An existing file is opened as before.
        QVERIFY(testing::WriteFileBytes(env.folders().rows + "da.lrei", "1\r\n"));
        const Answered existing = Answer(QStringLiteral("da.lrei"), [&] {
            return dialogs.openFile(
                FileDialogFor("Reihen-Datei öffnen", "Reihen-Datei", "lrei", env.folders().rows));
        });
        QCOMPARE(QString::fromStdString(existing.path.value_or("(abgebrochen)")),
                 QString::fromStdString(env.folders().rows + "da.lrei"));
    }
};

QTEST_MAIN(FileDialogsTest)
#include "tst_file_dialogs.moc"
