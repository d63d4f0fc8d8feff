#include "KolvantaApp.h"

#include <new>

#include "AboutDlg.h"
#include "AppGlobals.h"
#include "AppState.h"
#include "DocTemplate.h"
#include "FrameWnd.h"
#include "KolvantaDoc.h"
#include "KolvantaView.h"
#include "MainFrm.h"
#include "Paths.h"
#include "SharedImageList.h"
#include "resource.h"

BOOL CKolvantaApp::InitInstance()
{
    if (!CWinApp::InitInstance())
        return FALSE;

    if (!AfxOleInit()) {
        AfxMessageBox(IDP_OLE_INIT_FAILED, MB_OK);
        return FALSE;
    }
    AfxEnableControlContainer();

    // A missing icon leaves its place in the list empty; the lists still work.
    FillSharedImageList(g_imageList);

    g_strProgramFolder = GetFolderOfPath(GetModulePath(nullptr), TRUE);

    SetRegistryKey(kRegistryKeyName);
    LoadStdProfileSettings(4);

    CSingleDocTemplate* docTemplate = new (std::nothrow) CSingleDocTemplate(
        IDR_MAINFRAME, &CKolvantaDoc::CreateObject, &CMainFrame::CreateObject, &CKolvantaView::CreateObject);
    if (!docTemplate)
        return FALSE;
    AddDocTemplate(docTemplate);

    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine))
        return FALSE;

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

bool CKolvantaApp::OnCommand(UINT id)
{
    if (id == ID_APP_ABOUT) {
        OnAppAbout();
        return true;
    }
    // ID_FILE_NEW, ID_FILE_OPEN and ID_APP_EXIT: the framework's own handlers.
    return CWinApp::OnCommand(id);
}

void CKolvantaApp::OnAppAbout()
{
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}
