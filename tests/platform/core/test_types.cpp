// The core value types: rounding, rectangles, colours, method pointers, components and sets.
#include <vxplan/platform/core/vxComponent.h>
#include <vxplan/platform/core/vxExceptions.h>
#include <vxplan/platform/core/vxMethod.h>
#include <vxplan/platform/core/vxSet.h>
#include <vxplan/platform/core/vxTypes.h>
#include <vxplan/platform/graphics/vxColor.h>

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <stdexcept>

using namespace vxplan;

TEST(Rounding, HalvesGoToTheEvenNeighbourBeyondTheIntRangeValuesSaturateAndMulDivRoundsHalvesAwayFromZero)
{
    for (auto [x, rounded] : {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {-2.6, -3}})
        EXPECT_EQ(Round(x), rounded) << x;
    EXPECT_EQ(Trunc(-2.9), -2);
    EXPECT_EQ(Trunc(2.9), 2);
    EXPECT_EQ(Round(1e12), INT_MAX);
    EXPECT_EQ(Round(-1e12), INT_MIN);
    EXPECT_EQ(Round(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(Round64(1e12), 1000000000000LL);
    // 10.67, 1.5, -1.5 and a division by zero.
    for (auto [a, b, c, r] : {std::array{8, 96, 72, 11}, {3, 1, 2, 2}, {-3, 1, 2, -2}, {1, 1, 0, -1}})
        EXPECT_EQ(MulDiv(a, b, c), r) << a << " * " << b << " / " << c;
}

TEST(Rectangles, RightAndBottomAreOutside)
{
    const TRect r = Rect(10, 20, 30, 40);
    EXPECT_EQ(r.Width(), 20);
    EXPECT_TRUE(PtInRect(r, Point(10, 20)));
    EXPECT_FALSE(PtInRect(r, Point(30, 20)));
    EXPECT_FALSE(PtInRect(r, Point(10, 40)));
    TRect out;
    EXPECT_FALSE(IntersectRect(out, r, Rect(30, 20, 50, 40)));  // touching is not overlapping
    EXPECT_EQ(out, TRect{});
    EXPECT_TRUE(IntersectRect(out, r, Rect(25, 0, 50, 25)));
    EXPECT_EQ(out, Rect(25, 20, 30, 25));
    EXPECT_TRUE(UnionRect(out, r, TRect{}));
    EXPECT_EQ(out, r);
}

TEST(Colors, SystemColorsResolveFromTheClassicTableWhenPinned)
{
    UseClassicSystemColors(true);
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clHighlight), RGB(10, 36, 106));
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(GetSysColor(99), clBlack);
    EXPECT_EQ(clBtnShadow, 0x80000010u);
}

TEST(Colors, SystemColorsFollowTheApplicationPalette)
{
    UseClassicSystemColors(false);
    QPalette dark = ClassicPalette();
    dark.setColor(QPalette::All, QPalette::Base, QColor(30, 30, 30));
    const QPalette saved = QGuiApplication::palette();
    QGuiApplication::setPalette(dark);
    EXPECT_EQ(ColorToRGB(clWindow), RGB(30, 30, 30));
    QGuiApplication::setPalette(saved);
    UseClassicSystemColors(true);
}

namespace {
struct Listener {
    int calls = 0;
    void Hear(TObject*) { ++calls; }
    void Other(TObject*) {}
};

struct Tracked : TComponent {
    using TComponent::TComponent;
    ~Tracked() override { if (log) log->push_back(GetName()); }
    std::vector<std::string>* log = nullptr;
    std::vector<TComponent*> removed;
    void Notification(TComponent* c, TOperation op) override
    {
        if (op == TOperation::opRemove) removed.push_back(c);
    }
};
}  // namespace

TEST(Methods, BindingsOfTheSameMemberAndObjectAreEqual)
{
    Listener a, b;
    TNotifyEvent e1(&a, &Listener::Hear), e2(&a, &Listener::Hear);
    EXPECT_EQ(e1, e2);
    EXPECT_NE(e1, TNotifyEvent(&b, &Listener::Hear));
    EXPECT_NE(e1, TNotifyEvent(&a, &Listener::Other));
    e1(nullptr);
    EXPECT_EQ(a.calls, 1);
    TNotifyEvent lambda([](TObject*) {});
    TNotifyEvent copy = lambda;
    EXPECT_EQ(lambda, copy);
    EXPECT_NE(lambda, TNotifyEvent([](TObject*) {}));
    EXPECT_FALSE(static_cast<bool>(TNotifyEvent()));
    EXPECT_EQ(TNotifyEvent(), TNotifyEvent(nullptr));
}

TEST(Components, OwnerFreesWhatItOwnsLastFirst)
{
    std::vector<std::string> log;
    auto* owner = new Tracked(nullptr);
    auto* first = new Tracked(owner);
    auto* second = new Tracked(owner);
    first->SetName("first");
    second->SetName("second");
    first->log = second->log = &log;
    EXPECT_EQ(owner->GetComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent("second"), second);
    EXPECT_THROW(second->SetName("first"), std::invalid_argument);
    EXPECT_THROW(owner->GetComponent(2), EListError);
    delete owner;
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first"}));
}

TEST(Components, FreedComponentLeavesItsOwnerAndTellsListeners)
{
    Tracked owner(nullptr), listener(nullptr);
    auto* child = new Tracked(&owner);
    child->FreeNotification(&listener);
    delete child;
    EXPECT_EQ(owner.GetComponentCount(), 0);
    ASSERT_EQ(listener.removed.size(), 1u);
    EXPECT_EQ(listener.removed[0], child);
}

TEST(Sets, IncludeExcludeAndOperators)
{
    enum class E { a, b, c };
    TSet<E, 3> s{E::a, E::c};
    EXPECT_TRUE(s.Contains(E::a));
    EXPECT_FALSE(s.Contains(E::b));
    s.Exclude(E::a);
    EXPECT_EQ(s, (TSet<E, 3>{E::c}));
    EXPECT_EQ((s + TSet<E, 3>{E::b}).Count(), 2u);
}
