#include "tests/support/TestData.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

namespace {

std::string Variable(const char* name)
{
    const char* value = getenv(name);
    return value ? value : "";
}

bool IsFolder(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::string WindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string SourcePath(const std::string& relative)
{
    std::string root = Variable("ZYM_SOURCE_DIR");
    return (root.empty() ? "." : root) + "/" + relative;
}

std::string TestDataFolder(const std::string& name)
{
    std::string roots[] = {Variable("ZYM_TESTDATA"), Variable("ZYM_SOURCE_DIR")};
    if (!roots[1].empty())
        roots[1] += "/../shared/testdata";
    for (const std::string& root : roots)
        if (!root.empty() && IsFolder(root + "/" + name))
            return root + "/" + name;
    return std::string();
}

bool MissingTestDataFails()
{
    return !Variable("CI").empty();
}

std::string MissingTestDataText(const std::string& name)
{
    return "no test data folder " + name +
           ": set ZYM_TESTDATA to the folder that holds it, or keep shared/testdata beside the sources";
}

std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t n;
        while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0)
            bytes.append(buffer, n);
        fclose(f);
    }
    return bytes;
}
