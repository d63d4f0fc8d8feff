#include "Application.h"

#include <ole2.h>

#include <cstdlib>

#include "AppState.h"
#include "DocTemplate.h"
#include "FileDialog.h"
#include "FrameWnd.h"
#include "WideText.h"

namespace {

CWinApp* g_pApp = nullptr;

constexpr UINT kIdFileNew = 57600;
constexpr UINT kIdFileOpen = 57601;
constexpr UINT kIdAppExit = 57665;

}  // namespace

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWinApp::CWinApp()
{
    if (!g_pApp)
        g_pApp = this;
}

CWinApp::~CWinApp()
{
    DestroyAllWindows();
    if (m_bOleInitialized)
        ::OleUninitialize();
    if (g_pApp == this)
        g_pApp = nullptr;
}

bool AfxOleInit()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_bOleInitialized)
        return true;
    if (FAILED(::OleInitialize(nullptr)))
        return false;
    if (app)
        app->m_bOleInitialized = true;
    else
        ::OleUninitialize();  // nobody would release it
    return app != nullptr;
}

int CWinApp::ExitInstance()
{
    DestroyAllWindows();
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
    if (m_bOleInitialized) {
        ::OleUninitialize();
        m_bOleInitialized = false;
    }
    return m_nExitCode;
}

void CWinApp::DestroyAllWindows()
{
    // Windows go first (the browser control is released as its view window
    // goes), then the objects, newest template first.
    while (!m_templates.empty()) {
        m_templates.back()->CloseAll();
        m_templates.pop_back();
    }
    m_pMainWnd = nullptr;
}

int CWinApp::Run()
{
    MSG msg {};
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            m_nExitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1) {
            m_nExitCode = -1;
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return ExitInstance();
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    return m_pMainWnd && m_pMainWnd->GetSafeHwnd() ? m_pMainWnd->PreTranslateMessage(msg) : FALSE;
}

bool CWinApp::OnCommand(UINT id)
{
    switch (id) {
    case kIdFileNew:
        OnFileNew();
        return true;
    case kIdFileOpen:
        OnFileOpen();
        return true;
    case kIdAppExit:
        if (m_pMainWnd && m_pMainWnd->GetSafeHwnd())
            m_pMainWnd->SendMessage(WM_CLOSE);
        return true;
    default:
        return false;
    }
}

void CWinApp::SetRegistryKey(const wchar_t* companyKey)
{
    m_strRegistryKey = companyKey ? companyKey : L"";
}

std::wstring CWinApp::GetAppRegistryPath() const
{
    if (m_strRegistryKey.empty())
        return std::wstring();
    const CString appName = m_strAppName.IsEmpty() ? AfxGetAppName() : m_strAppName;
    return L"Software\\" + m_strRegistryKey + L"\\" + WideFromNarrow(appName);
}

void CWinApp::LoadStdProfileSettings(UINT maxRecentFiles)
{
    const std::wstring appKey = GetAppRegistryPath();
    m_pRecentFileList = std::make_unique<CRecentFileList>(appKey.empty() ? appKey : appKey + L"\\Recent File List",
                                                          maxRecentFiles);
    m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(const char* pathName)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(pathName);
}

void CWinApp::AddDocTemplate(CSingleDocTemplate* docTemplate)
{
    if (docTemplate)
        m_templates.emplace_back(docTemplate);
}

CSingleDocTemplate* CWinApp::GetFirstDocTemplate() const
{
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    std::vector<CString> arguments;
    for (int index = 1; index < __argc; ++index)
        arguments.emplace_back(__argv[index]);
    info.ParseArguments(arguments);
}

BOOL CWinApp::ProcessShellCommand(const CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen: {
        CSingleDocTemplate* docTemplate = GetFirstDocTemplate();
        return docTemplate && docTemplate->OpenDocumentFile(info.m_strFileName) && m_pMainWnd != nullptr;
    }
    case CCommandLineInfo::FileNothing:
    default:
        return TRUE;
    }
}

void CWinApp::OnFileNew()
{
    if (CSingleDocTemplate* docTemplate = GetFirstDocTemplate())
        docTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CSingleDocTemplate* docTemplate = GetFirstDocTemplate();
    if (!docTemplate)
        return;
    CFileDialog dialog(true, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER,
                       "All Files (*.*)|*.*||", AfxGetMainWnd());
    if (dialog.DoModal() == IDOK)
        docTemplate->OpenDocumentFile(dialog.GetPathName());
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = instance;
    app->m_nCmdShow = showCommand;
    if (app->m_strAppName.IsEmpty())
        app->m_strAppName = AfxGetAppName();
    if (!app->InitInstance()) {
        app->ExitInstance();
        return 1;
    }
    return app->Run();
}
