#include "MainFrm.h"

std::unique_ptr<CFrameWnd> CMainFrame::CreateObject()
{
    return std::make_unique<CMainFrame>();
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
    return TRUE;
}
