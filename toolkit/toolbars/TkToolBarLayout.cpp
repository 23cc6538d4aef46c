#include "toolkit/toolbars/TkToolBarLayout.h"
#include "toolkit/toolbars/TkStdBtn.h"

#include <algorithm>
#include <vector>

namespace {

const int kMaxLength = 32767;
// A row grows while its width stays within the available width plus this.
const int kWrapSlack = 2;
// A floating bar reports this much less than its computed size on each side.
const int kFloatShrink = 2;
// The pinned caption button keeps this distance from the bar's far end.
const int kPinInset = 2;
const CSize kDefaultImage(16, 15);
// Buttons are 7 pixels larger than their images.
const int kButtonMargin = 7;

TkStdBtn* Btn(const CPtrArray& buttons, int index)
{
    return static_cast<TkStdBtn*>(buttons[index]);
}

int RowStart(const TkRowInfo* rows, int row)
{
    return row == 0 ? 0 : rows[row - 1].nLast + 1;
}

int SumWidths(const CPtrArray& buttons, int first, int last)
{
    int width = 0;
    for (int i = first; i <= last; i++)
        width += Btn(buttons, i)->m_cx;
    return width;
}

// The last separator at or before from, not before first; -1 for none.
int PreviousSeparator(const CPtrArray& buttons, int from, int first)
{
    for (int i = from; i >= first; i--) {
        if (Btn(buttons, i)->IsSeparator())
            return i;
    }
    return -1;
}

void MeasureRow(const CPtrArray& buttons, TkRowInfo& row, int first)
{
    row.cx = SumWidths(buttons, first, row.bSeparator ? row.nLast - 1 : row.nLast);
    row.cy = 0;
    for (int i = first; i <= row.nLast; i++)
        row.cy = std::max(row.cy, Btn(buttons, i)->m_cy);
}

// A row that ends at a separator may hand the items after its previous
// separator (and the ending one) to the next row, wrapping at that previous
// separator. Returns that separator, -1 when the row has none, and in *gain
// the width the next row would take.
int SeparatorTail(const CPtrArray& buttons, const TkRowInfo* rows, int row, int* gain)
{
    int last = rows[row].nLast;
    int previous = PreviousSeparator(buttons, last - 1, RowStart(rows, row));
    *gain = previous < 0 ? 0 : SumWidths(buttons, previous + 1, last);
    return previous;
}

BOOL CanMoveLastButton(const TkRowInfo* rows, int widest, int count, int width)
{
    const TkRowInfo& row = rows[widest];
    if (rows[widest + 1].cx + width < row.cx)
        return TRUE;
    int target = widest + 1;
    while (target < count - 1 && !rows[target].bSeparator)
        target++;
    return target != widest + 1 && row.cx >= rows[target].cx + width;
}

// The next row can hand its own tail on and leave the row after it narrower
// than the widest.
BOOL CanCascade(const CPtrArray& buttons, const TkRowInfo* rows, int widest, int count)
{
    int next = widest + 1;
    if (!rows[next].bSeparator || next >= count - 1)
        return FALSE;
    int gain = 0;
    return SeparatorTail(buttons, rows, next, &gain) >= 0 &&
           rows[next + 1].cx + gain < rows[widest].cx;
}

BOOL IsFloatingMode(DWORD mode)
{
    return (mode & (LM_HORZDOCK | LM_VERTDOCK)) == 0;
}

void CentreRow(const CPtrArray& buttons, int first, int last, int y, int height)
{
    for (int i = first; i <= last; i++) {
        TkStdBtn* button = Btn(buttons, i);
        if (button->HasStyle(TKBS_CENTERED))
            button->SetPos(button->m_x, y + (height - button->m_cy) / 2);
    }
}

// The first index of the row after the one holding first.
int NextRow(const CPtrArray& buttons, int first)
{
    for (int i = first; i < buttons.GetSize(); i++) {
        TkStdBtn* button = Btn(buttons, i);
        if (!button->IsHidden() && button->HasStyle(TBBS_WRAPPED))
            return i + 1;
    }
    return (int)buttons.GetSize();
}

}  // namespace

