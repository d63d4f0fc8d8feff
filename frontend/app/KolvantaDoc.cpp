#include "KolvantaDoc.h"

std::unique_ptr<CDocument> CKolvantaDoc::CreateObject()
{
    return std::make_unique<CKolvantaDoc>();
}

BOOL CKolvantaDoc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}

void CKolvantaDoc::Serialize(HANDLE, bool)
{
}
