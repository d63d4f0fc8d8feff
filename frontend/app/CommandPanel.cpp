#include "CommandPanel.h"

#include <algorithm>

namespace {

struct CommandRow {
    int group;
    CCommandPanel::Command first;
    CCommandPanel::Command last;
    const char* explanation;
};

const char* const kGroupCaptions[] = {
    "1   Settings",
    "2   Textures",
    "3   Maps",
    "4   Packages",
    "5   Test in DOOM 3",
};

const CommandRow kRows[] = {
    {0, CCommandPanel::configure, CCommandPanel::configure,
     "Tell Kolvanta where DOOM 3 is installed and which MOD folder receives the results, "
     "and check that the conversion tools are in place."},
    {1, CCommandPanel::textureDoom, CCommandPanel::texturePlutonia,
     "Find this game wad on your disk and copy it into the program folder."},
    {1, CCommandPanel::extractWads, CCommandPanel::extractWads,
     "Extract the textures of the wads in the program folder for DOOM 3."},
    {2, CCommandPanel::convertMap, CCommandPanel::convertMap,
     "Convert one level of a wad into a DOOM 3 map."},
    {3, CCommandPanel::copyPackages, CCommandPanel::copyPackages,
     "Copy the .pk4 packages into the MOD folder."},
    {4, CCommandPanel::copyCompileRun, CCommandPanel::copyCompileRun,
     "Copy a converted map into the MOD folder, compile it and play it in DOOM 3."},
};

const char* const kButtonCaptions[CCommandPanel::commandCount] = {
    "&Configure...",
    "doom.wad",
    "doom2.wad",
    "tnt.wad",
    "plutonia.wad",
    "&Extract textures...",
    "Convert a &map...",
    "Copy &pk4 files...",
    "Copy, compile and &run...",
};

}  // namespace

