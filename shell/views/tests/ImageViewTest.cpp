// The image view on a real document: which file it shows, how it draws it,
// and an image file dropped on it.
#include "shell/views/tests/ShellViewFixture.h"

#include "shell/views/ImageView.h"
#include "tests/support/MessageBoxScript.h"
#include "shell/views/ViewsResources.h"

#include <stdio.h>

namespace {

const char kId[] = "00000000000000A1";
const DWORD kSonyId = 0xABCD;
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

class ImageViewTest : public ShellViewFixture
{
protected:
    ImageViewTest()
    {
        m_doc->GetOptions().m_page9.m_imageDirectory = m_folder.WindowsPath("covers").c_str();
        m_doc->GetOptions().m_page9.m_defaultImage = "default.bmp";
        CreateDirectoryA(m_doc->GetOptions().m_page9.m_imageDirectory, NULL);
        AddAlbum(kId, "Files", 2, true);
        CMusicLibrary& library = m_doc->GetMusicLibrary();
        CLibraryLock lock(library);
        AlbumRecord* album = library.GetAlbumPtr(lock, 0);
        album->SetSonyId(kSonyId);
        CString error;
        album->SetImage(kAlbumIndex, "cover.png", false, "", error);
    }
    std::string Cover(const char* name) { return m_folder.WindowsPath(("covers\\" + std::string(name)).c_str()); }
    // A picture of one colour in the type its name gives.
    void WriteImage(const char* name, int width, int height, COLORREF colour)
    {
        // GIF files hold palette pictures.
        bool palette = std::string(name).find(".gif") != std::string::npos;
        CImage image;
        ASSERT_TRUE(image.Create(width, height, palette ? 8 : 24, 0));
        BYTE red = GetRValue(colour), green = GetGValue(colour), blue = GetBValue(colour);
        if (palette)
        {
            ASSERT_TRUE(image.CreatePalette(1, &red, &green, &blue));
        }
        for (int y = 0; y < height; ++y)
        {
            for (int x = 0; x < width; ++x)
            {
                if (palette)
                    image.SetPixelIndex(x, y, 0);
                else
                    image.SetPixelColor(x, y, red, green, blue);
            }
        }
        ASSERT_TRUE(image.Write(Cover(name).c_str()));
    }
    void WriteJunk(const char* name)
    {
        FILE* file = fopen(m_folder.UnixPath(("covers/" + std::string(name)).c_str()).c_str(), "wb");
        ASSERT_TRUE(file != nullptr);
        fputs("GIF89a\x20\x00 not really", file);
        fclose(file);
    }
    void SelectTrack(int track)
    {
        m_doc->GetSelectionList().Clear();
        m_doc->GetSelectionList().AddItem(CLibItem(kId, track));
    }
    std::string Shown(CImageView* view)
    {
        std::string path = std::string(view->GetShownPath());
        return path.substr(path.rfind('\\') + 1);
    }
    // The view drawn into a bitmap of its client size.
    COLORREF DrawnPixel(CImageView* view, int x, int y)
    {
        CRect client;
        view->GetClientRect(&client);
        CClientDC screen(view);
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height());
        CBitmap* old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(client, RGB(0, 255, 0));
        view->OnDraw(&dc);
        COLORREF pixel = dc.GetPixel(x, y);
        dc.SelectObject(old);
        return pixel;
    }
};

