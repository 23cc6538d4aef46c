#include "toolkit/bars/tests/BarsFixture.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkControlBarManager.h"
#include "toolkit/bars/TkDockState.h"
#include "toolkit/state/TkPTNStrategy.h"
#include "toolkit/state/TkPersistentTreeNode.h"
#include "toolkit/state/TkRegistry.h"

#include <functional>
#include <memory>
#include <vector>

namespace {

// What a layout restores: per bar its dock bar (or floating), visibility,
// place in its dock bar and proportion.
struct BarPlace
{
    UINT dockBarId;
    bool visible;
    CRect rect;
    float proportion;
    CRect dockRect;

    bool operator==(const BarPlace& other) const
    {
        return dockBarId == other.dockBarId && visible == other.visible && rect == other.rect &&
               proportion == other.proportion && dockRect == other.dockRect;
    }
};

std::ostream& operator<<(std::ostream& out, const BarPlace& place)
{
    return out << "{dock " << std::hex << place.dockBarId << std::dec << ", visible " << place.visible
               << ", rect " << place.rect.left << "," << place.rect.top << "," << place.rect.right
               << "," << place.rect.bottom << ", proportion " << place.proportion << "}";
}

class DockStateTest : public BarsFixture
{
protected:
    BarPlace PlaceOf(TkControlBar* bar)
    {
        BarPlace place = {};
        CWnd* parent = bar->GetParent();
        place.dockBarId = parent != NULL ? parent->GetDlgCtrlID() : 0;
        place.visible = bar->IsWindowVisible() != FALSE;
        // A hidden bar takes no part in layouts: its rectangle says nothing.
        if (place.visible) {
            bar->GetWindowRect(&place.rect);
            if (!bar->IsFloating())
                parent->ScreenToClient(&place.rect);
        }
        place.proportion = bar->m_fProportion;
        place.dockRect = bar->m_pDockContext->m_rectMRUDockPos;
        return place;
    }
    std::vector<BarPlace> Places()
    {
        std::vector<BarPlace> places;
        for (TkControlBar* bar : m_bars)
            places.push_back(PlaceOf(bar));
        return places;
    }
    // Moves every bar somewhere else, so that a restore has work to do.
    void Scramble()
    {
        for (TkControlBar* bar : m_bars) {
            m_frame->ShowControlBar(bar, TRUE, FALSE);
            m_frame->DockControlBar(bar, AFX_IDW_DOCKBAR_RIGHT);
            bar->m_fProportion = 0.5f;
        }
        Layout();
    }
};

struct BarLayout
{
    const char* name;
    std::function<void(DockStateTest*, CFrameWnd*, TkControlBar**)> arrange;
};

struct Store
{
    const char* name;
    std::function<void(CToolkitTestApp&, CTempFolder&, TkDockState&)> save;
    std::function<void(CToolkitTestApp&, CTempFolder&, TkDockState&)> load;
};

const char kRegistryBase[] = "Software\\ZymToolkitTest\\DockState";

void SaveTree(TkPTNStrategy& strategy, TkDockState& state)
{
    TkPersistentTreeNode root;
    root.Initialize("Frame", NULL);
    TkPTNFactory factory;
    ASSERT_TRUE(state.SaveStateToTree(&factory, &root));
    ASSERT_EQ(1, root.SaveToStrategy(&strategy));
}

void LoadTree(TkPTNStrategy& strategy, TkDockState& state)
{
    TkPersistentTreeNode root;
    root.Initialize("Frame", NULL);
    ASSERT_EQ(1, root.LoadFromStrategy(&strategy));
    ASSERT_TRUE(state.LoadStateFromTree(&root));
}

const Store kStores[] = {
    {"profile", [](CToolkitTestApp&, CTempFolder&, TkDockState& state) { state.SaveState("CustomTB"); },
     [](CToolkitTestApp&, CTempFolder&, TkDockState& state) { state.LoadState("CustomTB"); }},
    {"archive",
     [](CToolkitTestApp&, CTempFolder& folder, TkDockState& state) {
         CFile file(folder.WindowsPath("state.bin").c_str(), CFile::modeCreate | CFile::modeWrite);
         CArchive ar(&file, CArchive::store);
         state.Serialize(ar);
     },
     [](CToolkitTestApp&, CTempFolder& folder, TkDockState& state) {
         CFile file(folder.WindowsPath("state.bin").c_str(), CFile::modeRead);
         CArchive ar(&file, CArchive::load);
         state.Serialize(ar);
     }},
    {"tree in an ini file",
     [](CToolkitTestApp&, CTempFolder& folder, TkDockState& state) {
         TkPTNStrategyProfile strategy(folder.WindowsPath("tree.ini").c_str());
         SaveTree(strategy, state);
     },
     [](CToolkitTestApp&, CTempFolder& folder, TkDockState& state) {
         TkPTNStrategyProfile strategy(folder.WindowsPath("tree.ini").c_str());
         LoadTree(strategy, state);
     }},
    {"tree in the registry",
     [](CToolkitTestApp&, CTempFolder&, TkDockState& state) {
         TkPTNStrategyRegistry strategy(HKEY_CURRENT_USER, kRegistryBase);
         SaveTree(strategy, state);
     },
     [](CToolkitTestApp&, CTempFolder&, TkDockState& state) {
         TkPTNStrategyRegistry strategy(HKEY_CURRENT_USER, kRegistryBase);
         LoadTree(strategy, state);
     }},
};

void OneRowOfThree(DockStateTest*, CFrameWnd* frame, TkControlBar** bars)
{
    CDockBar* top = static_cast<CDockBar*>(frame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    for (int i = 1; i < 3; i++) {
        CRect previous;
        bars[i - 1]->GetWindowRect(&previous);
        CRect place(CPoint(previous.right + 4, previous.top + 2), CSize(40, 20));
        top->DockControlBar(bars[i], &place);
        frame->RecalcLayout();
    }
    bars[0]->m_fProportion = 0.5f;
    bars[1]->m_fProportion = 0.25f;
    bars[2]->m_fProportion = 0.25f;
}

const BarLayout kLayouts[] = {
    {"shared row", OneRowOfThree},
    {"three sides",
     [](DockStateTest*, CFrameWnd* frame, TkControlBar** bars) {
         frame->DockControlBar(bars[1], AFX_IDW_DOCKBAR_LEFT);
         frame->DockControlBar(bars[2], AFX_IDW_DOCKBAR_BOTTOM);
     }},
    {"floating single and hidden",
     [](DockStateTest*, CFrameWnd* frame, TkControlBar** bars) {
         frame->FloatControlBar(bars[0], CPoint(300, 240), CBRS_ALIGN_TOP);
         frame->ShowControlBar(bars[2], FALSE, FALSE);
     }},
    {"floated from a shared row, placeholder kept",
     [](DockStateTest* test, CFrameWnd* frame, TkControlBar** bars) {
         OneRowOfThree(test, frame, bars);
         frame->RecalcLayout();
         frame->FloatControlBar(bars[1], CPoint(120, 300), CBRS_ALIGN_TOP);
     }},
};

TEST_F(DockStateTest, LayoutsRoundTripThroughEveryStore)
{
    for (const BarLayout& layout : kLayouts) {
        for (const Store& store : kStores) {
            SCOPED_TRACE(std::string(layout.name) + " in " + store.name);
            TearDown();
            SetUp();
            layout.arrange(this, m_frame, m_bars);
            Layout();
            std::vector<BarPlace> before = Places();
            TkDockState saved;
            ASSERT_TRUE(saved.GetDockState(m_frame));
            saved.CleanUpBarIDs();
            store.save(m_app, m_folder, saved);

            Scramble();
            TkDockState loaded;
            store.load(m_app, m_folder, loaded);
            ASSERT_TRUE(loaded.SetDockState(m_frame));
            Layout();
            EXPECT_EQ(before, Places());
        }
    }
    TkRegistry cleaner;
    cleaner.Connect(HKEY_CURRENT_USER);
    cleaner.DeleteKey(kRegistryBase, TRUE);
}

TEST_F(DockStateTest, BarsTheFrameLacksAreMadeOnlyFromToolkitClasses)
{
    TkControlBar* extra = MakeBar(0xE840, "Made again", TKCBRS_GRIPPER);
    ASSERT_NE(nullptr, extra);
    m_frame->DockControlBar(extra, AFX_IDW_DOCKBAR_BOTTOM);
    Layout();
    TkDockState saved;
    saved.GetDockState(m_frame);
    saved.SaveState("Recreate");
    extra->DestroyWindow();
    Layout();
    ASSERT_EQ(nullptr, m_frame->GetControlBar(0xE840));

    struct Case
    {
        const char* className;
        bool made;
    } cases[] = {{"TkControlBar", true}, {"CMiniDockFrameWnd", false}, {"TkDockBar", false},
                 {"CDockState", false}, {"NoSuchClass", false}};
    for (const Case& c : cases) {
        TkDockState state;
        state.LoadState("Recreate");
        for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++)
            if (state.GetInfo(i)->m_nBarID == 0xE840)
                state.GetInfo(i)->m_strClassName = c.className;
        TkControlBarManager manager(m_frame);
        state.m_pManager = &manager;
        state.SetDockState(m_frame);
        Layout();
        CControlBar* made = m_frame->GetControlBar(0xE840);
        EXPECT_EQ(c.made, made != nullptr) << c.className;
        if (made != NULL) {
            EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(TkControlBar)));
            CString title;
            made->GetWindowText(title);
            EXPECT_EQ("Made again", title);
            EXPECT_EQ(Side(AFX_IDW_DOCKBAR_BOTTOM), made->GetParent());
            made->DestroyWindow();
            Layout();
        }
    }
}

