#include "DialogDriver.h"

#include <cstring>

namespace testsupport {

namespace {

DialogDriver* g_activeDriver = nullptr;

std::string WindowText(HWND window)
{
    char text[1024] = {};
    ::GetWindowTextA(window, text, static_cast<int>(sizeof(text)));
    return text;
}

bool IsDialogWindow(HWND window)
{
    char className[64] = {};
    ::GetClassNameA(window, className, static_cast<int>(sizeof(className)));
    return std::strcmp(className, "#32770") == 0;
}

struct DialogSearch {
    const std::string* caption;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM context)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(context);
    if (IsDialogWindow(window) && ::IsWindowVisible(window)
        && (!search->caption || WindowText(window) == *search->caption))
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadDialogs(const std::string* caption)
{
    DialogSearch search { caption, {} };
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The icon a message box shows, found from the icon control's picture.
UINT MessageBoxIconStyle(HWND box)
{
    struct Known {
        LPCSTR id;
        UINT style;
    };
    const Known known[] = {
        { IDI_HAND, MB_ICONERROR },
        { IDI_EXCLAMATION, MB_ICONWARNING },
        { IDI_ASTERISK, MB_ICONINFORMATION },
        { IDI_QUESTION, MB_ICONQUESTION },
    };
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        const HICON shown = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
        if (!shown)
            continue;
        for (const Known& candidate : known) {
            if (::LoadIconA(nullptr, candidate.id) == shown)
                return candidate.style;
        }
    }
    return 0;
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

} // namespace

std::vector<HWND> FindThreadDialogs(const std::string& caption)
{
    return ThreadDialogs(&caption);
}

DialogDriver::DialogDriver(DWORD watchdogMilliseconds)
    : m_started(::GetTickCount()), m_watchdogMilliseconds(watchdogMilliseconds)
{
    g_activeDriver = this;
    m_timer = ::SetTimer(nullptr, 0, 20, &DialogDriver::OnTimer);
    m_hook = ::SetWindowsHookExA(WH_CBT, &DialogDriver::OnCbt, nullptr, ::GetCurrentThreadId());
}

DialogDriver::~DialogDriver()
{
    if (m_hook)
        ::UnhookWindowsHookEx(m_hook);
    if (m_timer)
        ::KillTimer(nullptr, m_timer);
    if (g_activeDriver == this)
        g_activeDriver = nullptr;
}

DialogDriver& DialogDriver::Then(const std::string& caption, Action action)
{
    m_steps.push_back(Step { caption, std::move(action) });
    return *this;
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_activeDriver)
        g_activeDriver->Tick();
}

void DialogDriver::Tick()
{
    if (::GetTickCount() - m_started > m_watchdogMilliseconds) {
        EndAllDialogs();
        return;
    }
    if (m_answerConfirmations != 0) {
        for (HWND dialog : ThreadDialogs(nullptr)) {
            const std::string caption = WindowText(dialog);
            if (StartsWith(caption, "Confirm") && !AlreadyAnswered(dialog)) {
                m_answered.push_back(dialog);
                m_confirmations.push_back(caption);
                ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(m_answerConfirmations, BN_CLICKED), 0);
            }
        }
    }
    if (AllStepsDone())
        return;
    const std::vector<HWND> dialogs = FindThreadDialogs(m_steps[static_cast<size_t>(m_stepsDone)].caption);
    if (dialogs.empty())
        return;
    // Move on first: the action may run a nested modal loop that ticks again.
    const Step& step = m_steps[static_cast<size_t>(m_stepsDone)];
    ++m_stepsDone;
    Action action = step.action;
    if (action)
        action(dialogs.back());
}

bool DialogDriver::AlreadyAnswered(HWND dialog) const
{
    for (HWND answered : m_answered) {
        if (answered == dialog)
            return true;
    }
    return false;
}

void DialogDriver::EndAllDialogs()
{
    m_watchdogFired = true;
    for (HWND dialog : ThreadDialogs(nullptr))
        ::EndDialog(dialog, IDCANCEL);
}

LRESULT CALLBACK DialogDriver::OnCbt(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_activeDriver)
        g_activeDriver->CatchMessageBox(reinterpret_cast<HWND>(wParam));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool DialogDriver::CatchMessageBox(HWND window)
{
    // A message box is a dialog whose text is the static control 0xFFFF and that
    // holds nothing but buttons and statics.
    if (!IsDialogWindow(window))
        return false;
    HWND text = ::GetDlgItem(window, 0xFFFF);
    if (!text)
        return false;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        ::GetClassNameA(child, className, static_cast<int>(sizeof(className)));
        if (_stricmp(className, "Button") != 0 && _stricmp(className, "Static") != 0)
            return false;
    }
    // The shell's confirmations are answered (or driven) by their caption instead.
    const std::string caption = WindowText(window);
    if (StartsWith(caption, "Confirm"))
        return false;
    CaughtMessageBox box;
    box.caption = caption;
    box.text = WindowText(text);
    box.style = MessageBoxIconStyle(window);
    m_messageBoxes.push_back(box);
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(m_messageBoxAnswer, BN_CLICKED), 0);
    return true;
}

} // namespace testsupport
