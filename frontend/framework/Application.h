// CWinApp: the application object: start-up, message loop and shutdown.
//
// Exactly one exists, a static object of the program; its constructor makes it
// the one AfxGetApp returns. AfxWinMain runs InitInstance; FALSE ends the
// program (exit code 1), TRUE enters Run, the message loop, which offers every
// message to the main frame (view first: the browser control's keyboard
// handling, then the accelerators) before dispatching it. The loop ends at
// WM_QUIT; ExitInstance then destroys what is left, in reverse order of
// creation, and returns the exit code WM_QUIT carried.
//
// The application owns its document templates. OLE is initialised through
// AfxOleInit and released in ExitInstance, after every window is gone.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "CommandLineInfo.h"
#include "RecentFileList.h"
#include "String.h"

class CFrameWnd;
class CSingleDocTemplate;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Menu and accelerator commands that no window took: ID_FILE_NEW,
    // ID_FILE_OPEN and ID_APP_EXIT here. True when handled.
    virtual bool OnCommand(UINT id);

    // The registry key (under HKCU\Software) for the framework's own settings;
    // UTF-16 so the name reads the same whatever the system's code page.
    void SetRegistryKey(const wchar_t* companyKey);
    // Reads the recent-file list (maxRecentFiles entries) kept under the key.
    void LoadStdProfileSettings(UINT maxRecentFiles = 4);
    void AddToRecentFileList(const char* pathName);
    const CRecentFileList* GetRecentFileList() const { return m_pRecentFileList.get(); }
    // HKCU-relative path of the application's own key, or empty without SetRegistryKey.
    std::wstring GetAppRegistryPath() const;

    // Takes ownership of the template.
    void AddDocTemplate(CSingleDocTemplate* docTemplate);
    CSingleDocTemplate* GetFirstDocTemplate() const;

    // The command line of the running program (its name excluded).
    void ParseCommandLine(CCommandLineInfo& info);
    // FileNew makes a new document (and the main window), FileOpen opens the
    // file; FALSE when that failed or no main window came of it.
    BOOL ProcessShellCommand(const CCommandLineInfo& info);

    void OnFileNew();
    void OnFileOpen();

    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CFrameWnd* m_pMainWnd = nullptr;
    CString m_strAppName;

protected:
    // Exit code handed back by ExitInstance.
    int m_nExitCode = 0;

private:
    void DestroyAllWindows();

    std::vector<std::unique_ptr<CSingleDocTemplate>> m_templates;
    std::wstring m_strRegistryKey;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    bool m_bOleInitialized = false;

    friend bool AfxOleInit();
};

// The application object, or null when none was constructed (tests).
CWinApp* AfxGetApp();

// Starts the application object; the program's WinMain returns its result.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

// Initialises OLE for this thread (paired with its release in ExitInstance);
// false when that fails.
bool AfxOleInit();
// The framework hosts the browser control itself; nothing more to switch on.
inline void AfxEnableControlContainer() {}
