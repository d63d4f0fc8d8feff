// CCommandPanel: the page's six commands as plain buttons, for systems whose
// browser control cannot show the page (no HTML engine installed).
//
// Grouped in the order of a conversion, each with a short explanation; a click
// calls the same CExternal method the page would call, and a status line shows
// what Configure and Convert_texture answered. Tab, Space and Enter work as in
// a dialog through PreTranslateMessage. The panel borrows the CExternal; it
// owns its fonts and destroys its window before them.
#pragma once

#include <windows.h>

#include <vector>

#include "External.h"
#include "WindowImpl.h"

class CCommandPanel : public CWindowImpl {
public:
    // The commands, in button order; the control id of each is kFirstCommandId + its value.
    enum Command {
        configure,
        textureDoom,
        textureDoom2,
        textureTnt,
        texturePlutonia,
        extractWads,
        convertMap,
        copyPackages,
        copyCompileRun,
        commandCount,
    };
    static constexpr int kFirstCommandId = 200;
    static constexpr int kStatusId = 199;

    explicit CCommandPanel(CExternal& external) : m_external(external) {}
    ~CCommandPanel() override;

    // Creates the panel as a child of parent covering rect; false on failure.
    bool Create(HWND parent, const RECT& rect);
    // Dialog keys for the panel's buttons; TRUE when the message was used.
    BOOL PreTranslateMessage(MSG* msg);
    void FocusFirstCommand();
    // Runs one command as a click would, and shows its outcome in the status line.
    void RunCommand(Command command);

    // The wad file name a texture button passes to Convert_texture (empty for other commands).
    static const char* TextureWadName(Command command);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // A font the panel created; deleted with the panel.
    class OwnedFont {
    public:
        OwnedFont() = default;
        ~OwnedFont() { if (m_hFont) ::DeleteObject(m_hFont); }
        OwnedFont(const OwnedFont&) = delete;
        OwnedFont& operator=(const OwnedFont&) = delete;
        void Reset(HFONT font) { if (m_hFont) ::DeleteObject(m_hFont); m_hFont = font; }
        HFONT Get() const { return m_hFont; }

    private:
        HFONT m_hFont = nullptr;
    };

    void CreateControls();
    HWND AddControl(const char* className, const char* text, DWORD style, int id, HFONT font);
    void Layout(int cx, int cy);

    CExternal& m_external;
    OwnedFont m_font;
    OwnedFont m_titleFont;
    int m_nLineHeight = 16;
    HWND m_hWndTitle = nullptr;
    HWND m_hWndIntro = nullptr;
    HWND m_hWndStatus = nullptr;
    std::vector<HWND> m_groups;
    std::vector<HWND> m_explanations;
    HWND m_buttons[commandCount] = {};
};
