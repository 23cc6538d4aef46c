// A reporter without a window, for the real-crash tests: started as the crash
// link starts the reporter ("-x 1 WRITE READ"), it attaches, writes the reports
// to the dump file beside the watched program, and ends with that program.
#include "faultscout/AttachedProcess.h"

#include <cstdlib>
#include <cstring>

namespace {

class EndingSink : public ReporterSink
{
public:
    EndingSink() : ended(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    void WriteText(const char*) override {}
    void Show(bool) override {}
    void OnAttached() override {}
    void OnProcessEnded() override { SetEvent(ended); }
    HANDLE ended;
};

HANDLE HandleArgument(const char* text)
{
    return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(std::strtoul(text, nullptr, 16)));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5 || std::strcmp(argv[1], "-x") != 0)
        return 2;
    EndingSink sink;
    CAttachedProcess link;
    if (!link.Attach(&sink, HandleArgument(argv[3]), HandleArgument(argv[4])))
        return 3;
    // The reader ends too when the program goes before its hello.
    HANDLE ends[] = {sink.ended, link.GetReaderThread()};
    WaitForMultipleObjects(2, ends, FALSE, INFINITE);
    return 0;
}
