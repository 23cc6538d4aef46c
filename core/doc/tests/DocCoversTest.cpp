#include "core/doc/tests/WebDocFixture.h"

#include "core/doc/DocCovers.h"
#include "image/Image.h"

#include <stdio.h>

namespace {

const char kShop[] = "www.shop.example";
const char kImages[] = "images.shop.example";
const char kSearch[] = "/exec/obidos/search-handle-form";
const char kCoverObject[] = "/images/P/B0001.01.jpg";
const char kResultPage[] = "<html>Music Search Results<br>\n"
                           "<a href=\"/exec/obidos/ASIN/B0002/x\">Other Record</a><br>\n"
                           "<a href=\"/exec/obidos/ASIN/B0001/y\">Blue Train (Remastered)</a><br>\n</html>";
const char kProductPage[] = "<html><a href=\"http://images.shop.example/images/P/B0001.01.jpg\">"
                            "<img src=x></a></html>";
const int kWidth = 8;
const int kHeight = 6;

class DocCoversTest : public WebDocFixture
{
protected:
    static void SetUpTestSuite()
    {
        s_gif = new std::string(MakeImage("made.gif"));
        s_jpeg = new std::string(MakeImage("made.jpg"));
    }
    static void TearDownTestSuite()
    {
        delete s_gif;
        delete s_jpeg;
    }

    // The bytes of a small grey picture written by CImage as name says.
    static std::string MakeImage(const char* name)
    {
        CTempFolder folder("zymcover");
        CImage image;
        const int kGreys = 256;
        BYTE greys[kGreys];
        for (int i = 0; i < kGreys; i++)
            greys[i] = BYTE(i);
        EXPECT_TRUE(image.Create(kWidth, kHeight, 8, -1) && image.CreatePalette(kGreys, greys));
        EXPECT_TRUE(image.Write(folder.WindowsPath(name).c_str()));
        return ReadAll(folder.UnixPath(name));
    }

    static std::string ReadAll(const std::string& path)
    {
        std::string bytes;
        FILE* file = fopen(path.c_str(), "rb");
        if (!file)
            return bytes;
        char buffer[4096];
        size_t read;
        while ((read = fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, read);
        fclose(file);
        return bytes;
    }

    // The shop finds the album at once, and its product page links the cover.
    void AnswerShop(const HttpReply& cover)
    {
        m_server.Answer(Url(kShop, kSearch), HttpReply::Ok(kResultPage));
        m_server.Answer(Url(kShop, "/exec/obidos/ASIN/B0001/y"), HttpReply::Ok(kProductPage));
        m_server.Answer(Url(kImages, kCoverObject), cover);
    }

    // The files of the cover folder.
    std::vector<std::string> Covers()
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(m_folder.WindowsPath("covers\\*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do
        {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (FindNextFileA(find, &found));
        FindClose(find);
        std::sort(names.begin(), names.end());
        return names;
    }

    void SetImage(const std::string& id, int track, const char* file)
    {
        CMusicLibrary& library = m_doc->GetMusicLibrary();
        CLibraryLock lock(library);
        CLibItem item(id.c_str(), kWholeAlbum);
        AlbumRecord* album = item.GetAlbum(lock, library);
        ASSERT_TRUE(album != nullptr);
        CString error;
        album->SetImage(track, file, false, "", error);
    }

    void GetCover(const std::string& id)
    {
        m_doc->GetSelectionList().Clear();
        Select(id, kWholeAlbum);
        m_covers.OnGetCovers();
    }

    static std::string* s_gif;
    static std::string* s_jpeg;
    CDocCovers m_covers{ *m_doc };
};

std::string* DocCoversTest::s_gif;
std::string* DocCoversTest::s_jpeg;

TEST_F(DocCoversTest, TheBestProductsCoverIsFetchedAndKeptByItsContent)
{
    struct Case
    {
        const char* name;
        const std::string* bytes;
        const char* contentType;
        const char* file;
    };
    const Case cases[] = {
        { "GIF", s_gif, "Content-Type: image/gif", "Band - Blue Train.gif" },
        { "JPEG", s_jpeg, "Content-Type: image/jpeg", "Band - Blue Train.jpg" },
        // The content decides, not the type the server claims.
        { "GIF sent as JPEG", s_gif, "Content-Type: image/jpeg", "Band - Blue Train.gif" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_folder.Remove("covers");
        CreateDirectoryA(m_folder.WindowsPath("covers").c_str(), nullptr);
        HttpReply cover = HttpReply::Ok(*c.bytes);
        cover.headers.push_back(c.contentType);
        AnswerShop(cover);
        std::string id = AddAlbum("Band", "Blue Train", { { "One", "", "" } });
        size_t before = m_server.Requests().size();
        GetCover(id);

        std::vector<HttpRequestRecord> requests = m_server.Requests();
        ASSERT_EQ(before + 3, requests.size());
        EXPECT_EQ("POST", requests[before].method);
        EXPECT_EQ(Url(kShop, kSearch), requests[before].target);
        EXPECT_EQ("index=music&field-keywords=Band+Blue+Train", requests[before].body);
        EXPECT_EQ(Url(kShop, "/exec/obidos/ASIN/B0001/y"), requests[before + 1].target);
        EXPECT_EQ(Url(kImages, kCoverObject), requests[before + 2].target);
        EXPECT_EQ(std::vector<std::string>({ c.file }), Covers());
        EXPECT_EQ(c.file, Str(Album(id).GetImage(kAlbumIndex)));
        EXPECT_TRUE(m_doc->GetMusicLibrary().IsModified());
        CImage image;
        ASSERT_TRUE(image.Read(m_folder.WindowsPath((std::string("covers\\") + c.file).c_str()).c_str()));
        EXPECT_EQ(kWidth, image.GetWidth());
        EXPECT_EQ(kHeight, image.GetHeight());
    }
    Texts lines = Lines("");
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "task Looking For Covers"));
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "status Cover Lookup for Band / Blue Train"));
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "hint 4"));
}

