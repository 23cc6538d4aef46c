#include "toolkit/toolbars/TkBtnInfo.h"

#include <string.h>

#include <new>

namespace {

const UINT kIdBytes = 4;
const UINT kHeaderBytes = kIdBytes + 1;
// Stores take values of at most this many bytes.
const UINT64 kMaxPacked = 0x7FFFFFFF;

UINT ReadId(const BYTE* bytes)
{
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | ((UINT)bytes[3] << 24);
}

void WriteId(BYTE* bytes, UINT id)
{
    for (UINT i = 0; i < kIdBytes; i++)
        bytes[i] = (BYTE)(id >> (8 * i));
}

}  // namespace

TkBtnInfo::TkBtnInfo(UINT id, const BYTE* data, BYTE size)
    : m_nID(id), m_nDataSize(data != NULL ? size : 0), m_pData(NULL)
{
    if (m_nDataSize > 0) {
        m_pData = new BYTE[m_nDataSize];
        memcpy(m_pData, data, m_nDataSize);
    }
}

TkBtnInfo::~TkBtnInfo()
{
    delete[] m_pData;
}

TkBtnInfoArray::~TkBtnInfoArray()
{
    DeleteAll();
}

void TkBtnInfoArray::AddInfo(UINT id, const BYTE* data, BYTE size)
{
    Add(new TkBtnInfo(id, data, size));
}

void TkBtnInfoArray::DeleteAll()
{
    for (INT_PTR i = 0; i < GetSize(); i++)
        delete GetInfo(i);
    RemoveAll();
}

void TkBtnInfoArray::MoveTo(TkBtnInfoArray& target)
{
    target.DeleteAll();
    target.Copy(*this);
    RemoveAll();
}

BYTE* TkPackButtons(const TkBtnInfoArray& buttons, UINT* size)
{
    *size = 0;
    UINT64 total = 0;
    for (INT_PTR i = 0; i < buttons.GetSize(); i++)
        total += kHeaderBytes + buttons.GetInfo(i)->m_nDataSize;
    if (total > kMaxPacked)
        return NULL;
    BYTE* packed = new (std::nothrow) BYTE[total > 0 ? (size_t)total : 1];
    if (packed == NULL)
        return NULL;
    BYTE* out = packed;
    for (INT_PTR i = 0; i < buttons.GetSize(); i++) {
        const TkBtnInfo* info = buttons.GetInfo(i);
        WriteId(out, info->m_nID);
        out[kIdBytes] = info->m_nDataSize;
        if (info->m_nDataSize > 0)
            memcpy(out + kHeaderBytes, info->m_pData, info->m_nDataSize);
        out += kHeaderBytes + info->m_nDataSize;
    }
    *size = (UINT)total;
    return packed;
}

int TkParseButtons(const BYTE* data, UINT size, TkBtnInfoArray& buttons)
{
    int count = 0;
    UINT at = 0;
    while (data != NULL && size - at >= kHeaderBytes) {
        BYTE dataSize = data[at + kIdBytes];
        if (size - at - kHeaderBytes < dataSize)
            break;
        buttons.AddInfo(ReadId(data + at), data + at + kHeaderBytes, dataSize);
        at += kHeaderBytes + dataSize;
        count++;
    }
    return count;
}
