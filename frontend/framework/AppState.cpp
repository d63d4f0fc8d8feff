#include "AppState.h"

namespace {

HWND g_hMainWnd = nullptr;
const UINT kAppTitleId = 57344;

} // namespace

HWND AfxGetMainWnd()
{
    return g_hMainWnd;
}

void AfxSetMainWnd(HWND hWnd)
{
    g_hMainWnd = hWnd;
}

CString AfxGetAppName()
{
    static const CString title = [] {
        CString text;
        text.LoadString(kAppTitleId);
        return text;
    }();
    return title;
}

int AfxMessageBox(const char* text, UINT type)
{
    HWND owner = ::GetActiveWindow();
    if (!owner)
        owner = AfxGetMainWnd();
    return ::MessageBoxA(owner, text ? text : "", AfxGetAppName(), type);
}

int AfxMessageBox(UINT stringId, UINT type)
{
    CString text;
    text.LoadString(stringId);
    return AfxMessageBox(text.GetString(), type);
}