// No answer that is not a whole GIF or JPEG becomes a cover: the folder and
// the album's image stay as they were, an older file of the name included.
TEST_F(DocCoversTest, OnlyAWholeImageBecomesACover)
{
    HttpReply errorPage = HttpReply::Ok("<html><body>Error: no such image</body></html>");
    errorPage.headers.push_back("Content-Type: image/gif");
    HttpReply cut = HttpReply::Ok(*s_jpeg);
    cut.sendBytes = static_cast<int>(cut.Head().size() + s_jpeg->size() / 2);
    HttpReply missing = HttpReply::Ok("");
    missing.statusLine = "HTTP/1.0 404 Not Found";
    HttpReply huge = HttpReply::Ok(s_jpeg->substr(0, 3) + std::string(17 * 1024 * 1024, 'x'));
    HttpReply binary = HttpReply::Ok(std::string("\0\0\0GIF89a", 9));
    struct Case
    {
        const char* name;
        const HttpReply& reply;
    };
    const Case cases[] = {
        { "HTML error page answered ok", errorPage }, { "cut short", cut }, { "not found", missing },
        { "larger than any cover", huge },            { "NUL bytes first", binary },
    };
    FILE* old = fopen(m_folder.UnixPath("covers/Band - Blue Train.gif").c_str(), "wb");
    ASSERT_TRUE(old != nullptr);
    fputs("older", old);
    fclose(old);
    std::string id = AddAlbum("Band", "Blue Train", { { "One", "", "" } });
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        AnswerShop(c.reply);
        size_t before = m_server.Requests().size();
        GetCover(id);
        EXPECT_EQ(before + 3, m_server.Requests().size());
        EXPECT_EQ(std::vector<std::string>({ "Band - Blue Train.gif" }), Covers());
        EXPECT_EQ("older", ReadAll(m_folder.UnixPath("covers/Band - Blue Train.gif")));
        EXPECT_EQ("", Str(Album(id).GetImage(kAlbumIndex)));
    }
}

// A cover that cannot take its place (a folder holds the name) is no cover:
// the album gets no name, and the download is gone.
TEST_F(DocCoversTest, ACoverThatCannotBeMovedIntoPlaceIsDropped)
{
    ASSERT_TRUE(CreateDirectoryA(m_folder.WindowsPath("covers\\Band - Blue Train.gif").c_str(), nullptr));
    AnswerShop(HttpReply::Ok(*s_gif));
    std::string id = AddAlbum("Band", "Blue Train", { { "One", "", "" } });
    GetCover(id);

    EXPECT_EQ(3u, m_server.Requests().size());
    EXPECT_EQ("", Str(Album(id).GetImage(kAlbumIndex)));
    EXPECT_EQ(std::vector<std::string>(), Covers());
}

