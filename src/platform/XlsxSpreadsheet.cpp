#include "platform/XlsxSpreadsheet.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <utility>

#include "core/common/Error.h"
#include "platform/Files.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace losfix {

namespace fs = std::filesystem;

namespace {

constexpr int kSheetRows = 1048576;
constexpr int kSheetColumns = 16384;
constexpr int kXlLeft = -4131;
constexpr int kXlCenter = -4108;
constexpr int kXlGeneral = 1;

// "A1:M15" or a single cell "B15".
bool ParseArea(std::string_view range, int& top, int& left, int& bottom, int& right) {
    const std::size_t colon = range.find(':');
    if (colon == std::string_view::npos) {
        if (!ParseCellAddress(range, top, left)) {
            return false;
        }
        bottom = top;
        right = left;
        return true;
    }
    if (!ParseCellAddress(range.substr(0, colon), top, left) ||
        !ParseCellAddress(range.substr(colon + 1), bottom, right)) {
        return false;
    }
    // Any two opposite corners span the same range.
    if (top > bottom) {
        std::swap(top, bottom);
    }
    if (left > right) {
        std::swap(left, right);
    }
    return true;
}

[[noreturn]] void RefuseRange(std::string_view range) {
    throw Error("Der Bereich \"" + std::string(range) + "\" ist keine gültige Zellenangabe");
}

// A text a spreadsheet program in the general format takes as a whole number; longer digit runs
// than it keeps exactly stay text so that no digit is lost.
bool WholeNumber(std::string_view text, double& value) {
    std::size_t i = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
    if (i == text.size() || text.size() - i > 15) {
        return false;
    }
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        magnitude = magnitude * 10 + (text[i] - '0');
    }
    value = text[0] == '-' ? -static_cast<double>(magnitude) : static_cast<double>(magnitude);
    return true;
}

// Pixel width of a text in Calibri 11 at 96 dpi, the workbook's default font.
int TextPixels(std::string_view text) {
    static constexpr std::pair<const char*, int> kGroups[] = {
        {"W@", 13},
        {"mM", 12},
        {"w%", 11},
        {"NOQ&", 10},
        {"ADGHUV", 9},
        {"bdehnopquBCKPRX", 8},
        {"0123456789agkvxyEFSTYZ#$*+<=>?^_|~", 7},
        {"cszL\"/\\", 6},
        {"frtJ!()-[]{}", 5},
        {"ijlI,.:;`", 4},
        {"' ", 3},
    };
    int pixels = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) {
            // One character of several bytes: count its lead byte only.
            pixels += (byte & 0xC0) == 0xC0 ? 8 : 0;
            continue;
        }
        int width = 8;
        for (const auto& [chars, groupWidth] : kGroups) {
            if (std::string_view(chars).find(text[i]) != std::string_view::npos) {
                width = groupWidth;
                break;
            }
        }
        pixels += width;
    }
    return pixels;
}

// A number as the cell shows it: digits without leading zeros, a minus sign before.
int NumberPixels(double value) {
    int pixels = value < 0 ? TextPixels("-") : 0;
    long long magnitude = static_cast<long long>(value < 0 ? -value : value);
    do {
        pixels += TextPixels("0");
        magnitude /= 10;
    } while (magnitude > 0);
    return pixels;
}

// libxlsxwriter's own error texts are English; the common ones are said in German.
std::string ReasonFor(lxw_error error) {
    switch (error) {
        case LXW_ERROR_MEMORY_MALLOC_FAILED:
            return "Zu wenig Arbeitsspeicher";
        case LXW_ERROR_CREATING_XLSX_FILE:
        case LXW_ERROR_ZIP_FILE_OPERATION:
        case LXW_ERROR_ZIP_FILE_ADD:
        case LXW_ERROR_ZIP_CLOSE:
            // The file system's reason, a full disk for example, where it left one.
            return errno != 0 ? SystemErrorText(errno) : lxw_strerror(error);
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE:
            return "Eine temporäre Datei kann nicht angelegt werden";
        case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
            return "Ein Zellentext ist länger als 32767 Zeichen";
        default:
            return lxw_strerror(error);
    }
}

// Creates the file only if it does not exist yet; false with errno set otherwise.
bool CreateExclusive(const fs::path& path) {
#ifdef _WIN32
    const int fd =
        _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        return false;
    }
    _close(fd);
#else
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0666);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
#endif
    return true;
}

