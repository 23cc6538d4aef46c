// The data offered by a COleDataSource as COleDataObject reads it: formats
// offered and refused, copies handed out, the formats listed; and the effect a
// window's drop target gives OLE's drag loop.
#include "tests/support/TestFramework.h"

#include <afxole.h>

#include <string>
#include <vector>

namespace
{
HGLOBAL GlobalText(const char* text)
{
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
    strcpy((char*)GlobalLock(global), text);
    GlobalUnlock(global);
    return global;
}

std::string TextOf(HGLOBAL global)
{
    std::string text = (const char*)GlobalLock(global);
    GlobalUnlock(global);
    return text;
}

TEST(OleDragDropTest, DataOfferedIsReadAsCopies)
{
    ASSERT_TRUE(AfxOleInit());
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, GlobalText("first"));
    source.CacheGlobalData(CF_TEXT, GlobalText("000000000000000A 1"));

    COleDataObject data;
    data.Attach(source.GetInterface(), FALSE);
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
    EXPECT_FALSE(data.IsDataAvailable(CF_HDROP));
    EXPECT_EQ(NULL, data.GetGlobalData(CF_HDROP));
    for (int read = 0; read < 2; ++read)
    {
        HGLOBAL copy = data.GetGlobalData(CF_TEXT);
        ASSERT_TRUE(copy != NULL);
        EXPECT_EQ("000000000000000A 1", TextOf(copy)) << "the later block replaced the first";
        GlobalFree(copy);
    }

    IEnumFORMATETC* formats = NULL;
    ASSERT_EQ(S_OK, source.GetInterface()->EnumFormatEtc(DATADIR_GET, &formats));
    FORMATETC format;
    ULONG got = 0;
    EXPECT_EQ(S_OK, formats->Next(1, &format, &got));
    EXPECT_EQ(CF_TEXT, format.cfFormat);
    EXPECT_EQ(S_FALSE, formats->Next(1, &format, &got));
    formats->Release();
    EXPECT_EQ(source.GetInterface(), data.Detach());
}

TEST(OleDragDropTest, TheDropSourceDropsOnReleaseAndCancelsOnEscape)
{
    COleDropSource source;
    EXPECT_EQ(S_OK, source.QueryContinueDrag(FALSE, MK_LBUTTON));
    EXPECT_EQ(S_OK, source.QueryContinueDrag(FALSE, MK_LBUTTON | MK_CONTROL));
    EXPECT_EQ(DRAGDROP_S_DROP, source.QueryContinueDrag(FALSE, 0));
    EXPECT_EQ(DRAGDROP_S_CANCEL, source.QueryContinueDrag(TRUE, MK_LBUTTON));
}
// A window's drop target that answers every hover with one effect and
// records the drops.
class CAnsweringTarget : public COleDropTarget
{
public:
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) override { return m_answer; }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) override { return m_answer; }
    BOOL OnDrop(CWnd*, COleDataObject*, DROPEFFECT effect, CPoint) override
    {
        m_dropped.push_back(effect);
        return TRUE;
    }

    DROPEFFECT m_answer = DROPEFFECT_NONE;
    std::vector<DROPEFFECT> m_dropped;
};

// Keeps the drag going for a few turns of OLE's loop, so that the target is
// entered and hovered over, then drops.
class CDropAfterTurns : public COleDropSource
{
public:
    SCODE QueryContinueDrag(BOOL, DWORD) override { return ++m_turns < 4 ? S_OK : DRAGDROP_S_DROP; }

private:
    int m_turns = 0;
};

TEST(OleDragDropTest, TheTargetAnswersAnEffectTheSourceAllows)
{
    ASSERT_TRUE(AfxOleInit());
    CWnd window;
    ASSERT_TRUE(window.CreateEx(WS_EX_TOPMOST, NULL, "target", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200, NULL, NULL));
    window.SetForegroundWindow();
    CAnsweringTarget target;
    ASSERT_TRUE(target.Register(&window));
    ::SetCursorPos(200, 200);
    const struct
    {
        DWORD allowed;
        DROPEFFECT answer;
        DROPEFFECT expected;
    } cases[] = {
        // A view answers move without Ctrl whatever the source allows.
        {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {DROPEFFECT_COPY, DROPEFFECT_MOVE | DROPEFFECT_SCROLL, DROPEFFECT_COPY},
        {DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_MOVE},
        {DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {DROPEFFECT_LINK, DROPEFFECT_MOVE, DROPEFFECT_NONE},
        {DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_NONE, DROPEFFECT_NONE},
    };
    for (const auto& c : cases)
    {
        target.m_answer = c.answer;
        target.m_dropped.clear();
        COleDataSource source;
        source.CacheGlobalData(CF_TEXT, GlobalText("000000000000000A -1"));
        CDropAfterTurns dropSource;
        EXPECT_EQ(c.expected, source.DoDragDrop(c.allowed, NULL, &dropSource))
            << "allowed " << c.allowed << ", answered " << c.answer;
        std::vector<DROPEFFECT> drops;
        if (c.expected != DROPEFFECT_NONE)
            drops.push_back(c.expected);
        EXPECT_EQ(drops, target.m_dropped) << "allowed " << c.allowed << ", answered " << c.answer;
    }
    target.Revoke();
    window.DestroyWindow();
}
} // namespace
