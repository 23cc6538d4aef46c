#include "core/doc/TextMatch.h"

#include <string.h>

#include <vector>

namespace {

const char kWordEnds[] = " ,\t\n\r";

std::vector<CString> LowerWords(const CString& text)
{
    CString lower = text;
    lower.MakeLower();
    std::vector<CString> words;
    const char* p = lower;
    while (*p) {
        size_t length = strcspn(p, kWordEnds);
        if (length > 0)
            words.push_back(CString(p, (int)length));
        p += length;
        p += strspn(p, kWordEnds);
    }
    return words;
}

} // namespace

double WordMatch(const CString& a, const CString& b)
{
    if (a.IsEmpty() || b.IsEmpty())
        return 0;
    if (a.Find(b) >= 0)
        return (double)b.GetLength() / a.GetLength();
    if (b.Find(a) >= 0)
        return (double)a.GetLength() / b.GetLength();
    return 0;
}

double TextSimilarity(const CString& first, const CString& second)
{
    std::vector<CString> firstWords = LowerWords(first);
    std::vector<CString> secondWords = LowerWords(second);
    if (firstWords.empty() || secondWords.empty())
        return 0;
    double sum = 0;
    for (const CString& word : firstWords) {
        double best = 0;
        for (const CString& other : secondWords) {
            double match = WordMatch(word, other);
            if (match > best)
                best = match;
        }
        sum += best;
    }
    size_t fewer = firstWords.size() < secondWords.size() ? firstWords.size() : secondWords.size();
    return sum / fewer;
}
