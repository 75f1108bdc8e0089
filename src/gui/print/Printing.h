#pragma once

#include <QByteArray>
#include <functional>
#include <optional>
#include <string>

#include "core/app/PrintSettings.h"
#include "core/export/PrintDocument.h"
#include "gui/common/AppContext.h"

class QAction;
class QPagedPaintDevice;
class QPrinter;
class QToolButton;
class QWidget;

namespace losfix {

// Printing for every window: Qt's print preview and a PDF written like every other file. A window
// builds a PrintDocument (core/export/PrintDocument.h) and hands it over; the head, the pages and
// the page set-up are the same for all.

// The page set-up of the settings file ("Druck"), or what this session chose while the file did
// not exist yet.
PrintSetup LoadPrintSetup(const AppContext& context);
// Keeps the set-up for the session and in the settings file once that exists; throws the
// program's error when the file cannot be written.
void KeepPrintSetup(const AppContext& context, const PrintSetup& setup);

// Paper, orientation and 15 mm margins on a printer or PDF writer; an unknown paper is A4.
void ApplyPrintSetup(QPagedPaintDevice& device, const PrintSetup& setup);
// Paper and orientation as the device has them now; the distribution choice stays as given.
PrintSetup PrintSetupOf(const QPagedPaintDevice& device, PrintSetup setup);

// The date and time of printing, as the head shows it.
std::string PrintedAtNow();

// Opens Qt's print preview of the document, window-modal to `parent`, and returns at once. From
// the preview the user prints, or exports a PDF when no printer is installed; the paper and
// orientation chosen there are kept for next time. The dialog's object name is "FDruckvorschau".
void ShowPrintPreview(AppContext& context, QWidget* parent, PrintDocument document);

// The document as the bytes of a PDF file for the set-up. `afterPage` (pages done, page count)
// may return false to stop; then nothing comes back. Safe on any thread.
std::optional<QByteArray> RenderPdf(const PrintDocument& document, const PrintSetup& setup,
                                    const std::function<bool(int, int)>& afterPage = {});

// "Als PDF speichern…": asks for the file (rows folder, the proposed name, overwrite question),
// renders the PDF beside the window with a progress dialog that can stop it, then writes the
// file atomically through the file system: a failure leaves no partial file and raises the
// program's error ("Datei \"…\" kann nicht erstellt werden. …"). True when a file was written.
bool SaveDocumentAsPdf(AppContext& context, QWidget* parent, PrintDocument document,
                       const std::string& proposedName);

// The menu of a "Drucken…" button: a press on the button prints, its arrow opens the menu with
// both entries. Object names: menu "M<prefix>Drucken", entries "A<prefix>Drucken" and
// "A<prefix>Pdf".
struct PrintMenu {
    QAction* print = nullptr;  // "Drucken…"
    QAction* pdf = nullptr;    // "Als PDF speichern…"
};
PrintMenu AddPrintMenu(QToolButton* button, const QString& prefix);

// The file name a PDF is proposed under today (see ProposedPdfName).
std::string ProposedPdfNameToday(const std::string& fileName, const std::string& fallbackStem);

}  // namespace losfix
