// Host (Linux) programs that tests compare against (objcopy, ImageMagick, python3),
// started without a shell between: names of the test's files go through as given.
#pragma once

#include <string>
#include <vector>

// Runs argv[0] (looked up on PATH) with the arguments and waits for it; true when
// it ended with code 0. Its standard output goes to output when given, else away;
// its error output always goes away. A preloaded library (a sanitizer) stays out.
bool RunHostProgram(const std::vector<std::string>& argv, std::string* output = nullptr);

// Splits a command line's words at blanks; single quotes group a word, as a shell
// would, without expanding anything.
std::vector<std::string> SplitQuotedWords(const std::string& text);
