#include "tests/support/MessageBoxScript.h"

#include "tests/support/TestFramework.h"

namespace {

class CUnscriptedBoxes : public CMessageBoxAnswerer
{
public:
    int Answer(HWND, const char* text, const char* caption, UINT type) override
    {
        ADD_FAILURE() << "unscripted message box \"" << (caption ? caption : "") << "\": "
                      << (text ? text : "");
        return CMessageBoxScript::DefaultButton(type);
    }
};

CUnscriptedBoxes g_fallback;

} // namespace

CMessageBoxScript::CMessageBoxScript()
{
    SetMessageBoxAnswerer(this);
}

CMessageBoxScript::~CMessageBoxScript()
{
    SetMessageBoxAnswerer(&g_fallback);
}

CMessageBoxScript& CMessageBoxScript::Then(int button)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_answers.push_back(button);
    return *this;
}

std::vector<ShownMessageBox> CMessageBoxScript::Shown() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_shown;
}

int CMessageBoxScript::Unscripted() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_unscripted;
}

int CMessageBoxScript::Answer(HWND, const char* text, const char* caption, UINT type)
{
    std::lock_guard<std::mutex> hold(m_lock);
    int answer;
    if (m_answers.empty()) {
        answer = DefaultButton(type);
        ++m_unscripted;
    } else {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    m_shown.push_back({text ? text : "", caption ? caption : "", type, answer});
    return answer;
}

int CMessageBoxScript::DefaultButton(UINT type)
{
    static const int kButtons[][3] = {
        {IDOK, IDOK, IDOK},                     // MB_OK
        {IDOK, IDCANCEL, IDCANCEL},             // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},           // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},                // MB_YESNOCANCEL
        {IDYES, IDNO, IDNO},                    // MB_YESNO
        {IDRETRY, IDCANCEL, IDCANCEL},          // MB_RETRYCANCEL
        {IDCANCEL, IDTRYAGAIN, IDCONTINUE},     // MB_CANCELTRYCONTINUE
    };
    unsigned set = type & MB_TYPEMASK;
    unsigned button = (type & MB_DEFMASK) >> 8;
    if (set >= sizeof kButtons / sizeof kButtons[0])
        set = 0;
    return kButtons[set][button < 3 ? button : 0];
}

void CMessageBoxScript::InstallFallback()
{
    SetMessageBoxAnswerer(&g_fallback);
}
