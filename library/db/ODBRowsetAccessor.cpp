#include "library/db/ODBRowsetAccessor.h"

#include <oledberr.h>
#include <string.h>
#include <vector>

#include "library/db/InterfaceRelease.h"
#include "library/db/ODBError.h"

namespace {

// Texts up to this many characters are bound inline, longer ones by reference.
const DBLENGTH kInlineTextLimit = 256;
// The status and the length come before each value; the length is a DBLENGTH,
// pointer-sized on this build.
const DBBYTEOFFSET kLengthOffset = 8;
const DBBYTEOFFSET kValueOffset = 16;
const DBLENGTH kColumnAlignment = 8;

// How each provider type is bound; texts take their length from the column size.
const DBLENGTH kLengthFromSize = 0;

struct BindingRule
{
    DBTYPE providerType;
    DBTYPE boundType;
    DBLENGTH maxLength;
};

const BindingRule kBindingRules[] = {
    { DBTYPE_I2,   DBTYPE_I4,   4 },
    { DBTYPE_I4,   DBTYPE_I4,   4 },
    { DBTYPE_I1,   DBTYPE_I4,   4 },
    { DBTYPE_UI1,  DBTYPE_I4,   4 },
    { DBTYPE_UI2,  DBTYPE_I4,   4 },
    { DBTYPE_DATE, DBTYPE_DATE, kLengthFromSize },
    { DBTYPE_BSTR, DBTYPE_STR,  kLengthFromSize },
    { DBTYPE_STR,  DBTYPE_STR,  kLengthFromSize },
    { DBTYPE_WSTR, DBTYPE_STR,  kLengthFromSize },
    { DBTYPE_BOOL, DBTYPE_BOOL, 4 },
    { DBTYPE_UI4,  DBTYPE_UI4,  4 },
};

// Chooses the bound type and length of a provider column; false: not bound.
bool ChooseBinding(const DBCOLUMNINFO& info, DBTYPE& type, DBLENGTH& maxLength)
{
    for (const BindingRule& rule : kBindingRules) {
        if (rule.providerType != info.wType)
            continue;
        type = rule.boundType;
        maxLength = rule.maxLength;
        if (maxLength != kLengthFromSize)
            return true;
        if (type != DBTYPE_STR) {
            maxLength = info.ulColumnSize;
        } else if (info.ulColumnSize <= kInlineTextLimit) {
            maxLength = info.ulColumnSize + 1;
        } else {
            type = DBTYPE_STR | DBTYPE_BYREF;
            maxLength = sizeof(char*);
        }
        return true;
    }
    return false;
}

}

ODBRowsetAccessor::ODBRowsetAccessor() : m_rowset(nullptr), m_buffer(nullptr), m_row(DB_NULL_HROW)
{
}

ODBRowsetAccessor::~ODBRowsetAccessor()
{
    Close();
}

void ODBRowsetAccessor::Close()
{
    ReleaseRow();
    if (m_buffer) {
        for (ODBColumnDescriptor& column : m_columns)
            FreeOwnText(column);
        CoTaskMemFree(m_buffer);
        m_buffer = nullptr;
    }
    if (m_rowset) {
        ReleaseAccessor();
        m_rowset->Release();
        m_rowset = nullptr;
    }
    m_bound.clear();
    Clear();
}

void ODBRowsetAccessor::Bind(IRowset* rowset, const ODBColumnDescriptors& columns)
{
    Close();
    m_rowset = rowset;
    m_columns.clear();
    for (int i = 0; i < columns.GetCount(); i++)
        m_columns.push_back(columns.GetColumn(i));
    std::vector<DBBINDING> bindings;
    BuildBindings(bindings);

    IAccessor* accessor = nullptr;
    ODBCheck(m_rowset->QueryInterface(IID_IAccessor, reinterpret_cast<void**>(&accessor)), m_rowset, IID_IRowset);
    CInterfaceRelease releaseAccessor(accessor);
    std::vector<DBBINDSTATUS> statuses(bindings.size() + 1);
    HRESULT hr = accessor->CreateAccessor(DBACCESSOR_ROWDATA, bindings.size(), bindings.data(), m_rowSize,
                                          &m_accessor, statuses.data());
    if (hr != S_OK)
        m_accessor = DB_INVALID_HACCESSOR;
    ODBCheck(hr, accessor, IID_IAccessor);

    m_buffer = static_cast<BYTE*>(CoTaskMemAlloc(m_rowSize ? m_rowSize : 1));
    if (!m_buffer)
        throw _com_error(E_OUTOFMEMORY);
    memset(m_buffer, 0, m_rowSize ? m_rowSize : 1);
    m_row = DB_NULL_HROW;
    IndexBoundColumns();
}