// On disk before it gets its name, so that a crash leaves either no workbook or a whole one.
void SyncToDisk(const fs::path& path) {
#ifndef _WIN32
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        FlushFileBuffers(file);
        CloseHandle(file);
    }
#endif
}

// Gives the finished file the first free name: base, "base (2)", ... Never replaces a file.
// Returns the empty path with errno set when the folder refuses.
fs::path Publish(const fs::path& temporary, const fs::path& folder, const std::string& base) {
    for (int n = 1; n < 1000; ++n) {
        const std::string suffix = n == 1 ? "" : " (" + std::to_string(n) + ")";
        const fs::path target = folder / PathFromUtf8(base + suffix + ".xlsx");
#ifdef _WIN32
        if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
            return target;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
            continue;
        }
        errno = EACCES;
        return {};
#else
        if (::link(temporary.c_str(), target.c_str()) == 0) {
            ::unlink(temporary.c_str());
            return target;
        }
        if (errno == EEXIST) {
            continue;
        }
        // File systems without hard links: the name is checked, then taken.
        if (errno == EPERM || errno == ENOTSUP || errno == ENOSYS) {
            std::error_code ec;
            if (fs::exists(target, ec)) {
                continue;
            }
            fs::rename(temporary, target, ec);
            if (!ec) {
                return target;
            }
            errno = ec.value();
        }
        return {};
#endif
    }
    errno = EEXIST;
    return {};
}

struct WorkbookCloser {
    void operator()(lxw_workbook* workbook) const { lxw_workbook_free(workbook); }
};

}  // namespace

XlsxSpreadsheet::XlsxSpreadsheet(std::string folder, Shell& shell)
    : folder_(std::move(folder)), shell_(shell) {}

void XlsxSpreadsheet::createApplication() {
    created_ = true;
}

void XlsxSpreadsheet::setVisible(bool visible) {
    visible_ = visible;
}

void XlsxSpreadsheet::addWorkbook(int templateKind) {
    if (!created_ || templateKind != kWorkbookOfOneWorksheet) {
        throw Error("Die Arbeitsmappe kann nicht angelegt werden");
    }
    ++workbooks_;
}

void XlsxSpreadsheet::selectWorksheet(int workbook, int sheet) {
    // One workbook of one worksheet is all this spreadsheet holds.
    if (workbook != 1 || sheet != 1 || workbooks_ < 1) {
        throw Error(messages::ListIndexBeyondMaximum(workbook != 1 ? workbook : sheet));
    }
    sheetSelected_ = true;
}

void XlsxSpreadsheet::requireSheet() const {
    if (!sheetSelected_) {
        throw Error("Es ist kein Arbeitsblatt ausgewählt");
    }
}

void XlsxSpreadsheet::setSheetName(const std::string& name) {
    requireSheet();
    const bool badCharacter = name.find_first_of("[]:*?/\\") != std::string::npos;
    if (name.empty() || name.size() > 31 || badCharacter || name.front() == '\'' ||
        name.back() == '\'') {
        throw Error("\"" + name + "\" ist kein gültiger Name für ein Arbeitsblatt");
    }
    sheetName_ = name;
}

void XlsxSpreadsheet::setNumberFormat(const std::string& range, const std::string& format) {
    requireSheet();
    Area area;
    if (!ParseArea(range, area.top, area.left, area.bottom, area.right)) {
        RefuseRange(range);
    }
    // The general format goes by its German name in the automation calls, "General" in files.
    numberFormats_.emplace_back(area, format == kGeneralNumberFormat ? "General" : format);
}

void XlsxSpreadsheet::setEntireColumnAlignment(const std::string& corner1,
                                               const std::string& corner2, int alignment) {
    requireSheet();
    int top = 0, left = 0, bottom = 0, right = 0;
    if (!ParseArea(corner1 + ":" + corner2, top, left, bottom, right)) {
        RefuseRange(corner1 + ":" + corner2);
    }
    if (alignment != kAlignRight && alignment != kXlLeft && alignment != kXlCenter &&
        alignment != kXlGeneral) {
        throw Error("Die Ausrichtung " + std::to_string(alignment) + " ist unbekannt");
    }
    for (int column = left; column <= right; ++column) {
        columnAlignment_[column] = alignment;
    }
}

void XlsxSpreadsheet::autoFitColumns(const std::string& range) {
    requireSheet();
    int top = 0, left = 0, bottom = 0, right = 0;
    if (!ParseArea(range, top, left, bottom, right)) {
        RefuseRange(range);
    }
    // Fitted when the workbook is written, to what the columns hold then.
    for (int column = left; column <= right; ++column) {
        fittedColumns_.push_back(column);
    }
}

