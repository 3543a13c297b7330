// Multicast events: attachment, order, the values a listener reads, and who frees whom.
#include <vxplan/dataentity/vxEventHandling.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vxplan;

namespace {

// Counts its own destruction, so a test sees which listeners an event freed.
class TCountedListener : public TSingleEventListener {
public:
    TCountedListener(TEvent* e, TListenerCallback cb, bool freeWithEvent, int& deaths)
        : TSingleEventListener(e, std::move(cb), freeWithEvent), deaths_(deaths)
    {
    }
    ~TCountedListener() override { ++deaths_; }

private:
    int& deaths_;
};

TListenerCallback Append(std::string& log, const std::string& name)
{
    return TListenerCallback([&log, name](TSingleEventListener*) { log += name; });
}

// An event without a sender and a log its listeners write to.
struct Events : ::testing::Test {
    TEvent event{nullptr};
    std::string log;
};

}  // namespace

TEST(EventTrigger, TriggerCallsListenersInOrderOfAttachmentWithTheTriggerValues)
{
    TObject sender, param;
    TEvent event(&sender);
    std::vector<TSingleEventListener*> seen;
    TObject* seenSender = nullptr;
    TEvent* seenEvent = nullptr;
    TObject* seenParam = nullptr;
    TListenerCallback record([&](TSingleEventListener* l) {
        seen.push_back(l);
        seenSender = l->LastSender();
        seenEvent = l->LastEvent();
        seenParam = l->LastParam();
    });
    TSingleEventListener a(&event, record, false);
    TSingleEventListener b(nullptr, record, false);
    TSingleEventListener c(&event, record, false);
    event.AddListener(&b);
    event.TriggerEvent(&param);
    EXPECT_EQ(seen, (std::vector<TSingleEventListener*>{&a, &c, &b}));
    EXPECT_EQ(seenSender, &sender);
    EXPECT_EQ(seenEvent, &event);
    EXPECT_EQ(seenParam, &param);
    EXPECT_EQ(b.Event(), &event);
}

TEST_F(Events, AListenerIsAttachedOnceToOneEventAtATimeAndLeavesItWhenDestroyed)
{
    TEvent& first = event;
    TEvent second(nullptr);
    TSingleEventListener a(&first, Append(log, "a"), false);
    first.AddListener(&a);
    EXPECT_EQ(first.ListenerCount(), 1);
    second.AddListener(&a);
    EXPECT_EQ(first.ListenerCount(), 0);
    EXPECT_EQ(a.Event(), &second);
    first.TriggerEvent(nullptr);
    second.TriggerEvent(nullptr);
    EXPECT_EQ(log, "a");

    second.RemoveListener(&a);
    EXPECT_EQ(a.Event(), nullptr);
    second.TriggerEvent(nullptr);
    EXPECT_EQ(log, "a");
    // Removing what is not attached changes nothing and still clears the listener's event.
    second.RemoveListener(&a);
    EXPECT_EQ(second.ListenerCount(), 0);
    {
        TSingleEventListener gone(&first, Append(log, "g"), false);
        EXPECT_EQ(first.ListenerCount(), 1);
    }
    EXPECT_EQ(first.ListenerCount(), 0);
    first.TriggerEvent(nullptr);
    EXPECT_EQ(log, "a");
}

TEST_F(Events, DestroyedEventFreesOnlyItsOwnListenersAndDetachesTheRest)
{
    int deaths = 0;
    auto* dying = new TEvent(nullptr);
    new TCountedListener(dying, Append(log, "o"), true, deaths);
    auto* kept = new TCountedListener(dying, Append(log, "k"), false, deaths);
    new TCountedListener(dying, Append(log, "p"), true, deaths);
    delete dying;
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(kept->Event(), nullptr);
    // The survivor's own end must not touch the dead event.
    delete kept;
    EXPECT_EQ(deaths, 3);
}

TEST_F(Events, ListenerFreedByAnEarlierCallbackIsNotCalled)
{
    TSingleEventListener* victim = nullptr;
    TSingleEventListener killer(&event, TListenerCallback([&](TSingleEventListener*) {
        log += "k";
        delete victim;
        victim = nullptr;
    }), false);
    victim = new TSingleEventListener(&event, Append(log, "v"), false);
    TSingleEventListener after(&event, Append(log, "a"), false);
    event.TriggerEvent(nullptr);
    EXPECT_EQ(log, "ka");
    EXPECT_EQ(event.ListenerCount(), 2);
}

TEST_F(Events, ListenerAddedDuringTriggerWaitsForTheNextOne)
{
    TSingleEventListener late(nullptr, Append(log, "l"), false);
    TSingleEventListener adder(&event, TListenerCallback([&](TSingleEventListener*) {
        log += "a";
        event.AddListener(&late);
    }), false);
    event.TriggerEvent(nullptr);
    EXPECT_EQ(log, "a");
    event.TriggerEvent(nullptr);
    EXPECT_EQ(log, "aal");
}

TEST_F(Events, BadListenerArgumentsGiveClearErrors)
{
    EXPECT_THROW(event.AddListener(nullptr), EInvalidArgument);
    EXPECT_NO_THROW(event.RemoveListener(nullptr));
    EXPECT_THROW(event.Listener(0), EListError);
    // A listener without a callback is triggered harmlessly and still records the values.
    TObject param;
    TSingleEventListener silent(&event, nullptr, false);
    event.TriggerEvent(&param);
    EXPECT_EQ(silent.LastParam(), &param);
}
