#include "toolkit/menus/TkMenuFont.h"

namespace
{
// The size of the non-client metrics record the font is read from (the
// record without the padded border width of later systems).
const UINT kNonClientMetricsSize = 340;
}

void TkCreateMenuFont(CFont& font, LONG weight)
{
    NONCLIENTMETRICSA metrics;
    memset(&metrics, 0, sizeof(metrics));
    metrics.cbSize = kNonClientMetricsSize;
    font.DeleteObject();
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0))
    {
        if (weight)
            metrics.lfMenuFont.lfWeight = weight;
        if (font.CreateFontIndirect(&metrics.lfMenuFont))
            return;
    }
    font.Attach(::GetStockObject(DEFAULT_GUI_FONT));
}
