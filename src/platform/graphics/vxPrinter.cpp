// TPrinter on QPdfWriter (the default) or QPrinter.
//
// The context is made at BeginDoc and lives until EndDoc, so its state (viewport, clip, text
// colours) carries over from page to page as the platform's printer contexts do. A PDF has no
// unprintable margins: its printable area is the whole paper. A real printer reports its paper
// and printable rectangles, and the context's origin is the printable area's top-left.
#include <vxplan/platform/graphics/vxPrinter.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>

namespace vxplan {

namespace {

const char* const kNotPrinting = "Printer is not printing";

QPageLayout::Orientation ToQt(TPrinterOrientation orientation)
{
    return orientation == TPrinterOrientation::poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

}  // namespace

TPrinter::TPrinter() { canvas_.OnChanging = TNotifyEvent(this, &TPrinter::CanvasChanging); }

TPrinter::~TPrinter()
{
    // A document left open is abandoned, not finished: it may be half drawn.
    if (printing_) {
        Finish();
        if (!useSystem_ && !fileName_.empty()) QFile::remove(QString::fromStdString(fileName_));
    }
}

void TPrinter::SetFileName(const std::string& fileName)
{
    if (printing_) throw EPrinter("Printing in progress");
    fileName_ = fileName;
}

void TPrinter::SetResolution(int dpi)
{
    if (printing_) throw EPrinter("Printing in progress");
    if (dpi <= 0) throw EPrinter("A printer resolution must be positive, not " + std::to_string(dpi));
    resolution_ = dpi;
}

void TPrinter::SetPageSize(QPageSize::PageSizeId size)
{
    if (printing_) throw EPrinter("Printing in progress");
    if (size == QPageSize::Custom) throw EPrinter("A printer page size needs a named size, not a custom one");
    pageSize_ = size;
}

void TPrinter::SetOrientation(TPrinterOrientation orientation)
{
    if (printing_) throw EPrinter("Printing in progress");
    orientation_ = orientation;
}

void TPrinter::SetTitle(const std::string& title)
{
    if (printing_) throw EPrinter("Printing in progress");
    title_ = title;
}

void TPrinter::SetPrinterName(const std::string& name)
{
    if (printing_) throw EPrinter("Printing in progress");
    printerName_ = name;
    useSystem_ = true;
}

void TPrinter::UseSystemPrinter(bool use)
{
    if (printing_) throw EPrinter("Printing in progress");
    useSystem_ = use;
}

void TPrinter::CheckPrinting() const
{
    if (!printing_) throw EPrinter(kNotPrinting);
}

void TPrinter::CanvasChanging(TObject*)
{
    if (!printing_) throw EPrinter(kNotPrinting);
}

int TPrinter::PageWidth() const
{
    if (dc_) return dc_->DeviceCaps(HORZRES);
    return QPageLayout(QPageSize(pageSize_), ToQt(orientation_), QMarginsF()).fullRectPixels(resolution_).width();
}

int TPrinter::PageHeight() const
{
    if (dc_) return dc_->DeviceCaps(VERTRES);
    return QPageLayout(QPageSize(pageSize_), ToQt(orientation_), QMarginsF()).fullRectPixels(resolution_).height();
}

void TPrinter::ConfigureContext(QPagedPaintDevice& device, int dpi, const QRect& paper, const QRect& page)
{
    dc_ = std::make_unique<TDeviceContext>(&device, printer_ ? TDeviceContext::TKind::Printer : TDeviceContext::TKind::Pdf);
    dc_->SetResolution(dpi, dpi);
    dc_->SetPageGeometry({page.width(), page.height()}, {paper.width(), paper.height()},
                         {page.left() - paper.left(), page.top() - paper.top()});
}

void TPrinter::BeginPdf()
{
    if (fileName_.empty()) throw EPrinter("No file name to print to: set the printer's FileName before BeginDoc");
    const QString name = QString::fromStdString(fileName_);
    {
        // QPdfWriter says nothing when it cannot write; find out first, with the reason.
        QFile probe(name);
        if (!probe.open(QIODevice::WriteOnly))
            throw EPrinter("Cannot open '" + fileName_ + "' for printing: " + probe.errorString().toStdString());
    }
    pdf_ = std::make_unique<QPdfWriter>(name);
    pdf_->setResolution(resolution_);
    pdf_->setPageLayout(QPageLayout(QPageSize(pageSize_), ToQt(orientation_), QMarginsF()));
    pdf_->setTitle(QString::fromStdString(title_));
    pdf_->setCreator(QStringLiteral("vxplan"));
    const QRect page(0, 0, pdf_->width(), pdf_->height());
    ConfigureContext(*pdf_, resolution_, page, page);
}

void TPrinter::BeginSystemPrinter()
{
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!printerName_.empty()) printer_->setPrinterName(QString::fromStdString(printerName_));
    if (!fileName_.empty()) printer_->setOutputFileName(QString::fromStdString(fileName_));
    if (!printer_->isValid())
        throw EPrinter(printerName_.empty() ? std::string("No printer is installed")
                                            : "Printer '" + printerName_ + "' is not available");
    printer_->setPageSize(QPageSize(pageSize_));
    printer_->setPageOrientation(ToQt(orientation_));
    printer_->setDocName(QString::fromStdString(title_));
    printer_->setFullPage(false);
    const QRect paper = printer_->paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer_->pageRect(QPrinter::DevicePixel).toRect();
    ConfigureContext(*printer_, printer_->resolution(), paper, page);
}

void TPrinter::BeginDoc()
{
    if (printing_) throw EPrinter("Printing in progress");
    aborted_ = false;
    try {
        if (useSystem_)
            BeginSystemPrinter();
        else
            BeginPdf();
        // The first page starts now, so that a device that cannot be written fails here.
        dc_->Painter();
    } catch (const EPrinter&) {
        dc_.reset();
        pdf_.reset();
        printer_.reset();
        throw;
    } catch (const Exception&) {
        dc_.reset();
        pdf_.reset();
        printer_.reset();
        throw EPrinter("Cannot print to '" + (useSystem_ ? printerName_ : fileName_) + "'");
    }
    printing_ = true;
    pageNumber_ = 1;
    canvas_.SetHandle(dc_.get());
}

void TPrinter::NewPage()
{
    CheckPrinting();
    dc_->Painter();
    QPagedPaintDevice* device = pdf_ ? static_cast<QPagedPaintDevice*>(pdf_.get()) : printer_.get();
    if (!device->newPage()) throw EPrinter("Cannot start page " + std::to_string(pageNumber_ + 1));
    // The painter carries on onto the new page; its transform and clip are set again.
    dc_->SetDevice(device);
    ++pageNumber_;
}

void TPrinter::Finish()
{
    canvas_.SetHandle(nullptr);
    if (dc_) dc_->EndPainter();
    dc_.reset();
    pdf_.reset();
    printer_.reset();
    printing_ = false;
    pageNumber_ = 0;
}

void TPrinter::EndDoc()
{
    CheckPrinting();
    Finish();
}

void TPrinter::Abort()
{
    CheckPrinting();
    if (printer_) printer_->abort();
    Finish();
    if (!useSystem_) QFile::remove(QString::fromStdString(fileName_));
    aborted_ = true;
}

namespace {

std::unique_ptr<TPrinter>& Instance()
{
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

}  // namespace

TPrinter& Printer()
{
    std::unique_ptr<TPrinter>& printer = Instance();
    if (!printer) printer = std::make_unique<TPrinter>();
    return *printer;
}

std::unique_ptr<TPrinter> SetPrinter(std::unique_ptr<TPrinter> printer)
{
    std::unique_ptr<TPrinter> previous = std::move(Instance());
    Instance() = std::move(printer);
    return previous;
}

}  // namespace vxplan
