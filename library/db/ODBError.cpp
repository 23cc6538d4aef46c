#include "library/db/ODBError.h"

void ODBCheck(HRESULT hr, IUnknown* object, REFIID iid)
{
    if (hr != S_OK)
        _com_issue_errorex(hr, object, iid);
}

CString FormatComError(const char* context, const _com_error& error)
{
    CString text;
    text.Format("%s\nError: %08X\n%s", context, static_cast<unsigned>(error.Error()),
                error.ErrorMessage());
    std::string description = error.Description();
    if (!description.empty())
        text += "\n" + CString(description.c_str());
    return text;
}