TkToolBarLayout::TkToolBarLayout()
    : m_sizeHorz(0, 0), m_sizeVert(0, 0), m_sizeFloat(0, 0), m_bHorzPending(TRUE),
      m_bVertPending(TRUE), m_bFloatPending(TRUE), m_nFloatWidth(kMaxLength), m_bBalanceRows(TRUE)
{
    SetImageSize(kDefaultImage);
}

void TkToolBarLayout::SetImageSize(CSize image)
{
    m_cxImage = image.cx;
    m_cyImage = image.cy;
    m_cxButton = image.cx + kButtonMargin;
    m_cyButton = image.cy + kButtonMargin;
    m_cxSeparator = (image.cx + 8) / 3;
}

int TkToolBarLayout::RowGap(const TkRowInfo& row) const
{
    return row.bSeparator ? 2 * m_cxSeparator / 3 : 0;
}

int TkToolBarLayout::WrapButtons(const CPtrArray& buttons, int width, TkRowInfo* rows) const
{
    int items = (int)buttons.GetSize();
    int count = 0;
    int first = 0;
    int x = 0;
    for (int i = 0; i < items; i++) {
        int cx = Btn(buttons, i)->m_cx;
        x += cx;
        if (x <= width + kWrapSlack)
            continue;
        int separator = PreviousSeparator(buttons, i, first);
        if (separator >= 0) {
            rows[count++] = {separator, TRUE, 0, 0};
            first = separator + 1;
            i = separator;
            x = 0;
        } else if (i > first) {
            rows[count++] = {i - 1, FALSE, 0, 0};
            first = i;
            x = cx;
        } else {
            // Alone and still too wide: it stays, uncounted, so that the row goes on.
            x -= cx;
        }
    }
    if (first < items)
        rows[count++] = {items - 1, FALSE, 0, 0};
    for (int row = 0; row < count; row++)
        MeasureRow(buttons, rows[row], RowStart(rows, row));
    return count;
}

// Wraps only move backwards, so the loop ends.
void TkToolBarLayout::BalanceRows(const CPtrArray& buttons, int count, TkRowInfo* rows) const
{
    for (;;) {
        int widest = 0;
        for (int row = 1; row < count; row++) {
            if (rows[row].cx >= rows[widest].cx)
                widest = row;
        }
        if (widest >= count - 1)
            return;
        TkRowInfo& row = rows[widest];
        TkRowInfo& next = rows[widest + 1];
        int first = RowStart(rows, widest);
        if (!row.bSeparator) {
            int width = Btn(buttons, row.nLast)->m_cx;
            if (row.nLast == first || !CanMoveLastButton(rows, widest, count, width))
                return;
            row.nLast--;
            row.cx -= width;
            next.cx += width;
            continue;
        }
        int gain = 0;
        int previous = SeparatorTail(buttons, rows, widest, &gain);
        if (previous < 0 ||
            (next.cx + gain >= row.cx && !CanCascade(buttons, rows, widest, count)))
            return;
        row.nLast = previous;
        row.cx = SumWidths(buttons, first, previous - 1);
        next.cx += gain;
    }
}

CSize TkToolBarLayout::GetRowsSize(const TkRowInfo* rows, int count) const
{
    CSize size(0, 0);
    for (int row = 0; row < count; row++) {
        size.cx = std::max<LONG>(size.cx, rows[row].cx);
        size.cy += rows[row].cy + RowGap(rows[row]);
    }
    return size;
}

