#include "core/players/ChangerQueries.h"

#include "core/players/ChangerLink.h"
#include "core/players/ChangerStateStore.h"
#include "devices/util/Bcd.h"

BOOL CChangerQueries::SendDiscQuery(const char* word, int disc)
{
    if (!m_link.CanAddress(disc, -1))
        return FALSE;
    CString device;
    CString code;
    m_link.GetDiscAddress(disc, m_store.Get().capacity, device, code);
    return m_link.Send(device + ":" + word + "[" + code + "]" + m_link.Pause45());
}

BOOL CChangerQueries::QueryDisc(int disc)
{
    return SendDiscQuery("query_disc", disc);
}

BOOL CChangerQueries::QueryTrack(int disc, int track)
{
    if (track < 0 || !m_link.CanAddress(disc, track))
        return FALSE;
    CString device;
    CString code;
    m_link.GetDiscAddress(disc, m_store.Get().capacity, device, code);
    return m_link.Send(device + ":query_track[" + code + CChangerLink::EncodeTrack(track) + "]" + m_link.Pause45());
}

BOOL CChangerQueries::QueryMemoText(int disc)
{
    return SendDiscQuery("query_memo_text", disc);
}

BOOL CChangerQueries::QueryMemoText2(int disc)
{
    return SendDiscQuery("query_memo_text2", disc);
}

BOOL CChangerQueries::QueryDeleteFile(int disc)
{
    return SendDiscQuery("query_delete_file", disc);
}

BOOL CChangerQueries::SendArgumentQuery(const char* format, int value)
{
    CString word;
    word.Format(format, value);
    return m_link.Send(m_link.Word(word) + m_link.Pause45());
}

BOOL CChangerQueries::QueryCdText(int track)
{
    if (track < 0 || track > 99)
        return FALSE;
    return SendArgumentQuery("query_cd_text[%02x]", int(DecimalToBcd8(track)));
}

BOOL CChangerQueries::QueryGroupText(int group)
{
    return SendArgumentQuery("query_group_text[%02x]", group + 1);
}

BOOL CChangerQueries::QueryGroupDiscs(int group)
{
    return SendArgumentQuery("query_group_discs[%02x]", group + 1);
}

BOOL CChangerQueries::QueryArtistMemo(int artist)
{
    return SendArgumentQuery("query_artist_memo[%02x]", artist);
}

BOOL CChangerQueries::QueryArtistData(int packet)
{
    return SendArgumentQuery("query_artist_data[%02x]", packet);
}