// Each row takes the best file away: the next candidate shows.
TEST_F(ImageViewTest, CandidatesAreTriedInTheirOrder)
{
    WriteImage("cover.png", 4, 4, kRed);
    WriteImage((std::string(kId) + ".bmp").c_str(), 4, 4, kRed);
    WriteImage((std::string(kId) + ".jpg").c_str(), 4, 4, kRed);
    WriteImage("0000ABCD.bmp", 4, 4, kRed);
    WriteImage("0000ABCD.jpg", 4, 4, kRed);
    WriteImage("default.bmp", 4, 4, kRed);
    CImageView* view = Show<CImageView>(RUNTIME_CLASS(CImageView));
    SelectTrack(-1);
    const char* const order[] = {"cover.png", "00000000000000a1.bmp", "00000000000000a1.jpg", "0000abcd.bmp",
                                 "0000abcd.jpg", "default.bmp"};
    // Hint 22: the name of the first candidate stays the same.
    for (const char* name : order)
    {
        m_doc->UpdateAllViews(NULL, kViewHintReloadImage);
        EXPECT_EQ(name, Shown(view));
        EXPECT_TRUE(view->GetImage() != nullptr) << name;
        DeleteFileA(Cover(name).c_str());
        // A damaged file of the same name is passed over as well.
        if (std::string(name) == "00000000000000a1.bmp")
            WriteJunk("00000000000000A1.bmp");
    }
    m_doc->UpdateAllViews(NULL, kViewHintReloadImage);
    EXPECT_TRUE(view->GetImage() == nullptr);
    EXPECT_EQ("No Image Available.\r\nDrag-and-Drop a \r\nJPG,BMP,PNG or GIF image here.",
              std::string(view->GetMessageText()));
}

TEST_F(ImageViewTest, MessagesWithoutASingleAlbumAndIgnoredHints)
{
    AddAlbum("00000000000000B1", "Other", 1, true);
    WriteImage("cover.png", 4, 4, kRed);
    CImageView* view = Show<CImageView>(RUNTIME_CLASS(CImageView));
    EXPECT_EQ("No Image", std::string(view->GetMessageText()));
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    EXPECT_EQ("(Nothing Selected)", std::string(view->GetMessageText()));
    SelectTrack(0);
    m_doc->GetSelectionList().AddItem(CLibItem("00000000000000B1", 0));
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    EXPECT_EQ("(Multiple Albums Selected)", std::string(view->GetMessageText()));
    EXPECT_TRUE(view->GetImage() == nullptr);

    SelectTrack(0);
    for (int hint : {0, 3, 12, 13, 21})
        m_doc->UpdateAllViews(NULL, hint);
    EXPECT_TRUE(view->GetImage() == nullptr) << "only hints 4 and 22 load";
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    EXPECT_TRUE(view->GetImage() != nullptr);
}

TEST_F(ImageViewTest, HintTwentyTwoReloadsTheSameName)
{
    WriteImage("cover.png", 4, 4, kRed);
    CImageView* view = Show<CImageView>(RUNTIME_CLASS(CImageView));
    SelectTrack(-1);
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    WriteImage("cover.png", 4, 4, kBlue);
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    BYTE r, g, b;
    view->GetImage()->GetPixelColor(0, 0, r, g, b);
    EXPECT_EQ(kRed, RGB(r, g, b)) << "the same name is not read again";
    m_doc->UpdateAllViews(NULL, kViewHintReloadImage);
    view->GetImage()->GetPixelColor(0, 0, r, g, b);
    EXPECT_EQ(kBlue, RGB(r, g, b));
}