CSize TkToolBarLayout::CalcSize(const CPtrArray& buttons, int length, BOOL vertical) const
{
    int items = (int)buttons.GetSize();
    std::vector<TkRowInfo> rows(std::max(items, 1));
    int widest = 0;
    int narrowest = kMaxLength;
    for (int i = 0; i < items; i++) {
        TkStdBtn* button = Btn(buttons, i);
        if (button->IsSeparator())
            continue;
        widest = std::max(widest, button->m_cx);
        narrowest = std::min(narrowest, button->m_cx);
    }
    if (narrowest == kMaxLength)
        narrowest = m_cxButton;

    int count = 0;
    if (!vertical) {
        count = WrapButtons(buttons, std::max(length, widest), rows.data());
    } else {
        int wanted = length / m_cyButton;
        int target = wanted == 0 ? kMaxLength : std::max(narrowest, items * m_cxButton / wanted);
        count = WrapButtons(buttons, target, rows.data());
        CSize size = GetRowsSize(rows.data(), count);
        if (size.cy < length) {
            // Narrower while it still fits the height.
            while (size.cy != length && target > narrowest) {
                int previous = target;
                target = std::max(narrowest, target - m_cxButton);
                count = WrapButtons(buttons, target, rows.data());
                size = GetRowsSize(rows.data(), count);
                if (size.cy > length) {
                    count = WrapButtons(buttons, previous, rows.data());
                    break;
                }
            }
        } else {
            while (size.cy > length && count > 1) {
                target += m_cxButton;
                count = WrapButtons(buttons, target, rows.data());
                size = GetRowsSize(rows.data(), count);
            }
        }
    }
    if (m_bBalanceRows)
        BalanceRows(buttons, count, rows.data());
    // Balancing moved buttons between rows: the size must be that of the
    // buttons each row now holds, as they will be placed.
    for (int row = 0; row < count; row++) {
        rows[row].bSeparator = row + 1 < count && Btn(buttons, rows[row].nLast)->IsSeparator();
        MeasureRow(buttons, rows[row], RowStart(rows.data(), row));
    }
    for (int i = 0; i < items; i++)
        Btn(buttons, i)->m_dwStyle &= ~TBBS_WRAPPED;
    for (int row = 0; row + 1 < count; row++)
        Btn(buttons, rows[row].nLast)->m_dwStyle |= TBBS_WRAPPED;
    return GetRowsSize(rows.data(), count);
}

CSize TkToolBarLayout::FixedSize(const CPtrArray& buttons, DWORD mode) const
{
    return CalcSize(buttons, (mode & LM_HORZ) ? kMaxLength : 0, FALSE);
}

CSize TkToolBarLayout::CalcContent(const CPtrArray& buttons, int length, DWORD mode,
                                   const TkLayoutSite& site) const
{
    if (site.dwStyle & CBRS_SIZE_FIXED)
        length = kMaxLength;
    if (!(site.dwStyle & CBRS_SIZE_DYNAMIC))
        return FixedSize(buttons, mode);
    if ((mode & LM_MRUWIDTH) || (length == -1 && IsFloatingMode(mode)))
        return CalcSize(buttons, m_nFloatWidth, FALSE);
    if (length == -1)
        return FixedSize(buttons, mode);
    if (mode & LM_STRETCH)
        length = (int)(length * site.fStretch);
    BOOL lengthY = (mode & LM_LENGTHY) != 0;
    const CRect& borders = site.rectBorders;
    length -= lengthY ? borders.top + borders.bottom : borders.left + borders.right;
    return CalcSize(buttons, length, lengthY);
}

void TkToolBarLayout::PlaceButtons(const CPtrArray& buttons, CPoint origin) const
{
    int items = (int)buttons.GetSize();
    int x = origin.x;
    int y = origin.y;
    int first = 0;
    int height = 0;
    for (int i = 0; i < items; i++) {
        TkStdBtn* button = Btn(buttons, i);
        button->SetPos(x, y);
        x += button->m_cx;
        height = std::max(height, button->m_cy);
        if (!button->HasStyle(TBBS_WRAPPED))
            continue;
        CentreRow(buttons, first, i, y, height);
        y += height + (button->IsSeparator() ? 2 * m_cxSeparator / 3 : 0);
        x = origin.x;
        height = 0;
        first = i + 1;
    }
    CentreRow(buttons, first, items - 1, y, height);
}

