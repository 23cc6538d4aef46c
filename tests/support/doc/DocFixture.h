// A document for tests: a profile of its own with no serial port to search,
// its files in a temporary folder, the frame's steps, view hints, task texts
// and the program's events recorded as one trace, and an MP3 stand-in.
#pragma once

#include "tests/support/TestFramework.h"
#include "core/players/tests/StandIns.h"
#include "tests/support/TempFolder.h"
#include "tests/support/doc/TestProfile.h"

#include "core/doc/ZymDoc.h"

#include <afxmt.h>

#include <functional>
#include <string>
#include <vector>

typedef std::vector<std::string> Texts;

// One sequence of what the document does that a user or a device sees.
class CTrace : public CTaskObserver
{
public:
    void Add(const std::string& line);
    Texts Take();
    void OnTaskEvent(int, int what, INT_PTR value) override;

    CZymDoc* doc = nullptr;

private:
    // The mapper keeps every event the document fired, in order.
    void TakeEvents();

    CCriticalSection m_lock;
    Texts m_lines;
};

class CFrameStandIn : public CDocumentFrame
{
public:
    explicit CFrameStandIn(CTrace& trace) : m_trace(trace) {}
    void CreateViews() override { m_trace.Add("views"); }
    void ShowStatusIndicator(BOOL show) override { m_trace.Add(show ? "indicator on" : "indicator off"); }
    void ShowStartupTip() override { m_trace.Add("tip"); }
    void ShowOptions(CZymOptions&, const char* title) override { m_trace.Add(std::string("options ") + title); }
    void PostClose() override { m_trace.Add("close"); }
    // The first call makes the player when the test gives a way to.
    CMp3Control* GetMp3Player() override
    {
        if (makePlayer)
        {
            player = makePlayer();
            makePlayer = nullptr;
        }
        return player;
    }
    CString GetVersionText() override { return "2.00"; }
    void FatalError(const char* text) override { ADD_FAILURE() << text; }

    CFakeMp3 mp3;
    CMp3Control* player = &mp3;
    std::function<CMp3Control*()> makePlayer;

private:
    CTrace& m_trace;
};

// The scheduler's end action, recorded in the trace as "timed action".
class COperationsStandIn : public CDocumentOperations
{
public:
    explicit COperationsStandIn(CTrace& trace) : m_trace(trace) {}
    void RunTimedAction() override;

    CZymDoc* doc = nullptr;

private:
    CTrace& m_trace;
};

// A test may run a step of its own when a hint arrives, as a view would.
class CRecordingView : public CView
{
public:
    explicit CRecordingView(CTrace& trace) : m_trace(trace) {}
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM hint, CObject*) override
    {
        m_trace.Add("hint " + std::to_string(hint));
        if (onHint)
            onHint(hint);
    }

    std::function<void(LPARAM hint)> onHint;

private:
    CTrace& m_trace;
};

// The menu state (MF_GRAYED, MF_CHECKED) an item gets from the target's
// update handler.
UINT UpdatedMenuState(CCmdTarget* target, UINT id);

class DocFixture : public ::testing::Test
{
protected:
    DocFixture();
    ~DocFixture() override;

    void Option(const char* name, int value) { m_app.WriteProfileInt("Options", name, value); }
    void Option(const char* name, const char* value) { m_app.WriteProfileString("Options", name, value); }
    void WriteFile(const char* name, const char* text);
    // A new document, its views' hints recorded from then on.
    void Open();
    void Close();
    // An album of the MP3 player whose tracks are files, or of a changer slot.
    void AddMp3Album(const char* id, int tracks);
    void AddChangerAlbum(const char* id, int changer, int slot);

    CTestProfileApp m_app;
    CTempFolder m_folder;
    CTrace m_trace;
    CFrameStandIn m_frame;
    COperationsStandIn m_operations;
    CRecordingView m_view;
    CZymDoc* m_doc = nullptr;
};
