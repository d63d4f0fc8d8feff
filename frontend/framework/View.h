// CView: the child window that fills a frame's client area and shows a document.
//
// The frame creates it with the pane id 0xE900 and sizes it; the document
// template calls OnInitialUpdate once the document is ready. The message loop
// offers each message of the view's windows to PreTranslateMessage first.
// The view does not own its document.
#pragma once

#include <windows.h>

#include "WindowImpl.h"

class CDocument;

constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

class CView : public CWindowImpl {
public:
    // Creates the view as a child of parent covering rect; false on failure.
    bool Create(HWND parent, const RECT& rect, CDocument* document);

    CDocument* GetDocument() const { return m_pDocument; }

    // Adjusts the creation structure; FALSE stops the creation.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    // Runs when the document is new or freshly opened; the base does nothing.
    virtual void OnInitialUpdate() {}
    // Sees a message before it is dispatched; TRUE when it was used up.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // A menu or accelerator command; true when handled (the frame asks first).
    virtual bool OnCommand(UINT /*id*/) { return false; }

protected:
    // WM_CREATE; -1 stops the creation.
    virtual int OnCreate() { return 0; }
    // WM_DESTROY, while the children still exist.
    virtual void OnDestroy() {}
    // WM_SIZE with the new client size.
    virtual void OnSize(UINT /*type*/, int /*cx*/, int /*cy*/) {}
    // WM_SETFOCUS.
    virtual void OnSetFocus() {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CDocument* m_pDocument = nullptr;
};
