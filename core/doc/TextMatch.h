// How alike two texts are by their words: picks, among the results a web
// search offers, the one whose text best matches an album title.
#pragma once

#include <afx.h>

// Length of the shorter over the longer when one word holds the other, else 0.
double WordMatch(const CString& a, const CString& b);

// Each word of first (words end at blanks, commas, tabs and line breaks;
// letter case ignored) takes its best WordMatch among the words of second;
// the sum over the smaller word count, 0 when either text has no words.
double TextSimilarity(const CString& first, const CString& second);
