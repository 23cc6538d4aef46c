// The texts a page drew into an enhanced metafile, read back in the order
// drawn, each with the point it was drawn at (logical units of the page).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct MetafileText
{
    std::string text;
    POINT at;
};

std::vector<MetafileText> ReadMetafileTexts(HENHMETAFILE metafile);
// The texts alone.
std::vector<std::string> ReadMetafileStrings(HENHMETAFILE metafile);