void ODBRowsetAccessor::BuildBindings(std::vector<DBBINDING>& bindings)
{
    IColumnsInfo* info = nullptr;
    ODBCheck(m_rowset->QueryInterface(IID_IColumnsInfo, reinterpret_cast<void**>(&info)), m_rowset, IID_IRowset);
    CInterfaceRelease releaseInfo(info);
    DBORDINAL count = 0;
    DBCOLUMNINFO* columns = nullptr;
    OLECHAR* strings = nullptr;
    ODBCheck(info->GetColumnInfo(&count, &columns, &strings), info, IID_IColumnsInfo);

    DBBYTEOFFSET offset = 0;
    for (ODBColumnDescriptor& column : m_columns) {
        column.type = 0;
        column.ownsText = false;
        std::vector<OLECHAR> name(column.name.GetLength() + 1);
        MultiByteToWideChar(CP_ACP, 0, column.name, -1, name.data(), static_cast<int>(name.size()));
        // Column sets usually list a table's columns in its order: look at the
        // column in this descriptor's place first.
        const DBCOLUMNINFO* match = nullptr;
        size_t place = &column - m_columns.data();
        for (DBORDINAL k = 0; k < count && !match; k++) {
            const DBCOLUMNINFO& candidate = columns[(place + k) % count];
            if (candidate.pwszName && lstrcmpiW(candidate.pwszName, name.data()) == 0)
                match = &candidate;
        }
        if (!match || !ChooseBinding(*match, column.type, column.maxLength)) {
            column.type = 0;
            continue;
        }
        column.statusOffset = offset;
        column.lengthOffset = offset + kLengthOffset;
        column.valueOffset = offset + kValueOffset;
        DBBINDING binding = {};
        binding.iOrdinal = match->iOrdinal;
        binding.obValue = column.valueOffset;
        binding.obLength = column.lengthOffset;
        binding.obStatus = column.statusOffset;
        binding.dwPart = DBPART_VALUE | DBPART_LENGTH | DBPART_STATUS;
        binding.dwMemOwner = (column.type & DBTYPE_BYREF) ? DBMEMOWNER_PROVIDEROWNED : DBMEMOWNER_CLIENTOWNED;
        binding.eParamIO = DBPARAMIO_NOTPARAM;
        binding.cbMaxLen = column.maxLength;
        binding.wType = column.type;
        binding.bPrecision = match->bPrecision;
        binding.bScale = match->bScale;
        bindings.push_back(binding);
        offset = (column.valueOffset + column.maxLength + kColumnAlignment - 1) / kColumnAlignment * kColumnAlignment;
    }
    m_rowSize = offset;
    CoTaskMemFree(columns);
    CoTaskMemFree(strings);
}

void ODBRowsetAccessor::ReleaseAccessor()
{
    if (!m_rowset || m_accessor == DB_INVALID_HACCESSOR)
        return;
    IAccessor* accessor = nullptr;
    if (SUCCEEDED(m_rowset->QueryInterface(IID_IAccessor, reinterpret_cast<void**>(&accessor)))) {
        accessor->ReleaseAccessor(m_accessor, nullptr);
        accessor->Release();
    }
    m_accessor = DB_INVALID_HACCESSOR;
}

void ODBRowsetAccessor::ReleaseRow()
{
    if (m_row != DB_NULL_HROW && m_rowset)
        m_rowset->ReleaseRows(1, &m_row, nullptr, nullptr, nullptr);
    m_row = DB_NULL_HROW;
}

bool ODBRowsetAccessor::MoveNext()
{
    ReleaseRow();
    HROW* rows = &m_row;
    DBCOUNTITEM obtained = 0;
    HRESULT hr = m_rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 1, &obtained, &rows);
    if (hr != DB_S_ENDOFROWSET)
        ODBCheck(hr, m_rowset, IID_IRowset);
    if (obtained == 0)
        m_row = DB_NULL_HROW;
    return obtained == 1;
}

// Texts bound by reference come back as pointers into the provider's row,
// valid until the row is released: read, they are copied once, into the record.
void ODBRowsetAccessor::GetData()
{
    for (ODBColumnDescriptor& column : m_columns)
        FreeOwnText(column);
    ODBCheck(m_rowset->GetData(m_row, m_accessor, m_buffer), m_rowset, IID_IRowset);
}

void ODBRowsetAccessor::SetData()
{
    IRowsetChange* change = nullptr;
    ODBCheck(m_rowset->QueryInterface(IID_IRowsetChange, reinterpret_cast<void**>(&change)), m_rowset, IID_IRowset);
    CInterfaceRelease releaseChange(change);
    ODBCheck(change->SetData(m_row, m_accessor, m_buffer), change, IID_IRowsetChange);
}