TEST_F(DockStateTest, ValuesWrittenAndClampedOnLoad)
{
    m_bars[0]->m_fProportion = 0.25f;
    TkDockState saved;
    saved.GetDockState(m_frame);
    saved.SaveState("Values");
    int index = -1;
    for (int i = 0; i < saved.m_arrBarInfo.GetSize(); i++)
        if (m_app.GetProfileInt(CControlBarInfo::SectionName("Values", i), "BarID", 0) == kFirstId)
            index = i;
    ASSERT_GE(index, 0);
    CString section = CControlBarInfo::SectionName("Values", index);
    EXPECT_EQ("250000", m_app.GetProfileString(section, "PctWidth"));

    m_app.WriteProfileString(section, "PctWidth", "-400");
    m_app.WriteProfileString(section, "MRUHorzDockCX", "-3");
    TkDockState loaded;
    loaded.LoadState("Values");
    ASSERT_GT(loaded.m_arrBarInfo.GetSize(), index);
    EXPECT_EQ(0.0f, loaded.GetInfo(index)->m_fProportion);
    EXPECT_EQ(0, loaded.GetInfo(index)->m_sizeHorz.cx);
}

TEST_F(DockStateTest, CleanUpDropsRepeatedIdsAndTrailingRowEnds)
{
    TkDockState state;
    TkControlBarInfo* info = new TkControlBarInfo;
    const DWORD ids[] = {5, 5, 0, 7, 0, 0};
    for (DWORD id : ids)
        info->m_arrBarID.Add(id);
    state.m_arrBarInfo.Add(static_cast<CControlBarInfo*>(info));
    state.CleanUpBarIDs();
    std::vector<DWORD> cleaned(info->m_arrBarID.GetData(), info->m_arrBarID.GetData() + info->m_arrBarID.GetSize());
    EXPECT_EQ((std::vector<DWORD>{5, 0, 0, 7, 0}), cleaned);
}

