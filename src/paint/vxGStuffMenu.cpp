// The choice menu: a popup of strings whose chosen index comes back to the caller.
#include <vxplan/paint/vxGStuff.h>

#include <vxplan/platform/app/vxApplication.h>
#include <vxplan/platform/controls/vxControl.h>

namespace vxplan {

namespace {

int& ModuleChoice()
{
    static int choice = -1;
    return choice;
}

}  // namespace

void TPopUpHandler::Click(TObject* Sender)
{
    if (auto* item = dynamic_cast<TMenuItem*>(Sender)) ModuleChoice() = item->GetMenuIndex();
}

int TPopUpHandler::Choice() { return ModuleChoice(); }

void TPopUpHandler::ResetChoice() { ModuleChoice() = -1; }

void GStuff::CreateMenuOptions(TPopupMenu& aMenu, const std::vector<std::string>& aStrings,
                               const TNotifyEvent& anOnClick, int aDefault, bool anAddCancel)
{
    for (size_t i = 0; i < aStrings.size(); ++i) {
        auto* item = new TMenuItem();
        item->SetCaption(aStrings[i]);
        item->OnClick = anOnClick;
        item->SetDefault(static_cast<int>(i) == aDefault);
        aMenu.Items().Add(item);
    }
    if (!anAddCancel) return;
    for (const char* caption : {"-", "Avbryt"}) {
        auto* item = new TMenuItem();
        item->SetCaption(caption);
        aMenu.Items().Add(item);
    }
}

int GStuff::UserOptionStrings(TControl* aControl, int aX, int aY, const std::vector<std::string>& aStrings,
                              int aDefault)
{
    TPopUpHandler::ResetChoice();
    TPopupMenu menu;
    TPopUpHandler handler;
    CreateMenuOptions(menu, aStrings, TNotifyEvent(&handler, &TPopUpHandler::Click), aDefault, true);
    const TPoint screen = aControl ? aControl->ClientToScreen(Point(aX, aY)) : Point(aX, aY);
    menu.Popup(screen.X, screen.Y);
    // The click arrives as a message.
    Application().ProcessMessages();
    return TPopUpHandler::Choice();
}

int GStuff::UserOption(TControl* aControl, int aX, int aY, std::initializer_list<std::string> aOptions, int aDefault)
{
    return UserOptionStrings(aControl, aX, aY, std::vector<std::string>(aOptions), aDefault);
}

}  // namespace vxplan
