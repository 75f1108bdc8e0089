#include "gui/print/Printing.h"

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMenu>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScreen>
#include <QThread>
#include <QToolButton>
#include <atomic>
#include <exception>
#include <map>
#include <memory>

#include "core/common/FileAccess.h"
#include "core/common/IniFile.h"
#include "gui/common/ErrorGuard.h"
#include "gui/common/ScopeExit.h"
#include "gui/print/DocumentPainter.h"

namespace losfix {

namespace {

constexpr double kMarginMillimetres = 15;
constexpr int kResolution = 1200;  // printer and PDF lay the pages out alike
constexpr qint64 kProgressAfterMs = 400;

// The set-up chosen in this session, by settings file, for as long as that file does not exist.
std::map<std::string, PrintSetup>& SessionSetups() {
    static std::map<std::string, PrintSetup> setups;
    return setups;
}

QPageSize PageSizeOfKey(const std::string& key) {
    const QString wanted = QString::fromStdString(key);
    for (int id = 0; id <= static_cast<int>(QPageSize::LastPageSize); ++id) {
        const auto pageId = static_cast<QPageSize::PageSizeId>(id);
        if (pageId != QPageSize::Custom &&
            QPageSize::key(pageId).compare(wanted, Qt::CaseInsensitive) == 0) {
            return QPageSize(pageId);
        }
    }
    return QPageSize(QPageSize::A4);
}

void StampTime(PrintDocument& document) {
    if (document.printedAt.empty()) {
        document.printedAt = PrintedAtNow();
    }
}

std::string PdfTitle(const PrintDocument& document) {
    return document.headLines.empty() ? document.title
                                      : document.title + " \xE2\x80\x93 " + document.headLines[0];
}

}  // namespace

PrintSetup LoadPrintSetup(const AppContext& context) {
    const IniFile ini(*context.files, context.folders.settingsFile());
    if (!ini.exists()) {
        const auto& session = SessionSetups();
        const auto found = session.find(ini.path());
        return found != session.end() ? found->second : PrintSetup{};
    }
    return ReadPrintSetup(ini);
}

void KeepPrintSetup(const AppContext& context, const PrintSetup& setup) {
    IniFile ini(*context.files, context.folders.settingsFile());
    SessionSetups()[ini.path()] = setup;
    WritePrintSetup(ini, setup);
}

void ApplyPrintSetup(QPagedPaintDevice& device, const PrintSetup& setup) {
    const QPageLayout layout(
        PageSizeOfKey(setup.paper),
        setup.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter);
    device.setPageLayout(layout);
}

PrintSetup PrintSetupOf(const QPagedPaintDevice& device, PrintSetup setup) {
    const QPageLayout layout = device.pageLayout();
    const QPageSize size = layout.pageSize();
    if (size.isValid() && size.id() != QPageSize::Custom) {
        setup.paper = size.key().toStdString();
    }
    setup.landscape = layout.orientation() == QPageLayout::Landscape;
    return setup;
}

std::string PrintedAtNow() {
    const QDateTime now = QDateTime::currentDateTime();
    return PrintedAtText(now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
                         now.time().minute());
}

std::string ProposedPdfNameToday(const std::string& fileName, const std::string& fallbackStem) {
    const QDate today = QDate::currentDate();
    return ProposedPdfName(fileName, fallbackStem, today.year(), today.month(), today.day());
}

PrintMenu AddPrintMenu(QToolButton* button, const QString& prefix) {
    auto* menu = new QMenu(button);
    menu->setObjectName(QStringLiteral("M%1Drucken").arg(prefix));
    PrintMenu entries;
    entries.print = menu->addAction(QStringLiteral("Drucken…"));
    entries.print->setObjectName(QStringLiteral("A%1Drucken").arg(prefix));
    entries.pdf = menu->addAction(QStringLiteral("Als PDF speichern…"));
    entries.pdf->setObjectName(QStringLiteral("A%1Pdf").arg(prefix));
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    return entries;
}

void ShowPrintPreview(AppContext& context, QWidget* parent, PrintDocument document) {
    StampTime(document);
    const auto shared = std::make_shared<const PrintDocument>(std::move(document));
    const PrintSetup setup = LoadPrintSetup(context);
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setResolution(kResolution);
    printer->setDocName(QString::fromStdString(PdfTitle(*shared)));
    printer->setCreator(QString::fromUtf8(shared->title.c_str()));
    ApplyPrintSetup(*printer, setup);

    auto* dialog = new QPrintPreviewDialog(printer.get(), parent);
    dialog->setObjectName(QStringLiteral("FDruckvorschau"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (const QScreen* screen =
            parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        dialog->resize(std::min(900, room.width() - 40), std::min(1000, room.height() - 60));
    }
    Dialogs& dialogs = *context.dialogs;
    ConnectGuarded(
        dialog, &QPrintPreviewDialog::paintRequested, dialog, dialogs, [shared](QPrinter* target) {
            // The preview records every page at once and cannot let the window paint
            // meanwhile (it would draw the pages it is replacing): a large one shows the wait
            // cursor. A real print lets the window paint between its pages.
            QApplication::setOverrideCursor(Qt::WaitCursor);
            const ScopeExit restore([] { QApplication::restoreOverrideCursor(); });
            QPaintEngine* engine = target->paintEngine();
            const bool printing = engine != nullptr && engine->type() == QPaintEngine::Pdf;
            PaintDocument(*shared, *target, [printing](int, int) {
                if (printing) {
                    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                }
                return true;
            });
        });
    // The printer lives as long as the dialog; the set-up chosen in it is kept when it closes.
    ConnectGuarded(dialog, &QDialog::finished, dialog, dialogs, [&context, printer, setup] {
        const PrintSetup chosen = PrintSetupOf(*printer, setup);
        if (!(chosen == setup)) {
            KeepPrintSetup(context, chosen);
        }
    });
    dialog->open();
}

std::optional<QByteArray> RenderPdf(const PrintDocument& document, const PrintSetup& setup,
                                    const std::function<bool(int, int)>& afterPage) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kResolution);
        writer.setCreator(QString::fromUtf8(document.title.c_str()));
        writer.setTitle(QString::fromStdString(PdfTitle(document)));
        ApplyPrintSetup(writer, setup);
        if (!PaintDocument(document, writer, afterPage)) {
            return std::nullopt;
        }
    }
    return bytes;
}

