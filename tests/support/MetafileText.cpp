#include "tests/support/MetafileText.h"

namespace
{
int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data)
{
    MetafileText drawn;
    if (record->iType == EMR_EXTTEXTOUTW)
    {
        const EMREXTTEXTOUTW* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const WCHAR* chars =
            reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(record) + out->emrtext.offString);
        for (DWORD i = 0; i < out->emrtext.nChars; ++i)
            drawn.text += static_cast<char>(chars[i]);
        drawn.at = {out->emrtext.ptlReference.x, out->emrtext.ptlReference.y};
    }
    else if (record->iType == EMR_EXTTEXTOUTA)
    {
        const EMREXTTEXTOUTA* out = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
        drawn.text.assign(reinterpret_cast<const char*>(record) + out->emrtext.offString, out->emrtext.nChars);
        drawn.at = {out->emrtext.ptlReference.x, out->emrtext.ptlReference.y};
    }
    else
        return 1;
    reinterpret_cast<std::vector<MetafileText>*>(data)->push_back(drawn);
    return 1;
}
}

std::vector<MetafileText> ReadMetafileTexts(HENHMETAFILE metafile)
{
    std::vector<MetafileText> texts;
    EnumEnhMetaFile(NULL, metafile, CollectText, &texts, NULL);
    return texts;
}

std::vector<std::string> ReadMetafileStrings(HENHMETAFILE metafile)
{
    std::vector<std::string> strings;
    for (const MetafileText& drawn : ReadMetafileTexts(metafile))
        strings.push_back(drawn.text);
    return strings;
}
