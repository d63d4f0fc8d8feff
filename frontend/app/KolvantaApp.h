// CKolvantaApp: the front-end's application object and its start-up.
//
// InitInstance initialises OLE, fills the shared icon list, sets the program
// folder, names the framework's registry key, loads the recent-file list,
// registers the single-document template (CKolvantaDoc, CMainFrame,
// CKolvantaView) and makes the document, frame and view from the command line.
// The program itself stores nothing in the registry.
#pragma once

#include "Application.h"

// The framework's registry key under HKCU\Software, kept as UTF-16 so that it
// reads the same on every system code page (it is Japanese text).
inline constexpr wchar_t kRegistryKeyName[] =
    L"\u30A2\u30D7\u30EA\u30B1\u30FC\u30B7\u30E7\u30F3 \u30A6\u30A3\u30B6\u30FC\u30C9\u3067\u751F\u6210\u3055\u308C\u305F\u30ED\u30FC\u30AB\u30EB \u30A2\u30D7\u30EA\u30B1\u30FC\u30B7\u30E7\u30F3";

class CKolvantaApp : public CWinApp {
public:
    BOOL InitInstance() override;
    bool OnCommand(UINT id) override;

    // Help > About: the About box, modal; its result does not matter.
    void OnAppAbout();
};
