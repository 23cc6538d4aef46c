// Answers the program's message boxes from a script and keeps what they showed.
// While a script lives it answers every box; a box with no scripted answer gets
// its default button and is counted as unscripted. Outside any script, the
// fallback installed by the test main answers the default button and fails the test.
#pragma once

#include "platform/runtime/MessageBoxes.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

struct ShownMessageBox
{
    std::string text;
    std::string caption;
    unsigned type;
    int answer;
};

class CMessageBoxScript : public CMessageBoxAnswerer
{
public:
    CMessageBoxScript();
    ~CMessageBoxScript() override;

    // Queues the button (IDOK, IDYES, ...) that the next box gets.
    CMessageBoxScript& Then(int button);
    std::vector<ShownMessageBox> Shown() const;
    int Unscripted() const;

    int Answer(HWND owner, const char* text, const char* caption, UINT type) override;

    // The button a box gives when Enter is pressed.
    static int DefaultButton(UINT type);
    static void InstallFallback();

private:
    mutable std::mutex m_lock;
    std::deque<int> m_answers;
    std::vector<ShownMessageBox> m_shown;
    int m_unscripted = 0;
};
