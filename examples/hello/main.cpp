// A Qt program that places a vxplan panel in its own layout.
#include <vxplan/platform/controls/vxPanel.h>

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

class TGreetingPanel : public vxplan::TCustomPanel {
protected:
    void Paint() override
    {
        TCustomPanel::Paint();  // background and bevel
        Canvas().Pen().SetColor(vxplan::clRed);
        Canvas().MoveTo(8, GetClientHeight() / 2);
        Canvas().LineTo(GetClientWidth() - 8, GetClientHeight() / 2);
        Canvas().TextOut(8, 8, "Hello from a vxplan panel");
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel("A Qt label above, a vxplan panel below:"));
    layout->addWidget(new TGreetingPanel);  // the layout's window owns it from here
    window.resize(360, 200);
    window.show();
    return app.arguments().contains("--quit") ? 0 : app.exec();
}
