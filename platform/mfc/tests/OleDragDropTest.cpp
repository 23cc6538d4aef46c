// The data offered by a COleDataSource as COleDataObject reads it: formats
// offered and refused, copies handed out, the formats listed.
#include "TestFramework.h"

#include <afxole.h>

#include <string>

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
} // namespace
