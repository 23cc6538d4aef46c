// CView: the print and print-preview commands over Win32 printing.
#include "platform/mfc/View.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/PrintInfo.h"
#include "platform/mfc/PrintPreviewWnd.h"
#include "platform/mfc/WinApp.h"

#include <commdlg.h>

#include <memory>

namespace
{
const char kPrinterFailed[] = "The printer could not be used.";
const char kPrintFailed[] = "Printing failed; the document was not printed completely.";

// Frees what the print dialog hands back besides the DC.
class CPrinterChoice
{
public:
    CPrinterChoice() : m_pd()
    {
        m_pd.lStructSize = sizeof(m_pd);
    }
    ~CPrinterChoice()
    {
        if (m_pd.hDevMode)
            ::GlobalFree(m_pd.hDevMode);
        if (m_pd.hDevNames)
            ::GlobalFree(m_pd.hDevNames);
    }
    PRINTDLGA m_pd;
};

HWND OwnerOf(const CView* view)
{
    CWnd* top = view->GetTopLevelParent();
    return top ? top->m_hWnd : view->m_hWnd;
}
}

BOOL CView::OnPreparePrinting(CPrintInfo* info)
{
    return DoPreparePrinting(info);
}

BOOL CView::DoPreparePrinting(CPrintInfo* info)
{
    CPrinterChoice choice;
    PRINTDLGA& pd = choice.m_pd;
    pd.hwndOwner = OwnerOf(this);
    // The default printer is asked for first, without a dialog: with none
    // the dialog would only fail.
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!::PrintDlgA(&pd))
    {
        AfxMessageBox(AFX_NO_PRINTER_TEXT, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!info->m_bPreview && !info->m_bDirect)
    {
        ::DeleteDC(pd.hDC);
        pd.hDC = NULL;
        pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
        pd.nMinPage = (WORD)info->GetMinPage();
        pd.nMaxPage = (WORD)info->GetMaxPage();
        pd.nFromPage = pd.nMinPage;
        pd.nToPage = pd.nMaxPage;
        if (!::PrintDlgA(&pd))
        {
            // Cancelled leaves no error.
            if (::CommDlgExtendedError())
                AfxMessageBox(kPrinterFailed, MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
        if (pd.Flags & PD_PAGENUMS)
            info->SetPageRange(pd.nFromPage, pd.nToPage);
    }
    if (!pd.hDC)
    {
        AfxMessageBox(kPrinterFailed, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (info->m_hPrinterDC)
        ::DeleteDC(info->m_hPrinterDC);
    info->m_hPrinterDC = pd.hDC;
    return TRUE;
}

BOOL CView::PrintPages(CDC* printer, CPrintInfo* info)
{
    // The whole printable page, for views that draw on it as it is.
    info->m_rectDraw.SetRect(0, 0, printer->GetDeviceCaps(HORZRES), printer->GetDeviceCaps(VERTRES));
    printer->DPtoLP(&info->m_rectDraw);
    OnBeginPrinting(printer, info);

    CString title = m_pDocument ? m_pDocument->GetTitle() : CString();
    DOCINFOA document = {};
    document.cbSize = sizeof(document);
    document.lpszDocName = title;
    BOOL printed = ::StartDocA(printer->m_hDC, &document) > 0;
    if (printed)
    {
        UINT last = info->GetMaxPage() < info->GetToPage() ? info->GetMaxPage() : info->GetToPage();
        UINT first = info->GetMinPage() > info->GetFromPage() ? info->GetMinPage() : info->GetFromPage();
        for (info->m_nCurPage = first; printed && info->m_bContinuePrinting && info->m_nCurPage <= last;
             info->m_nCurPage++)
        {
            printed = ::StartPage(printer->m_hDC) > 0;
            if (printed)
            {
                OnPrint(printer, info);
                printed = ::EndPage(printer->m_hDC) > 0;
            }
        }
        if (printed)
            printed = ::EndDoc(printer->m_hDC) > 0;
        else
            ::AbortDoc(printer->m_hDC);
    }
    OnEndPrinting(printer, info);
    if (!printed)
        AfxMessageBox(kPrintFailed, MB_OK | MB_ICONEXCLAMATION);
    return printed;
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    if (!OnPreparePrinting(&info))
        return;
    CDC printer;
    printer.Attach(info.m_hPrinterDC);
    PrintPages(&printer, &info);
    printer.Detach();
}

void CView::OnFilePrintPreview()
{
    std::unique_ptr<CPrintInfo> info(new CPrintInfo);
    info->m_bPreview = TRUE;
    if (!OnPreparePrinting(info.get()))
        return;
    CPrintPreviewWnd* preview = new CPrintPreviewWnd(this, std::move(info));
    if (!preview->Create(GetTopLevelParent()))
        delete preview;
}
