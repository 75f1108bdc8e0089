#pragma once

#include <string>

#include "core/common/IniFile.h"

namespace losfix {

// The page set-up that the print dialogs leave behind, kept in a section of its own ("Druck")
// so that files written before there was printing stay valid.
struct PrintSetup {
    std::string paper = "A4";  // the paper's key as the print system names it ("A4", "Letter")
    bool landscape = false;
    bool distribution = false;  // the number distribution of the run goes at the end

    bool operator==(const PrintSetup&) const = default;
};

// Reads "Papier", "Ausrichtung" ("Hochformat" or "Querformat") and "Verteilung" (0 or 1) of
// section "Druck". A missing or unusable value gives its default.
PrintSetup ReadPrintSetup(const IniFile& ini);

// Writes the keys whose values differ from the file's and returns true. A file that does not
// exist yet is left alone (false): a file of this section only would make the next start read
// the main window's keys with their read defaults instead of the form defaults. Throws
// Error("In ... kann nicht geschrieben werden") when the file cannot be written.
bool WritePrintSetup(IniFile& ini, const PrintSetup& setup);

}  // namespace losfix
