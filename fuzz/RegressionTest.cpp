// Every fuzz target runs once over each file of its corpus (seeds from the
// tests' fixtures and inputs the fuzzing kept): a crash, a sanitizer report
// or a hang here is a fault the fuzzing found coming back.
#include "tests/support/TestFramework.h"

#include "fuzz/FuzzTargets.h"
#include "tests/support/TestData.h"

#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The regular files of a folder of the test's own, sorted.
std::vector<std::string> CorpusFiles(const std::string& folder)
{
    std::vector<std::string> files;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            if (entry->d_type == DT_REG)
                files.push_back(folder + "/" + entry->d_name);
        }
        closedir(dir);
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FuzzRegression, EveryTargetTakesEveryFileOfItsCorpus)
{
    for (size_t t = 0; t < kFuzzTargetCount; t++) {
        const FuzzTarget& target = kFuzzTargets[t];
        std::vector<std::string> files = CorpusFiles(SourcePath("fuzz/corpus/" + std::string(target.name)));
        EXPECT_FALSE(files.empty()) << target.name << " has no corpus";
        for (const std::string& file : files) {
            SCOPED_TRACE(file);
            std::string bytes = ReadBytes(file);
            EXPECT_EQ(0, target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
        }
    }
}

} // namespace
