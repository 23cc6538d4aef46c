// The device connections as a tree: each interface unit with its firmware,
// COM port, serial number, rates and error counters, the devices on each of
// its S-Link and IR ports with their code names, and the COM port search.
#pragma once

#include "library/views/BannerFormView.h"

#include <afxcmn.h>

class CDeviceManager;
class CZymDoc;

class CDevView : public CBannerFormView
{
    DECLARE_DYNCREATE(CDevView)
public:
    CDevView();

    void Rebuild();
    CTreeCtrl& GetTree() { return m_tree; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void Layout(int cx, int cy) override;

private:
    CZymDoc* GetDoc();
    HTREEITEM Insert(const CString& text, int image, HTREEITEM parent = TVI_ROOT);
    void AddUnit(CDeviceManager& manager, int unit, HTREEITEM root);
    void AddPorts(CDeviceManager& manager, int unit, HTREEITEM unitItem);
    void AddDiagnostics(CDeviceManager& manager, HTREEITEM root);

    CTreeCtrl m_tree;
    CImageList m_images;
};