void XlsxSpreadsheet::setValue(const std::string& corner1, const std::string& corner2,
                               const ValueBlock& block) {
    requireSheet();
    int top = 0, left = 0, bottom = 0, right = 0;
    if (!ParseArea(corner1 + ":" + corner2, top, left, bottom, right)) {
        RefuseRange(corner1 + ":" + corner2);
    }
    if (bottom > kSheetRows || right > kSheetColumns) {
        throw Error("Die Tabelle hat mehr Zeilen, als ein Arbeitsblatt fasst (" +
                    std::to_string(kSheetRows) + ")");
    }
    if (bottom - top + 1 != block.rows() || right - left + 1 != block.columns()) {
        throw Error("Die Werte passen nicht in den Bereich " + corner1 + ":" + corner2);
    }
    values_.push_back(Values{top, left, block});
}

void XlsxSpreadsheet::writeWorkbook(const std::string& path) const {
    errno = 0;
    lxw_workbook_options options{};
    // One block arrives row by row and can go straight to disk; several may overlap.
    options.constant_memory = values_.size() <= 1 ? LXW_TRUE : LXW_FALSE;
    std::unique_ptr<lxw_workbook, WorkbookCloser> workbook(
        workbook_new_opt(path.c_str(), &options));
    if (!workbook) {
        throw Error(ReasonFor(LXW_ERROR_MEMORY_MALLOC_FAILED));
    }
    lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), sheetName_.c_str());
    if (sheet == nullptr) {
        // The name was checked when it was set; what is left is the sheet's temporary file.
        throw Error(errno != 0 ? SystemErrorText(errno) : ReasonFor(LXW_ERROR_CREATING_TMPFILE));
    }

    // One format per alignment and number format in use; nullptr for the general one.
    std::map<std::pair<int, std::string>, lxw_format*> formats;
    auto formatOf = [&](int alignment, const std::string& numberFormat) -> lxw_format* {
        if (alignment == kXlGeneral && numberFormat == "General") {
            return nullptr;
        }
        lxw_format*& format = formats[{alignment, numberFormat}];
        if (format == nullptr) {
            format = workbook_add_format(workbook.get());
            if (alignment != kXlGeneral) {
                format_set_align(format, alignment == kAlignRight ? LXW_ALIGN_RIGHT
                                         : alignment == kXlCenter ? LXW_ALIGN_CENTER
                                                                  : LXW_ALIGN_LEFT);
            }
            if (numberFormat != "General") {
                format_set_num_format(format, numberFormat.c_str());
            }
        }
        return format;
    };
    auto alignmentOf = [&](int column) {
        const auto aligned = columnAlignment_.find(column);
        return aligned == columnAlignment_.end() ? kXlGeneral : aligned->second;
    };
    auto cellFormat = [&](int row, int column) {
        const std::string* numberFormat = nullptr;
        for (const auto& [area, format] : numberFormats_) {
            if (area.contains(row, column)) {
                numberFormat = &format;
            }
        }
        return formatOf(alignmentOf(column), numberFormat ? *numberFormat : "General");
    };

    // Cells, and the widest content of every fitted column on the way.
    std::map<int, int> widest;
    for (const int column : fittedColumns_) {
        widest[column] = 0;
    }
    for (const Values& values : values_) {
        std::vector<int*> fitted(static_cast<std::size_t>(values.block.columns()), nullptr);
        for (int c = 1; c <= values.block.columns(); ++c) {
            const auto found = widest.find(values.left + c - 1);
            fitted[static_cast<std::size_t>(c - 1)] =
                found == widest.end() ? nullptr : &found->second;
        }
        for (int r = 1; r <= values.block.rows(); ++r) {
            const int row = values.top + r - 1;
            for (int c = 1; c <= values.block.columns(); ++c) {
                const std::string_view text = values.block.at(r, c);
                if (text.empty()) {
                    continue;
                }
                const int column = values.left + c - 1;
                lxw_format* format = cellFormat(row, column);
                const auto xr = static_cast<lxw_row_t>(row - 1);
                const auto xc = static_cast<lxw_col_t>(column - 1);
                int* width = fitted[static_cast<std::size_t>(c - 1)];
                double number = 0;
                lxw_error error = LXW_NO_ERROR;
                if (WholeNumber(text, number)) {
                    error = worksheet_write_number(sheet, xr, xc, number, format);
                    if (width != nullptr) {
                        *width = std::max(*width, NumberPixels(number));
                    }
                } else {
                    error =
                        worksheet_write_string(sheet, xr, xc, std::string(text).c_str(), format);
                    if (width != nullptr) {
                        *width = std::max(*width, TextPixels(text));
                    }
                }
                if (error != LXW_NO_ERROR) {
                    throw Error(ReasonFor(error));
                }
            }
        }
    }

    // Widths and whole-column formats; a fitted column without content keeps its width.
    std::map<int, int> columnPixels;
    for (const auto& [column, alignment] : columnAlignment_) {
        columnPixels[column] = 0;
    }
    for (const auto& [column, pixels] : widest) {
        if (pixels > 0) {
            columnPixels[column] = pixels + 7;  // the cell's margins and grid line
        }
    }
    for (const auto& [column, pixels] : columnPixels) {
        const auto col = static_cast<lxw_col_t>(column - 1);
        lxw_format* format = formatOf(alignmentOf(column), "General");
        const lxw_error error =
            pixels > 0 ? worksheet_set_column_pixels(sheet, col, col, pixels, format)
                       : worksheet_set_column(sheet, col, col, LXW_DEF_COL_WIDTH, format);
        if (error != LXW_NO_ERROR) {
            throw Error(ReasonFor(error));
        }
    }

    errno = 0;
    // Closing writes the file and frees the workbook, whatever the outcome.
    const lxw_error error = workbook_close(workbook.release());
    if (error != LXW_NO_ERROR) {
        throw Error(ReasonFor(error));
    }
}

