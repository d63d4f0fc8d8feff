// CSingleDocTemplate: makes the one document, its frame and its view.
//
// The template's string resource holds seven fields separated by "\n": window
// title, document name, new-file name, filter name, filter extension, registry
// file type id and registry type name (missing fields read as empty).
// The template owns the document and the frame (which owns the view). A second
// New or Open reuses them: the document is emptied or reopened and the view
// updated again. Nothing here shows a message; null results mean failure.
#pragma once

#include <windows.h>

#include <memory>

#include "String.h"

class CDocument;
class CFrameWnd;
class CView;

class CSingleDocTemplate {
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    using DocumentFactory = std::unique_ptr<CDocument> (*)();
    using FrameFactory = std::unique_ptr<CFrameWnd> (*)();
    using ViewFactory = std::unique_ptr<CView> (*)();

    CSingleDocTemplate(UINT resourceId, DocumentFactory createDocument, FrameFactory createFrame, ViewFactory createView);
    ~CSingleDocTemplate();
    CSingleDocTemplate(const CSingleDocTemplate&) = delete;
    CSingleDocTemplate& operator=(const CSingleDocTemplate&) = delete;

    // One field of the template string; false when it is empty.
    bool GetDocString(CString& value, DocStringIndex index) const;
    // Field index of a "\n"-separated document string (empty when missing).
    static CString ExtractDocString(const CString& docString, int index);

    // A new document (pathName null) or the named file opened; creates the frame
    // and view the first time. Null when any step fails (the frame is then gone).
    CDocument* OpenDocumentFile(const char* pathName, bool makeVisible = true);

    CDocument* GetDocument() const { return m_pDocument.get(); }
    CFrameWnd* GetFrame() const { return m_pFrame.get(); }
    UINT GetResourceId() const { return m_nIDResource; }

    // Destroys the frame window (if any) and then the objects.
    void CloseAll();

private:
    bool LoadDocument(const char* pathName);

    const UINT m_nIDResource;
    DocumentFactory m_createDocument;
    FrameFactory m_createFrame;
    ViewFactory m_createView;
    CString m_strDocStrings;
    std::unique_ptr<CDocument> m_pDocument;
    std::unique_ptr<CFrameWnd> m_pFrame;
};
