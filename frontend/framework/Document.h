// CDocument: the data behind a frame and its view.
//
// A new document has the title "Untitled" unless its template names one; an
// opened document is titled with the file's name. Reading and writing go through
// Serialize, which does nothing here: a document that holds data overrides it.
// The document never shows anything; its template decides what a failure means.
#pragma once

#include <windows.h>

#include "String.h"

class CDocument {
public:
    CDocument() = default;
    virtual ~CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    // Empties the document for a fresh start; false refuses it.
    virtual BOOL OnNewDocument();
    // Opens the file for reading and reads it through Serialize; false when the
    // file cannot be opened.
    virtual BOOL OnOpenDocument(const char* pathName);
    // Throws the content away; the base holds none.
    virtual void DeleteContents() {}
    // Reads (storing false) or writes (storing true) the content through the open
    // file; the base reads and writes nothing.
    virtual void Serialize(HANDLE file, bool storing);

    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(const char* title) { m_strTitle = title; }
    const CString& GetPathName() const { return m_strPathName; }
    // Remembers the path and takes its file name as the title.
    void SetPathName(const char* pathName);
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

private:
    CString m_strTitle;
    CString m_strPathName;
    bool m_bModified = false;
};
