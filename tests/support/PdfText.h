#pragma once

#include <string>
#include <vector>

namespace losfix::testing {

// The pages of a PDF file as `pdftotext -layout` reads them (poppler-utils); fails the test when
// the tool cannot read the file. Set LOSFIX_TEST_KEEP_PDF to a folder to keep a copy of every
// file read, for a look at its pages.
std::vector<std::string> PdfPages(const std::string& path);

// The lines of a page.
std::vector<std::string> Lines(const std::string& page);

// The blank-separated words of a line.
std::vector<std::string> Words(const std::string& line);

}  // namespace losfix::testing
