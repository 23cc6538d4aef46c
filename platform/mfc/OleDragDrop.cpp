#include "platform/mfc/OleDragDrop.h"
#include "platform/mfc/View.h"

#include "platform/runtime/ComUnknown.h"

#include <shlobj.h>

#include <vector>

BOOL AfxOleInit()
{
    HRESULT result = OleInitialize(NULL);
    return SUCCEEDED(result);
}

// ---- COleDataObject ----

void COleDataObject::Attach(IDataObject* dataObject, BOOL autoRelease)
{
    Release();
    m_dataObject = dataObject;
    m_autoRelease = autoRelease;
}

IDataObject* COleDataObject::Detach()
{
    IDataObject* dataObject = m_dataObject;
    m_dataObject = nullptr;
    return dataObject;
}

void COleDataObject::Release()
{
    if (m_dataObject && m_autoRelease)
        m_dataObject->Release();
    m_dataObject = nullptr;
}

namespace {

FORMATETC GlobalFormat(CLIPFORMAT format, const FORMATETC* given)
{
    if (given)
        return *given;
    FORMATETC formatEtc = {format, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return formatEtc;
}

HGLOBAL CopyGlobal(HGLOBAL source)
{
    SIZE_T size = GlobalSize(source);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    const void* from = GlobalLock(source);
    void* to = copy ? GlobalLock(copy) : nullptr;
    if (from && to)
        memcpy(to, from, size);
    if (to)
        GlobalUnlock(copy);
    if (from)
        GlobalUnlock(source);
    return copy;
}

} // namespace

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format, FORMATETC* formatEtc)
{
    FORMATETC wanted = GlobalFormat(format, formatEtc);
    return m_dataObject && m_dataObject->QueryGetData(&wanted) == S_OK;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format, FORMATETC* formatEtc)
{
    if (!m_dataObject)
        return NULL;
    FORMATETC wanted = GlobalFormat(format, formatEtc);
    STGMEDIUM medium = {};
    if (FAILED(m_dataObject->GetData(&wanted, &medium)))
        return NULL;
    if (medium.tymed != TYMED_HGLOBAL)
    {
        ReleaseStgMedium(&medium);
        return NULL;
    }
    // A medium with an owner stays the owner's: the caller gets a copy.
    HGLOBAL global = medium.hGlobal;
    if (medium.pUnkForRelease)
    {
        global = CopyGlobal(medium.hGlobal);
        ReleaseStgMedium(&medium);
    }
    return global;
}

// ---- COleDropSource ----

class CDropSourceImpl : public IDropSource
{
public:
    explicit CDropSourceImpl(COleDropSource& owner) : m_owner(owner) {}
    virtual ~CDropSourceImpl() {}
    COM_IUNKNOWN(IDropSource, IsEqualIID(riid, IID_IDropSource))

    STDMETHODIMP QueryContinueDrag(BOOL escapePressed, DWORD keyState) override
    {
        return m_owner.QueryContinueDrag(escapePressed, keyState);
    }
    STDMETHODIMP GiveFeedback(DWORD effect) override { return m_owner.GiveFeedback(effect); }

    LONG m_refs = 1;

private:
    COleDropSource& m_owner;
};

COleDropSource::COleDropSource() : m_interface(new CDropSourceImpl(*this))
{
}

COleDropSource::~COleDropSource()
{
    m_interface->Release();
}

SCODE COleDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState)
{
    if (escapePressed)
        return DRAGDROP_S_CANCEL;
    if (!(keyState & MK_LBUTTON))
        return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT)
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---- COleDataSource ----

class CDataSourceImpl : public IDataObject
{
public:
    virtual ~CDataSourceImpl()
    {
        for (Entry& entry : m_entries)
            GlobalFree(entry.global);
    }
    COM_IUNKNOWN(IDataObject, IsEqualIID(riid, IID_IDataObject))