void TkToolBarLayout::StoreSize(const CPtrArray& buttons, CSize size, int length, DWORD mode,
                                const TkLayoutSite& site)
{
    BOOL stretch = (site.dwExStyle & TKCBRS_EX_STRETCH) && length > 0;
    if (mode & LM_HORZDOCK) {
        if (stretch) {
            size.cx = length;
            int items = (int)buttons.GetSize();
            TkStdBtn* last = items > 0 ? Btn(buttons, items - 1) : NULL;
            if (last != NULL && last->m_nKind == kTkBtnCaption)
                last->SetPos(length - last->m_cx - kPinInset, last->m_y);
        }
        m_sizeHorz = size;
        m_bHorzPending = FALSE;
    } else if (mode & LM_VERTDOCK) {
        if (stretch)
            size.cy = length;
        m_sizeVert = size;
        m_bVertPending = FALSE;
    } else {
        m_sizeFloat = size;
        m_bFloatPending = FALSE;
    }
}

CSize TkToolBarLayout::RememberedSize(DWORD mode) const
{
    if (mode & LM_HORZDOCK)
        return m_sizeHorz;
    if (mode & LM_VERTDOCK)
        return m_sizeVert;
    return m_sizeFloat - CSize(kFloatShrink, kFloatShrink);
}

CSize TkToolBarLayout::CalcLayout(const CPtrArray& buttons, int length, DWORD mode,
                                  const TkLayoutSite& site)
{
    CPtrArray visible;
    for (int i = 0; i < buttons.GetSize(); i++) {
        if (!Btn(buttons, i)->IsHidden())
            visible.Add(buttons[i]);
    }
    const CRect& borders = site.rectBorders;
    CSize border(borders.left + borders.right, borders.top + borders.bottom);
    if (visible.GetSize() == 0) {
        StoreSize(visible, CSize(m_cxButton, m_cyButton) + border, length, mode, site);
    } else if ((mode & LM_COMMIT) || site.bInReBar) {
        CSize content = CalcContent(visible, length, mode, site);
        PlaceButtons(visible, CPoint(borders.left, borders.top));
        StoreSize(visible, content + border, length, mode, site);
        if (IsFloatingMode(mode) && !(mode & LM_LENGTHY))
            m_nFloatWidth = content.cx;
    }
    return RememberedSize(mode);
}

BOOL TkToolBarLayout::CalcDynamicLayout(const CPtrArray& buttons, int length, DWORD mode,
                                        const TkLayoutSite& site, CSize* size)
{
    BOOL horizontal = (mode & LM_HORZDOCK) != 0;
    BOOL vertical = (mode & LM_VERTDOCK) != 0;
    if (!(mode & LM_COMMIT)) {
        BOOL pending = horizontal ? m_bHorzPending
                       : vertical ? m_bVertPending
                                  : (mode & LM_MRUWIDTH) && m_bFloatPending;
        if (!pending)
            return FALSE;
        *size = CalcLayout(buttons, vertical ? 0 : kMaxLength, mode | LM_COMMIT, site);
        return TRUE;
    }
    BOOL lengthY = (mode & LM_LENGTHY) != 0;
    if ((horizontal && lengthY) || (vertical && !lengthY))
        return FALSE;
    *size = CalcLayout(buttons, length, mode, site);
    return TRUE;
}

CSize TkToolBarLayout::CalcFixedLayout(const CPtrArray& buttons, BOOL horizontal,
                                       const TkLayoutSite& site)
{
    return CalcLayout(buttons, -1, horizontal ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK, site);
}

int TkToolBarLayout::ButtonHitTest(const CPtrArray& buttons, CPoint pt, CRect* rect) const
{
    int items = (int)buttons.GetSize();
    int first = 0;
    while (first < items) {
        while (first < items && Btn(buttons, first)->IsHidden())
            first++;
        if (first == items || Btn(buttons, first)->m_y > pt.y)
            return -1;
        if (Btn(buttons, first)->m_y + m_cyButton < pt.y) {
            first = NextRow(buttons, first);
            continue;
        }
        for (int i = first; i < items; i++) {
            TkStdBtn* button = Btn(buttons, i);
            if (button->IsHidden())
                continue;
            if (!button->IsSeparator() && pt.x >= button->m_x && pt.x <= button->m_x + button->m_cx) {
                if (rect != NULL)
                    *rect = button->GetRect();
                return i;
            }
            if (button->HasStyle(TBBS_WRAPPED))
                break;
        }
        return -1;
    }
    return -1;
}