void ODBRowsetAccessor::InsertRow()
{
    IRowsetChange* change = nullptr;
    ODBCheck(m_rowset->QueryInterface(IID_IRowsetChange, reinterpret_cast<void**>(&change)), m_rowset, IID_IRowset);
    CInterfaceRelease releaseChange(change);
    ReleaseRow();
    ODBCheck(change->InsertRow(DB_NULL_HCHAPTER, m_accessor, m_buffer, nullptr), change, IID_IRowsetChange);
}

void ODBRowsetAccessor::DeleteRow()
{
    IRowsetChange* change = nullptr;
    ODBCheck(m_rowset->QueryInterface(IID_IRowsetChange, reinterpret_cast<void**>(&change)), m_rowset, IID_IRowset);
    CInterfaceRelease releaseChange(change);
    DBROWSTATUS status = DBROWSTATUS_S_OK;
    HRESULT hr = change->DeleteRows(DB_NULL_HCHAPTER, 1, &m_row, &status);
    ReleaseRow();
    ODBCheck(hr, change, IID_IRowsetChange);
}

void ODBRowsetAccessor::FreeOwnText(ODBColumnDescriptor& column)
{
    if (!column.ownsText)
        return;
    char** value = reinterpret_cast<char**>(Value(column));
    CoTaskMemFree(*value);
    *value = nullptr;
    column.ownsText = false;
}

// Where two descriptors share an ordinal, the first one answers for it: in
// reverse order, it is the last written.
void ODBRowsetAccessor::IndexBoundColumns()
{
    m_bound.clear();
    for (auto column = m_columns.rbegin(); column != m_columns.rend(); ++column) {
        if (column->ordinal < 0)
            continue;
        if (column->ordinal >= static_cast<int>(m_bound.size()))
            m_bound.resize(column->ordinal + 1, nullptr);
        m_bound[column->ordinal] = column->type ? &*column : nullptr;
    }
}

void ODBRowsetAccessor::SetFixed(const ODBColumnDescriptor& column)
{
    Status(column) = DBSTATUS_S_OK;
    Length(column) = column.maxLength;
}

CString ODBRowsetAccessor::GetText(int ordinal)
{
    int length = 0;
    const char* text = PeekText(ordinal, length);
    return text ? CString(text, length) : CString();
}

const char* ODBRowsetAccessor::PeekText(int ordinal, int& length)
{
    length = 0;
    if (!HasValue(ordinal))
        return nullptr;
    ODBColumnDescriptor& column = *m_bound[ordinal];
    const char* text = reinterpret_cast<const char*>(Value(column));
    if (column.type & DBTYPE_BYREF)
        text = *reinterpret_cast<const char* const*>(text);
    if (!text || Length(column) == 0)
        return nullptr;
    length = static_cast<int>(Length(column));
    return text;
}

void ODBRowsetAccessor::SetText(int ordinal, const char* text)
{
    ODBColumnDescriptor* column = Column(ordinal);
    if (!column)
        return;
    if (!text || !*text) {
        Status(*column) = DBSTATUS_S_ISNULL;
        return;
    }
    size_t length = strlen(text);
    Status(*column) = DBSTATUS_S_OK;
    if (column->type & DBTYPE_BYREF) {
        // The provider reads the text after this returns: it gets a copy the
        // accessor owns, not the caller's buffer.
        FreeOwnText(*column);
        char* copy = static_cast<char*>(CoTaskMemAlloc(length + 1));
        if (!copy)
            throw _com_error(E_OUTOFMEMORY);
        memcpy(copy, text, length + 1);
        *reinterpret_cast<char**>(Value(*column)) = copy;
        column->ownsText = true;
        Length(*column) = length;
        return;
    }
    // Inline: never claim more than the buffer holds.
    size_t room = column->maxLength - 1;
    if (length > room)
        length = room;
    memcpy(Value(*column), text, length);
    Value(*column)[length] = '\0';
    Length(*column) = length;
}

void ODBRowsetAccessor::SetInteger(int ordinal, long value)
{
    ODBColumnDescriptor* column = Column(ordinal);
    if (!column)
        return;
    SetFixed(*column);
    *reinterpret_cast<LONG*>(Value(*column)) = static_cast<LONG>(value);
}

void ODBRowsetAccessor::SetDate(int ordinal, DATE value)
{
    ODBColumnDescriptor* column = Column(ordinal);
    if (!column)
        return;
    SetFixed(*column);
    *reinterpret_cast<DATE*>(Value(*column)) = value;
}

void ODBRowsetAccessor::SetBool(int ordinal, bool value)
{
    ODBColumnDescriptor* column = Column(ordinal);
    if (!column)
        return;
    SetFixed(*column);
    *reinterpret_cast<LONG*>(Value(*column)) = value ? 1 : 0;
}