CCommandPanel::~CCommandPanel()
{
    // The controls use the fonts: they go first.
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

const char* CCommandPanel::TextureWadName(Command command)
{
    switch (command) {
    case textureDoom:
        return "doom.wad";
    case textureDoom2:
        return "doom2.wad";
    case textureTnt:
        return "tnt.wad";
    case texturePlutonia:
        return "plutonia.wad";
    default:
        return "";
    }
}

bool CCommandPanel::Create(HWND parent, const RECT& rect)
{
    NONCLIENTMETRICSA metrics {};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        m_font.Reset(::CreateFontIndirectA(&metrics.lfMessageFont));
        LOGFONTA title = metrics.lfMessageFont;
        title.lfWeight = FW_BOLD;
        title.lfHeight = title.lfHeight * 3 / 2;
        m_titleFont.Reset(::CreateFontIndirectA(&title));
    }

    CREATESTRUCTA cs {};
    cs.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    cs.dwExStyle = WS_EX_CONTROLPARENT;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = parent;
    if (!CreateFromStruct(cs))
        return false;

    if (HDC dc = ::GetDC(m_hWnd)) {
        const HGDIOBJ old = ::SelectObject(dc, m_font.Get() ? m_font.Get() : ::GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICA text {};
        if (::GetTextMetricsA(dc, &text))
            m_nLineHeight = text.tmHeight + text.tmExternalLeading;
        ::SelectObject(dc, old);
        ::ReleaseDC(m_hWnd, dc);
    }
    CreateControls();
    Layout(cs.cx, cs.cy);
    return true;
}

HWND CCommandPanel::AddControl(const char* className, const char* text, DWORD style, int id, HFONT font)
{
    const HWND control = ::CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, m_hWnd,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                           ::GetModuleHandleA(nullptr), nullptr);
    if (control && font)
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void CCommandPanel::CreateControls()
{
    const HFONT font = m_font.Get() ? m_font.Get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    m_hWndTitle = AddControl("STATIC", "Kolvanta: classic DOOM levels for DOOM 3", SS_LEFT | SS_NOPREFIX, -1,
                             m_titleFont.Get() ? m_titleFont.Get() : font);
    m_hWndIntro = AddControl("STATIC",
                             "The start page cannot be shown on this system, so its commands are here. "
                             "Work through the steps from top to bottom.",
                             SS_LEFT | SS_NOPREFIX, -1, font);
    // Group boxes before their buttons, so the buttons lie above them.
    for (const char* caption : kGroupCaptions)
        m_groups.push_back(AddControl("BUTTON", caption, BS_GROUPBOX, -1, font));
    for (const CommandRow& row : kRows) {
        for (int command = row.first; command <= row.last; ++command)
            m_buttons[command] = AddControl("BUTTON", kButtonCaptions[command], BS_PUSHBUTTON | WS_TABSTOP,
                                            kFirstCommandId + command, font);
        m_explanations.push_back(AddControl("STATIC", row.explanation, SS_LEFT | SS_NOPREFIX, -1, font));
    }
    m_hWndStatus = AddControl("STATIC", "", SS_LEFT | SS_NOPREFIX, kStatusId, font);
}

void CCommandPanel::Layout(int cx, int)
{
    const int h = m_nLineHeight;
    const int margin = h;
    const int width = std::max(cx - 2 * margin, 30 * h);
    const int buttonHeight = h * 7 / 4;
    const int wideButton = 13 * h;
    const int narrowButton = 6 * h;
    const int textHeight = 2 * h + 2;
    int y = margin;
    ::MoveWindow(m_hWndTitle, margin, y, width, h * 2, TRUE);
    y += h * 2 + h / 2;
    ::MoveWindow(m_hWndIntro, margin, y, width, textHeight, TRUE);
    y += textHeight + h / 2;

    size_t rowIndex = 0;
    for (size_t group = 0; group < m_groups.size(); ++group) {
        const int top = y;
        y += h * 3 / 2;
        for (; rowIndex < sizeof(kRows) / sizeof(kRows[0]) && kRows[rowIndex].group == static_cast<int>(group); ++rowIndex) {
            const CommandRow& row = kRows[rowIndex];
            int x = margin + h;
            const int buttonWidth = row.first == row.last ? wideButton : narrowButton;
            for (int command = row.first; command <= row.last; ++command) {
                ::MoveWindow(m_buttons[command], x, y, buttonWidth, buttonHeight, TRUE);
                x += buttonWidth + h / 2;
            }
            x += h / 2;
            const int textTop = y + (buttonHeight - textHeight) / 2;
            ::MoveWindow(m_explanations[rowIndex], x, textTop, std::max(margin + width - h - x, 4 * h), textHeight, TRUE);
            y += std::max(buttonHeight, textHeight) + h / 2;
        }
        ::MoveWindow(m_groups[group], margin, top, width, y - top + h / 4, TRUE);
        y += h;
    }
    ::MoveWindow(m_hWndStatus, margin, y, width, h * 3 / 2, TRUE);
}

BOOL CCommandPanel::PreTranslateMessage(MSG* msg)
{
    if (!m_hWnd || (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)))
        return FALSE;
    switch (msg->message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
        return ::IsDialogMessageA(m_hWnd, msg);
    default:
        return FALSE;
    }
}

void CCommandPanel::FocusFirstCommand()
{
    if (m_buttons[configure])
        ::SetFocus(m_buttons[configure]);
}

void CCommandPanel::RunCommand(Command command)
{
    CString status;
    switch (command) {
    case configure:
        status = m_external.Configure() ? "Settings saved." : "Settings unchanged.";
        break;
    case textureDoom:
    case textureDoom2:
    case textureTnt:
    case texturePlutonia: {
        const char* wad = TextureWadName(command);
        status = m_external.Convert_texture(wad) ? CString(wad) + " copied into the program folder."
                                                 : CString("No wad copied.");
        break;
    }
    case extractWads:
        m_external.Convert_wad();
        break;
    case convertMap:
        m_external.Convert_map();
        break;
    case copyPackages:
        m_external.Copy_pk4();
        break;
    case copyCompileRun:
        m_external.Copy_compile_run();
        break;
    default:
        return;
    }
    if (m_hWndStatus)
        ::SetWindowTextA(m_hWndStatus, status);
}

LRESULT CCommandPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        Layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) == BN_CLICKED && id >= kFirstCommandId && id < kFirstCommandId + commandCount) {
            RunCommand(static_cast<Command>(id - kFirstCommandId));
            return 0;
        }
        break;
    }
    case DM_GETDEFID: {
        // Enter presses the button that has the focus.
        const HWND focus = ::GetFocus();
        const int id = focus && ::GetParent(focus) == m_hWnd ? ::GetDlgCtrlID(focus) : 0;
        if (id >= kFirstCommandId && id < kFirstCommandId + commandCount)
            return MAKELRESULT(id, DC_HASDEFID);
        return 0;
    }
    default:
        break;
    }
    return CWindowImpl::WindowProc(message, wParam, lParam);
}
