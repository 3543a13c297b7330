// The entity tree against host handlers that throw or delete at the wrong moment, and moves that
// remake nodes: the tree's nodes always follow the entities, and nothing reads freed memory
// (the sanitizer build sees to the last).
#include <vxplan/tree/vxTree.h>

#include <vxplan/dataentity/vxDoLater.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace vxplan;

namespace {

using Strings = std::vector<std::string>;

struct HostileTree {
    std::unique_ptr<TvxTree> tree = std::make_unique<TvxTree>();
    HostileTree() { tree->SetBounds(0, 0, 240, 320); }
    TvxDataEntity_Tree* Add(TvxDataEntity_Tree* parent, const std::string& text)
    {
        TvxDataEntity_Tree* e = tree->AddDataEntity(parent);
        e->SetText(text);
        return e;
    }
    Strings Nodes()
    {
        tree->EnsureDisplayUpToDate();
        Strings out;
        for (int i = 0; i < tree->Items().GetCount(); ++i) {
            TTreeNode* n = tree->Items()[i];
            out.push_back(std::string(2 * static_cast<size_t>(n->GetLevel()), ' ') + n->GetText());
        }
        return out;
    }
};

}  // namespace

TEST(HostileTree, ADeleteHandlerThatThrowsStillTakesTheNodeAway)
{
    for (int which = 0; which < 2; ++which) {
        SCOPED_TRACE(which == 0 ? "OnDataEntityDelete" : "OnDeleteItem");
        HostileTree s;
        TvxDataEntity_Tree* a = s.Add(nullptr, "a");
        s.Add(a, "a1");
        s.Add(nullptr, "b");
        a->SetExpanded(true);
        ASSERT_EQ(s.Nodes(), (Strings{"a", "  a1", "    Not initiated", "b", "  Not initiated"}));
        const auto refuse = [](auto&&...) { throw std::runtime_error("host refuses"); };
        if (which == 0)
            s.tree->OnDataEntityDelete = refuse;
        else
            s.tree->OnDeleteItem = refuse;
        EXPECT_THROW(s.tree->RemoveDataEntity(a), std::runtime_error);
        s.tree->OnDataEntityDelete = nullptr;
        s.tree->OnDeleteItem = nullptr;
        EXPECT_EQ(s.Nodes(), (Strings{"b", "  Not initiated"}));
        s.tree->GrabImage();
        s.tree->Clear();
        EXPECT_EQ(s.Nodes(), Strings{});
    }
}

TEST(HostileTree, AnEntityMovedInItsListKeepsItsPlaceholder)
{
    HostileTree s;
    s.Add(nullptr, "a");
    TvxDataEntity_Tree* b = s.Add(nullptr, "b");
    ASSERT_EQ(s.Nodes(), (Strings{"a", "  Not initiated", "b", "  Not initiated"}));
    b->Move(0);
    EXPECT_EQ(s.Nodes(), (Strings{"b", "  Not initiated", "a", "  Not initiated"}));
    ASSERT_NE(b->GetDummyNode(), nullptr);
    EXPECT_EQ(b->GetDummyNode()->GetParent(), b->GetTreeNode());
    // Filling on demand still works, and the entity can go without reading freed nodes.
    s.tree->OnExpanding = [&](TObject*, TTreeNode* node, bool&) {
        if (s.tree->GetDataEntityFromNode(node) == b) s.Add(b, "b1");
    };
    b->GetTreeNode()->Expand(false);
    EXPECT_EQ(s.Nodes(), (Strings{"b", "  b1", "    Not initiated", "a", "  Not initiated"}));
    s.tree->RemoveDataEntity(b);
    EXPECT_EQ(s.Nodes(), (Strings{"a", "  Not initiated"}));
}

TEST(HostileTree, AnExpandingHandlerThatDeletesTheEntityEndsTheExpansion)
{
    HostileTree s;
    TvxDataEntity_Tree* a = s.Add(nullptr, "a");
    s.Add(nullptr, "b");
    ASSERT_EQ(s.Nodes().size(), 4u);
    s.tree->OnExpanding = [&](TObject*, TTreeNode*, bool&) {
        s.tree->RemoveDataEntity(a);
        s.tree->EnsureDisplayUpToDate();  // the node goes now, inside the handler
    };
    a->GetTreeNode()->Expand(false);
    s.tree->OnExpanding = nullptr;
    TDoLater::DoAllNow();
    EXPECT_EQ(s.Nodes(), (Strings{"b", "  Not initiated"}));
    s.tree->GrabImage();
}

TEST(HostileTree, AnEntityFreedDirectlyLeavesItsListAndItsNodes)
{
    HostileTree s;
    TvxDataEntity_Tree* a = s.Add(nullptr, "a");
    s.Add(nullptr, "b");
    ASSERT_EQ(s.Nodes().size(), 4u);
    a->FreeWheneverPossible();
    EXPECT_EQ(s.tree->GetDataLists()->GetDataList(0)->Count(), 1);
    EXPECT_EQ(s.Nodes(), (Strings{"b", "  Not initiated"}));
    s.tree->GrabImage();
}
