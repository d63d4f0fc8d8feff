// CFrameWnd: the main window: menu bar, icon, title and accelerators from one
// resource id, and the view filling the whole client area.
//
// Commands from the menu and the accelerators go first to the view, then to
// the frame (ID_NEXT_PANE and ID_PREV_PANE move the focus to the only pane),
// then to the application object. The first frame created becomes the main
// window (AfxSetMainWnd) and ends the message loop when it is destroyed.
// The frame owns its view object; windows and objects are destroyed separately,
// the window first.
#pragma once

#include <windows.h>

#include <memory>

#include "WindowImpl.h"

class CDocument;
class CView;

// Title shows "document - title" when this style bit is given to the frame.
constexpr DWORD FWS_ADDTOTITLE = 0x8000;

// What the frame needs to make its view.
struct CCreateContext {
    std::unique_ptr<CView> (*createView)() = nullptr;
    CDocument* document = nullptr;
};

class CFrameWnd : public CWindowImpl {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame from resource resourceId: menu, accelerators, icon, and the
    // title from the first line of its string. False when it cannot be created.
    bool LoadFrame(UINT resourceId, DWORD style, CCreateContext* context);

    // Adjusts the creation structure; FALSE stops the creation. The style carries
    // FWS_ADDTOTITLE here and only here.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    // Gives the view, then the accelerators, a chance at a message; TRUE when used.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Lets the view load its document's first state, sets the title and, when
    // asked, shows the frame (with the program's show command for the main window).
    void InitialUpdateFrame(CDocument* document, bool makeVisible);
    // Sets the caption from the title and, with FWS_ADDTOTITLE, the document's title.
    void OnUpdateFrameTitle();

    CView* GetActiveView() const { return m_pView.get(); }
    const CString& GetTitle() const { return m_strTitle; }
    bool AddsDocumentToTitle() const { return m_bAddToTitle; }

protected:
    // Makes the view from the creation context; false stops the creation.
    virtual bool OnCreateClient(CCreateContext* context);
    // A menu or accelerator command not taken by the view; true when handled.
    virtual bool OnCommand(UINT id);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RecalcLayout();
    bool IsMainWindow() const;

    std::unique_ptr<CView> m_pView;
    CDocument* m_pDocument = nullptr;
    CCreateContext* m_pCreateContext = nullptr;
    HACCEL m_hAccel = nullptr;
    CString m_strTitle;
    bool m_bAddToTitle = false;
};
