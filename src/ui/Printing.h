#pragma once

#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace kr31 {

class Dialogs;

// Printing: the user chooses and sets up a printer, then the caller draws its
// pages on it. Tests print to a PDF file instead.
class Printing
{
public:
    enum class Result
    {
        Printed,
        Cancelled, // by the user, or already told why not
        Failed,    // the pages could not be drawn or sent
    };
    // Draws every page on the device (newPage() between them); false when
    // drawing failed.
    using Pages = std::function<bool(QPagedPaintDevice &)>;

    virtual ~Printing() = default;
    virtual Result print(QWidget *parent, const Pages &pages) = 0;
};

// What the printer module (PrintPages.h) exports: shows the print dialog over
// parent and prints pages on the printer chosen.
using PrintWithDialog = Printing::Result (*)(QWidget *parent, const Printing::Pages &pages);
inline constexpr char PrinterModule[] = "libkr31print.so";
inline constexpr char PrintWithDialogName[] = "kr31_printWithDialog";

// The system's print dialog and printers. They come from a module loaded at
// the first print (the printer library is large and most runs never print);
// when it cannot be loaded, the user is told (101) as for any missing file.
class QtPrinting : public Printing
{
public:
    // module: the module's file name (another only in tests).
    explicit QtPrinting(Dialogs &dialogs, const char *module = PrinterModule);
    Result print(QWidget *parent, const Pages &pages) override;

private:
    Dialogs &m_dialogs;
    const char *m_module;
};

} // namespace kr31