std::string XlsxSpreadsheet::save(const std::tm& localTime) {
    requireSheet();
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &localTime);
    const std::string base = sheetName_ + " " + stamp;
    const fs::path folder = PathFromUtf8(folder_);
    const std::string shownPath = Utf8FromPath(folder / PathFromUtf8(base + ".xlsx"));
    auto refuse = [&shownPath, &folder](int errorNumber) {
        std::error_code ec;
        const bool folderMissing = errorNumber == ENOENT && !fs::is_directory(folder, ec);
        return Error(messages::CannotCreate(
            shownPath, SystemErrorText(folderMissing ? ENOTDIR : errorNumber)));
    };

    // A name of its own beside the target, taken before libxlsxwriter writes to it; the folder's
    // refusal shows here rather than only when the workbook is closed.
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path temporary;
    for (int attempt = 0;; ++attempt) {
        temporary = folder / PathFromUtf8(".~" + std::to_string(ticks % 1000000007) + "-" +
                                          std::to_string(counter.fetch_add(1)) + ".xlsx");
        errno = 0;
        if (CreateExclusive(temporary)) {
            break;
        }
        if (errno != EEXIST || attempt == 100) {
            throw refuse(errno);
        }
    }

    std::error_code ignored;
    try {
        writeWorkbook(Utf8FromPath(temporary));
    } catch (const Error& e) {
        fs::remove(temporary, ignored);
        throw Error(messages::CannotCreate(shownPath, e.what()));
    } catch (...) {
        fs::remove(temporary, ignored);
        throw;
    }
    SyncToDisk(temporary);
    const fs::path target = Publish(temporary, folder, base);
    if (target.empty()) {
        const int error = errno;
        fs::remove(temporary, ignored);
        throw refuse(error);
    }

    const std::string path = Utf8FromPath(target);
    if (visible_ && !OpenWorkbook(shell_, path)) {
        throw WorkbookNotOpened(path);
    }
    return path;
}

WorkbookNotOpened::WorkbookNotOpened(const std::string& path)
    : Error(WorkbookNotOpenedMessage(path)), path_(path) {}

bool OpenWorkbook(Shell& shell, const std::string& path) {
    // Where the desktop associates no program with workbooks, its opener may report success and
    // show nothing: the spreadsheet program found is started with the workbook instead.
    const std::string program = shell.spreadsheetProgram();
    if (!program.empty() && shell.startDetached(program, {path})) {
        return true;
    }
    return shell.openFile(path);
}

std::string XlsxSpreadsheet::save() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return save(local);
}

std::string ExportRowTableToWorkbook(const StringGrid& table, const std::string& folder,
                                     Shell& shell) {
    XlsxSpreadsheet spreadsheet(folder, shell);
    ExportGridToSpreadsheet(table, kSpreadsheetSheetName, table.columnCount() - 1, spreadsheet);
    return spreadsheet.save();
}

}  // namespace losfix