// A 200 x 100 picture in a 300 x 300 view by the two options.
TEST_F(ImageViewTest, DrawModesPlaceThePicture)
{
    WriteImage("cover.png", 200, 100, kRed);
    CImageView* view = Show<CImageView>(RUNTIME_CLASS(CImageView));
    // The frame's client area is the view's window, borders and all.
    CFrameWnd* frame = view->GetParentFrame();
    CRect window, client;
    frame->GetWindowRect(&window);
    view->GetClientRect(&client);
    frame->SetWindowPos(NULL, 0, 0, 300 + window.Width() - client.Width(), 300 + window.Height() - client.Height(),
                        SWP_NOZORDER | SWP_NOMOVE);
    view->GetClientRect(&client);
    ASSERT_EQ(CSize(300, 300), client.Size());
    SelectTrack(-1);
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    ASSERT_TRUE(view->GetImage() != nullptr);
    const COLORREF kBack = RGB(0, 255, 0);
    struct Case
    {
        int stretch;
        int keepAspect;
        POINT inside[2];
        POINT outside[2];
    };
    const Case cases[] = {
        {1, 1, {{0, 75}, {299, 224}}, {{150, 74}, {150, 225}}},
        {1, 0, {{0, 0}, {299, 299}}, {{-1, -1}, {-1, -1}}},
        {0, 0, {{50, 100}, {249, 199}}, {{49, 100}, {250, 200}}},
        {0, 1, {{50, 100}, {249, 199}}, {{150, 99}, {150, 200}}},
    };
    for (const Case& c : cases)
    {
        m_doc->GetOptions().m_page2.m_stretchImages = c.stretch;
        m_doc->GetOptions().m_page2.m_keepAspect = c.keepAspect;
        m_doc->UpdateAllViews(NULL, kViewHintReloadImage);
        for (POINT p : c.inside)
            EXPECT_EQ(kRed, DrawnPixel(view, p.x, p.y)) << c.stretch << c.keepAspect << " " << p.x << "," << p.y;
        for (POINT p : c.outside)
        {
            if (p.x < 0)
                continue;
            EXPECT_EQ(kBack, DrawnPixel(view, p.x, p.y)) << c.stretch << c.keepAspect << " " << p.x << "," << p.y;
        }
    }
}

TEST_F(ImageViewTest, ADroppedFileBecomesTheEntrysImage)
{
    CImageView* view = Show<CImageView>(RUNTIME_CLASS(CImageView));
    WriteImage("dropped.gif", 6, 6, kBlue);
    std::string dropped = Cover("dropped.gif");
    struct Case
    {
        int copy;
        int track;
    };
    // A copy is the album's image, named after it, in the image folder; the
    // file itself is the track's image.
    const Case cases[] = {{1, 1}, {0, 0}};
    for (const Case& c : cases)
    {
        m_doc->GetOptions().m_page2.m_makeImageCopy = c.copy;
        m_doc->GetMusicLibrary().SetModified(false);
        SelectTrack(c.track);
        EXPECT_TRUE(view->TakeDroppedFile(dropped.c_str()));
        EXPECT_TRUE(m_doc->GetMusicLibrary().IsModified());
        ASSERT_TRUE(view->GetImage() != nullptr) << c.copy;
        EXPECT_EQ(c.copy ? "band - files.gif" : "dropped.gif", Shown(view)) << c.copy;
    }
    AlbumRecord album;
    m_doc->GetMusicLibrary().GetAlbumAt(0, album);
    EXPECT_EQ((Texts{"Band - Files.gif", dropped}),
              (Texts{std::string(album.GetImage(kAlbumIndex)), std::string(album.GetImage(0))}));

    m_doc->GetSelectionList().AddItem(CLibItem(kId, 0));
    EXPECT_FALSE(view->TakeDroppedFile(dropped.c_str())) << "two entries selected";
}

// A right click opens the image menu; Remove reaches the document, which
// forgets the entry's picture.
TEST_F(ImageViewTest, TheImageMenuRemovesTheEntrysPicture)
{
    WriteImage("cover.png", 4, 4, kRed);
    CImageView* view = Show<CImageView>(RUNTIME_CLASS(CImageView));
    SelectTrack(-1);
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    EXPECT_EQ("cover.png", Shown(view));
    m_doc->GetMusicLibrary().SetModified(false);
    std::vector<UINT> items =
        PickFromMenu([view] { view->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(40, 40)); }, 2);
    EXPECT_EQ((std::vector<UINT>{ID_IMAGE_GET_COVER, ID_IMAGE_BROWSE, ID_IMAGE_REMOVE}), items);
    AlbumRecord album;
    ASSERT_TRUE(m_doc->GetMusicLibrary().GetAlbumAt(0, album));
    EXPECT_EQ("", std::string(album.GetImage(kAlbumIndex)));
    EXPECT_TRUE(m_doc->GetMusicLibrary().IsModified());
}

} // namespace
