// A remote command text: split into word and argument, the argument into
// every comma count it could hold, its numbers read, and its names judged as
// a shell target and as a name inside a folder.
#include "fuzz/FuzzTargets.h"
#include "fuzz/FuzzInput.h"

#include "core/doc/CommandText.h"
#include "core/doc/RemoteNames.h"

#include <vector>

int FuzzCommandText(const uint8_t* data, size_t size)
{
    for (const CString& text : SplitInput(data, size)) {
        CommandText command = SplitCommand(text);
        std::vector<CString> parameters;
        for (int commas = 0; commas < 5; commas++) {
            if (!SplitParameters(command.argument, commas, parameters))
                continue;
            for (const CString& parameter : parameters) {
                int value = 0;
                ReadNumber(parameter, value);
            }
            parameters.resize(3);
            ShellRefusal(parameters[0], parameters[1], parameters[2]);
            CString path;
            PlaceInFolder("c:\\zym\\lists\\", parameters[0], path);
        }
        FolderOf(command.argument);
    }
    return 0;
}