    void Cache(CLIPFORMAT format, HGLOBAL global)
    {
        for (Entry& entry : m_entries)
        {
            if (entry.format == format)
            {
                GlobalFree(entry.global);
                entry.global = global;
                return;
            }
        }
        m_entries.push_back({format, global});
    }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        const Entry* entry = Find(format);
        if (!entry)
            return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = CopyGlobal(entry->global);
        medium->pUnkForRelease = NULL;
        return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override { return Find(format) ? S_OK : DV_E_FORMATETC; }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = NULL;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override
    {
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        std::vector<FORMATETC> list;
        for (const Entry& entry : m_entries)
            list.push_back({entry.format, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(list.size()), list.data(), formats);
    }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

    LONG m_refs = 1;

private:
    struct Entry
    {
        CLIPFORMAT format;
        HGLOBAL global;
    };

    const Entry* Find(const FORMATETC* format) const
    {
        if (!(format->tymed & TYMED_HGLOBAL) || format->dwAspect != DVASPECT_CONTENT)
            return nullptr;
        for (const Entry& entry : m_entries)
        {
            if (entry.format == format->cfFormat)
                return &entry;
        }
        return nullptr;
    }

    std::vector<Entry> m_entries;
};

COleDataSource::COleDataSource() : m_interface(new CDataSourceImpl)
{
}

COleDataSource::~COleDataSource()
{
    m_interface->Release();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL global)
{
    static_cast<CDataSourceImpl*>(m_interface)->Cache(format, global);
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD effects, LPCRECT, COleDropSource* dropSource)
{
    COleDropSource defaultSource;
    COleDropSource* source = dropSource ? dropSource : &defaultSource;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT result = ::DoDragDrop(m_interface, source->GetInterface(), effects, &effect);
    return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

// ---- COleDropTarget ----

namespace {

// A view answers copy or move by the keys alone, not knowing what the source
// allows; an answer the source does not allow counts as none (no drop comes).
// Such an answer becomes the other of copy and move when the source allows it.
DROPEFFECT AllowedEffect(DROPEFFECT answer, DWORD allowed)
{
    const DROPEFFECT scroll = answer & DROPEFFECT_SCROLL;
    const DROPEFFECT wanted = answer & ~DROPEFFECT_SCROLL;
    if ((wanted & allowed) == wanted)
        return answer;
    if (!(wanted & (DROPEFFECT_COPY | DROPEFFECT_MOVE)))
        return scroll;
    if (allowed & DROPEFFECT_COPY)
        return DROPEFFECT_COPY | scroll;
    if (allowed & DROPEFFECT_MOVE)
        return DROPEFFECT_MOVE | scroll;
    return scroll;
}

} // namespace

class CDropTargetImpl : public IDropTarget
{
public:
    explicit CDropTargetImpl(COleDropTarget& owner) : m_owner(owner) {}
    virtual ~CDropTargetImpl() {}
    COM_IUNKNOWN(IDropTarget, IsEqualIID(riid, IID_IDropTarget))

    STDMETHODIMP DragEnter(IDataObject* dataObject, DWORD keyState, POINTL point, DWORD* effect) override
    {
        m_data.Attach(dataObject, FALSE);
        *effect = AllowedEffect(m_owner.OnDragEnter(m_owner.m_pWnd, &m_data, keyState, ClientPoint(point)), *effect);
        return S_OK;
    }
    STDMETHODIMP DragOver(DWORD keyState, POINTL point, DWORD* effect) override
    {
        *effect = AllowedEffect(m_owner.OnDragOver(m_owner.m_pWnd, &m_data, keyState, ClientPoint(point)), *effect);
        return S_OK;
    }
    STDMETHODIMP DragLeave() override
    {
        m_owner.OnDragLeave(m_owner.m_pWnd);
        m_data.Release();
        return S_OK;
    }
    STDMETHODIMP Drop(IDataObject* dataObject, DWORD keyState, POINTL point, DWORD* effect) override
    {
        m_data.Attach(dataObject, FALSE);
        CPoint client = ClientPoint(point);
        DROPEFFECT chosen =
            AllowedEffect(m_owner.OnDragOver(m_owner.m_pWnd, &m_data, keyState, client), *effect) & ~DROPEFFECT_SCROLL;
        if (chosen == DROPEFFECT_NONE || !m_owner.OnDrop(m_owner.m_pWnd, &m_data, chosen, client))
            chosen = DROPEFFECT_NONE;
        *effect = chosen;
        m_data.Release();
        return S_OK;
    }

    LONG m_refs = 1;

private:
    CPoint ClientPoint(POINTL point)
    {
        CPoint client(point.x, point.y);
        ::ScreenToClient(m_owner.m_pWnd->GetSafeHwnd(), &client);
        return client;
    }

    COleDropTarget& m_owner;
    COleDataObject m_data;
};

COleDropTarget::COleDropTarget() : m_interface(new CDropTargetImpl(*this))
{
}

COleDropTarget::~COleDropTarget()
{
    Revoke();
    m_interface->Release();
}

BOOL COleDropTarget::Register(CWnd* wnd)
{
    if (FAILED(RegisterDragDrop(wnd->GetSafeHwnd(), m_interface)))
        return FALSE;
    m_pWnd = wnd;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_pWnd && m_pWnd->GetSafeHwnd())
        RevokeDragDrop(m_pWnd->GetSafeHwnd());
    m_pWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* wnd, COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    CView* view = dynamic_cast<CView*>(wnd);
    return view ? view->OnDragEnter(dataObject, keyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* wnd, COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    CView* view = dynamic_cast<CView*>(wnd);
    return view ? view->OnDragOver(dataObject, keyState, point) : DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd* wnd)
{
    CView* view = dynamic_cast<CView*>(wnd);
    if (view)
        view->OnDragLeave();
}

BOOL COleDropTarget::OnDrop(CWnd* wnd, COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point)
{
    CView* view = dynamic_cast<CView*>(wnd);
    return view ? view->OnDrop(dataObject, dropEffect, point) : FALSE;
}
