// TkDockingListener: the listener that lays a docking tree out in its
// window and runs docking drags there, with a docking manager and a
// drag-drop feature that does the docking work. The main frame's docking
// feature and every float window make one.
#pragma once

#include "toolkit/docking/TkDockingSettings.h"
#include "toolkit/docking/TkDragDropDockingFeature.h"
#include "toolkit/docking/TkDragDropTask.h"
#include "toolkit/docking/TkLNDockingMgr.h"

class ITkDockingListenerConfig
{
public:
    virtual ~ITkDockingListenerConfig() {}
    // When set, Initialize registers a container for the window if the
    // manager has none for the root.
    virtual void SetAutoRegisterContainer(BOOL on) = 0;
    virtual BOOL GetAutoRegisterContainer() = 0;
    // Leaves the window and forgets the root.
    virtual void Detach() = 0;
};

template <class T>
class TkDockingListener_T : public T, public ITkDockingListenerConfig
{
public:
    TkDockingListener_T() : m_ownedFeature(NULL), m_manager(NULL), m_registerContainer(TRUE) {}
    ~TkDockingListener_T() override
    {
        if (m_manager && this->m_root && m_registeredContainer)
            m_manager->UnregisterContainer(this->m_root);
        delete m_ownedFeature;
    }

    void SetAutoRegisterContainer(BOOL on) override { m_registerContainer = on; }
    BOOL GetAutoRegisterContainer() override { return m_registerContainer; }
    void Detach() override
    {
        this->UnPlug();
        this->m_root = NULL;
    }

    // manager NULL: the default docking manager.
    virtual BOOL Initialize(TkLayoutNode* root, CWnd* window, TkLNDockingMgr* manager,
                            LPARAM plugArgument, BOOL layOutNow, BOOL useWindowRect)
    {
        if (!T::AutoInitLayout(root, window, plugArgument, layOutNow, useWindowRect))
            return FALSE;
        m_manager = manager ? manager : TkGetDefaultDockingMgr();
        if (m_registerContainer && m_manager && !m_manager->GetContainerOf(root))
            m_registeredContainer =
                m_manager->RegisterContainer(root, new TkLNHwndContainer(window));
        delete m_ownedFeature;
        m_ownedFeature = CreateDragDropFeature();
        this->m_feature = m_ownedFeature;
        SetFeatureManager(m_manager);
        OnInitialized(window);
        return TRUE;
    }
    virtual void OnInitialized(CWnd*) {}
    virtual ITkDragDropFeature* CreateDragDropFeature() { return new TkDragDropDockingFeature; }
    // Hands the manager to the feature just made.
    virtual void SetFeatureManager(TkLNDockingMgr* manager)
    {
        if (auto* feature = dynamic_cast<TkDragDropDockingFeature*>(m_ownedFeature))
            feature->SetDockingMgr(manager);
    }
    BOOL AutoInitLayout(TkLayoutNode* root, CWnd* window, LPARAM plugArgument, BOOL layOutNow,
                        BOOL useWindowRect) override
    {
        return Initialize(root, window, TkGetDefaultDockingMgr(), plugArgument, layOutNow,
                          useWindowRect);
    }

    TkLNDockingMgr* GetDockingMgr() const { return m_manager; }

protected:
    ITkDragDropFeature* m_ownedFeature;
    TkLNDockingMgr* m_manager;
    BOOL m_registerContainer;
    // Only a container this listener registered is unregistered by it.
    BOOL m_registeredContainer = FALSE;
};

class TkDockingListener
    : public TkDockingListener_T<TkLocalDragDropTask_T<TkLayoutWndListener>>
{
public:
    // Drags start on the press itself.
    void OnInitialized(CWnd*) override { m_threshold = 0.0; }
};
