// CImageList: owns one image list and destroys it in its destructor.
//
// Move-only. Controls that are given the handle with LVS_SHAREIMAGELISTS only
// borrow it.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    CImageList(CImageList&& other) noexcept : m_hImageList(other.Detach()) {}
    CImageList& operator=(CImageList&& other) noexcept
    {
        if (this != &other) {
            DeleteImageList();
            m_hImageList = other.Detach();
        }
        return *this;
    }

    // Creates the list (ImageList_Create); false when it already exists or creation fails.
    bool Create(int cx, int cy, UINT flags, int initial, int grow)
    {
        if (m_hImageList)
            return false;
        m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
        return m_hImageList != nullptr;
    }
    // Appends an icon (the list copies it); returns its index or -1.
    int Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
    int GetImageCount() const { return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST Detach() { HIMAGELIST list = m_hImageList; m_hImageList = nullptr; return list; }
    bool DeleteImageList()
    {
        if (!m_hImageList)
            return false;
        ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
        return true;
    }

private:
    HIMAGELIST m_hImageList = nullptr;
};
