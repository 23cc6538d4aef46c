#include "tests/support/TestFramework.h"

#include "library/web/tests/HttpTestSupport.h"
#include "tests/support/LocalHttpServer.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/TempFolder.h"
#include "library/web/CDDBClient.h"
#include "library/web/HTTPThread.h"
#include "library/web/ZymInetSession.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

const char kHost[] = "cddb.test";
// WinInet names the port in the request line it sends to a proxy.
const char kProxiedHost[] = "http://cddb.test:80";
const DWORD kShortTimeoutMs = 1500;

// Runs a request straight at the local server (the client always goes to
// port 80), with the starter's side of the handshake.
struct DirectRequest
{
    int port;
    CRecordingTasks tasks;
    CRecordingHost host;
    DWORD maxFileBytes = CHTTPThread::kMaxFileBytes;

    CString Run(const char* object, const char* postData = "", const char* outputPath = "",
                int verb = HTTP_VERB_GET)
    {
        CHTTPThread* thread = (CHTTPThread*)AfxBeginThread(
            RUNTIME_CLASS(CHTTPThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        thread->m_strHost = "127.0.0.1";
        thread->m_nPort = (INTERNET_PORT)port;
        thread->m_dwTimeout = kShortTimeoutMs;
        thread->m_dwMaxFileBytes = maxFileBytes;
        thread->m_strObject = object;
        thread->m_strPostData = postData;
        thread->m_strOutputPath = outputPath;
        thread->m_bWriteToFile = *outputPath != '\0';
        thread->m_bShowErrors = TRUE;
        thread->m_nVerb = verb;
        thread->m_pTaskMgr = &tasks;
        thread->m_pHost = &host;
        HANDLE handle;
        DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &handle, 0,
                        FALSE, DUPLICATE_SAME_ACCESS);
        thread->ResumeThread();
        WaitForSingleObject(thread->m_done, INFINITE);
        CString result = thread->m_strResult;
        thread->m_release.SetEvent();
        WaitForSingleObject(handle, INFINITE);
        CloseHandle(handle);
        return result;
    }
};

std::string BoxText(const CMessageBoxScript& boxes)
{
    std::vector<ShownMessageBox> shown = boxes.Shown();
    return shown.size() == 1 ? shown[0].text : "boxes: " + std::to_string(shown.size());
}

std::string ReadWhole(const std::string& unixPath)
{
    std::ifstream file(unixPath, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> FolderNames(const CTempFolder& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.WindowsPath("*").c_str(), &found);
    std::vector<std::string> names;
    while (search != INVALID_HANDLE_VALUE) {
        if (found.cFileName[0] != '.')
            names.push_back(found.cFileName);
        if (!FindNextFileA(search, &found)) {
            FindClose(search);
            break;
        }
    }
    return names;
}

TEST(HttpThread, GetThroughTheProxyAsksForTheWholeUrl)
{
    CLocalHttpServer proxy;
    proxy.Answer(std::string(kProxiedHost) + "/~cddb/cddb.cgi?cmd=sites",
                 HttpReply::Ok("210 OK\r\n.\r\n"));
    CCDDBClient client;
    client.SetProxy(1, "127.0.0.1", std::to_string(proxy.Port()).c_str(), "", "");
    CRecordingTasks tasks;
    CString result = client.RunHttpRequest(kHost, "/~cddb/cddb.cgi?cmd=sites", &tasks, TRUE,
                                           FALSE, HTTP_VERB_GET, "", "", "zym");
    EXPECT_EQ("210 OK\r\n.\r\n", Str(result));
    std::vector<HttpRequestRecord> requests = proxy.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("GET", requests[0].method);

    EXPECT_EQ("", requests[0].Header("Content-Type"));
    EXPECT_EQ("zym", requests[0].Header("User-Agent"));
    // The request has ended its task when the call returns.
    EXPECT_EQ(std::vector<std::string>{ "HTTP" }, tasks.Created());
    EXPECT_EQ(1, tasks.Ended());
}

TEST(HttpThread, PostSendsTheFormHeaderAndBody)
{
    CLocalHttpServer server;
    server.Answer("/submit", HttpReply::Ok("thanks"));
    DirectRequest request{ server.Port() };
    EXPECT_EQ("thanks", Str(request.Run("/submit", "a=1&b=two")));
    std::vector<HttpRequestRecord> requests = server.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("POST", requests[0].method);
    EXPECT_EQ("application/x-www-form-urlencoded", requests[0].Header("Content-Type"));
    EXPECT_EQ("a=1&b=two", requests[0].body);
}

TEST(HttpThread, TheTaskFollowsTheRequestAndTheThreadRegisters)
{
    CLocalHttpServer server;
    server.Answer("/page", HttpReply::Ok("body"));
    DirectRequest request{ server.Port() };
    request.Run("/page");
    std::vector<std::string> statuses = request.tasks.Statuses();
    for (const char* step : { "Connecting", "Sending Request", "Reading Data",
                              "Connected to server", "Response received" })
        EXPECT_NE(statuses.end(), std::find(statuses.begin(), statuses.end(), step)) << step;
    EXPECT_EQ((std::vector<std::string>{ "start HTTP", "end" }), request.host.Events());
    EXPECT_EQ(1, request.tasks.Ended());
}

TEST(HttpThread, FailuresGiveTheirTextsAndNoResult)
{
    struct Case
    {
        const char* name;
        HttpReply reply;
        const char* prefix;
        const char* suffix;
        const char* result;
    };
    HttpReply stalled = HttpReply::Ok("partial body that never ends");
    stalled.sendLength = false;
    stalled.ending = HttpReply::kStall;
    HttpReply serverError = HttpReply::Ok("oops");
    serverError.statusLine = "HTTP/1.0 500 Internal Server Error";
    HttpReply silent = HttpReply::Ok("");
    silent.sendBytes = 0;
    silent.ending = HttpReply::kStall;
    const Case cases[] = {
        { "missing", HttpReply::Ok("x"), "HTTP Error (404)", "", "" },
        { "error", serverError, "HTTP Error (500)", "", "" },
        // What arrived before the time-out stays the result.
        { "stall", stalled, "Error [", "] reading data", "partial body that never ends" },
        { "silent", silent, "Error [", "] sending request", "" },
    };
    for (const Case& c : cases) {
        CLocalHttpServer server;
        if (std::string(c.name) != "missing")
            server.Answer(std::string("/") + c.name, c.reply);
        CMessageBoxScript boxes;
        boxes.Then(IDOK);
        DirectRequest request{ server.Port() };
        EXPECT_EQ(c.result, Str(request.Run((std::string("/") + c.name).c_str()))) << c.name;
        std::string text = BoxText(boxes);
        EXPECT_EQ(0u, text.find(c.prefix)) << c.name << ": " << text;
        EXPECT_TRUE(text.size() >= strlen(c.suffix) &&
                    text.compare(text.size() - strlen(c.suffix), std::string::npos, c.suffix) == 0)
            << c.name << ": " << text;
    }
}

TEST(HttpThread, UnreachableHostGivesTheSendError)
{
    // The port of a server that has gone: nothing listens there.
    int port;
    {
        CLocalHttpServer gone;
        port = gone.Port();
    }
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    DirectRequest request{ port };
    EXPECT_EQ("", Str(request.Run("/")));
    EXPECT_EQ("Error [12029] sending request", BoxText(boxes));
    // The task keeps the last status WinInet reported.
    EXPECT_EQ("Handle closing", request.tasks.Statuses().back());
}

TEST(HttpThread, RedirectsAreFollowedAndALoopEnds)
{
    CLocalHttpServer server;
    CLocalHttpServer other("127.0.0.2");
    server.Answer("/old", HttpReply::Redirect("/new"));
    server.Answer("/new", HttpReply::Redirect(other.Url("/elsewhere")));
    other.Answer("/elsewhere", HttpReply::Ok("moved body"));
    server.Answer("/loop", HttpReply::Redirect("/loop"));
    DirectRequest request{ server.Port() };
    EXPECT_EQ("moved body", Str(request.Run("/old")));
    EXPECT_EQ(1u, other.Requests().size());

    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    EXPECT_EQ("", Str(request.Run("/loop")));
    EXPECT_EQ("HTTP Error (302)", BoxText(boxes));
    EXPECT_EQ(2u + 1 + CHTTPThread::kMaxRedirects, server.Requests().size());
}

// Locations the way servers give them: relative to the object asked for, to
// the host, or to the scheme, after any redirect status; one that cannot be
// followed is an error, never a silent empty result.
TEST(HttpThread, RedirectLocationsResolveAgainstTheRequest)
{
    CLocalHttpServer server;
    CLocalHttpServer other("127.0.0.2");
    server.Answer("/dir/sub/page?x=1", HttpReply::Ok("in sub"));
    server.Answer("/dir/up", HttpReply::Ok("one up"));
    server.Answer("/dir/query?y=2", HttpReply::Ok("query"));
    other.Answer("/there", HttpReply::Ok("other host"));
    const std::string schemeRelative = "//127.0.0.2:" + std::to_string(other.Port()) + "/there";
    const struct
    {
        const char* name;
        HttpReply reply;
        const char* result;
        const char* box;   // "" none
    } cases[] = {
        {"relative", HttpReply::Redirect("sub/page?x=1"), "in sub", ""},
        {"dots", HttpReply::Redirect("./sub/../../dir/up"), "one up", ""},
        {"query", HttpReply::Redirect("?y=2"), "query", ""},
        {"307", HttpReply::Redirect("sub/page?x=1", 307), "in sub", ""},
        {"308", HttpReply::Redirect("/dir/up", 308), "one up", ""},
        {"301", HttpReply::Redirect("up", 301), "one up", ""},
        {"scheme-relative", HttpReply::Redirect(schemeRelative), "other host", ""},
        {"ftp", HttpReply::Redirect("ftp://127.0.0.1/dir/up"), "", "HTTP Error (302)"},
        {"empty", HttpReply::Redirect("", 308), "", "HTTP Error (308)"},
    };
    for (const auto& c : cases) {
        server.Answer(std::string("/dir/") + c.name, c.reply);
        CMessageBoxScript boxes;
        if (*c.box)
            boxes.Then(IDOK);
        DirectRequest request{ server.Port() };
        EXPECT_EQ(c.result, Str(request.Run((std::string("/dir/") + c.name).c_str()))) << c.name;
        EXPECT_EQ(*c.box ? c.box : "boxes: 0", BoxText(boxes)) << c.name;
    }
}

// The body is kept as it comes, so it is asked for unencoded; one the server
// encodes anyway is refused rather than handed on as compressed bytes.
TEST(HttpThread, AnEncodedBodyIsRefused)
{
    CLocalHttpServer server;
    server.Answer("/lyrics", HttpReply::Gzipped(std::string(2000, 'l')));
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    DirectRequest request{ server.Port() };
    EXPECT_EQ("", Str(request.Run("/lyrics")));
    EXPECT_EQ("Error reading data: content encoding gzip", BoxText(boxes));
    EXPECT_EQ("identity", server.Requests().back().Header("Accept-Encoding"));
}

TEST(HttpThread, BodyGoesToTheOutputFile)
{
    CTempFolder folder("l1-http");
    ASSERT_TRUE(folder.IsValid());
    CLocalHttpServer server;
    std::string image(100000, '\0');
    for (size_t i = 0; i < image.size(); i++)
        image[i] = (char)(i * 7);
    server.Answer("/cover.jpg", HttpReply::Ok(image));
    DirectRequest request{ server.Port() };
    EXPECT_EQ("ok", Str(request.Run("/cover.jpg", "", folder.WindowsPath("cover.jpg").c_str())));
    EXPECT_EQ(image, ReadWhole(folder.UnixPath("cover.jpg")));

    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    std::string badPath = folder.WindowsPath("no such folder\\cover.jpg");
    EXPECT_EQ("", Str(request.Run("/cover.jpg", "", badPath.c_str())));
    EXPECT_EQ("Error opening file [" + badPath + "] for writing", BoxText(boxes));
}

// A download that breaks off, stops short of its length or runs past the size
// limit is reported and leaves the file it would replace as it was, with
// nothing of its own beside it; a body of exactly the limit is kept.
TEST(HttpThread, OnlyAWholeDownloadWithinTheLimitReplacesTheFile)
{
    const DWORD kLimit = 4096;
    const std::string body(5000, 'n');
    HttpReply stalled = HttpReply::Ok(body);
    stalled.sendLength = false;
    stalled.ending = HttpReply::kStall;
    HttpReply cut = HttpReply::Ok(body);
    cut.sendBytes = (int)(cut.Head().size() + 3000);
    HttpReply endless = HttpReply::Ok(body);
    endless.sendLength = false;
    struct Case
    {
        const char* name;
        HttpReply reply;
        DWORD limit;
        const char* result;
        const char* box; // prefix of the message shown
    };
    const Case cases[] = {
        { "stall", stalled, CHTTPThread::kMaxFileBytes, "", "Error [" },
        { "cut", cut, CHTTPThread::kMaxFileBytes, "", "Error reading data: 3000 of 5000 bytes arrived" },
        { "announced", HttpReply::Ok(body), kLimit, "", "Error reading data: more than 4096 bytes" },
        { "endless", endless, kLimit, "", "Error reading data: more than 4096 bytes" },
        { "limit", HttpReply::Ok(body.substr(0, kLimit)), kLimit, "ok", "boxes: 0" },
    };
    for (const Case& c : cases) {
        CTempFolder folder("l1-http");
        ASSERT_TRUE(folder.IsValid());
        std::ofstream(folder.UnixPath("cover.jpg"), std::ios::binary) << "old cover";
        CLocalHttpServer server;
        server.Answer("/cover.jpg", c.reply);
        CMessageBoxScript boxes;
        boxes.Then(IDOK);
        DirectRequest request{ server.Port() };
        request.maxFileBytes = c.limit;
        EXPECT_EQ(c.result, Str(request.Run("/cover.jpg", "", folder.WindowsPath("cover.jpg").c_str())))
            << c.name;
        EXPECT_EQ(0u, BoxText(boxes).find(c.box)) << c.name << ": " << BoxText(boxes);
        bool kept = *c.result == '\0';
        EXPECT_EQ(kept ? "old cover" : c.reply.body, ReadWhole(folder.UnixPath("cover.jpg"))) << c.name;
        EXPECT_EQ(std::vector<std::string>({ "cover.jpg" }), FolderNames(folder)) << c.name;
    }
}

TEST(HttpThread, AMemoryBodyIsCutAtTheBuffer)
{
    CLocalHttpServer server;
    server.Answer("/big", HttpReply::Ok(std::string(100000, 'x')));
    DirectRequest request{ server.Port() };
    EXPECT_EQ((size_t)CHTTPThread::kBodyBufferSize, request.Run("/big").GetLength());
}

TEST(HttpThread, StatusTexts)
{
    const std::pair<DWORD, const char*> cases[] = {
        { 10, "Resolving IP address" }, { 11, "IP address resolved" },
        { 20, "Connecting to server" }, { 21, "Connected to server" },
        { 30, "Sending request" },      { 31, "Request sent" },
        { 40, "Receiving response" },   { 41, "Response received" },
        { 50, "Closing connection" },   { 51, "Connection closed" },
        { 60, "Handle created" },       { 70, "Handle closing" },
        { 100, "Request complete" },    { 42, "Unknown repsonse" },
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.second, CZymInetSession::StatusText(c.first)) << c.first;
}

} // namespace
