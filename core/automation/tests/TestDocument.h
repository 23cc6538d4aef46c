// A document for the automation tests: records what it sends (with the
// sending thread), answers from a settable clock and options, forwards sends
// to a device path when one is given, and fires its path's error events
// through FireEvent as the program does. Registered as the program's one
// document while it lives.
#pragma once

#include "core/automation/AutoMapper.h"
#include "core/devpath/DevicePath.h"
#include "core/automation/FireEvent.h"

#include <atomic>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

struct SentText
{
    DWORD thread;
    std::string text;
};

class CTestDocument : public CEventDocument, public CDevicePathHost
{
public:
    CTestDocument()
    {
        SYSTEMTIME time = {};
        time.wYear = 2026;
        time.wMonth = 3;
        time.wDay = 4;
        time.wHour = 5;
        time.wMinute = 6;
        time.wSecond = 7;
        clock = time;
        SetEventDocument(this);
    }
    ~CTestDocument() override { SetEventDocument(nullptr); }

    BOOL SendDeviceCommand(const char* text) override
    {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_sent.push_back({GetCurrentThreadId(), text});
        }
        if (onSend)
            onSend(text);
        return path ? path->SendDeviceCommand(text) : sendResult;
    }
    CString GetTransmitDeviceName() override { return "zymr"; }
    CAutoMapper& GetMapper() override { return mapper; }
    BOOL IsDebugOn() override { return debug; }
    CString GetProgramFolder() override { return folder.c_str(); }
    CString GetVersionText() override { return version.c_str(); }
    BOOL IsActivityLoggingOn() override { return logging; }
    void SetActivityLogging(BOOL on) override { logging = on; }
    SYSTEMTIME GetLocalTime() override { return clock; }
    void FireEvent(const char* text) override { ::FireEvent("%s", text); }

    std::vector<SentText> Sent()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_sent;
    }
    std::vector<std::string> SentTexts()
    {
        std::vector<std::string> texts;
        for (const SentText& sent : Sent())
            texts.push_back(sent.text);
        return texts;
    }

    CAutoMapper mapper;
    CDevicePath* path = nullptr;
    BOOL sendResult = TRUE;
    std::function<void(const std::string&)> onSend;
    std::atomic<BOOL> debug{FALSE};
    std::atomic<BOOL> logging{FALSE};
    std::string folder;
    std::string version = "1.2.3";
    SYSTEMTIME clock;

private:
    std::mutex m_lock;
    std::vector<SentText> m_sent;
};

struct ThreadBody
{
    const std::function<void(int)>* body;
    int index;
};

inline DWORD WINAPI RunThreadBody(void* p)
{
    ThreadBody* thread = static_cast<ThreadBody*>(p);
    (*thread->body)(thread->index);
    return 0;
}

// Runs body(0) .. body(count - 1) on threads of their own, each created
// through Win32, while during(); then waits for them all.
inline void RunThreads(int count, const std::function<void(int)>& body,
                       const std::function<void()>& during = nullptr)
{
    std::vector<ThreadBody> bodies(count, ThreadBody{&body, 0});
    std::vector<HANDLE> threads;
    for (int i = 0; i < count; i++) {
        bodies[i].index = i;
        threads.push_back(CreateThread(NULL, 0, RunThreadBody, &bodies[i], 0, NULL));
    }
    if (during)
        during();
    for (HANDLE thread : threads) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
}

inline void WriteUnixFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadUnixFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline std::vector<std::string> Texts(const std::vector<CString>& texts)
{
    std::vector<std::string> result;
    for (const CString& text : texts)
        result.push_back(static_cast<const char*>(text));
    return result;
}
