// Changer models by the type code and capacity they report, and the text that
// describes a player in views, listings and messages.
#include "core/players/SonyPlayer.h"

#include <limits.h>

namespace {

struct ChangerModel
{
    int typeCode;
    int minCapacity;
    int maxCapacity;
    const char* text;
};

const ChangerModel kModels[] = {
    {-1, INT_MIN, INT_MAX, "Unreported"},
    {0, 5, 5, "CDP-CE505"},
    {0, 200, 200, "CDP-CX200/205/210"},
    {3, 5, 5, "CDP-CE515/525"},
    {11, 100, 100, "CDP-CX151"},
    {11, INT_MIN, INT_MAX, "CDP-CX250/255/70ES"},
    {27, INT_MIN, INT_MAX, "CDP-CX270/90ES"},
    {107, 301, INT_MAX, "CDP-CX400/450"},
    {107, 201, 300, "CDP-CX300/335/333ES/350"},
    {107, INT_MIN, 200, "CDP-CX220/225/230/240/260"},
};

const char kSupportAddress[] = "changers@halvane.example";

} // namespace

CString ModelText(int typeCode, int capacity)
{
    for (const ChangerModel& model : kModels) {
        if (model.typeCode == typeCode && capacity >= model.minCapacity && capacity <= model.maxCapacity)
            return model.text;
    }
    CString text;
    text.Format("Unknown [(%d)%02X] Please report this number to %s along with your actual player model.",
                capacity, typeCode, kSupportAddress);
    return text;
}

CString CSonyPlayer::GetDescription() const
{
    const ChangerState s = GetState();
    CString text = GetPlayerName();
    if (text.IsEmpty())
        text = ModelText(s.typeCode, s.capacity);
    if (s.capacity > 0) {
        CString discs;
        discs.Format(" (%d-disc)", s.capacity);
        text += discs;
    }
    return text;
}
