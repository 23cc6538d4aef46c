// A document whose web requests reach the local test server as their proxy,
// so that the fictional hosts of the lyrics site and the cover shop answer
// from the test's pages, with albums and a selection made by the test.
#pragma once

#include "tests/support/doc/DocFixture.h"
#include "tests/support/LocalHttpServer.h"

#include <string>
#include <vector>

// Cancels the named task when an HTTP request starts.
class CCancelAtRequest : public CTaskObserver
{
public:
    CCancelAtRequest(CTaskMgr& tasks, const char* name) : m_tasks(tasks), m_name(name) {}
    void OnTaskEvent(int, int what, INT_PTR value) override;

private:
    CTaskMgr& m_tasks;
    CString m_name;
};

class WebDocFixture : public DocFixture
{
protected:
    WebDocFixture();

    // The whole URL a request for object on host names through the proxy.
    static std::string Url(const char* host, const std::string& object);
    // The targets of the requests the server got, in order.
    std::vector<std::string> Targets() const;
    // A track's title, its own artist (empty: the album's) and lyrics.
    struct Track
    {
        std::string title;
        std::string artist;
        std::string lyrics;
    };
    // A changer album with its own new id, which it returns.
    std::string AddAlbum(const char* artist, const char* title, const std::vector<Track>& tracks);
    AlbumRecord Album(const std::string& id);
    void Select(const std::string& id, int track);
    static std::string Str(const CString& text) { return std::string(static_cast<LPCSTR>(text)); }
    // The trace's lines that start with prefix.
    Texts Lines(const std::string& prefix);

    CLocalHttpServer m_server;
    int m_albums = 0;
};
