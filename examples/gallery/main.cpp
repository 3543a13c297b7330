// The gallery: every component on a page of its own.
//
//   gallery                   a window with a tab per page where a display exists; without
//                             one, the same as --png gallery-out --pdf gallery-out/gallery.pdf
//   gallery --png DIR         renders every page to DIR/<page>.png (offscreen)
//   gallery --pdf FILE        prints the printable pages to FILE
#include "vxGalleryPages.h"

#include <vxplan/platform/graphics/vxPrinter.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTabWidget>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

using namespace vxplan;
using namespace vxplan::gallery;

namespace {

struct TOptions {
    QString PngDir;
    QString PdfFile;
    bool Interactive = true;
};

bool DisplayExists()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && std::strcmp(platform, "offscreen") == 0) return false;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

// Returns false (after saying why) on arguments it does not know.
bool ParseOptions(int argc, char** argv, TOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--png" || arg == "--pdf") && i + 1 < argc) {
            (arg == "--png" ? options.PngDir : options.PdfFile) = QString::fromLocal8Bit(argv[++i]);
            options.Interactive = false;
        } else {
            std::cerr << "gallery: unknown argument '" << arg << "'\n"
                      << "usage: gallery [--png DIR] [--pdf FILE]\n";
            return false;
        }
    }
    if (!DisplayExists() && options.Interactive) {
        options.Interactive = false;
        options.PngDir = "gallery-out";
        options.PdfFile = "gallery-out/gallery.pdf";
    }
    return true;
}

int RenderPages(const QString& dir)
{
    if (!QDir().mkpath(dir)) {
        std::cerr << "gallery: cannot create " << dir.toStdString() << "\n";
        return 1;
    }
    for (const TGalleryPage& page : GalleryPages()) {
        std::unique_ptr<QWidget> widget(page.Create());
        widget->resize(800, 600);
        widget->show();
        QApplication::processEvents();
        const QString file = QDir(dir).filePath(QString::fromStdString(page.Name) + ".png");
        if (!widget->grab().save(file)) {
            std::cerr << "gallery: cannot write " << file.toStdString() << "\n";
            return 1;
        }
        std::cout << "wrote " << file.toStdString() << "\n";
    }
    return 0;
}

int PrintPages(const QString& file)
{
    const QString dir = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(dir)) {
        std::cerr << "gallery: cannot create " << dir.toStdString() << "\n";
        return 1;
    }
    TPrinter printer;
    printer.SetFileName(file.toStdString());
    printer.SetTitle("vxplan gallery");
    printer.BeginDoc();
    bool first = true;
    for (const TGalleryPage& page : GalleryPages()) {
        if (!page.Print) continue;
        if (!first) printer.NewPage();
        first = false;
        page.Print(printer);
    }
    printer.EndDoc();
    std::cout << "wrote " << file.toStdString() << "\n";
    return 0;
}

int ShowWindow(QApplication& app)
{
    QTabWidget window;
    window.setWindowTitle("vxplan gallery");
    for (const TGalleryPage& page : GalleryPages())
        window.addTab(page.Create(), QString::fromStdString(page.Name));
    window.resize(820, 640);
    window.show();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    TOptions options;
    if (!ParseOptions(argc, argv, options)) return 2;
    if (!options.Interactive) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (options.Interactive) return ShowWindow(app);
    try {
        if (!options.PngDir.isEmpty() && RenderPages(options.PngDir) != 0) return 1;
        if (!options.PdfFile.isEmpty() && PrintPages(options.PdfFile) != 0) return 1;
    } catch (const std::exception& error) {
        std::cerr << "gallery: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
