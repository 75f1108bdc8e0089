#pragma once

#include <functional>
#include <string>
#include <vector>

namespace losfix {

// How a short helper program answered; finished is false when it could not start or ran out of
// time (it is then ended).
struct ProgramAnswer {
    bool finished = false;
    int exitCode = -1;
    std::string output;
};

// What the search for a spreadsheet program may ask of the system; tests script both.
struct SpreadsheetProbe {
    std::function<ProgramAnswer(const std::string& program,
                                const std::vector<std::string>& arguments)>
        run;
    // The program's full path when it is on the PATH, "" otherwise.
    std::function<std::string(const std::string& name)> findProgram;
};

// Runs a program and collects its standard output, waiting at most timeoutMs.
ProgramAnswer RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         int timeoutMs);

// The real system, each helper program given at most two seconds.
SpreadsheetProbe SystemSpreadsheetProbe();

// True when the desktop has a program for .xlsx workbooks: the default application that
// xdg-mime names for the type, or LibreOffice on the PATH.
bool SpreadsheetInstalled(const SpreadsheetProbe& probe);

// True when xdg-mime names a default application for .xlsx workbooks.
bool SpreadsheetAssociated(const SpreadsheetProbe& probe);

// The full path of LibreOffice on the PATH (soffice, localc or libreoffice), "" when it is not
// there.
std::string SpreadsheetProgramOnPath(const SpreadsheetProbe& probe);

// The program to start with a workbook directly because the desktop opens none: LibreOffice on
// the PATH while no default application is set for .xlsx; "" otherwise (on Windows always, where
// the check of the button already asked for the association).
std::string UnassociatedSpreadsheetProgram(const SpreadsheetProbe& probe);
std::string UnassociatedSpreadsheetProgram();

// The check of the "Excel- Export" button: the probe above, on Windows the registry's
// association of ".xlsx".
bool SpreadsheetInstalled();

}  // namespace losfix
