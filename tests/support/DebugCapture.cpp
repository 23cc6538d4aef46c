#include "tests/support/DebugCapture.h"

CDebugCapture::CDebugCapture()
{
    SetDebugOutputSink(this);
}

CDebugCapture::~CDebugCapture()
{
    SetDebugOutputSink(nullptr);
}

std::string CDebugCapture::Text() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_text;
}

bool CDebugCapture::Contains(const std::string& part) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_text.find(part) != std::string::npos;
}

void CDebugCapture::Clear()
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_text.clear();
}

void CDebugCapture::Write(const char* text)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_text += text;
}
