// CKolvantaDoc: the front-end's document. It holds no data: the page and the
// dialogs carry everything, so a new document only does the framework's work
// and reading or writing one touches nothing.
#pragma once

#include <memory>

#include "Document.h"

class CKolvantaDoc : public CDocument {
public:
    static std::unique_ptr<CDocument> CreateObject();

    BOOL OnNewDocument() override;
    void Serialize(HANDLE file, bool storing) override;
};
