#include "core/players/ArtistTable.h"

#include <algorithm>

std::vector<CString> RankArtists(const std::vector<CString>& discArtists)
{
    std::vector<CString> names;
    std::vector<int> counts;
    for (const CString& name : discArtists)
    {
        if (name.IsEmpty())
            continue;
        auto found = std::find(names.begin(), names.end(), name);
        if (found == names.end())
        {
            names.push_back(name);
            counts.push_back(1);
        }
        else
            ++counts[found - names.begin()];
    }
    std::vector<size_t> order(names.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return counts[a] > counts[b]; });
    std::vector<CString> ranked;
    for (size_t i : order)
        ranked.push_back(names[i]);
    return ranked;
}

// Names the changer holds already are reserved first, so that a new name
// never takes the record of a wanted name that sits further down the list.
void PlaceArtists(std::vector<ArtistRecord>& records, const std::vector<CString>& wanted)
{
    std::vector<CString> newNames;
    for (const CString& name : wanted)
    {
        auto held = std::find_if(records.begin(), records.end(), [&](const ArtistRecord& r) { return r.name == name; });
        if (held == records.end())
            newNames.push_back(name);
        else
            held->usage = kArtistReserved;
    }
    for (const CString& name : newNames)
    {
        ArtistRecord* chosen = nullptr;
        for (ArtistRecord& record : records)
        {
            if (record.usage < kArtistReserved && (!chosen || record.usage < chosen->usage))
                chosen = &record;
        }
        if (!chosen)
            return;
        chosen->name = name;
        chosen->usage = kArtistReserved;
    }
}
