#include "ListCtrl.h"

#include <string>

int CListCtrl::InsertColumn(int column, const char* heading, int format, int width) const
{
    LVCOLUMNA info {};
    info.mask = LVCF_FMT | LVCF_TEXT;
    info.fmt = format;
    info.pszText = const_cast<char*>(heading ? heading : "");
    if (width >= 0) {
        info.mask |= LVCF_WIDTH;
        info.cx = width;
    }
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)));
}

int CListCtrl::InsertItem(int item, const char* text, int image) const
{
    LVITEMA info {};
    info.mask = LVIF_TEXT;
    info.iItem = item;
    info.pszText = const_cast<char*>(text ? text : "");
    if (image >= 0) {
        info.mask |= LVIF_IMAGE;
        info.iImage = image;
    }
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&info)));
}

bool CListCtrl::SetItemText(int item, int subItem, const char* text) const
{
    LVITEMA info {};
    info.iSubItem = subItem;
    info.pszText = const_cast<char*>(text ? text : "");
    return SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)) != FALSE;
}

CString CListCtrl::GetItemText(int item, int subItem) const
{
    // The control copies at most the buffer size; grow until the text fits.
    for (size_t size = 256; size <= 65536; size *= 4) {
        std::string text(size, '\0');
        LVITEMA info {};
        info.iSubItem = subItem;
        info.pszText = &text[0];
        info.cchTextMax = static_cast<int>(size);
        const int copied = static_cast<int>(SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
        if (copied < 0)
            return CString();
        if (static_cast<size_t>(copied) < size - 1) {
            text.resize(static_cast<size_t>(copied));
            return CString(text);
        }
    }
    return CString();
}

bool CListCtrl::SetItemState(int item, UINT state, UINT mask) const
{
    LVITEMA info {};
    info.state = state;
    info.stateMask = mask;
    return SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)) != FALSE;
}

bool CListCtrl::SetItemImage(int item, int image) const
{
    LVITEMA info {};
    info.mask = LVIF_IMAGE;
    info.iItem = item;
    info.iImage = image;
    return SetItem(&info);
}
