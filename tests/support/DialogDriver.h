// DialogDriver: drives the modal dialogs a test opens, from inside their own
// modal loops, on the test's thread.
//
// A thread timer fires every 20 ms, also inside DialogBoxParam, MessageBox,
// GetOpenFileName and the shell's confirmation dialogs. On each tick the next
// registered step looks for a visible dialog (#32770) of its caption among this
// thread's windows and, once found, acts on it. The step counter moves on before
// the action runs, because an action (a click) may open a nested modal loop that
// ticks again. A watchdog ends every open dialog once the driver has run for its
// time limit, so a broken test fails instead of hanging.
//
// Message boxes are caught by a CBT hook when they activate: their caption, text
// and icon style are recorded and they are answered with IDOK (or the chosen button). The shell's "Confirm
// ..." dialogs are answered with the chosen button when the test asks for it.
// One driver per thread at a time; it removes its timer and hook when destroyed.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

struct CaughtMessageBox {
    std::string caption;
    std::string text;
    UINT style = 0; // the icon style seen: MB_ICONERROR, MB_ICONWARNING, MB_ICONINFORMATION, MB_ICONQUESTION or 0
};

class DialogDriver {
public:
    using Action = std::function<void(HWND dialog)>;

    explicit DialogDriver(DWORD watchdogMilliseconds = 8000);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Adds a step: wait for a visible dialog captioned exactly `caption`, then act.
    DialogDriver& Then(const std::string& caption, Action action);

    // Answers dialogs whose caption starts with "Confirm" with this button
    // (IDYES = 6, IDNO, IDCANCEL, ...); 0 leaves them to the steps.
    void AnswerConfirmations(int button) { m_answerConfirmations = button; }

    // The button that answers every caught message box (IDOK unless changed).
    void AnswerMessageBoxes(int button) { m_messageBoxAnswer = button; }

    int StepsDone() const { return m_stepsDone; }
    bool AllStepsDone() const { return m_stepsDone == static_cast<int>(m_steps.size()); }
    bool WatchdogFired() const { return m_watchdogFired; }
    const std::vector<CaughtMessageBox>& MessageBoxes() const { return m_messageBoxes; }
    const std::vector<std::string>& Confirmations() const { return m_confirmations; }

private:
    struct Step {
        std::string caption;
        Action action;
    };

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);
    void Tick();
    void EndAllDialogs();
    bool CatchMessageBox(HWND window);
    bool AlreadyAnswered(HWND dialog) const;

    std::vector<Step> m_steps;
    int m_stepsDone = 0;
    int m_answerConfirmations = 0;
    int m_messageBoxAnswer = IDOK;
    std::vector<HWND> m_answered;
    DWORD m_started;
    DWORD m_watchdogMilliseconds;
    bool m_watchdogFired = false;
    UINT_PTR m_timer = 0;
    HHOOK m_hook = nullptr;
    std::vector<CaughtMessageBox> m_messageBoxes;
    std::vector<std::string> m_confirmations;
};

// The visible dialogs (#32770) of this thread, captioned `caption`.
std::vector<HWND> FindThreadDialogs(const std::string& caption);

} // namespace testsupport