TEST_F(DockStateTest, TreeSkipsEmptyDockBarsAndNeedsItsNode)
{
    TkPersistentTreeNode root;
    root.Initialize("Frame", NULL);
    TkPTNFactory factory;
    TkDockState state;
    EXPECT_FALSE(state.LoadStateFromTree(&root));
    state.GetDockState(m_frame);
    ASSERT_TRUE(state.SaveStateToTree(&factory, &root));
    TkPersistentTreeNode* node = root.FindChildNode("DockState");
    ASSERT_NE(nullptr, node);
    // Top dock bar and the three bars: the empty left, right and bottom take no node.
    int bars = 0;
    node->GetIntValue("Bars", &bars, 0);
    EXPECT_EQ(4, bars);
    EXPECT_EQ(nullptr, node->FindChildNode("Bar-4"));
}

// Damaged layouts load without a crash or a hang, and every bar stays.
TEST_F(DockStateTest, DamagedLayoutsKeepEveryBar)
{
    struct Damage
    {
        const char* name;
        std::function<void(TkPersistentTreeNode*)> spoil;
    } damages[] = {
        {"huge bar count", [](TkPersistentTreeNode* node) { node->SetIntValue("Bars", 2000000000, TRUE); }},
        {"negative bar count", [](TkPersistentTreeNode* node) { node->SetIntValue("Bars", -7, TRUE); }},
        {"screen width 0", [](TkPersistentTreeNode* node) { node->SetIntValue("ScreenCX", 0, TRUE); }},
        {"bar node without its id",
         [](TkPersistentTreeNode* node) { node->FindChildNode("Bar-1")->RemoveKey("BarID"); }},
        {"dock bar lists a bar twice and one that does not exist",
         [](TkPersistentTreeNode* node) {
             TkPersistentTreeNode* bar = node->FindChildNode("Bar-0");
             bar->SetIntValue("Bars", 4, TRUE);
             bar->SetIntValue("Bar#0", 0xE821, TRUE);
             bar->SetIntValue("Bar#1", 0xE821, TRUE);
             bar->SetIntValue("Bar#2", 0x1234, TRUE);
             bar->SetIntValue("Bar#3", 0, TRUE);
         }},
        {"negative sizes and a short placement",
         [](TkPersistentTreeNode* node) {
             TkPersistentTreeNode* bar = node->FindChildNode("Bar-1");
             bar->SetIntValue("MRUHorzDockCY", -50, TRUE);
             bar->SetBoolValue("MDIChild", TRUE, TRUE);
             BYTE shortPlacement[10] = {};
             bar->SetBinaryValue("MDIChildWindowPlacement", shortPlacement, 10, TRUE);
         }},
        {"floating far off the screen",
         [](TkPersistentTreeNode* node) {
             TkPersistentTreeNode* bar = node->FindChildNode("Bar-1");
             bar->SetBoolValue("Floating", TRUE, TRUE);
             bar->SetIntValue("XPos", -90000, TRUE);
             bar->SetIntValue("YPos", 90000, TRUE);
         }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        TkPersistentTreeNode root;
        root.Initialize("Frame", NULL);
        TkPTNFactory factory;
        TkDockState saved;
        saved.GetDockState(m_frame);
        saved.SaveStateToTree(&factory, &root);
        damage.spoil(root.FindChildNode("DockState"));
        TkDockState loaded;
        loaded.LoadStateFromTree(&root);
        loaded.SetDockState(m_frame);
        Layout();
        CRect screen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
        for (TkControlBar* bar : m_bars) {
            ASSERT_NE(nullptr, bar->m_pDockBar);
            EXPECT_EQ(bar->m_pDockBar, bar->GetParent());
            EXPECT_GT(bar->m_pDockBar->FindBar(bar), 0);
            CRect rect;
            bar->GetParentFrame()->GetWindowRect(&rect);
            EXPECT_TRUE(CRect().IntersectRect(rect, screen));
        }
    }
}

// Both the class library's state and the toolkit's load a whole archive or
// nothing.
TEST_F(DockStateTest, CutArchiveFailsAndChangesNothing)
{
    struct Kind
    {
        const char* name;
        std::function<CDockState*(CFrameWnd*)> make;
    } kinds[] = {
        {"class library state",
         [](CFrameWnd* frame) {
             CDockState* state = new CDockState;
             frame->GetDockState(*state);
             return state;
         }},
        {"toolkit state",
         [](CFrameWnd* frame) {
             TkDockState* state = new TkDockState;
             state->GetDockState(frame);
             return static_cast<CDockState*>(state);
         }},
    };
    for (const Kind& kind : kinds) {
        std::unique_ptr<CDockState> saved(kind.make(m_frame));
        CMemFile memory;
        {
            CArchive ar(&memory, CArchive::store);
            saved->Serialize(ar);
        }
        ULONGLONG length = memory.GetLength();
        BYTE* bytes = memory.Detach();
        std::unique_ptr<CDockState> state(kind.make(m_frame));
        INT_PTR infos = state->m_arrBarInfo.GetSize();
        ASSERT_GT(infos, 0) << kind.name;
        for (UINT cut : {4u, 12u, (UINT)length / 2, (UINT)length - 1}) {
            CMemFile part(bytes, cut);
            CArchive ar(&part, CArchive::load);
            bool failed = false;
            try {
                state->Serialize(ar);
            } catch (CException* error) {
                error->Delete();
                failed = true;
            }
            EXPECT_TRUE(failed) << kind.name << " " << cut;
            EXPECT_EQ(infos, state->m_arrBarInfo.GetSize()) << kind.name << " " << cut;
        }
        CMemFile whole(bytes, (UINT)length);
        CArchive ar(&whole, CArchive::load);
        state->Serialize(ar);
        EXPECT_EQ(saved->m_arrBarInfo.GetSize(), state->m_arrBarInfo.GetSize()) << kind.name;
        free(bytes);
    }
}

}  // namespace
