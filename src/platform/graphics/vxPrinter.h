// TPrinter: the process's printer. By default it prints to a PDF file (QPdfWriter); it can
// print to a real printer instead (QPrinter). Between BeginDoc and EndDoc its Canvas draws on
// the current page through a context of kind Pdf or Printer whose capabilities report the
// device: resolution, printable area, paper size and the paper offset of the printable area.
//
// Printing happens on the user-interface thread.
#pragma once

#include <vxplan/platform/core/vxTypes.h>
#include <vxplan/platform/graphics/vxCanvas.h>

#include <QPageSize>

#include <memory>
#include <string>

class QPdfWriter;
class QPrinter;
class QPagedPaintDevice;

namespace vxplan {

enum class TPrinterOrientation { poPortrait, poLandscape };

class TPrinter : public TObject {
public:
    TPrinter();
    ~TPrinter() override;
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Where a PDF is written; also the output file of a system printer when set.
    const std::string& GetFileName() const { return fileName_; }
    void SetFileName(const std::string& fileName);
    // Dots per inch of the PDF (300 by default). A real printer keeps its own.
    int GetResolution() const { return resolution_; }
    void SetResolution(int dpi);
    QPageSize::PageSizeId GetPageSize() const { return pageSize_; }
    void SetPageSize(QPageSize::PageSizeId size);
    TPrinterOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation orientation);
    // The document's title (PDF title, printer job name).
    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& title);

    // Printing to a real printer: the named one, or the system's default with an empty name.
    void SetPrinterName(const std::string& name);
    const std::string& GetPrinterName() const { return printerName_; }
    void UseSystemPrinter(bool use);
    bool UsesSystemPrinter() const { return useSystem_; }

    void BeginDoc();
    void NewPage();
    void EndDoc();
    // Stops the document; a PDF written so far is removed.
    void Abort();

    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    // The page being printed, from 1; 0 when not printing.
    int PageNumber() const { return pageNumber_; }
    // The printable area in device pixels.
    int PageWidth() const;
    int PageHeight() const;

    // Draws on the current page; drawing while not printing raises EPrinter.
    TCanvas& Canvas() { return canvas_; }
    // The context of the current document; null when not printing.
    HDC Handle() const { return dc_.get(); }

private:
    void CheckPrinting() const;
    void CanvasChanging(TObject* sender);
    void BeginPdf();
    void BeginSystemPrinter();
    void ConfigureContext(QPagedPaintDevice& device, int dpi, const QRect& paper, const QRect& page);
    void Finish();

    std::string fileName_;
    int resolution_ = 300;
    QPageSize::PageSizeId pageSize_ = QPageSize::A4;
    TPrinterOrientation orientation_ = TPrinterOrientation::poPortrait;
    std::string title_;
    std::string printerName_;
    bool useSystem_ = false;

    std::unique_ptr<QPdfWriter> pdf_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<TDeviceContext> dc_;
    TCanvas canvas_;
    bool printing_ = false;
    bool aborted_ = false;
    int pageNumber_ = 0;
};

// The process's printer, made on first use.
TPrinter& Printer();
// Replaces the process's printer (tests give their own); returns the previous one.
std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer);

}  // namespace vxplan
