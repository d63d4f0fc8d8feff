// CMainFrame: the front-end's main window: menu bar, no tool bar, no status bar.
// Its caption is always the application title, never a document name.
#pragma once

#include <memory>

#include "FrameWnd.h"

class CMainFrame : public CFrameWnd {
public:
    static std::unique_ptr<CFrameWnd> CreateObject();

    // Clears FWS_ADDTOTITLE after the base class agreed.
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
};