TEST_F(DocCoversTest, NoRequestForAnAlbumWithAnImageOrWithoutArtistOrTitle)
{
    struct Case
    {
        const char* name;
        const char* artist;
        const char* title;
        const char* trackImage;
    };
    const Case cases[] = {
        { "no artist", "", "Blue Train", "" },
        { "no title", "Band", "", "" },
        { "a track has an image", "Band", "Blue Train", "track.jpg" },
    };
    AnswerShop(HttpReply::Ok(*s_gif));
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string id = AddAlbum(c.artist, c.title, { { "One", "", "" } });
        if (*c.trackImage)
            SetImage(id, 0, c.trackImage);
        GetCover(id);
        EXPECT_EQ(0u, m_server.Requests().size());
    }
}

TEST_F(DocCoversTest, ASearchWithoutAGoodMatchIsSearchedForTheImageItself)
{
    const std::string searchPage = std::string("Music Search Results\n") +
                                   "<a href=/exec/obidos/ASIN/B0009>Green Boat</a>\n" +
                                   " <img src=\"http://images.shop.example/images/P/B0009.gif\">";
    m_server.Answer(Url(kShop, kSearch), HttpReply::Ok(searchPage));
    m_server.Answer(Url(kImages, "/images/P/B0009.gif"), HttpReply::Ok(*s_gif));
    std::string id = AddAlbum("Band", "Blue Train", { { "One", "", "" } });
    GetCover(id);

    EXPECT_EQ(std::vector<std::string>({ Url(kShop, kSearch), Url(kImages, "/images/P/B0009.gif") }), Targets());
    EXPECT_EQ("Band - Blue Train.gif", Str(Album(id).GetImage(kAlbumIndex)));
}

TEST_F(DocCoversTest, AFailedSearchTriesTheArtistAlone)
{
    m_server.Answer(Url(kShop, kSearch), HttpReply::Ok("We were unable to find anything."));
    std::string id = AddAlbum("Band", "Blue Train", { { "One", "", "" } });
    GetCover(id);

    std::vector<HttpRequestRecord> requests = m_server.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("index=music&field-keywords=Band+Blue+Train", requests[0].body);
    EXPECT_EQ("index=music&field-keywords=Band", requests[1].body);
    EXPECT_EQ(Texts({ "status Search", "status Search (AO)" }), Lines("status Search"));
    EXPECT_EQ("", Str(Album(id).GetImage(kAlbumIndex)));
}

TEST_F(DocCoversTest, RemoveDetachesTheImageTheEntryShows)
{
    struct Case
    {
        const char* name;
        int track;
        const char* trackImage;
        const char* albumAfter;
        const char* trackAfter;
    };
    const Case cases[] = {
        { "whole album", kWholeAlbum, "own.jpg", "", "own.jpg" },
        { "track with its own image", 0, "own.jpg", "album.jpg", "album.jpg" },
        { "track showing the album's", 0, "", "", "" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string id = AddAlbum("Band", "Blue Train", { { "One", "", "" } });
        SetImage(id, kAlbumIndex, "album.jpg");
        SetImage(id, 0, c.trackImage);
        m_doc->GetSelectionList().Clear();
        Select(id, c.track);
        m_covers.OnImageRemove();
        EXPECT_EQ(c.albumAfter, Str(Album(id).GetImage(kAlbumIndex)));
        EXPECT_EQ(c.trackAfter, Str(Album(id).GetImage(0)));
    }
}

TEST_F(DocCoversTest, ACancelledRunStopsBeforeTheNextAlbum)
{
    AnswerShop(HttpReply::Ok(*s_gif));
    std::string first = AddAlbum("Band", "Blue Train", { { "One", "", "" } });
    std::string second = AddAlbum("Second", "Record", { { "One", "", "" } });
    Select(first, kWholeAlbum);
    Select(second, kWholeAlbum);
    CCancelAtRequest canceller(m_doc->GetTaskMgr(), "Looking For Covers");
    m_doc->GetTaskMgr().AddListener(&canceller);
    m_covers.OnGetCovers();

    for (const HttpRequestRecord& request : m_server.Requests())
        EXPECT_EQ(std::string::npos, request.body.find("Second"));
    // The album in hand stops at its result page: a page may be long, so its
    // scan heeds the cancel too.
    EXPECT_EQ("", Str(Album(first).GetImage(kAlbumIndex)));
    EXPECT_EQ("", Str(Album(second).GetImage(kAlbumIndex)));
    // The canceller goes before the document would tell it of its close.
    Close();
}

} // namespace
