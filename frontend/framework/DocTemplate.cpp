#include "DocTemplate.h"

#include "Application.h"
#include "Document.h"
#include "FrameWnd.h"
#include "View.h"

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, DocumentFactory createDocument, FrameFactory createFrame,
                                       ViewFactory createView)
    : m_nIDResource(resourceId), m_createDocument(createDocument), m_createFrame(createFrame), m_createView(createView)
{
    m_strDocStrings.LoadString(resourceId);
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    CloseAll();
}

CString CSingleDocTemplate::ExtractDocString(const CString& docString, int index)
{
    int start = 0;
    for (int field = 0; field < index; ++field) {
        const int newline = docString.Find('\n', start);
        if (newline < 0)
            return CString();
        start = newline + 1;
    }
    const int end = docString.Find('\n', start);
    return end < 0 ? docString.Mid(start) : docString.Mid(start, end - start);
}

bool CSingleDocTemplate::GetDocString(CString& value, DocStringIndex index) const
{
    value = ExtractDocString(m_strDocStrings, index);
    return !value.IsEmpty();
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char* pathName, bool makeVisible)
{
    if (m_pDocument && m_pFrame && m_pFrame->GetSafeHwnd()) {
        if (!LoadDocument(pathName))
            return nullptr;
        m_pFrame->InitialUpdateFrame(m_pDocument.get(), makeVisible);
        return m_pDocument.get();
    }

    CloseAll();
    if (!m_createDocument || !m_createFrame)
        return nullptr;
    m_pDocument = m_createDocument();
    m_pFrame = m_createFrame();
    if (!m_pDocument || !m_pFrame) {
        CloseAll();
        return nullptr;
    }
    CCreateContext context;
    context.createView = m_createView;
    context.document = m_pDocument.get();
    if (!m_pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, &context)
        || !LoadDocument(pathName)) {
        CloseAll();
        return nullptr;
    }
    m_pFrame->InitialUpdateFrame(m_pDocument.get(), makeVisible);
    return m_pDocument.get();
}

bool CSingleDocTemplate::LoadDocument(const char* pathName)
{
    if (!pathName) {
        if (!m_pDocument->OnNewDocument())
            return false;
        CString title;
        if (!GetDocString(title, docName))
            title = "Untitled";
        m_pDocument->SetTitle(title);
        return true;
    }
    if (!m_pDocument->OnOpenDocument(pathName))
        return false;
    m_pDocument->SetPathName(pathName);
    if (CWinApp* app = AfxGetApp())
        app->AddToRecentFileList(pathName);
    return true;
}

void CSingleDocTemplate::CloseAll()
{
    if (m_pFrame && m_pFrame->GetSafeHwnd())
        ::DestroyWindow(m_pFrame->GetSafeHwnd());
    m_pFrame.reset();
    m_pDocument.reset();
}
