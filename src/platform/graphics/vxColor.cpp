// System colours from the application palette or the classic table, and colours to Qt's.
#include <vxplan/platform/graphics/vxColor.h>

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <atomic>

namespace vxplan {

namespace {

// The classic desktop scheme, index by index.
constexpr std::array<TColor, COLOR_ENDCOLORS> kClassic = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(181, 181, 181), RGB(0, 0, 200),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(10, 36, 106),
    RGB(212, 208, 200)};

std::atomic<bool> gClassic{false};

bool PaletteRole(int index, QPalette::ColorGroup& group, QPalette::ColorRole& role)
{
    group = QPalette::Active;
    switch (index) {
    case COLOR_WINDOW: role = QPalette::Base; return true;
    case COLOR_WINDOWTEXT: case COLOR_MENUTEXT: role = QPalette::Text; return true;
    case COLOR_HIGHLIGHT: case COLOR_MENUHILIGHT: role = QPalette::Highlight; return true;
    case COLOR_HIGHLIGHTTEXT: role = QPalette::HighlightedText; return true;
    case COLOR_BTNFACE: case COLOR_MENU: case COLOR_MENUBAR: case COLOR_SCROLLBAR: case COLOR_3DLIGHT:
    case COLOR_ACTIVEBORDER: case COLOR_INACTIVEBORDER: role = QPalette::Button; return true;
    case COLOR_BTNSHADOW: role = QPalette::Dark; return true;
    case COLOR_3DDKSHADOW: role = QPalette::Shadow; return true;
    case COLOR_BTNHIGHLIGHT: role = QPalette::Light; return true;
    case COLOR_BTNTEXT: role = QPalette::ButtonText; return true;
    case COLOR_GRAYTEXT: group = QPalette::Disabled; role = QPalette::Text; return true;
    case COLOR_INFOTEXT: role = QPalette::ToolTipText; return true;
    case COLOR_INFOBK: role = QPalette::ToolTipBase; return true;
    case COLOR_HOTLIGHT: role = QPalette::Link; return true;
    case COLOR_APPWORKSPACE: role = QPalette::Mid; return true;
    default: return false;
    }
}

}  // namespace

TColor ClassicSysColor(int index)
{
    if (index < 0 || index >= COLOR_ENDCOLORS) return clBlack;
    return kClassic[static_cast<size_t>(index)];
}

void UseClassicSystemColors(bool classic) { gClassic = classic; }
bool UsingClassicSystemColors() { return gClassic; }

TColor GetSysColor(int index)
{
    if (index < 0 || index >= COLOR_ENDCOLORS) return clBlack;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    if (gClassic || !qGuiApp || !PaletteRole(index, group, role)) return ClassicSysColor(index);
    return FromQColor(QGuiApplication::palette().color(group, role));
}

TColor ColorToRGB(TColor color)
{
    if (IsSystemColor(color)) return GetSysColor(static_cast<int>(color & 0xFF));
    if (color == clNone) return clBlack;
    if (color == clDefault) return GetSysColor(COLOR_WINDOW);
    return color & 0x00FFFFFFu;
}

QColor ToQColor(TColor color)
{
    const TColor c = ColorToRGB(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

QPalette ClassicPalette()
{
    QPalette p;
    auto set = [&p](QPalette::ColorRole role, int index, QPalette::ColorGroup group = QPalette::All) {
        const TColor c = ClassicSysColor(index);
        p.setColor(group, role, QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
    };
    set(QPalette::Window, COLOR_BTNFACE);
    set(QPalette::WindowText, COLOR_WINDOWTEXT);
    set(QPalette::Base, COLOR_WINDOW);
    set(QPalette::Text, COLOR_WINDOWTEXT);
    set(QPalette::Highlight, COLOR_HIGHLIGHT);
    set(QPalette::HighlightedText, COLOR_HIGHLIGHTTEXT);
    set(QPalette::Button, COLOR_BTNFACE);
    set(QPalette::ButtonText, COLOR_BTNTEXT);
    set(QPalette::Dark, COLOR_BTNSHADOW);
    set(QPalette::Shadow, COLOR_3DDKSHADOW);
    set(QPalette::Light, COLOR_BTNHIGHLIGHT);
    set(QPalette::Mid, COLOR_APPWORKSPACE);
    set(QPalette::ToolTipBase, COLOR_INFOBK);
    set(QPalette::ToolTipText, COLOR_INFOTEXT);
    set(QPalette::Link, COLOR_HOTLIGHT);
    set(QPalette::Text, COLOR_GRAYTEXT, QPalette::Disabled);
    return p;
}

}  // namespace vxplan