bool SaveDocumentAsPdf(AppContext& context, QWidget* parent, PrintDocument document,
                       const std::string& proposedName) {
    FileDialogRequest request =
        FileDialogFor("Als PDF speichern", "PDF-Datei", "pdf", context.folders.rows);
    request.proposedName = proposedName;
    request.confirmOverwrite = true;
    const auto path = context.dialogs->saveFile(request);
    if (!path) {
        return false;
    }
    StampTime(document);
    const PrintSetup setup = LoadPrintSetup(context);

    // Long documents take a few seconds: they are rendered beside the window, which paints
    // meanwhile and shows how far it has come; "Abbrechen" stops before anything is written.
    std::atomic<int> pagesDone{0};
    std::atomic<int> pageCount{0};
    std::atomic<bool> stop{false};
    std::optional<QByteArray> bytes;
    std::exception_ptr failure;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            bytes = RenderPdf(document, setup, [&](int done, int count) {
                pagesDone = done;
                pageCount = count;
                return !stop.load();
            });
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QProgressDialog progress(QStringLiteral("Die PDF-Datei wird erstellt …"),
                             QStringLiteral("Abbrechen"), 0, 0, parent);
    progress.setObjectName(QStringLiteral("FPdfFortschritt"));
    progress.setWindowTitle(QStringLiteral("Als PDF speichern"));
    // Nothing else may change or close the windows meanwhile; the dialog only appears when the
    // work takes noticeably long, and until then the windows take no input.
    progress.setWindowModality(Qt::ApplicationModal);
    // Wide enough for the longest label, which comes only once the page count is known.
    progress.setMinimumWidth(progress.fontMetrics().horizontalAdvance(QStringLiteral(
                                 "Die PDF-Datei wird erstellt: Seite 8888 von 8888 …")) +
                             80);
    if (auto* bar = progress.findChild<QProgressBar*>()) {
        bar->setAccessibleName(QStringLiteral("Fortschritt"));
    }
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.reset();  // it is shown below, not by its own timer
    QObject::connect(&progress, &QProgressDialog::canceled, [&stop] { stop = true; });
    QElapsedTimer elapsed;
    elapsed.start();
    thread->start();
    while (!thread->wait(QDeadlineTimer(20))) {
        const int count = pageCount.load();
        if (!progress.isVisible() && elapsed.elapsed() >= kProgressAfterMs) {
            progress.show();
        }
        if (count > 0 && progress.isVisible()) {
            progress.setMaximum(count);
            progress.setValue(std::min(pagesDone.load(), count - 1));
            progress.setLabelText(QStringLiteral("Die PDF-Datei wird erstellt: Seite %1 von %2 …")
                                      .arg(pagesDone.load())
                                      .arg(count));
        }
        QCoreApplication::processEvents(progress.isVisible() ? QEventLoop::AllEvents
                                                             : QEventLoop::ExcludeUserInputEvents);
    }
    progress.hide();
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (!bytes) {
        return false;
    }
    SaveFile(*context.files, *path,
             std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    return true;
}

}  // namespace losfix
